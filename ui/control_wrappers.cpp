// Control wrappers: each operation is the control message the control understands.
#include "ui/control_wrappers.h"

int CButton::GetCheck() const {
    return static_cast<int>(const_cast<CButton*>(this)->SendMessage(BM_GETCHECK));
}
void CButton::SetCheck(int check) {
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

void CEdit::LimitText(int chars) {
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars));
}

int CComboBox::GetCount() const {
    return static_cast<int>(const_cast<CComboBox*>(this)->SendMessage(CB_GETCOUNT));
}
int CComboBox::GetCurSel() const {
    return static_cast<int>(const_cast<CComboBox*>(this)->SendMessage(CB_GETCURSEL));
}
int CComboBox::SetCurSel(int index) {
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
}
int CComboBox::AddString(const char16_t* text) {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
void CComboBox::GetLBText(int index, CString& text) const {
    text.Empty();
    const_cast<CComboBox*>(this)->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index),
                                              reinterpret_cast<LPARAM>(&text));
}
int CComboBox::SelectString(int startAfter, const char16_t* text) {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter),
                                        reinterpret_cast<LPARAM>(text)));
}

int CSliderCtrl::GetPos() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETPOS));
}
void CSliderCtrl::SetPos(int pos) {
    SendMessage(TBM_SETPOS, TRUE, pos);
}
void CSliderCtrl::SetRangeMin(int min, BOOL redraw) {
    SendMessage(TBM_SETRANGEMIN, static_cast<WPARAM>(redraw), min);
}
void CSliderCtrl::SetRangeMax(int max, BOOL redraw) {
    SendMessage(TBM_SETRANGEMAX, static_cast<WPARAM>(redraw), max);
}
int CSliderCtrl::GetRangeMin() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETRANGEMIN));
}
int CSliderCtrl::GetRangeMax() const {
    return static_cast<int>(const_cast<CSliderCtrl*>(this)->SendMessage(TBM_GETRANGEMAX));
}
