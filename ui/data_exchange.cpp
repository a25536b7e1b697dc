// The exchange kinds: each reads or writes one control through the messages it understands.
#include "ui/data_exchange.h"

#include "ui/button_control.h"
#include "ui/window.h"

ui::Control* CDataExchange::Control(int id) const {
    ui::DialogWindow* window = m_pDlgWnd ? m_pDlgWnd->DialogWindow() : nullptr;
    return window ? window->FindControl(id) : nullptr;
}

namespace {

// Index of the selected radio button in the group that starts at `first`, or -1.
int SelectedRadio(ui::Control& first) {
    int index = 0;
    for (ui::ButtonControl* r : first.Parent().RadioGroup(first)) {
        if (r->Send(BM_GETCHECK, 0, 0) == BST_CHECKED)
            return index;
        ++index;
    }
    return -1;
}

void SelectRadio(ui::Control& first, int value) {
    int index = 0;
    for (ui::ButtonControl* r : first.Parent().RadioGroup(first))
        r->Send(BM_SETCHECK, index++ == value ? BST_CHECKED : BST_UNCHECKED, 0);
}

}  // namespace

void DDX_CBString(CDataExchange* pDX, int id, CString& value) {
    ui::Control* c = pDX->Control(id);
    if (!c)
        return;
    if (pDX->m_bSaveAndValidate) {
        const auto sel = c->Send(CB_GETCURSEL, 0, 0);
        value = CString();
        if (sel >= 0)
            c->Send(CB_GETLBTEXT, static_cast<WPARAM>(sel), reinterpret_cast<LPARAM>(&value));
    } else if (c->Send(CB_SELECTSTRING, static_cast<WPARAM>(-1),
                       reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR) {
        // A drop-down list has no edit field: the text it is given is ignored.
    }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (!control.m_hWnd)
        control.SubclassDlgItem(id, pDX->m_pDlgWnd);
}

void DDX_Slider(CDataExchange* pDX, int id, int& value) {
    ui::Control* c = pDX->Control(id);
    if (!c)
        return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(c->Send(TBM_GETPOS, 0, 0));
    else
        c->Send(TBM_SETPOS, TRUE, value);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    ui::Control* c = pDX->Control(id);
    if (!c)
        return;
    if (pDX->m_bSaveAndValidate)
        value = SelectedRadio(*c);
    else
        SelectRadio(*c, value);
}

void DDX_Radio(CDataExchange* pDX, int id, std::atomic<std::int32_t>& value) {
    ui::Control* c = pDX->Control(id);
    if (!c)
        return;
    if (pDX->m_bSaveAndValidate)
        value.store(SelectedRadio(*c));
    else
        SelectRadio(*c, value.load());
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    ui::Control* c = pDX->Control(id);
    if (!c)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(c->Send(BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2)
            value = 0;
        c->Send(BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    ui::Control* c = pDX->Control(id);
    if (!c)
        return;
    if (pDX->m_bSaveAndValidate)
        value = c->Text();
    else if (c->Text() != value)
        c->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.GetString()));
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
    ui::Control* c = pDX->Control(id);
    if (!c)
        return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(c->Send(CB_GETCURSEL, 0, 0));
    else
        c->Send(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
