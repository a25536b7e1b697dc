// Sliders (trackbars): a position in a range, moved by the keys, the wheel and the mouse; at paint
// time each asks its owner for custom drawing.
#pragma once

#include "ui/window.h"

namespace ui {

class SliderControl : public Control {
  public:
    static constexpr ControlClass kClass = ControlClass::Trackbar;
    SliderControl(DialogWindow& parent, int index, const ControlTemplate& t)
        : Control(parent, index, t) {}

    int RangeMin() const { return rangeMin_; }
    int RangeMax() const { return rangeMax_; }
    int Pos() const { return pos_; }
    int LineSize() const { return lineSize_; }
    // A page of 0 is a fifth of the range.
    int PageSize() const;

    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Moves the thumb as the user does, kept in the range.
    void UserSetPos(int pos);
    // The arrows move a line, Page Up and Page Down a page, Home and End to the ends.
    bool UserKey(UINT vk, unsigned modifiers) override;
    // A line per notch; negative notches turn towards the minimum.
    void UserWheel(int notches) override;
    // Sends NM_CUSTOMDRAW to the owner, as a trackbar does before it paints.
    void Paint() override;

  private:
    int rangeMin_ = 0, rangeMax_ = 100, pos_ = 0;
    int lineSize_ = 1, pageSize_ = 0;
};

}  // namespace ui
