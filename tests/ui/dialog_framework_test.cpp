// The dialog framework on a small dialog of its own: the data exchange and its notification lock,
// radio groups counted in template order, list selection by text, and the keyboard rules.
#include <gtest/gtest.h>

#include "base/exception.h"
#include "ui/data_exchange.h"
#include "ui/dialog.h"
#include "ui/headless/headless_backend.h"
#include "ui/win_app.h"

using ui::ControlClass;
using ui::headless::Driver;

namespace {

constexpr int kList = 10, kRadioA = 11, kFrame = 12, kRadioB = 13, kRadioC = 14, kEdit = 15,
              kCheck = 16, kPush = 17, kDefault = 18, kNotes = 19;

const ui::ControlTemplate kControls[] = {
    {kList, ControlClass::ComboBox, nullptr, CBS_DROPDOWNLIST | WS_TABSTOP, 0, 0, 50, 80},
    {kRadioA, ControlClass::Button, u"A", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 0, 10, 20,
     10},
    {kFrame, ControlClass::Button, u"Frame", BS_GROUPBOX, 0, 10, 60, 40},
    {kRadioB, ControlClass::Button, u"B", BS_AUTORADIOBUTTON | WS_TABSTOP, 0, 20, 20, 10},
    {kRadioC, ControlClass::Button, u"C", BS_AUTORADIOBUTTON | WS_TABSTOP, 0, 30, 20, 10},
    {kEdit, ControlClass::Edit, nullptr, WS_GROUP | WS_TABSTOP | ES_NUMBER, 0, 40, 20, 10},
    {kCheck, ControlClass::Button, u"Check", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 50, 20, 10},
    {kPush, ControlClass::Button, u"Push", BS_PUSHBUTTON | WS_TABSTOP, 0, 60, 20, 10},
    {kDefault, ControlClass::Button, u"Go", BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 70, 20, 10},
    {kNotes, ControlClass::Edit, nullptr, ES_MULTILINE | ES_WANTRETURN | WS_TABSTOP, 0, 80, 20, 10},
};
constexpr const char16_t* kRows[] = {u"40 Largo", u"100 Andante", u"104 Andante", u"A4 tone"};
const ui::InitialData kData[] = {{kList, kRows}};
const ui::DialogTemplate kTemplate{
    900,       u"Test", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 100, 100, u"Sans", 8, 400, 0,
    kControls, kData};

class TestDialog : public CDialog {
  public:
    TestDialog() : CDialog(900) {}
    const ui::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const ui::MessageMap messageMap;

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_CBString(pDX, kList, list);
        DDX_Radio(pDX, kRadioA, radio);
        DDX_Text(pDX, kEdit, edit);
        DDX_Check(pDX, kCheck, check);
        DDX_Text(pDX, kNotes, notes);
    }
    void OnEditChange() { handled.push_back("edit"); }
    void OnListChange() { handled.push_back("list"); }
    void OnPush() { handled.push_back("push"); }
    void OnGo() { handled.push_back("go"); }
    void OnRadio() { handled.push_back("radio"); }
    void OnCheck() {
        if (!failWith.IsEmpty())
            throw Failure(failWith);
    }

    struct Failure : CException {
        explicit Failure(CString text) : text(std::move(text)) {}
        CString GetErrorMessage() const override { return text; }
        CString text;
    };
    CString failWith;

    CString list, edit, notes;
    int radio = 0, check = 0;
    std::vector<std::string> handled;
};

const ui::MessageEntry kEntries[] = {
    {WM_COMMAND, kEdit, EN_CHANGE, ui::Bind<&TestDialog::OnEditChange>},
    {WM_COMMAND, kList, CBN_SELCHANGE, ui::Bind<&TestDialog::OnListChange>},
    {WM_COMMAND, kPush, BN_CLICKED, ui::Bind<&TestDialog::OnPush>},
    {WM_COMMAND, kDefault, BN_CLICKED, ui::Bind<&TestDialog::OnGo>},
    {WM_COMMAND, kRadioA, BN_CLICKED, ui::Bind<&TestDialog::OnRadio>},
    {WM_COMMAND, kRadioB, BN_CLICKED, ui::Bind<&TestDialog::OnRadio>},
    {WM_COMMAND, kRadioC, BN_CLICKED, ui::Bind<&TestDialog::OnRadio>},
    {WM_COMMAND, kCheck, BN_CLICKED, ui::Bind<&TestDialog::OnCheck>},
};
const ui::MessageMap TestDialog::messageMap{&CDialog::messageMap, kEntries};

class DialogFramework : public ::testing::Test {
  protected:
    DialogFramework() {
        ui::InstallResources(
            {[](UINT id) { return id == 900 ? &kTemplate : nullptr; }, nullptr, nullptr});
    }
    ~DialogFramework() override { ui::InstallResources({}); }

    void Run(std::function<void(Driver&)> user) {
        backend.OnNextDialog(std::move(user));
        result = dialog.DoModal();
        EXPECT_TRUE(backend.Problems().empty());
    }
    ui::headless::HeadlessBackend backend;
    TestDialog dialog;
    std::intptr_t result = 0;
};

