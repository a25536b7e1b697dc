// What a dialog window needs of the object behind it: somewhere to send its messages. CWnd
// implements it, so the windows of the framework never include the window class.
#pragma once

#include "ui/win_defs.h"

namespace ui {

class MessageTarget {
  public:
    // Runs the message through the object's message tables and default processing.
    virtual LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  protected:
    ~MessageTarget() = default;
};

}  // namespace ui
