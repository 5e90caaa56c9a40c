// The setup run: refuse Windows 95/98, show the dialog, and on OK expand the installation files
// into the Windows directory tree, register them and offer a restart.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/lz_expand.h"
#include "platform/setup_dialog.h"
#include "setup/copy_table.h"

namespace vext::setup {

// Control ids of the dialog "VEXTSETUP".
constexpr int kIdOkButton = 1000;
constexpr int kIdCancelButton = 1001;
constexpr int kIdSourcePath = 1006;
constexpr int kIdTargetPath = 1007;

// Buffer sizes: the two directories, and each path built from them.
constexpr size_t kDirectoryBufferSize = 128;
constexpr size_t kPathBufferSize = 256;

// Why a file could not be installed.
enum class CopyFailure { None, PathTooLong, SourceMissing, SourceCorrupt, TargetFailed };

class SetupProgram : public platform::SetupDialogHandler {
  public:
    void onInitDialog(platform::SetupDialog& dialog) override;
    void onCommand(platform::SetupDialog& dialog, int id) override;
    void onDestroy(platform::SetupDialog& dialog) override;

    // Copies one record while its paths show in the dialog.
    CopyFailure copyRecord(platform::SetupDialog& dialog, const CopyRecord& record);
    // The one message that lists what could not be installed; empty when all went well.
    std::string failureMessage() const;

  private:
    struct Failure {
        const CopyRecord* record;
        CopyFailure why;
    };

    void install(platform::SetupDialog& dialog);

    // Empty when the directory is unknown or does not fit its buffer with the backslash.
    char moduleDirectory_[kDirectoryBufferSize] = {};
    char windowsDirectory_[kDirectoryBufferSize] = {};
    std::vector<Failure> failures_;
    bool registryFailed_ = false;
};

// Changes the letters A to Z into a to z, in place, leaving the second byte of every double-byte
// character of the system's code page alone.
void lowerCasePath(char* path);

// The whole program; returns its exit code.
int runSetup();

}  // namespace vext::setup
