// What the screen shows of captions and edit texts, and how FLTK's keys reach the dialog.
#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include "ui/fltk/caption_text.h"
#include "ui/fltk/key_map.h"
#include "ui/fltk/system_menu.h"

namespace ui::fltk {
namespace {

TEST(CaptionText, AmpersandsAreResolvedAsWindowsDoes) {
    EXPECT_EQ(ShownCaption(u"Click sound && Volume level"), "Click sound & Volume level");
    EXPECT_EQ(ShownCaption(u"&About Vorla Metronome..."), "About Vorla Metronome...");
    EXPECT_EQ(ShownCaption(u"a&&b&c&d"), "a&bcd");
    EXPECT_EQ(ShownCaption(u"&&&x"), "&x");
    EXPECT_EQ(ShownCaption(u"tail&"), "tail&");
    EXPECT_EQ(ShownCaption(u"\u00dc&\u00e4"), "\u00dc\u00e4");
    // Statics without prefix processing show every ampersand.
    EXPECT_EQ(ShownCaption(u"R&&B &x", false), "R&&B &x");
}

TEST(CaptionText, EditLineBreaksRoundTrip) {
    EXPECT_EQ(EditTextForScreen(u"one\r\ntwo\r\n"), "one\ntwo\n");
    EXPECT_EQ(EditTextFromScreen("one\ntwo"), CString(u"one\r\ntwo"));
    EXPECT_EQ(EditTextFromScreen(EditTextForScreen(u"Gr\u00fc\u00dfe\r\n\u266a")),
              CString(u"Gr\u00fc\u00dfe\r\n\u266a"));
}

TEST(KeyMap, KeysAndModifiersBecomeVirtualKeys) {
    const KeyStroke backTab = ToKeyStroke(FL_Tab, FL_SHIFT);
    EXPECT_EQ(backTab.vk, VK_TAB);
    EXPECT_EQ(backTab.modifiers, unsigned{kShift});
    EXPECT_EQ(ToKeyStroke(0xfe20, FL_SHIFT).vk, VK_TAB);  // X's ISO_Left_Tab
    EXPECT_EQ(ToKeyStroke(FL_KP_Enter, 0).vk, VK_RETURN);
    EXPECT_EQ(ToKeyStroke(FL_F + 1, 0).vk, VK_F1);
    const KeyStroke altF4 = ToKeyStroke(FL_F + 4, FL_ALT);
    EXPECT_EQ(altF4.vk, VK_F4);
    EXPECT_EQ(altF4.modifiers, unsigned{kAlt});
    EXPECT_EQ(ToKeyStroke(' ', FL_ALT | FL_CTRL).modifiers, unsigned{kAlt | kControl});
    EXPECT_EQ(ToKeyStroke('a', 0).vk, UINT{'A'});
    EXPECT_EQ(ToKeyStroke(FL_Page_Down, 0).vk, VK_NEXT);
    // Insert and Delete carry the clipboard's Shift and Ctrl keys.
    EXPECT_EQ(ToKeyStroke(FL_Insert, FL_SHIFT).vk, VK_INSERT);
    EXPECT_EQ(ToKeyStroke(FL_Delete, 0).vk, VK_DELETE);
    EXPECT_EQ(ToKeyStroke(FL_Print, 0).vk, 0u);
    // X's media keys (XF86AudioPlay, Stop, Next, Prev).
    EXPECT_EQ(ToKeyStroke(FL_Media_Play, 0).vk, VK_MEDIA_PLAY_PAUSE);
    EXPECT_EQ(ToKeyStroke(FL_Media_Stop, 0).vk, VK_MEDIA_STOP);
    EXPECT_EQ(ToKeyStroke(FL_Media_Next, 0).vk, VK_MEDIA_NEXT_TRACK);
    EXPECT_EQ(ToKeyStroke(FL_Media_Prev, 0).vk, VK_MEDIA_PREV_TRACK);
    // Lock keys are no modifiers.
    EXPECT_EQ(ToKeyStroke(FL_Escape, FL_NUM_LOCK | FL_CAPS_LOCK).modifiers, unsigned{kNoModifier});
}

TEST(SystemMenu, ShortcutTextsAfterTheTab) {
    EXPECT_EQ(ShortcutFromText("Alt+F4"), FL_ALT | (FL_F + 4));
    EXPECT_EQ(ShortcutFromText("Ctrl+Shift+S"), FL_CTRL | FL_SHIFT | 's');
    EXPECT_EQ(ShortcutFromText("F10"), FL_F + 10);
    EXPECT_EQ(ShortcutFromText("Alt+"), 0);
    EXPECT_EQ(ShortcutFromText("whenever"), 0);
}

}  // namespace
}  // namespace ui::fltk
