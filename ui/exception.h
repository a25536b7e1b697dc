// The root of the errors that a handler may let escape; the dialog framework catches them and shows
// their text in a message box with a stop icon, and the program carries on.
#pragma once

#include "ui/cstring.h"

class CException {
  public:
    virtual ~CException() = default;
    virtual CString GetErrorMessage() const = 0;
};
