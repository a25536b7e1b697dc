// The root of the errors that a handler may let escape; the dialog framework catches them and shows
// their text in a message box with a stop icon, and the program carries on.
#pragma once

#include <string>
#include <string_view>

#include "base/cstring.h"

class CException {
  public:
    virtual ~CException() = default;
    virtual CString GetErrorMessage() const = 0;

  protected:
    // An error text with its "%1" replaced by the file's name, or by `unnamed` when it has none.
    static CString NameTheFile(std::u16string_view text, const CString& fileName,
                               std::u16string_view unnamed) {
        std::u16string message(text);
        const std::u16string_view name =
            fileName.IsEmpty() ? unnamed : std::u16string_view(fileName.Str());
        if (const auto at = message.find(u"%1"); at != std::u16string::npos)
            message.replace(at, 2, name);
        return CString(std::move(message));
    }
};
