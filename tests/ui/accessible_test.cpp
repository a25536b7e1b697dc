// The accessible model's rules on a small dialog of its own: names from text and labels, and a
// change reported once, only while the window is open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/accessible_events.h"
#include "ui/button_control.h"
#include "ui/headless/accessible_recorder.h"
#include "ui/window.h"

using ui::ControlClass;

namespace {

const ui::ControlTemplate kControls[] = {
    {1, ControlClass::Static, u"&Speed:", 0, 0, 0, 20, 10},
    {2, ControlClass::Edit, nullptr, 0, 20, 0, 20, 10},  // labelled by the static before it
    {3, ControlClass::Button, nullptr, BS_PUSHBUTTON, 0, 10, 6, 6},  // by the static after it
    {4, ControlClass::Static, u"Keep", 0, 8, 10, 20, 10},
    {7, ControlClass::Static, u"A && B", SS_NOPREFIX, 0, 40, 20, 10},
    {5, ControlClass::Button, u"Rock && &Roll", BS_AUTOCHECKBOX, 0, 20, 20, 10},
    {6, ControlClass::Trackbar, nullptr, 0, 0, 30, 20, 10, 0, u"Level"},  // no label: its own
};
const ui::DialogTemplate kTemplate{
    903, u"Names", WS_POPUP | WS_CAPTION, 0, 0, 0, 100, 100, u"Sans", 8, 400, 0, kControls, {}};

struct NoTarget : ui::MessageTarget {
    LRESULT SendMessage(UINT, WPARAM, LPARAM) override { return 0; }
};

class AccessibleModel : public ::testing::Test {
  protected:
    NoTarget owner;
    ui::DialogWindow window{kTemplate, owner, nullptr};
    ui::AccessibleNode Node(int id) { return ui::DescribeControl(*window.FindControl(id)); }
};

TEST_F(AccessibleModel, AmpersandsMarkAccessKeysUnlessTheTextIsShownAsWritten) {
    EXPECT_EQ(ui::AccessibleText(u"Click sound && Volume level"),
              CString(u"Click sound & Volume level"));
    EXPECT_EQ(ui::AccessibleText(u"&About it..."), CString(u"About it..."));
    EXPECT_EQ(ui::AccessibleText(u"a&"), CString(u"a"));
    EXPECT_EQ(Node(5).name, CString(u"Rock & Roll"));
    EXPECT_EQ(Node(7).name, CString(u"A && B"));
}

TEST_F(AccessibleModel, ATextlessControlIsNamedByTheLabelBeforeItElseTheOneAfterIt) {
    EXPECT_EQ(Node(2).name, CString(u"Speed:"));
    EXPECT_EQ(Node(2).labelledBy, 0);
    EXPECT_EQ(Node(1).labelFor, 1);
    EXPECT_EQ(Node(3).name, CString(u"Keep"));
    EXPECT_EQ(Node(3).labelledBy, 3);
    EXPECT_EQ(Node(4).labelFor, 2);
    // A control with text of its own keeps it; one without a label has its template's name.
    EXPECT_EQ(Node(5).labelledBy, -1);
    EXPECT_EQ(Node(6).name, CString(u"Level"));
    EXPECT_EQ(Node(6).labelledBy, -1);
    EXPECT_EQ(Node(7).labelFor, -1);  // the check box after it has text
}

TEST_F(AccessibleModel, ChangesAreReportedOnlyWhileTheWindowIsOpenAndOnlyWhenTheyShow) {
    ui::headless::AccessibleRecorder reader;
    window.FindControl(5)->UserClick();  // not open yet
    EXPECT_TRUE(reader.Lines().empty());

    window.Show(true);
    window.AccessibleOpened();
    window.FindControl(5)->UserClick();
    window.FindControl(5)->Send(BM_SETCHECK, BST_UNCHECKED, 0);  // already unchecked: nothing new
    window.FindControl(1)->SetText(u"&Pace:");
    EXPECT_EQ(reader.Lines(),
              (std::vector<std::string>{"903 opened", "5 checked off", "1 name \"Pace:\"",
                                        "1 text \"Pace:\"", "2 name \"Pace:\""}))
        << "the edit's name follows its label's";
    window.AccessibleClosing();
    reader.Clear();
    window.FindControl(5)->UserClick();
    EXPECT_EQ(reader.Lines(), (std::vector<std::string>{}));
}

}  // namespace
