// The application object: one per process, started by the program's entry point.
#pragma once

#include "ui/cwnd.h"

class CWinThread : public CCmdTarget {
  public:
    CWnd* m_pMainWnd = nullptr;
};

class CWinApp : public CWinThread {
  public:
    CWinApp();
    ~CWinApp() override;
    virtual BOOL InitInstance() { return FALSE; }
    // The help command: asks the main window for help.
    void OnHelp();

    const ui::MessageMap* GetMessageMap() const override { return &messageMap; }
    static const ui::MessageMap messageMap;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();

// The program's controls need no registration here; kept so start-up reads the same everywhere.
void InitCommonControls();
HICON LoadIconW(HINSTANCE instance, UINT id);
// The string resource `id`, empty when there is none.
CString LoadStringResource(UINT id);

namespace ui {
// The application's name: the program file's name without its extension.
void SetProgramPath(const char* argv0);
CString ApplicationName();
}  // namespace ui
