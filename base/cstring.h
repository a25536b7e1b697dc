// The dialog framework's text string: UTF-16, as the controls and the preset files hold it.
#pragma once

#include <compare>
#include <ostream>
#include <string>
#include <string_view>

#include "base/utf.h"

class CString {
  public:
    CString() = default;
    CString(const char16_t* text) : text_(text ? text : u"") {}
    CString(std::u16string text) : text_(std::move(text)) {}
    CString(std::u16string_view text) : text_(text) {}

    static CString FromUtf8(std::string_view utf8) { return CString(Utf8ToUtf16(utf8)); }
    std::string ToUtf8() const { return Utf16ToUtf8(text_); }

    int GetLength() const { return static_cast<int>(text_.size()); }
    bool IsEmpty() const { return text_.empty(); }
    void Empty() { text_.clear(); }
    const char16_t* GetString() const { return text_.c_str(); }
    operator const char16_t*() const { return text_.c_str(); }
    const std::u16string& Str() const { return text_; }
    std::u16string& Str() { return text_; }

    CString& operator+=(const CString& other) {
        text_ += other.text_;
        return *this;
    }
    friend CString operator+(CString a, const CString& b) { return a += b; }
    friend bool operator==(const CString& a, const CString& b) { return a.text_ == b.text_; }
    friend bool operator==(const CString& a, const char16_t* b) { return a.text_ == (b ? b : u""); }
    friend auto operator<=>(const CString& a, const CString& b) { return a.text_ <=> b.text_; }

  private:
    std::u16string text_;
};

// For test output.
inline std::ostream& operator<<(std::ostream& os, const CString& s) {
    return os << s.ToUtf8();
}
