// Each control of a template is the kind its class names, answers only its own kind's messages,
// and is reached as another kind only by a refused, checked accessor; a dialog window needs no
// more of its owner than somewhere to send messages.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "ui/button_control.h"
#include "ui/edit_control.h"
#include "ui/list_control.h"
#include "ui/slider_control.h"
#include "ui/static_control.h"
#include "ui/window.h"

using ui::ControlClass;

namespace {

constexpr int kButton = 1, kEdit = 2, kStatic = 3, kList = 4, kSlider = 5;

const ui::ControlTemplate kControls[] = {
    {kButton, ControlClass::Button, u"Go", BS_AUTOCHECKBOX, 0, 0, 20, 10},
    {kEdit, ControlClass::Edit, nullptr, 0, 0, 10, 20, 10},
    {kStatic, ControlClass::Static, u"Label", 0, 0, 20, 20, 10},
    {kList, ControlClass::ComboBox, nullptr, CBS_DROPDOWNLIST, 0, 30, 20, 40},
    {kSlider, ControlClass::Trackbar, nullptr, 0, 0, 70, 20, 10},
};
const ui::DialogTemplate kTemplate{
    901, u"Kinds", WS_POPUP | WS_CAPTION, 0, 0, 0, 100, 100, u"Sans", 8, 400, 0, kControls, {}};

// The owner: records what the window sends it.
struct RecordingTarget : ui::MessageTarget {
    LRESULT SendMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) override {
        sent.push_back({message, wParam});
        return 0;
    }
    std::vector<std::pair<UINT, WPARAM>> sent;
};

class ControlKinds : public ::testing::Test {
  protected:
    RecordingTarget owner;
    ui::DialogWindow window{kTemplate, owner, nullptr};
    ui::Control& Item(int id) { return *window.FindControl(id); }
};

TEST_F(ControlKinds, EachControlIsTheKindItsTemplateClassNames) {
    EXPECT_NE(Item(kButton).TryAs<ui::ButtonControl>(), nullptr);
    EXPECT_NE(Item(kEdit).TryAs<ui::EditControl>(), nullptr);
    EXPECT_NE(Item(kStatic).TryAs<ui::StaticControl>(), nullptr);
    EXPECT_NE(Item(kList).TryAs<ui::ListControl>(), nullptr);
    EXPECT_NE(Item(kSlider).TryAs<ui::SliderControl>(), nullptr);

    EXPECT_EQ(Item(kEdit).TryAs<ui::ListControl>(), nullptr);
    EXPECT_THROW(Item(kEdit).As<ui::ListControl>(), std::logic_error);
    EXPECT_THROW(Item(kStatic).As<ui::ButtonControl>(), std::logic_error);
    EXPECT_NO_THROW(Item(kSlider).As<ui::SliderControl>());
}

TEST_F(ControlKinds, AControlIgnoresTheMessagesOfAnotherKind) {
    ui::Control& edit = Item(kEdit);
    EXPECT_EQ(edit.Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"row")), 0);
    EXPECT_EQ(edit.Send(CB_GETCOUNT, 0, 0), 0);
    Item(kList).Send(TBM_SETPOS, TRUE, 40);
    EXPECT_EQ(Item(kList).Send(TBM_GETPOS, 0, 0), 0);
    Item(kStatic).Send(BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Item(kStatic).Send(BM_GETCHECK, 0, 0), 0);

    // Every kind takes the messages every control has.
    for (int id : {kButton, kEdit, kStatic, kList, kSlider}) {
        Item(id).Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"new"));
        EXPECT_EQ(Item(id).Text(), CString(u"new")) << id;
        EXPECT_EQ(Item(id).Send(WM_GETTEXTLENGTH, 0, 0), 3) << id;
    }
}

TEST_F(ControlKinds, OnlyASliderAsksItsOwnerToDrawAndOnlyAStaticIgnoresAClick) {
    window.Show(true);
    window.PaintPending();
    std::vector<WPARAM> customDraws;
    for (const auto& [message, wParam] : owner.sent)
        if (message == WM_NOTIFY)
            customDraws.push_back(wParam);
    EXPECT_EQ(customDraws, std::vector<WPARAM>{kSlider});

    Item(kStatic).UserClick();
    EXPECT_EQ(window.FocusedControl(), nullptr);
    Item(kList).UserClick();
    EXPECT_EQ(window.FocusedControl(), &Item(kList));
}

}  // namespace
