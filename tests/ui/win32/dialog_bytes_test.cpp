// The in-memory templates of the Windows build: read back field by field, they give the shared
// templates' dialogs and controls, with the native state handed to the framework.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

#include "res/resources.h"
#include "tests/support/byte_reader.h"
#include "ui/win32/dialog_bytes.h"

namespace {

constexpr DWORD kRadioOwnerManaged = 0x4;
constexpr DWORD kCheckBoxOwnerManaged = 0x2;

struct Item {
    DWORD style;
    short x, y, cx, cy;
    DWORD id;
    bool classIsAtom;
    WORD classAtom;
    std::u16string className;
    bool titleIsOrdinal;
    WORD titleOrdinal;
    std::u16string title;
};

// Reads a name-or-ordinal field: 0xFFFF then an ordinal, or a zero-terminated name.
void NameOrOrdinal(ByteReader& r, bool& isOrdinal, WORD& ordinal, std::u16string& name) {
    const WORD first = r.Word();
    isOrdinal = first == 0xFFFF;
    if (isOrdinal) {
        ordinal = r.Word();
        return;
    }
    name.clear();
    for (WORD c = first; c; c = r.Word())
        name += static_cast<char16_t>(c);
}

// A shared template by its name, so that listings and failures show which one.
struct NamedTemplate {
    const char* name;
    const ui::DialogTemplate* dialog;
};

void PrintTo(const NamedTemplate& t, std::ostream* os) {
    *os << t.name << " (dialog " << t.dialog->id << ")";
}

class DialogBytes : public testing::TestWithParam<NamedTemplate> {};

TEST_P(DialogBytes, ReadBackAsTheSharedTemplate) {
    const ui::DialogTemplate& t = *GetParam().dialog;
    const std::vector<std::uint8_t> bytes = ui::win32::DialogTemplateBytes(t);
    ByteReader r(bytes);
    EXPECT_EQ(r.Word(), 1);
    EXPECT_EQ(r.Word(), 0xFFFF);
    EXPECT_EQ(r.Dword(), 0u);
    EXPECT_EQ(r.Dword(), t.exStyle);
    const DWORD style = r.Dword();
    EXPECT_EQ(style & WS_VISIBLE, 0u) << "shown only when the modal run starts";
    EXPECT_EQ(style | WS_VISIBLE, t.style | WS_VISIBLE | DS_SETFONT);
    ASSERT_EQ(r.Word(), t.controls.size());
    EXPECT_EQ(r.Short(), t.x);
    EXPECT_EQ(r.Short(), t.y);
    EXPECT_EQ(r.Short(), t.cx);
    EXPECT_EQ(r.Short(), t.cy);
    EXPECT_EQ(r.Word(), 0);  // menu
    EXPECT_EQ(r.Word(), 0);  // class
    EXPECT_EQ(r.Text(), std::u16string(t.caption));
    EXPECT_EQ(r.Word(), t.pointSize);
    EXPECT_EQ(r.Word(), t.fontWeight);
    EXPECT_EQ(r.Byte(), 0);
    EXPECT_EQ(r.Byte(), t.charset);
    EXPECT_EQ(r.Text(), std::u16string(t.fontName));

    for (const ui::ControlTemplate& c : t.controls) {
        SCOPED_TRACE(c.id);
        r.AlignTo4();
        EXPECT_EQ(r.At() % 4, 0u);
        Item item{};
        EXPECT_EQ(r.Dword(), 0u);  // help id
        EXPECT_EQ(r.Dword(), 0u);  // extended style
        item.style = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = r.Dword();
        NameOrOrdinal(r, item.classIsAtom, item.classAtom, item.className);
        NameOrOrdinal(r, item.titleIsOrdinal, item.titleOrdinal, item.title);
        EXPECT_EQ(r.Word(), 0);  // creation data

        EXPECT_EQ(item.id, static_cast<DWORD>(c.id));
        EXPECT_EQ((std::array{item.x, item.y, item.cx, item.cy}),
                  (std::array{c.x, c.y, c.cx, c.cy}));
        EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);

        switch (c.cls) {
            case ui::ControlClass::Button: {
                EXPECT_EQ(item.classAtom, 0x0080);
                const DWORD type = c.style & BS_TYPEMASK;
                const DWORD want = type == BS_AUTORADIOBUTTON ? kRadioOwnerManaged
                                   : type == BS_AUTOCHECKBOX  ? kCheckBoxOwnerManaged
                                                              : type;
                EXPECT_EQ(item.style & BS_TYPEMASK, want);
                EXPECT_EQ(item.style & ~BS_TYPEMASK,
                          (c.style | WS_CHILD | WS_VISIBLE) & ~BS_TYPEMASK);
                break;
            }
            case ui::ControlClass::Edit:
                EXPECT_EQ(item.classAtom, 0x0081);
                EXPECT_EQ(item.style, c.style | WS_CHILD | WS_VISIBLE);
                break;
            case ui::ControlClass::Static:
                EXPECT_EQ(item.classAtom, 0x0082);
                break;
            case ui::ControlClass::ComboBox:
                EXPECT_EQ(item.classAtom, 0x0085);
                EXPECT_EQ(item.style, (c.style | WS_CHILD | WS_VISIBLE) & ~CBS_SORT);
                break;
            case ui::ControlClass::Trackbar:
                EXPECT_FALSE(item.classIsAtom);
                EXPECT_EQ(item.className, u"msctls_trackbar32");
                break;
        }
        if (c.cls == ui::ControlClass::Static && (c.style & SS_TYPEMASK) == SS_ICON) {
            EXPECT_TRUE(item.titleIsOrdinal);
            EXPECT_EQ(item.titleOrdinal, c.iconId);
        } else {
            EXPECT_FALSE(item.titleIsOrdinal);
            EXPECT_EQ(item.title, std::u16string(c.caption ? c.caption : u""));
        }
    }
    EXPECT_EQ(r.At(), bytes.size()) << "nothing after the last item";
}

INSTANTIATE_TEST_SUITE_P(AllTemplates, DialogBytes,
                         testing::Values(NamedTemplate{"AboutBox", &res::AboutBoxTemplate()},
                                         NamedTemplate{"MainDialog", &res::MainDialogTemplate()},
                                         NamedTemplate{"SavePreset", &res::SavePresetTemplate()}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
