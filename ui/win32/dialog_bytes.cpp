// Writes DLGTEMPLATEEX: a header, the font, then each item aligned to four bytes with its class
// as a predefined atom or a name, and its caption or icon resource ordinal.
#include "ui/win32/dialog_bytes.h"

#include <string_view>

namespace ui::win32 {
namespace {

constexpr DWORD kButtonRadio = 0x4;     // BS_RADIOBUTTON
constexpr DWORD kButtonCheckBox = 0x2;  // BS_CHECKBOX

class Writer {
  public:
    void Word(WORD v) {
        bytes_.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes_.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void Dword(DWORD v) {
        Word(static_cast<WORD>(v & 0xFFFF));
        Word(static_cast<WORD>(v >> 16));
    }
    void Short(short v) { Word(static_cast<WORD>(v)); }
    void Byte(BYTE v) { bytes_.push_back(v); }
    void Text(const char16_t* text) {
        for (const char16_t c : std::u16string_view(text ? text : u""))
            Word(c);
        Word(0);
    }
    void Ordinal(WORD v) {
        Word(0xFFFF);
        Word(v);
    }
    void AlignTo4() {
        while (bytes_.size() % 4)
            bytes_.push_back(0);
    }
    std::vector<std::uint8_t> Take() { return std::move(bytes_); }

  private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace

DWORD NativeControlStyle(const ControlTemplate& c) {
    DWORD style = c.style | WS_CHILD | WS_VISIBLE;
    if (c.cls == ControlClass::Button) {
        const DWORD type = style & BS_TYPEMASK;
        if (type == BS_AUTORADIOBUTTON)
            style = (style & ~BS_TYPEMASK) | kButtonRadio;
        else if (type == BS_AUTOCHECKBOX)
            style = (style & ~BS_TYPEMASK) | kButtonCheckBox;
    }
    if (c.cls == ControlClass::ComboBox)
        style &= ~CBS_SORT;
    return style;
}

std::vector<std::uint8_t> DialogTemplateBytes(const DialogTemplate& t) {
    Writer w;
    w.Word(1);       // dlgVer
    w.Word(0xFFFF);  // signature of the extended form
    w.Dword(0);      // helpID
    w.Dword(t.exStyle);
    w.Dword((t.style & ~WS_VISIBLE) | DS_SETFONT);
    w.Word(static_cast<WORD>(t.controls.size()));
    w.Short(t.x);
    w.Short(t.y);
    w.Short(t.cx);
    w.Short(t.cy);
    w.Word(0);  // no menu
    w.Word(0);  // the predefined dialog class
    w.Text(t.caption);
    w.Word(t.pointSize);
    w.Word(t.fontWeight);
    w.Byte(0);  // not italic
    w.Byte(t.charset);
    w.Text(t.fontName);

    for (const ControlTemplate& c : t.controls) {
        w.AlignTo4();
        w.Dword(0);  // helpID
        w.Dword(0);  // exStyle
        w.Dword(NativeControlStyle(c));
        w.Short(c.x);
        w.Short(c.y);
        w.Short(c.cx);
        w.Short(c.cy);
        w.Dword(static_cast<DWORD>(c.id));
        switch (c.cls) {
            case ControlClass::Button:
                w.Ordinal(0x0080);
                break;
            case ControlClass::Edit:
                w.Ordinal(0x0081);
                break;
            case ControlClass::Static:
                w.Ordinal(0x0082);
                break;
            case ControlClass::ComboBox:
                w.Ordinal(0x0085);
                break;
            case ControlClass::Trackbar:
                w.Text(u"msctls_trackbar32");
                break;
        }
        if (c.cls == ControlClass::Static && (c.style & SS_TYPEMASK) == SS_ICON)
            w.Ordinal(static_cast<WORD>(c.iconId));
        else
            w.Text(c.caption);
        w.Word(0);  // no creation data
    }
    return w.Take();
}

}  // namespace ui::win32
