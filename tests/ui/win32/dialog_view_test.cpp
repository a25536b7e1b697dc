// The Windows backend on real controls (under Wine in the tests): the controls show what the
// framework holds, and what is done to a control reaches the framework as the user's input,
// after which the control shows what the framework made of it.
#include <gtest/gtest.h>

#include "res/resource_ids.h"
#include "res/resources.h"
#include "ui/button_control.h"
#include "ui/cwnd.h"
#include "ui/list_control.h"
#include "ui/slider_control.h"
#include "ui/win32/dialog_view.h"
#include "ui/win32/native.h"
#include "ui/win32/win32_backend.h"
#include "ui/window.h"

namespace {

using ui::win32::native::Handle;
using ui::win32::native::Send;

constexpr unsigned kButtonClick = 0x00F5;  // BM_CLICK
constexpr unsigned kKeyDown = 0x0100;      // WM_KEYDOWN

class Win32Dialog : public testing::Test {
  protected:
    Win32Dialog() : window_(res::MainDialogTemplate(), object_, nullptr) {
        ui::win32::native::InitCommonControls();
        object_.m_hWnd = &window_;
        window_.AttachView(backend_.CreateView(window_));
        view_ = dynamic_cast<ui::win32::DialogView*>(window_.View());
        children_ = ui::win32::native::Children(view_->Handle());
    }
    ~Win32Dialog() override {
        window_.DetachView();
        object_.m_hWnd = nullptr;
    }

    ui::Control& Model(int id) { return *window_.FindControl(id); }
    Handle Native(int id) { return children_.at(Model(id).Index()); }

