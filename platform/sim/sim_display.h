// The simulated display drivers: what the simulation root configures, and what tests and the
// launcher can see and do.
//
// The drivers are listed in $VEXT_SIM_ROOT/display-devices.txt, one a line, in enumeration order;
// the first is the primary display driver (offered with a null identifier):
//
//   # NAME "DESCRIPTION" [mode=WxHxD] [refuse=WxHxD,...]
//   display "Primary display driver"
//   VEXTA "3D accelerator board" mode=640x480x16 refuse=800x600x16
//
// mode is the display mode a driver has before a program sets one (640x480x16 when absent),
// refuse lists modes it rejects. Surfaces are 16-bit 5-6-5 only, so any depth but 16 is refused
// too. Without the file, the list is the primary display driver "display" and the board's
// "VEXTA". Display modes are kept per process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vext::sim {

constexpr const char* kDisplayDevicesFile = "display-devices.txt";

struct DisplayMode {
    int width;
    int height;
    int depth;
};

// The mode a driver shows now, in this process.
DisplayMode displayMode(const std::string& driverName);

// Calls made on the simulated drivers, oldest first ("create VEXTA", "mode VEXTA 640x480x16",
// "refuse VEXTA 800x600x16", "surface VEXTA 640x480", "release VEXTA", ...); clear to restart.
std::vector<std::string>& displayLog();

int liveDisplayDevices();
int liveDisplaySurfaces();

// Every surface of every live device is lost: flips and blits report it until restored.
void loseDisplaySurfaces();

// The next flip writes what it shows to path as a PNG file.
void saveNextFrame(const std::string& path);
// The files written so far, oldest first; clear to restart.
std::vector<std::string>& savedFrames();

// What the last flip showed: 5-6-5 pixels in rows from the top, and their size.
const std::vector<uint16_t>& lastFrame(int* width, int* height);

// 5-6-5 pixels as an RGB PNG file.
bool writeFramePng(const std::string& path, const std::vector<uint16_t>& pixels, int width,
                   int height);

}  // namespace vext::sim
