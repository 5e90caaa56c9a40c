#include "setup/registration.h"

#include <cstring>
#include <string>

#include "platform/registry.h"

namespace vext::setup {

namespace {

using platform::RegKey;
using platform::RegRoot;

constexpr const char kClassId[] = "{00BD7141-4A41-11d1-89EA-0020AFC43773}";
constexpr const char kServicesKey[] = "SYSTEM\\CurrentControlSet\\Services";
constexpr const char* const kServices[] = {"viziza", "dudiz", "RUVurez"};

// Text values are stored with their terminating zero.
bool setText(RegKey& key, const char* name, const char* text) {
    return key.setString(name, text, static_cast<uint32_t>(std::strlen(text) + 1));
}

}  // namespace

bool registerSetupEntries() {
    bool ok = true;

    const std::string server = std::string("CLSID\\") + kClassId;
    RegKey classKey = RegKey::create(RegRoot::ClassesRoot, server.c_str());
    ok &= setText(classKey, nullptr, "3Vav Dudezi2 Property Sheet");
    RegKey serverKey = RegKey::create(RegRoot::ClassesRoot, (server + "\\InProcServer32").c_str());
    // The bare file name: the server lies in system32.
    ok &= setText(serverKey, nullptr, "vextpage.dll");
    ok &= setText(serverKey, "ThreadingModel", "Apartment");

    RegKey handler =
        RegKey::create(RegRoot::LocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Controls Folder\\"
                       "Display\\shellex\\PropertySheetHandlers\\Dudezi2");
    ok &= setText(handler, nullptr, kClassId);

    RegKey maker = RegKey::create(RegRoot::LocalMachine, "SOFTWARE\\3Vav Interactive");
    ok &= maker.valid();
    RegKey ruvurez = RegKey::create(RegRoot::LocalMachine, "SOFTWARE\\3Vav Interactive\\RUVurez");
    ok &= ruvurez.setDword("EnableRUVurez", 1);
    RegKey chipSet = RegKey::create(RegRoot::LocalMachine, "SOFTWARE\\3Vav Interactive\\Dudezi2");
    ok &= chipSet.valid();
    // Created empty: only their existence is set up here.
    ok &= RegKey::create(RegRoot::LocalMachine, "SOFTWARE\\3Vav Interactive\\Dudezi2\\D3D").valid();
    ok &=
        RegKey::create(RegRoot::LocalMachine, "SOFTWARE\\3Vav Interactive\\Dudezi2\\Zizar").valid();

    // The services key belongs to the system and is never created here; the drivers start at the
    // next boot from system32\drivers under their service names, so no image path is written.
    if (!RegKey::open(RegRoot::LocalMachine, kServicesKey).valid()) {
        return false;
    }
    for (const char* name : kServices) {
        RegKey service = RegKey::create(RegRoot::LocalMachine,
                                        (std::string(kServicesKey) + "\\" + name).c_str());
        ok &= service.setDword("Type", 1);   // kernel driver
        ok &= service.setDword("Start", 2);  // automatic start
        ok &= setText(service, "Group", "Extended base");
        ok &= service.setDword("ErrorControl", 1);  // normal error handling
    }
    return ok;
}

}  // namespace vext::setup
