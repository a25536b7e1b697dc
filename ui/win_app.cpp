// The one application object, the help command, and the application's resources.
#include "ui/win_app.h"

#include <string>

#include "ui/dialog_template.h"

namespace {
CWinApp* g_app = nullptr;
CString g_appName(u"metronome");

const ui::MessageEntry kAppEntries[] = {
    {WM_COMMAND, static_cast<int>(ID_HELP), 0, ui::Bind<&CWinApp::OnHelp>},
};
}  // namespace

const ui::MessageMap CWinApp::messageMap{&CCmdTarget::messageMap, kAppEntries};

CWinApp::CWinApp() {
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::OnHelp() {
    if (m_pMainWnd)
        m_pMainWnd->WinHelp(0, 0);
}

CWinApp* AfxGetApp() {
    return g_app;
}
CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}
HINSTANCE AfxGetInstanceHandle() {
    return nullptr;
}

void InitCommonControls() {}

HICON LoadIconW(HINSTANCE /*instance*/, UINT id) {
    return const_cast<IconResource*>(ui::FindIconResource(id));
}

CString LoadStringResource(UINT id) {
    return CString(ui::FindStringResource(id));
}

namespace ui {

void SetProgramPath(const char* argv0) {
    std::string name = argv0 ? argv0 : "";
    if (const auto slash = name.find_last_of("/\\"); slash != std::string::npos)
        name = name.substr(slash + 1);
    if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    if (!name.empty())
        g_appName = CString::FromUtf8(name);
}

CString ApplicationName() {
    return g_appName;
}

}  // namespace ui
