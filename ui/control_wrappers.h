// Wrappers of the controls a dialog binds by its data exchange.
#pragma once

#include "ui/cwnd.h"

class CButton : public CWnd {
  public:
    int GetCheck() const;
    void SetCheck(int check);
};

class CEdit : public CWnd {
  public:
    void LimitText(int chars = 0);
};

class CComboBox : public CWnd {
  public:
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int AddString(const char16_t* text);
    void GetLBText(int index, CString& text) const;
    int SelectString(int startAfter, const char16_t* text);
};

class CSliderCtrl : public CWnd {
  public:
    int GetPos() const;
    void SetPos(int pos);
    void SetRangeMin(int min, BOOL redraw = FALSE);
    void SetRangeMax(int max, BOOL redraw = FALSE);
    int GetRangeMin() const;
    int GetRangeMax() const;
};

class CStatic : public CWnd {};
