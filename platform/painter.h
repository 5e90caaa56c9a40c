// Painting a window in answer to its paint message: GDI on Win32; on the simulation a painter
// that records each drawing call and rasterises it onto the window's canvas.
#pragma once

#include <memory>

#include "platform/dialog.h"

namespace vext::platform {

enum class PenKind {
    Null,   // stock NULL_PEN
    Black,  // stock BLACK_PEN
    Dotted  // created for this paint: PS_DOT, width 1, black
};

enum class BrushKind {
    ButtonFace,  // the system brush of COLOR_BTNFACE
    Gray,        // stock GRAY_BRUSH
    LightGray,   // stock LTGRAY_BRUSH
    Hatched      // created for this paint: HS_BDIAGONAL, black
};

// One paint of a window, from BeginPaint to EndPaint. It creates the dotted pen and the hatched
// brush first and deletes them at the end; stock and system objects are never deleted.
class Painter {
  public:
    explicit Painter(WindowHandle window);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    void usePen(PenKind pen);
    void useBrush(BrushKind brush);
    void setTransparentBackground();
    // Outlined with the pen, filled with the brush; right and bottom are exclusive.
    void rectangle(int left, int top, int right, int bottom);
    void roundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace vext::platform
