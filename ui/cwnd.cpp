// Message dispatch, default processing and the window operations of CWnd.
#include "ui/cwnd.h"

#include <exception>

#include "base/exception.h"
#include "ui/accessible_events.h"
#include "ui/data_exchange.h"
#include "ui/win_app.h"
#include "ui/window.h"

const ui::MessageMap CCmdTarget::messageMap{nullptr, {}};

bool CCmdTarget::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    int id = 0;
    UINT code = 0;
    if (message == WM_COMMAND) {
        id = LOWORD(wParam);
        code = HIWORD(wParam);
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        id = static_cast<int>(header->idFrom);
        code = header->code;
    }
    for (const ui::MessageMap* map = GetMessageMap(); map; map = map->base) {
        for (const ui::MessageEntry& e : map->entries) {
            if (e.message != message)
                continue;
            if ((message == WM_COMMAND || message == WM_NOTIFY) && (e.id != id || e.code != code))
                continue;
            result = e.invoke(*this, wParam, lParam);
            return true;
        }
    }
    return false;
}

CWnd::~CWnd() = default;

ui::Window* CWnd::Window() const {
    return ui::FromHandle(m_hWnd);
}

ui::DialogWindow* CWnd::DialogWindow() const {
    ui::Window* w = Window();
    return w && w->IsDialog() ? static_cast<ui::DialogWindow*>(w) : nullptr;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    ui::Window* w = Window();
    if (!w)
        return 0;
    if (w->IsDialog() && &static_cast<ui::DialogWindow*>(w)->Object() == this)
        return WindowProcGuarded(message, wParam, lParam);
    return w->Send(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    ui::Window* w = Window();
    if (!w)
        return FALSE;
    ui::PostMessageTo(w, message, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::WindowProcGuarded(UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return WindowProc(message, wParam, lParam);
    } catch (const CException& e) {
        MessageBox(e.GetErrorMessage(), nullptr, MB_OK | MB_ICONSTOP);
    } catch (const std::bad_alloc&) {
        MessageBox(u"Out of memory.", nullptr, MB_OK | MB_ICONSTOP);
    } catch (const std::exception& e) {
        MessageBox(CString::FromUtf8(e.what()), nullptr, MB_OK | MB_ICONSTOP);
    }
    return 0;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // Controls speak while the data exchange writes to them; the dialog does not listen then.
    if (exchangeDepth_ > 0 && ((message == WM_COMMAND && lParam != 0) || message == WM_NOTIFY))
        return 0;
    LRESULT result = 0;
    if (Dispatch(message, wParam, lParam, result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    ui::DialogWindow* window = DialogWindow();
    switch (message) {
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    return SendMessage(WM_CLOSE);
                case SC_MINIMIZE:
                    if (window)
                        window->SetIconic(true);
                    return 0;
                case SC_RESTORE:
                    if (window)
                        window->SetIconic(false);
                    return 0;
                default:
                    return 0;
            }
        case WM_SETICON:
            return window ? reinterpret_cast<LRESULT>(window->SetIcon(
                                reinterpret_cast<HICON>(lParam), wParam == ICON_BIG))
                          : 0;
        case WM_HELP:
            // The help request goes to the application, which asks its main window.
            if (CWinApp* app = AfxGetApp()) {
                LRESULT ignored = 0;
                app->Dispatch(WM_COMMAND, MakeWParam(static_cast<WORD>(ID_HELP), 0), 0, ignored);
            }
            return TRUE;
        default:
            return 0;
    }
}

void CWnd::SetWindowText(const char16_t* text) {
    if (ui::Window* w = Window()) {
        if (w->IsDialog())
            w->SetText(CString(text));
        else
            w->Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u""));
    }
}

void CWnd::GetWindowText(CString& text) const {
    const ui::Window* w = Window();
    text = w ? w->Text() : CString();
}

BOOL CWnd::ShowWindow(int command) {
    ui::Window* w = Window();
    if (!w)
        return FALSE;
    const BOOL wasVisible = w->IsVisible();
    w->Show(command != SW_HIDE);
    return wasVisible;
}

BOOL CWnd::EnableWindow(BOOL enable) {
    ui::Window* w = Window();
    if (!w)
        return FALSE;
    const BOOL wasDisabled = !w->IsEnabled();
    w->Enable(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowVisible() const {
    const ui::Window* w = Window();
    return w && w->IsVisible();
}

BOOL CWnd::IsWindowEnabled() const {
    const ui::Window* w = Window();
    return w && w->IsEnabled();
}

int CWnd::GetDlgCtrlID() const {
    const ui::Window* w = Window();
    return w ? w->Id() : 0;
}

CWnd* CWnd::GetDlgItem(int id) {
    ui::DialogWindow* window = DialogWindow();
    ui::Control* control = window ? window->FindControl(id) : nullptr;
    if (!control)
        return nullptr;
    auto& wrapper = itemWrappers_[id];
    if (!wrapper)
        wrapper = std::make_unique<CWnd>();
    wrapper->m_hWnd = control;
    return wrapper.get();
}

CMenu* CWnd::GetSystemMenu(BOOL /*revert*/) {
    ui::DialogWindow* window = DialogWindow();
    if (!window || !window->HasSystemMenu())
        return nullptr;
    if (!systemMenu_)
        systemMenu_ = std::make_unique<CMenu>(*window);
    return systemMenu_.get();
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

HICON CWnd::GetIcon(BOOL bigIcon) const {
    const ui::DialogWindow* window = DialogWindow();
    return window ? window->Icon(bigIcon != FALSE) : nullptr;
}

BOOL CWnd::IsIconic() const {
    const ui::DialogWindow* window = DialogWindow();
    return window && window->IsIconic();
}

void CWnd::GetClientRect(RECT* rect) const {
    *rect = RECT{0, 0, 0, 0};
    const ui::DialogWindow* window = DialogWindow();
    if (!window)
        return;
    if (window->IsIconic()) {
        // A minimised window's client area is its icon-sized button.
        const int size = ui::CurrentBackend() ? ui::CurrentBackend()->IconSize() : 32;
        *rect = RECT{0, 0, size, size};
        return;
    }
    if (const ui::WindowView* view = window->View())
        *rect = view->ClientRect();
}

void CWnd::Invalidate() {
    if (ui::DialogWindow* window = DialogWindow())
        window->Invalidate();
}

int CWnd::MessageBox(const char16_t* text, const char16_t* caption, UINT type) {
    ui::Backend* backend = ui::CurrentBackend();
    if (!backend)
        return IDOK;
    const CString title = caption ? CString(caption) : ui::ApplicationName();
    ui::DialogWindow* owner = DialogWindow();
    if (!owner)
        if (ui::Window* w = Window(); w && !w->IsDialog())
            owner = &static_cast<ui::Control*>(w)->Parent();
    const CString body(text ? text : u"");
    ui::AccessibleListener* listener = ui::CurrentAccessibleListener();
    if (!listener)
        return backend->MessageBox(owner, body, title, type);
    const ui::AccessibleAlert alert = ui::DescribeMessageBox(body, title, type);
    listener->AlertOpened(alert);
    const int answer = backend->MessageBox(owner, body, title, type);
    listener->AlertClosed(alert);
    return answer;
}

void CWnd::WinHelp(DWORD_PTR /*data*/, UINT /*command*/) {}

BOOL CWnd::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    ++exchangeDepth_;
    try {
        DoDataExchange(&exchange);
    } catch (...) {
        --exchangeDepth_;
        throw;
    }
    --exchangeDepth_;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(int id, CWnd* parent) {
    ui::DialogWindow* window = parent ? parent->DialogWindow() : nullptr;
    ui::Control* control = window ? window->FindControl(id) : nullptr;
    if (!control)
        return FALSE;
    m_hWnd = control;
    parent->boundControls_.push_back(this);
    return TRUE;
}

void CWnd::UnbindControls() {
    for (CWnd* control : boundControls_)
        control->m_hWnd = nullptr;
    boundControls_.clear();
    for (auto& [id, wrapper] : itemWrappers_)
        wrapper->m_hWnd = nullptr;
    systemMenu_.reset();
}

BOOL CMenu::AppendMenuW(UINT flags, UINT_PTR id, const char16_t* text) {
    window_.SystemMenu().push_back(
        {flags, static_cast<UINT>(id), CString(flags & MF_SEPARATOR ? u"" : (text ? text : u""))});
    return TRUE;
}

int CMenu::GetMenuItemCount() const {
    return static_cast<int>(window_.SystemMenu().size());
}

CPaintDC::CPaintDC(CWnd* window) : window_(window) {
    m_hDC = new ui::PaintContext;
}

CPaintDC::~CPaintDC() {
    auto* context = static_cast<ui::PaintContext*>(m_hDC);
    if (ui::DialogWindow* w = window_ ? window_->DialogWindow() : nullptr; w && context->drewIcon)
        w->SetLastPaint(context->icon, context->x, context->y);
    delete context;
}

BOOL DrawIcon(HDC dc, int x, int y, HICON icon) {
    if (!dc)
        return FALSE;
    auto* context = static_cast<ui::PaintContext*>(dc);
    context->icon = icon;
    context->x = x;
    context->y = y;
    context->drewIcon = true;
    return TRUE;
}

int GetSystemMetrics(int index) {
    const int size = ui::CurrentBackend() ? ui::CurrentBackend()->IconSize() : 32;
    return (index == SM_CXICON || index == SM_CYICON) ? size : 0;
}
