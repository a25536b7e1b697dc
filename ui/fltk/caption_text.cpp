// Ampersands and line breaks between the model's texts and what is drawn.
#include "ui/fltk/caption_text.h"

namespace ui::fltk {

Caption ShownCaption(const CString& caption, bool prefix) {
    if (!prefix)
        return Caption{caption.ToUtf8(), -1};
    const std::u16string& in = caption.Str();
    std::u16string out;
    int access = -1;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == u'&' && i + 1 < in.size()) {
            ++i;
            if (in[i] != u'&' && access < 0)
                access = static_cast<int>(out.size());
        }
        out += in[i];
    }
    Caption result{CString(out).ToUtf8(), -1};
    if (access >= 0)
        result.accessIndex = static_cast<int>(CString(out.substr(0, access)).ToUtf8().size());
    return result;
}

char AccessKey(const CString& caption) {
    const Caption shown = ShownCaption(caption);
    if (shown.accessIndex < 0)
        return 0;
    const char c = shown.text[static_cast<std::size_t>(shown.accessIndex)];
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
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
