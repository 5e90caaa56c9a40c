// The on-screen menu of the test mode: ON/OFF items, value bars, action items with a blinking
// hint, the selection over them, the position grid and the position arrows. All draw into the
// back buffer from the sprite sheet, which they use but do not own.
#pragma once

#include <cstdint>

#include "platform/display_device.h"

namespace vext {

class TVOutTestDisplay;

using TVOutSurface = platform::DisplaySurface;

// Flags of a menu item.
constexpr int32_t ItemVisible = 0x1;
constexpr int32_t ItemSelected = 0x2;  // set and cleared only by TVOutMenu
constexpr int32_t ItemSkipped = 0x4;

// The base class; its own objects are the ON/OFF items (value 1 ON, 0 OFF).
class TVOutMenuItem {
  public:
    TVOutMenuItem(TVOutSurface* surface, int32_t sourceX, int32_t sourceY, int32_t width,
                  int32_t height, int32_t colourKey, int32_t x, int32_t y, int32_t flags,
                  int32_t value);

    // The operations in their fixed order; the derived classes add theirs after them.
    virtual int32_t SetOnOffImages(TVOutSurface* onSurface, int32_t onSourceX, int32_t onSourceY,
                                   int32_t onWidth, int32_t onHeight, int32_t onKey,
                                   int32_t onOffsetX, int32_t onOffsetY, TVOutSurface* offSurface,
                                   int32_t offSourceX, int32_t offSourceY, int32_t offWidth,
                                   int32_t offHeight, int32_t offKey, int32_t offOffsetX,
                                   int32_t offOffsetY);
    virtual int32_t Draw(TVOutSurface* target);  // 1 if drawn, 0 if not visible
    virtual int32_t SetValue(int32_t v);         // value AND 1
    virtual int32_t Increase();                  // toggles
    virtual int32_t Decrease();
    virtual int32_t IncreaseFine();
    virtual int32_t DecreaseFine();
    // Last, so that it does not move the operations above: the test mode frees its items
    // through base pointers.
    virtual ~TVOutMenuItem() = default;

    TVOutSurface* labelSurface;
    int32_t labelSourceX, labelSourceY, labelWidth, labelHeight;
    int32_t labelKey;
    int32_t x, y;
    int32_t flags;
    int32_t value;
    TVOutSurface* onSurface;
    TVOutSurface* offSurface;
    int32_t onKey, offKey;
    int32_t onSourceX, onSourceY, onWidth, onHeight;
    int32_t offSourceX, offSourceY, offWidth, offHeight;
    int32_t onOffsetX, onOffsetY;
    int32_t offOffsetX, offOffsetY;

    // Class-wide animation state: zero at load, kept from one test run to the next.
    static int32_t wobbleCounter;
    static int32_t highlightOffset;  // 0: not placed yet
    static int32_t highlightWidth;

  protected:
    int32_t Toggle();
    // The wobble of a selected item; false when the item is not visible. X and Y come back as
    // the position in use this frame.
    bool BeginDraw(int32_t* counter, int32_t* X, int32_t* Y) const;
    void DrawLabel(TVOutSurface* target, int32_t X, int32_t Y) const;
};

// An item with a value bar; its value lies between minimum and maximum.
class TVOutMenuBar : public TVOutMenuItem {
  public:
    TVOutMenuBar(TVOutSurface* surface, int32_t sourceX, int32_t sourceY, int32_t width,
                 int32_t height, int32_t colourKey, int32_t x, int32_t y, int32_t flags,
                 int32_t value);

    int32_t Draw(TVOutSurface* target) override;
    int32_t SetValue(int32_t v) override;  // limited to the range
    int32_t Increase() override;           // + step, at most the maximum
    int32_t Decrease() override;           // - step, at least the minimum
    int32_t IncreaseFine() override;       // + 1
    int32_t DecreaseFine() override;       // - 1
    virtual int32_t SetBarImage(TVOutSurface* surface, int32_t sourceX, int32_t sourceY,
                                int32_t segmentWidth, int32_t segmentHeight, int32_t offsetX,
                                int32_t offsetY, int32_t fullLength, int32_t minimum,
                                int32_t maximum, int32_t step);

    // The bar's length for the value now.
    int32_t TargetLength() const;

    TVOutSurface* barSurface;
    int32_t barSourceX, barSourceY, segmentWidth, segmentHeight;
    int32_t barOffsetX, barOffsetY;
    int32_t fullLength;
    int32_t shownLength;
    int32_t minimum, maximum, step;

    static int32_t wobbleCounter;

  private:
    int32_t Limit();
};

// An item with a blinking hint, shown while it is selected and its value is 0.
class TVOutMenuAction : public TVOutMenuItem {
  public:
    TVOutMenuAction(TVOutSurface* surface, int32_t sourceX, int32_t sourceY, int32_t width,
                    int32_t height, int32_t colourKey, int32_t x, int32_t y, int32_t flags,
                    int32_t value);

    int32_t Draw(TVOutSurface* target) override;
    virtual int32_t SetHintImage(TVOutSurface* surface, int32_t sourceX, int32_t sourceY,
                                 int32_t width, int32_t height, int32_t offsetX, int32_t offsetY,
                                 int32_t blinkHalfPeriod);

    TVOutSurface* hintSurface;
    int32_t hintSourceX, hintSourceY, hintWidth, hintHeight;
    int32_t hintOffsetX, hintOffsetY;
    int32_t blinkHalfPeriod;

    static int32_t wobbleCounter;
    static int32_t blinkCounter;
};

// The selection over an array of items that it does not own.
class TVOutMenu {
  public:
    TVOutMenu(TVOutMenuItem** items, int32_t count, int32_t start);
    int32_t SelectNext();
    int32_t SelectPrevious();

    int32_t current;
    int32_t count;
    TVOutMenuItem** items;

  private:
    int32_t Select(int32_t direction);
};

// The grid of position mode: grows column by column, then row by row, and shrinks the same way.
class TVOutPositionGrid {
  public:
    TVOutPositionGrid(TVOutTestDisplay* display, int32_t columnTarget, int32_t rowTarget,
                      int32_t expanding);
    void Expand() { expanding = 1; }
    void Collapse() { expanding = 0; }
    int32_t IsComplete() const;
    int32_t Draw(TVOutSurface* target);  // one step of animation, then the lines

    int32_t columnsShown;
    int32_t rowsShown;
    int32_t expanding;
    int32_t columnTarget;
    int32_t rowTarget;
    TVOutTestDisplay* display;
};

// One of the four arrows around the centre; a kick makes it jump out and come back.
class TVOutPositionArrow {
  public:
    TVOutPositionArrow(TVOutSurface* surface, int32_t sourceX, int32_t sourceY, int32_t width,
                       int32_t height, int32_t colourKey, int32_t x, int32_t y, int32_t kickX,
                       int32_t kickY);
    void Kick(int32_t strength);
    int32_t Draw(TVOutSurface* target);

    TVOutSurface* surface;
    int32_t sourceX, sourceY, width, height;
    int32_t colourKey;
    int32_t x, y;
    int32_t kickX, kickY;  // hundredths: -100, 0 or 100
    int32_t offsetX, offsetY;
    int32_t velocityX, velocityY;
};

// The vertical step of the wobble for a counter value from 0 to 30.
int32_t WobbleOffset(int32_t counter);

}  // namespace vext