TEST_F(DialogFramework, PushingMembersRunsNoHandlerButUserChangesDo) {
    Run([&](Driver& d) {
        dialog.edit = u"42";
        dialog.list = u"104";
        dialog.UpdateData(FALSE);
        EXPECT_EQ(d.Text(kEdit), CString(u"42"));
        EXPECT_EQ(d.CurSel(kList), 2);
        EXPECT_TRUE(dialog.handled.empty());
        d.Focus(kEdit);
        d.Type(u"7");
        d.ChooseRow(kList, 0);
        d.ChooseRow(kList, 0);  // choosing the row already chosen changes nothing
        EXPECT_EQ(dialog.handled, (std::vector<std::string>{"edit", "list"}));
        d.Key(VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogFramework, ListTextSelectsTheFirstRowStartingWithItIgnoringCase) {
    Run([&](Driver& d) {
        const std::pair<const char16_t*, int> cases[] = {
            {u"100 andante", 1}, {u"10", 1}, {u"a4", 3}, {u"nothing", 3}, {u"", 0}};
        for (auto [text, row] : cases) {
            SCOPED_TRACE(CString(text).ToUtf8());
            dialog.list = text;
            dialog.UpdateData(FALSE);
            EXPECT_EQ(d.CurSel(kList), row) << CString(text);
        }
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.list, CString(u"40 Largo"));
        d.Key(VK_ESCAPE);
    });
}

TEST_F(DialogFramework, RadioGroupsCountOnlyRadiosUpToTheNextGroupStart) {
    Run([&](Driver& d) {
        d.Click(kRadioC);
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.radio, 2);  // the group box between A and B is passed over
        EXPECT_EQ(d.Check(kRadioA) + d.Check(kRadioB), 0);
        dialog.radio = 7;
        dialog.UpdateData(FALSE);
        EXPECT_EQ(d.Check(kRadioA) + d.Check(kRadioB) + d.Check(kRadioC), 0);
        dialog.UpdateData(TRUE);
        EXPECT_EQ(dialog.radio, -1);
        d.Key(VK_ESCAPE);
    });
}

TEST_F(DialogFramework, CheckStatesOutsideTheirRangeAreResetBeforeTheyAreShown) {
    Run([&](Driver& d) {
        for (auto [member, shown] : {std::pair{2, 2}, {5, 0}, {-1, 0}, {1, 1}}) {
            SCOPED_TRACE(testing::Message() << "member " << member);
            dialog.check = member;
            dialog.UpdateData(FALSE);
            EXPECT_EQ(d.Check(kCheck), shown);
            EXPECT_EQ(dialog.check, shown);
        }
        d.Key(VK_ESCAPE);
    });
}

TEST_F(DialogFramework, KeyboardMovesThroughGroupsAndPressesTheRightButton) {
    Run([&](Driver& d) {
        d.Click(kRadioB);
        d.Focus(kList);
        d.Key(VK_TAB);
        EXPECT_EQ(d.FocusId(), kRadioB);  // a group is one stop: its selected button
        d.Key(VK_DOWN);
        EXPECT_EQ(d.SelectedRadio(kRadioA), kRadioC);
        d.Key(VK_DOWN);
        EXPECT_EQ(d.SelectedRadio(kRadioA), kRadioA);  // wraps around
        d.Key(VK_TAB, ui::kShift);
        EXPECT_EQ(d.FocusId(), kList);
        dialog.handled.clear();

        d.Key(VK_RETURN);  // the list has the focus: the default button, which does not take it
        EXPECT_EQ(d.FocusId(), kList);
        d.Focus(kPush);
        d.Key(VK_RETURN);  // a push button with the focus is pressed instead
        d.Key(VK_SPACE);
        d.Focus(kNotes);
        d.Key(VK_RETURN);  // the multi-line edit takes Enter as a new line
        EXPECT_EQ(dialog.handled, (std::vector<std::string>{"go", "push", "push"}));
        EXPECT_EQ(d.Text(kNotes), CString(u"\r\n"));
        d.CloseBox();
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(DialogFramework, HiddenOrDisabledControlsTakeNoInput) {
    Run([&](Driver& d) {
        d.Item(kPush).Enable(false);
        d.Item(kDefault).Show(false);
        d.Click(kPush);
        d.Key(VK_RETURN);
        EXPECT_TRUE(dialog.handled.empty());
        d.Key(VK_ESCAPE);
    });
}

TEST_F(DialogFramework, AnErrorEscapingAHandlerIsShownWithAStopIconAndTheDialogCarriesOn) {
    Run([&](Driver& d) {
        dialog.failWith = u"It broke.";
        d.Click(kCheck);
        ASSERT_EQ(backend.MessageBoxes().size(), 1u);
        EXPECT_EQ(backend.MessageBoxes()[0].text, CString(u"It broke."));
        EXPECT_EQ(backend.MessageBoxes()[0].type, MB_OK | MB_ICONSTOP);
        EXPECT_EQ(backend.MessageBoxes()[0].caption, ui::ApplicationName());
        dialog.failWith.Empty();
        d.Click(kPush);
        EXPECT_EQ(dialog.handled.back(), "push");
        d.Key(VK_ESCAPE);
    });
}

}  // namespace
