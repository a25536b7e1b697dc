// Start-up: the main dialog runs modally, and when it ends the process ends.
#include "app/metronome_app.h"

#include "app/metronome_dlg.h"

CMetronomeApp theApp;

namespace {
const ui::MessageEntry kAppEntries[] = {
    {WM_COMMAND, static_cast<int>(ID_HELP), 0, ui::Bind<&CWinApp::OnHelp>},
};
}  // namespace

const ui::MessageMap CMetronomeApp::messageMap{&CWinApp::messageMap, kAppEntries};

BOOL CMetronomeApp::InitInstance() {
    InitCommonControls();
    CMetronomeDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
