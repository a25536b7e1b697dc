// FLTK's key codes and shift states as the framework's virtual keys and modifiers.
#pragma once

#include "ui/win_defs.h"

namespace ui::fltk {

struct KeyStroke {
    UINT vk = 0;  // 0: a key the dialog does not know
    unsigned modifiers = kNoModifier;
};

KeyStroke ToKeyStroke(int fltkKey, int fltkState);

}  // namespace ui::fltk
