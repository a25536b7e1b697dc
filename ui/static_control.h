// Statics: text and icons that label the others. They take no input and never the focus.
#pragma once

#include "ui/window.h"

namespace ui {

class StaticControl : public Control {
  public:
    static constexpr ControlClass kClass = ControlClass::Static;
    StaticControl(DialogWindow& parent, int index, const ControlTemplate& t)
        : Control(parent, index, t) {}

    bool IsIcon() const { return (style_ & SS_TYPEMASK) == SS_ICON; }
    void UserClick() override {}
};

}  // namespace ui
