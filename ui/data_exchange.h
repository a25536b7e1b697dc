// The data exchange between a dialog's members and its controls, one call per control, in both
// directions: save (pull the controls into the members) and load (push the members out).
#pragma once

#include <atomic>
#include <cstdint>

#include "ui/cwnd.h"

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    ui::Control* Control(int id) const;
};

// Combo text: save takes the selected row's text (empty when none); load selects the first row
// that begins with the text, ignoring case, and keeps the selection when none does.
void DDX_CBString(CDataExchange* pDX, int id, CString& value);
// Binds the control object on the first exchange; nothing afterwards.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Slider(CDataExchange* pDX, int id, int& value);
// Radio group index counted in template order from the group-start control `id`; -1 when none is
// selected. Loading a value that matches no button clears them all.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// The same for a value shared with another thread: one store of the final index.
void DDX_Radio(CDataExchange* pDX, int id, std::atomic<std::int32_t>& value);
// Check state 0..2; loading first resets a value outside that range to 0.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// Edit text; loading sets the text only when it differs.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Combo row index (-1 when none).
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
