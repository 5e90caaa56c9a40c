#include "setup/copy_table.h"

namespace vext::setup {

const char kDirectories[kDirectoryCount][20] = {
    "help\\",
    "system32\\",
    "system32\\drivers\\",
};

// Source names end in '_' for the last letter of the extension: compressed on the medium.
const CopyRecord kCopyTable[kCopyRecordCount] = {
    {"vextpage.hl_", "vextpage.hlp", 0},  // help of the display property-sheet extension
    {"vextpagj.hl_", "vextpagj.hlp", 0},  // its Japanese help
    {"rerez2u.dl_", "rerez2u.dll", 1},    // host graphics library 2.x
    {"vuvad3o.dl_", "vuvad3o.dll", 1},    // host graphics library 3.x
    {"vextlink.dl_", "vextlink.dll", 1},  // the TV-out driver
    {"vextpage.dl_", "vextpage.dll", 1},  // display property-sheet extension
    {"vexttune.dl_", "vexttune.dll", 1},  // the TV-out settings panel
    {"vextaux.dl_", "vextaux.dll", 1},    // auxiliary library
    {"riched20.dl_", "riched20.dll", 1},  // rich edit control library
    {"viziza.sy_", "viziza.sys", 2},      // kernel driver, service "viziza"
    {"dudiz.sy_", "dudiz.sys", 2},        // kernel driver, service "dudiz"
    {"ruvurez.sy_", "ruvurez.sys", 2},    // kernel driver, service "RUVurez"
};

}  // namespace vext::setup
