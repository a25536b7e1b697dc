// The About box opens the maker's page in the desktop's browser and stays open.
#include "app/about_dlg.h"

#include "platform/shell.h"
#include "res/resource_ids.h"
#include "res/resources.h"

namespace {
const ui::MessageEntry kAboutEntries[] = {
    {WM_COMMAND, IDC_WEB_PAGE, BN_CLICKED, ui::Bind<&CAboutDlg::OnWebPage>},
};
}  // namespace

const ui::MessageMap CAboutDlg::messageMap{&CDialog::messageMap, kAboutEntries};

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::OnWebPage() {
    ShellExecuteW(nullptr, nullptr, res::kMakerWebAddress, nullptr, nullptr, SW_SHOWNORMAL);
}
