#include "platform/sim/registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <sstream>

#include "platform/sim/simroot.h"

namespace vext::sim {

namespace {

constexpr uint32_t kSz = 1;
constexpr uint32_t kDword = 4;

int lowerChar(char c) {
    return std::tolower(static_cast<unsigned char>(c));
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

bool printable(const std::string& text) {
    for (char c : text) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E) {
            return false;
        }
    }
    return true;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
bool readQuoted(const std::string& text, size_t* pos, std::string* out) {
    if (*pos >= text.size() || text[*pos] != '"') {
        return false;
    }
    out->clear();
    for (size_t i = *pos + 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            *out += text[++i];
        } else if (c == '"') {
            *pos = i + 1;
            return true;
        } else {
            *out += c;
        }
    }
    return false;
}

bool parseHexBytes(const std::string& text, std::vector<uint8_t>* out) {
    out->clear();
    std::string digits;
    for (size_t i = 0; i <= text.size(); ++i) {
        char c = i < text.size() ? text[i] : ',';
        if (c == ',') {
            if (digits.empty()) {
                if (i == text.size()) {
                    break;
                }
                return false;
            }
            if (digits.size() > 2) {
                return false;
            }
            out->push_back(static_cast<uint8_t>(std::stoul(digits, nullptr, 16)));
            digits.clear();
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            digits += c;
        } else if (c != ' ' && c != '\t') {
            return false;
        }
    }
    return true;
}

bool parseValueData(const std::string& valueText, RegValue* value) {
    size_t pos = 0;
    std::string text;
    if (!valueText.empty() && valueText[0] == '"') {
        if (!readQuoted(valueText, &pos, &text) || pos != valueText.size()) {
            return false;
        }
        value->type = kSz;
        value->data.assign(text.begin(), text.end());
        value->data.push_back(0);
        return true;
    }
    if (valueText.rfind("str(", 0) == 0) {
        size_t close = valueText.find("):", 4);
        if (close == std::string::npos) {
            return false;
        }
        unsigned long length = std::strtoul(valueText.substr(4, close - 4).c_str(), nullptr, 10);
        pos = close + 2;
        if (!readQuoted(valueText, &pos, &text) || pos != valueText.size() ||
            length < text.size() + 1 || length > 1u << 20) {
            return false;
        }
        value->type = kSz;
        value->data.assign(text.begin(), text.end());
        value->data.resize(length, 0);
        return true;
    }
    if (valueText.rfind("dword:", 0) == 0) {
        std::string digits = valueText.substr(6);
        if (digits.empty() || digits.size() > 8 ||
            digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            return false;
        }
        uint32_t number = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
        value->type = kDword;
        value->data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                       static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
        return true;
    }
    if (valueText.rfind("hex:", 0) == 0) {
        value->type = 3;
        return parseHexBytes(valueText.substr(4), &value->data);
    }
    if (valueText.rfind("hex(", 0) == 0) {
        size_t close = valueText.find("):", 4);
        if (close == std::string::npos) {
            return false;
        }
        value->type = static_cast<uint32_t>(
            std::strtoul(valueText.substr(4, close - 4).c_str(), nullptr, 16));
        return parseHexBytes(valueText.substr(close + 2), &value->data);
    }
    return false;
}

}  // namespace

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int ca = lowerChar(a[i]);
        int cb = lowerChar(b[i]);
        if (ca != cb) {
            return ca < cb;
        }
    }
    return a.size() < b.size();
}

bool equalsIgnoreCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerChar(a[i]) != lowerChar(b[i])) {
            return false;
        }
    }
    return true;
}

RegValue* RegKeyNode::findValue(const std::string& name) {
    for (auto& v : values) {
        if (equalsIgnoreCase(v.name, name)) {
            return &v;
        }
    }
    return nullptr;
}

const RegValue* RegKeyNode::findValue(const std::string& name) const {
    return const_cast<RegKeyNode*>(this)->findValue(name);
}

void RegKeyNode::setValue(RegValue value) {
    if (RegValue* existing = findValue(value.name)) {
        existing->type = value.type;
        existing->data = std::move(value.data);
    } else {
        values.push_back(std::move(value));
    }
}

bool RegKeyNode::deleteValue(const std::string& name) {
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (equalsIgnoreCase(it->name, name)) {
            values.erase(it);
            return true;
        }
    }
    return false;
}

std::string RegistryTree::normalise(const std::string& path) {
    std::string out;
    std::string component;
    for (size_t i = 0; i <= path.size(); ++i) {
        char c = i < path.size() ? path[i] : '\\';
        if (c == '\\' || c == '/') {
            if (!component.empty()) {
                out += out.empty() ? "" : "\\";
                out += component;
                component.clear();
            }
        } else {
            component += c;
        }
    }
    return out;
}

RegKeyNode* RegistryTree::find(const std::string& path) {
    auto it = keys_.find(normalise(path));
    return it == keys_.end() ? nullptr : &it->second;
}

const RegKeyNode* RegistryTree::find(const std::string& path) const {
    return const_cast<RegistryTree*>(this)->find(path);
}