    ui::win32::Win32Backend backend_;
    CWnd object_;
    ui::DialogWindow window_;
    ui::win32::DialogView* view_ = nullptr;
    std::vector<Handle> children_;
};

TEST_F(Win32Dialog, ControlsAreMadeFromTheTemplateWithTheFrameworksRows) {
    ASSERT_NE(view_->Handle(), nullptr);
    ASSERT_EQ(children_.size(), window_.Controls().size());
    EXPECT_EQ(ui::win32::native::Text(Native(IDC_ONOFF)), u"On/Off");
    EXPECT_EQ(
        Send(Native(IDC_TEMPO_LIST), CB_GETCOUNT, 0, 0),
        static_cast<std::intptr_t>(Model(IDC_TEMPO_LIST).As<ui::ListControl>().Rows().size()));
}

TEST_F(Win32Dialog, FrameworkChangesShowOnTheControls) {
    Model(IDC_SIGNATURE_3_4).Send(BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(Send(Native(IDC_SIGNATURE_3_4), BM_GETCHECK, 0, 0), BST_CHECKED);
    Model(IDC_TEMPO_LIST).Send(CB_SETCURSEL, 5, 0);
    EXPECT_EQ(Send(Native(IDC_TEMPO_LIST), CB_GETCURSEL, 0, 0), 5);
    Model(IDC_VOLUME).Send(TBM_SETRANGEMAX, TRUE, 40);
    Model(IDC_VOLUME).Send(TBM_SETPOS, TRUE, 30);
    EXPECT_EQ(Send(Native(IDC_VOLUME), TBM_GETPOS, 0, 0), 30);
    Model(IDC_TEMPO_NAME).Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Allegro"));
    EXPECT_EQ(ui::win32::native::Text(Native(IDC_TEMPO_NAME)), u"Allegro");
}

// The volume's range, 0 to 65535, is wider than a signed 16-bit half of TBM_SETRANGE: the control
// keeps it whole, and its keys reach both ends.
TEST_F(Win32Dialog, TheVolumeSliderKeepsItsWholeRangeAndItsKeysReachBothEnds) {
    ui::SliderControl& slider = Model(IDC_VOLUME).As<ui::SliderControl>();
    slider.Send(TBM_SETRANGEMIN, TRUE, 0);
    slider.Send(TBM_SETRANGEMAX, TRUE, 65535);
    slider.Send(TBM_SETPOS, TRUE, 65535);
    EXPECT_EQ(Send(Native(IDC_VOLUME), TBM_GETRANGEMAX, 0, 0), 65535);
    EXPECT_EQ(Send(Native(IDC_VOLUME), TBM_GETPOS, 0, 0), 65535);
    Send(Native(IDC_VOLUME), kKeyDown, VK_HOME, 0);
    EXPECT_EQ(slider.Pos(), 0);
    Send(Native(IDC_VOLUME), kKeyDown, VK_END, 0);
    EXPECT_EQ(slider.Pos(), 65535);
    EXPECT_EQ(Send(Native(IDC_VOLUME), TBM_GETPOS, 0, 0), 65535);
}

TEST_F(Win32Dialog, ARadioClickedOnTheControlIsChosenByTheFrameworkAlone) {
    Model(IDC_SIGNATURE_1_4).Send(BM_SETCHECK, BST_CHECKED, 0);
    Send(Native(IDC_SIGNATURE_4_4), kButtonClick, 0, 0);
    EXPECT_EQ(Model(IDC_SIGNATURE_4_4).As<ui::ButtonControl>().Check(), BST_CHECKED);
    EXPECT_EQ(Model(IDC_SIGNATURE_1_4).As<ui::ButtonControl>().Check(), BST_UNCHECKED);
    for (const int id : {IDC_SIGNATURE_1_4, IDC_SIGNATURE_4_4}) {
        SCOPED_TRACE(testing::Message() << "radio " << id);
        EXPECT_EQ(Send(Native(id), BM_GETCHECK, 0, 0), Model(id).As<ui::ButtonControl>().Check())
            << id;
    }

    Send(Native(IDC_NO_FIXED_SCALE), kButtonClick, 0, 0);
    EXPECT_EQ(Model(IDC_NO_FIXED_SCALE).As<ui::ButtonControl>().Check(), BST_CHECKED);
    EXPECT_EQ(Send(Native(IDC_NO_FIXED_SCALE), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(Win32Dialog, TextEnteredInAnEditReachesTheFrameworkOrIsSetBack) {
    Model(IDC_TEMPO_VALUE).Send(EM_LIMITTEXT, 3, 0);
    ui::win32::native::SetText(Native(IDC_TEMPO_VALUE), u"12");
    EXPECT_EQ(Model(IDC_TEMPO_VALUE).Text(), CString(u"12"));
    // Letters and a fourth digit are refused by the framework; the control shows its text again.
    for (const char16_t* refused : {u"12a", u"1234"}) {
        SCOPED_TRACE(CString(refused).ToUtf8());
        ui::win32::native::SetText(Native(IDC_TEMPO_VALUE), refused);
        EXPECT_EQ(Model(IDC_TEMPO_VALUE).Text(), CString(u"12"));
        EXPECT_EQ(ui::win32::native::Text(Native(IDC_TEMPO_VALUE)), u"12");
    }
}

TEST_F(Win32Dialog, HidingAndDisablingFollowTheFramework) {
    ui::win32::native::Show(view_->Handle(), true);
    EXPECT_TRUE(ui::win32::native::IsVisible(Native(IDC_TEMPO_VALUE)));
    Model(IDC_TEMPO_VALUE).Show(false);
    Model(IDC_TAP).Enable(false);
    EXPECT_FALSE(ui::win32::native::IsVisible(Native(IDC_TEMPO_VALUE)));
    EXPECT_FALSE(ui::win32::native::IsEnabled(Native(IDC_TAP)));
    ui::win32::native::SetText(Native(IDC_TEMPO_VALUE), u"7");  // hidden: takes no input
    EXPECT_EQ(Model(IDC_TEMPO_VALUE).Text(), CString(u""));
    EXPECT_EQ(ui::win32::native::Text(Native(IDC_TEMPO_VALUE)), u"");
    Model(IDC_TAP).Enable(true);
    EXPECT_TRUE(ui::win32::native::IsEnabled(Native(IDC_TAP)));
}

}  // namespace
