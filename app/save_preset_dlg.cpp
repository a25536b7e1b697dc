// The "Save User Preset" dialog: a list of the preset numbers, OK and Cancel. It stores nothing
// itself; the Save button reads m_nBank after it has closed.
#include "app/save_preset_dlg.h"

#include "res/resource_ids.h"
#include "ui/data_exchange.h"

namespace {
using S = CSBDialog;
const ui::MessageEntry kEntries[] = {
    {WM_COMMAND, IDC_PRESET_LIST, CBN_SELCHANGE, ui::Bind<&S::OnSaveState>},
    {WM_COMMAND, IDOK, BN_CLICKED, ui::Bind<&S::OnOK>},
    {WM_COMMAND, IDCANCEL, BN_CLICKED, ui::Bind<&S::OnCancel>},
    {WM_CLOSE, 0, 0, ui::Bind<&S::OnClose>},
};
}  // namespace

const ui::MessageMap CSBDialog::messageMap{&CDialog::messageMap, kEntries};

CSBDialog::CSBDialog(CWnd* parent) : CDialog(IDD_SAVE_PRESET, parent), m_nBank(0) {}

void CSBDialog::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_CBIndex(pDX, IDC_PRESET_LIST, m_nBank);
}

BOOL CSBDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    UpdateData(FALSE);
    return TRUE;  // the focus goes to the first tab stop, OK: Enter at once stores preset 1
}

void CSBDialog::OnSaveState() {
    UpdateData(TRUE);
}

void CSBDialog::OnCancel() {
    m_nBank = -1;
    CDialog::OnCancel();
}

void CSBDialog::OnClose() {
    m_nBank = -1;
    DefWindowProc(WM_CLOSE, 0, 0);  // turns the close into Cancel
}
