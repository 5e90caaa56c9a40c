#include "setup/setup_run.h"

#include <cstdio>
#include <cstring>

#include "platform/message_box.h"
#include "platform/restart.h"
#include "platform/system_facts.h"
#include "setup/registration.h"
#include "setup/texts.h"

namespace vext::setup {

namespace {

// Builds "%s%s..." of the parts into buf; false, with buf empty, when it would not fit.
bool joinPath(char* buf, size_t size, const char* a, const char* b, const char* c = "") {
    int n = std::snprintf(buf, size, "%s%s%.14s", a, b, c);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        buf[0] = '\0';
        return false;
    }
    return true;
}

// The directory part of a path, its last backslash kept; false when there is no backslash.
bool cutAfterLastBackslash(char* path) {
    char* last = std::strrchr(path, '\\');
    if (last == nullptr) {
        path[0] = '\0';
        return false;
    }
    last[1] = '\0';
    return true;
}

const char* directoryOf(const CopyRecord& record) {
    return record.directory >= 0 && record.directory < kDirectoryCount
               ? kDirectories[record.directory]
               : nullptr;
}

const char* reasonText(CopyFailure why) {
    switch (why) {
        case CopyFailure::PathTooLong:
            return kPathTooLong;
        case CopyFailure::SourceMissing:
            return kSourceMissing;
        case CopyFailure::SourceCorrupt:
            return kSourceCorrupt;
        case CopyFailure::TargetFailed:
            return kTargetFailed;
        case CopyFailure::None:
            break;
    }
    return "";
}

CopyFailure fromExpandResult(platform::ExpandResult result) {
    switch (result) {
        case platform::ExpandResult::Done:
            return CopyFailure::None;
        case platform::ExpandResult::SourceMissing:
            return CopyFailure::SourceMissing;
        case platform::ExpandResult::SourceCorrupt:
            return CopyFailure::SourceCorrupt;
        case platform::ExpandResult::TargetFailed:
            break;
    }
    return CopyFailure::TargetFailed;
}

}  // namespace

void lowerCasePath(char* path) {
    for (char* p = path; *p != '\0'; ++p) {
        if (platform::isLeadByte(*p)) {
            if (p[1] == '\0') {
                break;
            }
            ++p;  // the trail byte may look like a letter but is part of the character
        } else if (*p >= 'A' && *p <= 'Z') {
            *p = static_cast<char>(*p - 'A' + 'a');
        }
    }
}

void SetupProgram::onInitDialog(platform::SetupDialog& dialog) {
    dialog.centreTopmost();
    if (!platform::programFileName(moduleDirectory_, sizeof moduleDirectory_)) {
        moduleDirectory_[0] = '\0';
    } else {
        cutAfterLastBackslash(moduleDirectory_);
    }
    size_t length = 0;
    if (platform::windowsDirectory(windowsDirectory_, sizeof windowsDirectory_)) {
        length = std::strlen(windowsDirectory_);
    }
    if (length == 0 || length + 2 > sizeof windowsDirectory_) {
        windowsDirectory_[0] = '\0';  // no room for the backslash: every target fails
    } else {
        windowsDirectory_[length] = '\\';
        windowsDirectory_[length + 1] = '\0';
    }
}

void SetupProgram::onCommand(platform::SetupDialog& dialog, int id) {
    if (id == kIdOkButton) {
        install(dialog);
        dialog.destroy();
    } else if (id == kIdCancelButton) {
        dialog.destroy();  // nothing copied, nothing written
    }
}

void SetupProgram::onDestroy(platform::SetupDialog& dialog) {
    dialog.postQuit(0);
}

CopyFailure SetupProgram::copyRecord(platform::SetupDialog& dialog, const CopyRecord& record) {
    char source[kPathBufferSize];
    char target[kPathBufferSize];
    const char* directory = directoryOf(record);
    bool fits = directory != nullptr && moduleDirectory_[0] != '\0' &&
                windowsDirectory_[0] != '\0' &&
                joinPath(source, sizeof source, moduleDirectory_, "", record.sourceName) &&
                joinPath(target, sizeof target, windowsDirectory_, directory, record.targetName);
    if (!fits) {
        // Show at least which file it is.
        joinPath(source, sizeof source, "", "", record.sourceName);
        joinPath(target, sizeof target, "", "", record.targetName);
    }
    lowerCasePath(source);
    dialog.setItemText(kIdSourcePath, source);
    lowerCasePath(target);
    dialog.setItemText(kIdTargetPath, target);
    if (!fits) {
        return CopyFailure::PathTooLong;
    }
    return fromExpandResult(platform::expandFile(source, target));
}

void SetupProgram::install(platform::SetupDialog& dialog) {
    failures_.clear();
    for (const CopyRecord& record : kCopyTable) {
        CopyFailure why = copyRecord(dialog, record);
        if (why != CopyFailure::None) {
            failures_.push_back({&record, why});
        }
    }
    registryFailed_ = !registerSetupEntries();

    std::string failed = failureMessage();
    if (!failed.empty()) {
        platform::showMessageBox(&dialog, failed.c_str(), kCaption,
                                 platform::kMbIconWarning | platform::kMbOk);
    }
    int answer = platform::showMessageBox(&dialog, kRestartQuestion, kCaption,
                                          platform::kMbIconQuestion | platform::kMbYesNo);
    if (answer == platform::kIdYes) {
        // Asked for all the same when the privilege cannot be had: the system then refuses.
        platform::enableShutdownPrivilege();
        platform::requestRestart();
    }
}

std::string SetupProgram::failureMessage() const {
    if (failures_.empty() && !registryFailed_) {
        return {};
    }
    std::string text;
    if (!failures_.empty()) {
        text += kNotInstalled;
        for (const Failure& failure : failures_) {
            char line[kPathBufferSize];
            std::snprintf(line, sizeof line, "\n%s%.14s (%.14s: %s)",
                          directoryOf(*failure.record) ? directoryOf(*failure.record) : "",
                          failure.record->targetName, failure.record->sourceName,
                          reasonText(failure.why));
            text += line;
        }
    }
    if (registryFailed_) {
        text += text.empty() ? "" : "\n\n";
        text += kRegistryFailed;
    }
    return text;
}

int runSetup() {
    if ((platform::windowsVersion() & 0xF0000000u) != 0) {
        platform::showMessageBox(nullptr, kNotWindowsNT, kCaption, platform::kMbIconWarning);
        return 0;
    }
    SetupProgram program;
    return platform::runSetupDialog(program);
}

}  // namespace vext::setup
