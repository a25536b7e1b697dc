// Command targets and windows: message dispatch through static tables, default processing, and
// the window operations the program uses.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "base/cstring.h"
#include "base/object.h"
#include "ui/message_map.h"
#include "ui/message_target.h"
#include "ui/win_defs.h"

class CDataExchange;
class CMenu;
namespace ui {
class Window;
class DialogWindow;
class Control;
}  // namespace ui

class CCmdTarget : public CObject {
  public:
    virtual const ui::MessageMap* GetMessageMap() const { return &messageMap; }
    // Runs the handler that the tables give for the message; false when there is none.
    bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    static const ui::MessageMap messageMap;
};

class CWnd : public CCmdTarget, public ui::MessageTarget {
  public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) override;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    void SetWindowText(const char16_t* text);
    void GetWindowText(CString& text) const;
    BOOL ShowWindow(int command);
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int id);

    CMenu* GetSystemMenu(BOOL revert);
    HICON SetIcon(HICON icon, BOOL bigIcon);
    HICON GetIcon(BOOL bigIcon) const;
    BOOL IsIconic() const;
    void GetClientRect(RECT* rect) const;
    void Invalidate();

    // A modal message box owned by this window; a null caption means the application's name.
    int MessageBox(const char16_t* text, const char16_t* caption = nullptr, UINT type = MB_OK);
    // The help request (F1); replaced by windows that give help.
    virtual void WinHelp(DWORD_PTR data, UINT command = 0);

    // Data exchange: save direction pulls the controls into the members, load pushes them back.
    // Notifications from the controls are ignored while it runs.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* /*pDX*/) {}
    bool InDataExchange() const { return exchangeDepth_ > 0; }

    // Binds this object to control `id` of `parent`.
    BOOL SubclassDlgItem(int id, CWnd* parent);

    ui::Window* Window() const;
    ui::DialogWindow* DialogWindow() const;

    // The window procedure: the message tables first, then default processing. Errors that escape
    // a handler are shown in a message box with a stop icon, and the program carries on.
    LRESULT WindowProcGuarded(UINT message, WPARAM wParam, LPARAM lParam);

  protected:
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Control wrappers bound by the data exchange, released when the window goes.
    void UnbindControls();

  private:
    friend class CDataExchange;
    int exchangeDepth_ = 0;
    std::map<int, std::unique_ptr<CWnd>> itemWrappers_;
    std::unique_ptr<CMenu> systemMenu_;
    std::vector<CWnd*> boundControls_;
};

// The system menu of a dialog.
class CMenu {
  public:
    explicit CMenu(ui::DialogWindow& window) : window_(window) {}
    BOOL AppendMenuW(UINT flags, UINT_PTR id = 0, const char16_t* text = nullptr);
    int GetMenuItemCount() const;

  private:
    ui::DialogWindow& window_;
};

// A paint session of one window; draws while minimised go through it.
class CPaintDC {
  public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    HDC m_hDC;

  private:
    CWnd* window_;
};

BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
int GetSystemMetrics(int index);

namespace ui {
// What the last paint of a minimised dialog drew: its icon and where.
struct PaintContext : HDC__ {
    HICON icon = nullptr;
    int x = 0, y = 0;
    bool drewIcon = false;
};
}  // namespace ui
