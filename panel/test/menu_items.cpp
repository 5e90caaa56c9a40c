#include "panel/test/menu_items.h"

#include <cmath>
#include <cstdlib>

#include "panel/test/test_display.h"

namespace vext {

namespace p = platform;

namespace {

void keyedBlit(TVOutSurface* target, TVOutSurface* source, int32_t sourceX, int32_t sourceY,
               int32_t width, int32_t height, int32_t toX, int32_t toY) {
    if (target == nullptr || source == nullptr) {
        return;
    }
    target->copy({toX, toY, toX + width, toY + height}, source,
                 {sourceX, sourceY, sourceX + width, sourceY + height}, true);
}

// A keyed blit of an image with its own colour key: the key becomes the sheet's source key.
void keyedBlitWithKey(TVOutSurface* target, TVOutSurface* source, int32_t sourceX, int32_t sourceY,
                      int32_t width, int32_t height, int32_t key, int32_t toX, int32_t toY) {
    if (source != nullptr) {
        source->setSourceColourKey(static_cast<uint32_t>(key));
    }
    keyedBlit(target, source, sourceX, sourceY, width, height, toX, toY);
}

void fill(TVOutSurface* target, int32_t left, int32_t top, int32_t right, int32_t bottom,
          uint32_t colour) {
    if (target != nullptr) {
        target->fill({left, top, right, bottom}, colour);
    }
}

}  // namespace

int32_t WobbleOffset(int32_t counter) {
    return static_cast<int32_t>(std::sin(counter * 0.20943333333333333) * 4.0);
}

// ---- TVOutMenuItem ----

int32_t TVOutMenuItem::wobbleCounter = 0;
int32_t TVOutMenuItem::highlightOffset = 0;
int32_t TVOutMenuItem::highlightWidth = 0;

TVOutMenuItem::TVOutMenuItem(TVOutSurface* surface, int32_t sourceX, int32_t sourceY, int32_t width,
                             int32_t height, int32_t colourKey, int32_t x_, int32_t y_,
                             int32_t flags_, int32_t value_)
    : labelSurface(surface),
      labelSourceX(sourceX),
      labelSourceY(sourceY),
      labelWidth(width),
      labelHeight(height),
      labelKey(colourKey),
      x(x_),
      y(y_),
      flags(flags_),
      value(value_),
      onSurface(nullptr),
      offSurface(nullptr),
      onKey(0),
      offKey(0),
      onSourceX(0),
      onSourceY(0),
      onWidth(0),
      onHeight(0),
      offSourceX(0),
      offSourceY(0),
      offWidth(0),
      offHeight(0),
      onOffsetX(0),
      onOffsetY(0),
      offOffsetX(0),
      offOffsetY(0) {}

int32_t TVOutMenuItem::SetOnOffImages(TVOutSurface* onSurface_, int32_t onSourceX_,
                                      int32_t onSourceY_, int32_t onWidth_, int32_t onHeight_,
                                      int32_t onKey_, int32_t onOffsetX_, int32_t onOffsetY_,
                                      TVOutSurface* offSurface_, int32_t offSourceX_,
                                      int32_t offSourceY_, int32_t offWidth_, int32_t offHeight_,
                                      int32_t offKey_, int32_t offOffsetX_, int32_t offOffsetY_) {
    onSurface = onSurface_;
    onSourceX = onSourceX_;
    onSourceY = onSourceY_;
    onWidth = onWidth_;
    onHeight = onHeight_;
    onKey = onKey_;
    onOffsetX = onOffsetX_;
    onOffsetY = onOffsetY_;
    offSurface = offSurface_;
    offSourceX = offSourceX_;
    offSourceY = offSourceY_;
    offWidth = offWidth_;
    offHeight = offHeight_;
    offKey = offKey_;
    offOffsetX = offOffsetX_;
    offOffsetY = offOffsetY_;
    return 1;
}

bool TVOutMenuItem::BeginDraw(int32_t* counter, int32_t* X, int32_t* Y) const {
    if ((flags & ItemVisible) == 0) {
        return false;
    }
    *X = x;
    *Y = y;
    if ((flags & ItemSelected) != 0) {
        *counter += 1;
        if (*counter > 30) {
            *counter = 0;
        }
        *X = x - 8;
        *Y = y + WobbleOffset(*counter);
    }
    return true;
}

void TVOutMenuItem::DrawLabel(TVOutSurface* target, int32_t X, int32_t Y) const {
    keyedBlitWithKey(target, labelSurface, labelSourceX, labelSourceY, labelWidth, labelHeight,
                     labelKey, X, Y);
}

int32_t TVOutMenuItem::Draw(TVOutSurface* target) {
    int32_t X = 0;
    int32_t Y = 0;
    if (!BeginDraw(&wobbleCounter, &X, &Y)) {
        return 0;
    }
    DrawLabel(target, X, Y);
    const bool on = (value & 1) == 1;
    const int32_t OX = on ? onOffsetX : offOffsetX;
    const int32_t OY = on ? onOffsetY : offOffsetY;
    const int32_t W = on ? onWidth : offWidth;
    const int32_t H = on ? onHeight : offHeight;
    if (highlightOffset == 0) {
        highlightOffset = OX;
        highlightWidth = W;
    }
    if (highlightOffset / 8 > OX / 8) {
        highlightOffset -= 8;
    }
    if (highlightOffset / 8 < OX / 8) {
        highlightOffset += 8;
    }
    if (highlightOffset / 8 == OX / 8) {
        highlightOffset = OX;
    }
    if (highlightWidth / 2 > W / 2) {
        highlightWidth -= 2;
    }
    if (highlightWidth / 2 < W / 2) {
        highlightWidth += 2;
    }
    if (highlightWidth / 2 == W / 2) {
        highlightWidth = W;
    }
    fill(target, X + highlightOffset, Y + OY, X + highlightOffset + highlightWidth, Y + OY + H,
         kRed565);
    keyedBlitWithKey(target, offSurface, offSourceX, offSourceY, offWidth, offHeight, offKey,
                     X + offOffsetX, Y + offOffsetY);
    keyedBlitWithKey(target, onSurface, onSourceX, onSourceY, onWidth, onHeight, onKey,
                     X + onOffsetX, Y + onOffsetY);
    return 1;
}

int32_t TVOutMenuItem::Toggle() {
    value = value == 0 ? 1 : 0;
    return value;
}

int32_t TVOutMenuItem::SetValue(int32_t v) {
    value = v & 1;
    return value;
}

int32_t TVOutMenuItem::Increase() {
    return Toggle();
}

int32_t TVOutMenuItem::Decrease() {
    return Toggle();
}

int32_t TVOutMenuItem::IncreaseFine() {
    return Toggle();
}

int32_t TVOutMenuItem::DecreaseFine() {
    return Toggle();
}

// ---- TVOutMenuBar ----

int32_t TVOutMenuBar::wobbleCounter = 0;

TVOutMenuBar::TVOutMenuBar(TVOutSurface* surface, int32_t sourceX, int32_t sourceY, int32_t width,
                           int32_t height, int32_t colourKey, int32_t x_, int32_t y_,
                           int32_t flags_, int32_t value_)
    : TVOutMenuItem(surface, sourceX, sourceY, width, height, colourKey, x_, y_, flags_, value_),
      barSurface(nullptr),
      barSourceX(0),
      barSourceY(0),
      segmentWidth(0),
      segmentHeight(0),
      barOffsetX(0),
      barOffsetY(0),
      fullLength(0),
      shownLength(0),
      minimum(0),
      maximum(0),
      step(0) {}

int32_t TVOutMenuBar::SetBarImage(TVOutSurface* surface, int32_t sourceX, int32_t sourceY,
                                  int32_t segmentWidth_, int32_t segmentHeight_, int32_t offsetX,
                                  int32_t offsetY, int32_t fullLength_, int32_t minimum_,
                                  int32_t maximum_, int32_t step_) {
    barSurface = surface;
    barSourceX = sourceX;
    barSourceY = sourceY;
    segmentWidth = segmentWidth_;
    segmentHeight = segmentHeight_;
    barOffsetX = offsetX;
    barOffsetY = offsetY;
    fullLength = fullLength_;
    minimum = minimum_;
    maximum = maximum_;
    step = step_;
    shownLength = TargetLength();
    return 1;
}

int32_t TVOutMenuBar::TargetLength() const {
    // An empty range would divide by zero: such a bar stays at length 0.
    if (maximum == minimum) {
        return 0;
    }
    return (value - minimum) * fullLength / (maximum - minimum);
}

int32_t TVOutMenuBar::Draw(TVOutSurface* target) {
    int32_t X = 0;
    int32_t Y = 0;
    if (!BeginDraw(&wobbleCounter, &X, &Y)) {
        return 0;
    }
    DrawLabel(target, X, Y);
    const int32_t T = TargetLength();
    if (shownLength < T) {
        shownLength += 2;
    }
    if (shownLength > T) {
        shownLength -= 2;
    }
    if (segmentWidth <= 0 || barSurface == nullptr || target == nullptr) {
        return 1;  // no segment image: nothing to repeat
    }
    const int32_t n = shownLength / segmentWidth;
    const int32_t left = X + barOffsetX;
    const int32_t top = Y + barOffsetY;
    for (int32_t g = 0; g < n; ++g) {
        target->copy(
            {left + g * segmentWidth, top, left + g * segmentWidth + segmentWidth,
             top + segmentHeight},
            barSurface,
            {barSourceX, barSourceY, barSourceX + segmentWidth, barSourceY + segmentHeight}, false);
    }
    const int32_t r = shownLength % segmentWidth;
    target->copy({left + n * segmentWidth, top, left + n * segmentWidth + r, top + segmentHeight},
                 barSurface, {barSourceX, barSourceY, barSourceX + r, barSourceY + segmentHeight},
                 false);
    return 1;
}

int32_t TVOutMenuBar::SetValue(int32_t v) {
    value = v;
    return Limit();
}

int32_t TVOutMenuBar::Limit() {
    if (value > maximum) {
        value = maximum;
    }
    if (value < minimum) {
        value = minimum;
    }
    return value;
}

int32_t TVOutMenuBar::Increase() {
    value += step;
    if (value > maximum) {
        value = maximum;
    }
    return value;
}

int32_t TVOutMenuBar::Decrease() {
    value -= step;
    if (value < minimum) {
        value = minimum;
    }
    return value;
}

int32_t TVOutMenuBar::IncreaseFine() {
    value += 1;
    if (value > maximum) {
        value = maximum;
    }
    return value;
}

int32_t TVOutMenuBar::DecreaseFine() {
    value -= 1;
    if (value < minimum) {
        value = minimum;
    }
    return value;
}

// ---- TVOutMenuAction ----

int32_t TVOutMenuAction::wobbleCounter = 0;
int32_t TVOutMenuAction::blinkCounter = 0;

TVOutMenuAction::TVOutMenuAction(TVOutSurface* surface, int32_t sourceX, int32_t sourceY,
                                 int32_t width, int32_t height, int32_t colourKey, int32_t x_,
                                 int32_t y_, int32_t flags_, int32_t value_)
    : TVOutMenuItem(surface, sourceX, sourceY, width, height, colourKey, x_, y_, flags_, value_),
      hintSurface(nullptr),
      hintSourceX(0),
      hintSourceY(0),
      hintWidth(0),
      hintHeight(0),
      hintOffsetX(0),
      hintOffsetY(0),
      blinkHalfPeriod(0) {}

int32_t TVOutMenuAction::SetHintImage(TVOutSurface* surface, int32_t sourceX, int32_t sourceY,
                                      int32_t width, int32_t height, int32_t offsetX,
                                      int32_t offsetY, int32_t blinkHalfPeriod_) {
    hintSurface = surface;
    hintSourceX = sourceX;
    hintSourceY = sourceY;
    hintWidth = width;
    hintHeight = height;
    hintOffsetX = offsetX;
    hintOffsetY = offsetY;
    blinkHalfPeriod = blinkHalfPeriod_;
    return 1;
}

int32_t TVOutMenuAction::Draw(TVOutSurface* target) {
    int32_t X = 0;
    int32_t Y = 0;
    if (!BeginDraw(&wobbleCounter, &X, &Y)) {
        return 0;
    }
    if ((flags & ItemSelected) != 0 && hintSurface != nullptr && value == 0) {
        const int32_t left = X + hintOffsetX;
        const int32_t top = Y + hintOffsetY;
        blinkCounter += 1;
        if (blinkCounter >= 2 * blinkHalfPeriod) {
            blinkCounter = 0;
        }
        if (blinkCounter < blinkHalfPeriod) {
            fill(target, left, top, left + hintWidth, top + hintHeight, kRed565);
        }
        // The hint has no key of its own: the sheet keeps the last key set.
        keyedBlit(target, hintSurface, hintSourceX, hintSourceY, hintWidth, hintHeight, left, top);
    }
    DrawLabel(target, X, Y);
    return 1;
}

// ---- TVOutMenu ----

TVOutMenu::TVOutMenu(TVOutMenuItem** items_, int32_t count_, int32_t start)
    : current(start), count(count_), items(items_) {
    if (items != nullptr && start >= 0 && start < count) {
        items[start]->flags |= ItemSelected;
    }
}

int32_t TVOutMenu::Select(int32_t direction) {
    if (items == nullptr || count <= 0 || current < 0 || current >= count) {
        return current;
    }
    items[current]->flags &= ~ItemSelected;
    // At most one round: with every item skipped the selection stays where it is.
    int32_t index = current;
    for (int32_t tried = 0; tried < count; ++tried) {
        index += direction;
        if (index >= count) {
            index = 0;
        }
        if (index < 0) {
            index = count - 1;
        }
        if ((items[index]->flags & ItemSkipped) == 0) {
            current = index;
            break;
        }
    }
    items[current]->flags |= ItemSelected;
    return current;
}

int32_t TVOutMenu::SelectNext() {
    return Select(1);
}

int32_t TVOutMenu::SelectPrevious() {
    return Select(-1);
}

// ---- TVOutPositionGrid ----

TVOutPositionGrid::TVOutPositionGrid(TVOutTestDisplay* display_, int32_t columnTarget_,
                                     int32_t rowTarget_, int32_t expanding_)
    : columnsShown(0),
      rowsShown(0),
      expanding(expanding_),
      columnTarget(columnTarget_),
      rowTarget(rowTarget_),
      display(display_) {}

int32_t TVOutPositionGrid::IsComplete() const {
    return columnsShown == columnTarget && rowsShown == rowTarget ? 1 : 0;
}

int32_t TVOutPositionGrid::Draw(TVOutSurface* target) {
    if (expanding == 1) {
        if (columnsShown < columnTarget) {
            ++columnsShown;
        } else if (rowsShown < rowTarget) {
            ++rowsShown;
        }
    } else if (expanding == 0) {
        if (columnsShown > 0) {
            --columnsShown;
        } else if (rowsShown > 0) {
            --rowsShown;
        }
    }
    if ((columnsShown <= 0 && rowsShown <= 0) || display == nullptr) {
        return 0;
    }
    const int32_t width = display->width;
    const int32_t height = display->height;
    // Targets of 1 or less have no spacing to divide by: their lines all lie at 0.
    const int32_t columnSpacing = columnTarget > 1 ? width / (columnTarget - 1) : 0;
    const int32_t rowSpacing = rowTarget > 1 ? height / (rowTarget - 1) : 0;
    if (columnsShown != 0) {
        for (int32_t i = 0; i <= columnsShown; ++i) {
            int32_t lineX = i * columnSpacing;
            if (lineX > width - 1) {
                lineX = width - 1;
            }
            fill(target, lineX, 1, lineX + 1, height - 1,
                 i == 0 || i == columnsShown ? kRed565 : kBlue565);
        }
    }
    if (rowsShown != 0) {
        for (int32_t i = 0; i <= rowsShown; ++i) {
            int32_t lineY = i * rowSpacing;
            if (lineY > height - 1) {
                lineY = height - 1;
            }
            fill(target, 1, lineY, width - 1, lineY + 1,
                 i == 0 || i == rowsShown ? kRed565 : kBlue565);
        }
    }
    return 1;
}

// ---- TVOutPositionArrow ----

TVOutPositionArrow::TVOutPositionArrow(TVOutSurface* surface_, int32_t sourceX_, int32_t sourceY_,
                                       int32_t width_, int32_t height_, int32_t colourKey_,
                                       int32_t x_, int32_t y_, int32_t kickX_, int32_t kickY_)
    : surface(surface_),
      sourceX(sourceX_),
      sourceY(sourceY_),
      width(width_),
      height(height_),
      colourKey(colourKey_),
      x(x_),
      y(y_),
      kickX(kickX_),
      kickY(kickY_),
      offsetX(0),
      offsetY(0),
      velocityX(0),
      velocityY(0) {}

void TVOutPositionArrow::Kick(int32_t strength) {
    velocityX = kickX * strength / 100;
    offsetX = velocityX;
    velocityY = kickY * strength / 100;
    offsetY = velocityY;
}

int32_t TVOutPositionArrow::Draw(TVOutSurface* target) {
    offsetX += (-100 * velocityX) / 500;
    offsetY += (-100 * velocityY) / 500;
    if (std::abs(offsetX) + std::abs(offsetY) < 3) {
        offsetX = 0;
        offsetY = 0;
        velocityX = 0;
        velocityY = 0;
    }
    keyedBlitWithKey(target, surface, sourceX, sourceY, width, height, colourKey, x + offsetX,
                     y + offsetY);
    return 1;
}

}  // namespace vext
