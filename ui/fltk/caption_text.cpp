// Ampersands and line breaks between the model's texts and what is drawn.
#include "ui/fltk/caption_text.h"

namespace ui::fltk {

std::string ShownCaption(const CString& caption, bool prefix) {
    if (!prefix)
        return caption.ToUtf8();
    const std::u16string& in = caption.Str();
    std::u16string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == u'&' && i + 1 < in.size())
            ++i;
        out += in[i];
    }
    return CString(out).ToUtf8();
}

std::string EditTextForScreen(const CString& text) {
    std::string utf8 = text.ToUtf8();
    std::string out;
    out.reserve(utf8.size());
    for (char c : utf8)
        if (c != '\r')
            out += c;
    return out;
}

CString EditTextFromScreen(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return CString::FromUtf8(out);
}

}  // namespace ui::fltk
