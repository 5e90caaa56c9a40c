// vextsim tvout: reads and stores a resolution's TV-out settings through the driver's own exports,
// as the settings panel does.
#include <cstdio>
#include <cstring>

#include "driver/settings.h"
#include "driver/tables.h"
#include "tools/vextsim.h"

namespace vext::tools {

namespace {

struct FieldName {
    const char* name;
    uint16_t* (*field)(TVOutStatus&);
};

const FieldName kFields[] = {
    {"enable", [](TVOutStatus& s) { return &s.enable; }},
    {"outputDevice", [](TVOutStatus& s) { return &s.outputDevice; }},
    {"dotCrawl", [](TVOutStatus& s) { return &s.dotCrawl; }},
    {"flickerFilter", [](TVOutStatus& s) { return &s.flickerFilter; }},
    {"tvOnly", [](TVOutStatus& s) { return &s.tvOnly; }},
    {"underscan", [](TVOutStatus& s) { return &s.underscan; }},
    {"contrast", [](TVOutStatus& s) { return &s.contrast; }},
    {"brightness", [](TVOutStatus& s) { return &s.brightness; }},
    {"overH", [](TVOutStatus& s) { return &s.position[0].horizontal; }},
    {"overV", [](TVOutStatus& s) { return &s.position[0].vertical; }},
    {"underH", [](TVOutStatus& s) { return &s.position[1].horizontal; }},
    {"underV", [](TVOutStatus& s) { return &s.position[1].vertical; }},
};

bool parseResolution(const std::string& text, uint16_t* code) {
    for (const ResolutionName& row : ResolutionNameTable) {
        if (text == row.name) {
            *code = static_cast<uint16_t>(row.code);
            return true;
        }
    }
    unsigned long number = 0;
    if (!parseNumber(text, 0xFFFF, &number)) {
        return false;
    }
    *code = static_cast<uint16_t>(number);
    return true;
}

void print(const TVOutStatus& s) {
    std::printf("resolution %u (%s)\n", s.resolution, resolutionName(s.resolution & 0x7F));
    for (const FieldName& f : kFields) {
        std::printf("  %-14s %u\n", f.name, *f.field(const_cast<TVOutStatus&>(s)));
    }
}

}  // namespace

int runTVOutCommand(const Args& args) {
    if (args.size() < 2 || (args[0] != "get" && args[0] != "set")) {
        return usageError("tvout needs get or set and a resolution");
    }
    TVOutStatus status{};
    if (!parseResolution(args[1], &status.resolution)) {
        return usageError("unknown resolution '" + args[1] + "'");
    }
    if (args[0] == "get") {
        if (args.size() > 3 || (args.size() == 3 && args[2] != "--defaults")) {
            return usageError("tvout get RES takes only --defaults");
        }
        if (args.size() == 3) {
            status.resolution |= kDefaultsOnlyFlag;
        }
        duvuzGetTVOutStatus(&status);
        print(status);
        return 0;
    }
    duvuzGetTVOutStatus(&status);
    for (size_t i = 2; i < args.size(); ++i) {
        size_t eq = args[i].find('=');
        unsigned long value = 0;
        const FieldName* match = nullptr;
        for (const FieldName& f : kFields) {
            if (eq != std::string::npos && args[i].compare(0, eq, f.name) == 0 &&
                std::strlen(f.name) == eq) {
                match = &f;
            }
        }
        if (match == nullptr || !parseNumber(args[i].substr(eq + 1), 0xFFFF, &value)) {
            return usageError("expected FIELD=N with N from 0 to 65535, got '" + args[i] + "'");
        }
        *match->field(status) = static_cast<uint16_t>(value);
    }
    duvuzSetTVOutStatus(&status);
    print(status);
    return 0;
}

}  // namespace vext::tools