RegKeyNode& RegistryTree::create(const std::string& path) {
    std::string full = normalise(path);
    size_t pos = 0;
    RegKeyNode* node = nullptr;
    while (true) {
        pos = full.find('\\', pos + 1);
        std::string prefix = full.substr(0, pos);
        auto it = keys_.find(prefix);
        if (it == keys_.end()) {
            it = keys_.emplace(prefix, RegKeyNode{prefix, {}}).first;
        }
        node = &it->second;
        if (pos == std::string::npos) {
            return *node;
        }
    }
}

bool RegistryTree::deleteKey(const std::string& path) {
    std::string full = normalise(path);
    if (keys_.find(full) == keys_.end()) {
        return false;
    }
    for (auto it = keys_.begin(); it != keys_.end();) {
        if (isAtOrBelow(it->first, full)) {
            it = keys_.erase(it);
        } else {
            ++it;
        }
    }
    return true;
}

std::string formatValueData(const RegValue& value) {
    const auto& d = value.data;
    if (value.type == kDword && d.size() == 4) {
        char buf[16];
        uint32_t n = d[0] | (d[1] << 8) | (d[2] << 16) | (static_cast<uint32_t>(d[3]) << 24);
        std::snprintf(buf, sizeof buf, "dword:%08x", n);
        return buf;
    }
    if (value.type == kSz && !d.empty()) {
        size_t nul = 0;
        while (nul < d.size() && d[nul] != 0) {
            ++nul;
        }
        bool zeroTail = nul < d.size();
        for (size_t i = nul; zeroTail && i < d.size(); ++i) {
            zeroTail = d[i] == 0;
        }
        std::string text(d.begin(), d.begin() + static_cast<long>(nul));
        if (zeroTail && printable(text)) {
            if (d.size() == nul + 1) {
                return quote(text);
            }
            return "str(" + std::to_string(d.size()) + "):" + quote(text);
        }
    }
    std::string out = "hex(" + [&] {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%x", value.type);
        return std::string(buf);
    }() + "):";
    for (size_t i = 0; i < d.size(); ++i) {
        char buf[4];
        std::snprintf(buf, sizeof buf, "%02x", d[i]);
        out += (i ? "," : "");
        out += buf;
    }
    return out;
}

bool RegistryTree::isAtOrBelow(const std::string& path, const std::string& under) {
    std::string base = normalise(under);
    if (base.empty()) {
        return true;
    }
    if (path.size() < base.size() || !equalsIgnoreCase(path.substr(0, base.size()), base)) {
        return false;
    }
    return path.size() == base.size() || path[base.size()] == '\\';
}

std::string RegistryTree::format(const std::string& under) const {
    std::string out = "REGEDIT4\n";
    for (const auto& [name, node] : keys_) {
        if (!isAtOrBelow(name, under)) {
            continue;
        }
        out += "\n[" + node.path + "]\n";
        for (const auto& value : node.values) {
            out += value.name.empty() ? "@" : quote(value.name);
            out += "=" + formatValueData(value) + "\n";
        }
    }
    return out;
}

bool RegistryTree::parse(const std::string& text, std::string* error) {
    keys_.clear();
    std::istringstream in(text);
    std::string line;
    RegKeyNode* current = nullptr;
    int number = 0;
    auto fail = [&](const char* why) {
        if (error != nullptr) {
            *error = "line " + std::to_string(number) + ": " + why + ": " + line;
        }
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == ';' || line == "REGEDIT4") {
            continue;
        }
        line = line.substr(start);
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3) {
                return fail("bad key line");
            }
            current = &create(line.substr(1, line.size() - 2));
            continue;
        }
        if (current == nullptr) {
            return fail("value outside a key");
        }
        RegValue value;
        size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (!readQuoted(line, &pos, &value.name)) {
            return fail("bad value name");
        }
        if (pos >= line.size() || line[pos] != '=') {
            return fail("missing '='");
        }
        if (!parseValueData(line.substr(pos + 1), &value)) {
            return fail("bad value data");
        }
        current->setValue(std::move(value));
    }
    return true;
}

std::string SimRegistry::filePath() {
    return simPath("registry.reg");
}

SimRegistry::Session::Session() {
    lockFd_ = open(simPath("registry.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lockFd_ < 0) {
        return;
    }
    while (flock(lockFd_, LOCK_EX) != 0) {
        if (errno != EINTR) {
            return;
        }
    }
    std::string text;
    if (!readWholeFile(filePath(), &text)) {
        ok_ = true;  // no file yet: an empty registry
        return;
    }
    std::string error;
    if (!tree_.parse(text, &error)) {
        std::fprintf(stderr, "vext: %s: %s\n", filePath().c_str(), error.c_str());
        return;
    }
    ok_ = true;
}

SimRegistry::Session::~Session() {
    if (lockFd_ >= 0) {
        flock(lockFd_, LOCK_UN);
        close(lockFd_);
    }
}

bool SimRegistry::Session::save() {
    return ok_ && replaceFileAtomically(filePath(), tree_.format());
}

}  // namespace vext::sim
