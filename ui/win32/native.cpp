// The Win32 side of the backend: dialogs from in-memory templates, their dialog procedure, the
// message pump, and the calls that mirror the framework's state onto real controls.
#include "ui/win32/native.h"

#include <windows.h>
// After <windows.h>, which they build on.
#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>

namespace ui::win32::native {
namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

DialogEvents* EventsOf(HWND dialog) {
    return reinterpret_cast<DialogEvents*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Sets the dialog procedure's result for messages whose answer is not its return value.
INT_PTR Answer(HWND dialog, LRESULT result) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return FALSE;  // the framework places the focus
    }
    DialogEvents* events = EventsOf(dialog);
    if (!events)
        return FALSE;
    switch (message) {
        case WM_COMMAND:
            events->Command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<Handle>(lParam));
            return TRUE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (lParam)
                events->Scrolled(reinterpret_cast<Handle>(lParam));
            return TRUE;
        case WM_SYSCOMMAND:
            return events->SystemCommand(static_cast<unsigned>(wParam)) ? Answer(dialog, 0) : FALSE;
        case WM_HELP:
            events->Help();
            return Answer(dialog, TRUE);
        case WM_SIZE:
            if (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED)
                events->Minimised(wParam == SIZE_MINIMIZED);
            return FALSE;
        case WM_PAINT: {
            if (!::IsIconic(dialog))
                return FALSE;
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(dialog, &paint);
            int x = 0, y = 0;
            if (HICON icon = static_cast<HICON>(events->PaintIconic(x, y)))
                ::DrawIcon(dc, x, y, icon);
            EndPaint(dialog, &paint);
            return TRUE;
        }
        case WM_QUERYDRAGICON:
            // One of the messages whose answer is the dialog procedure's return value.
            return reinterpret_cast<INT_PTR>(events->DragIcon());
        default:
            return FALSE;
    }
}

}  // namespace

void InitCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    ::InitCommonControls();
}

Handle CreateDialogFromTemplate(const std::vector<std::uint8_t>& bytes, Handle owner,
                                DialogEvents* events) {
    // The template must be DWORD-aligned; a vector's storage is.
    return CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
        static_cast<HWND>(owner), DialogProc, reinterpret_cast<LPARAM>(events));
}

void DestroyWindow(Handle window) {
    SetWindowLongPtrW(static_cast<HWND>(window), DWLP_USER, 0);
    ::DestroyWindow(static_cast<HWND>(window));
}

std::vector<Handle> Children(Handle dialog) {
    std::vector<Handle> children;
    for (HWND child = GetWindow(static_cast<HWND>(dialog), GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool IsChildOf(Handle dialog, Handle window) {
    return window && IsChild(static_cast<HWND>(dialog), static_cast<HWND>(window));
}

std::intptr_t Send(Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    return SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
}

void SetText(Handle window, const std::u16string& text) {
    SetWindowTextW(static_cast<HWND>(window), Wide(text));
}

std::u16string Text(Handle window) {
    const int length = GetWindowTextLengthW(static_cast<HWND>(window));
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int got = GetWindowTextW(static_cast<HWND>(window),
                                   reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void Show(Handle window, bool visible) {
    ShowWindow(static_cast<HWND>(window), visible ? SW_SHOW : SW_HIDE);
}

void Enable(Handle window, bool enabled) {
    EnableWindow(static_cast<HWND>(window), enabled);
}

bool IsVisible(Handle window) {
    return IsWindowVisible(static_cast<HWND>(window));
}

bool IsEnabled(Handle window) {
    return IsWindowEnabled(static_cast<HWND>(window));
}

bool IsIconic(Handle window) {
    return ::IsIconic(static_cast<HWND>(window));
}

void Minimise(Handle window, bool iconic) {
    ShowWindow(static_cast<HWND>(window), iconic ? SW_MINIMIZE : SW_RESTORE);
}

void ReturnActivation(Handle window) {
    EnableWindow(static_cast<HWND>(window), TRUE);
    SetActiveWindow(static_cast<HWND>(window));
}

Handle Focus() {
    return GetFocus();
}

void SetFocus(Handle window) {
    ::SetFocus(static_cast<HWND>(window));
}

void ClientSize(Handle window, int& width, int& height) {
    RECT rect{};
    GetClientRect(static_cast<HWND>(window), &rect);
    width = rect.right - rect.left;
    height = rect.bottom - rect.top;
}

namespace {

RECT RectInDialog(HWND dialog, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

void NameForScreenReaders(Handle control, const std::u16string& name) {
    // The annotation lives with the window: the service object is needed only to set it.
    static const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    if (!com || !control || name.empty())
        return;
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services))) ||
        !services)
        return;
    services->SetHwndPropStr(static_cast<HWND>(control), static_cast<DWORD>(OBJID_CLIENT),
                             CHILDID_SELF, PROPID_ACC_NAME, Wide(name));
    services->Release();
}

void FitStaticText(Handle dialogHandle, Handle controlHandle) {
    HWND dialog = static_cast<HWND>(dialogHandle);
    HWND control = static_cast<HWND>(controlHandle);
    const std::u16string text = Text(control);
    if (text.empty())
        return;
    RECT rect = RectInDialog(dialog, control);
    const int height = rect.bottom - rect.top;
    UINT flags = DT_CALCRECT;
    if (GetWindowLongW(control, GWL_STYLE) & SS_NOPREFIX)
        flags |= DT_NOPREFIX;
    HDC dc = GetDC(control);
    HGDIOBJ oldFont =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT wrapped{0, 0, rect.right - rect.left, 0};
    DrawTextW(dc, Wide(text), -1, &wrapped, flags | DT_WORDBREAK);
    RECT unwrapped{};
    DrawTextW(dc, Wide(text), -1, &unwrapped, flags);
    SelectObject(dc, oldFont);
    ReleaseDC(control, dc);
    if (wrapped.bottom <= height)
        return;
    const int want = unwrapped.right + 2;
    RECT client{};
    GetClientRect(dialog, &client);
    if (want > client.right) {
        const int extra = want - client.right;
        RECT outer{};
        GetWindowRect(dialog, &outer);
        SetWindowPos(dialog, nullptr, 0, 0, outer.right - outer.left + extra,
                     outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (Handle child : Children(dialog)) {
            const RECT at = RectInDialog(dialog, static_cast<HWND>(child));
            SetWindowPos(static_cast<HWND>(child), nullptr, at.left + extra / 2, at.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        GetClientRect(dialog, &client);
        rect = RectInDialog(dialog, control);
    }
    const int width = std::min(want, static_cast<int>(client.right));
    const int centre = (rect.left + rect.right) / 2;
    const int left =
        std::clamp(centre - width / 2, 0, std::max(0, static_cast<int>(client.right) - width));
    SetWindowPos(control, nullptr, left, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AppendSystemMenuItem(Handle dialog, unsigned flags, unsigned id, const std::u16string& text) {
    HMENU menu = GetSystemMenu(static_cast<HWND>(dialog), FALSE);
    if (menu)
        AppendMenuW(menu, flags, id, (flags & MF_SEPARATOR) ? nullptr : Wide(text));
}

Handle LoadProgramIcon(unsigned id, bool big) {
    if (big)
        return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    const int size = GetSystemMetrics(SM_CXSMICON);
    return LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size,
                      LR_SHARED);
}

void SetIcon(Handle dialog, Handle icon, bool big) {
    SendMessageW(static_cast<HWND>(dialog), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                 reinterpret_cast<LPARAM>(icon));
}

int LargeIconSize() {
    return GetSystemMetrics(SM_CXICON);
}

int ShowMessageBox(Handle owner, const std::u16string& text, const std::u16string& caption,
                   unsigned type) {
    return MessageBoxW(static_cast<HWND>(owner), Wide(text), Wide(caption), type);
}

bool PumpOne(Handle dialog) {
    MSG msg;
    if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
        return false;
    HWND hwnd = static_cast<HWND>(dialog);
    if (msg.message == WM_KEYDOWN && (msg.hwnd == hwnd || IsChild(hwnd, msg.hwnd))) {
        if (DialogEvents* events = EventsOf(hwnd);
            events && events->KeyDown(msg.hwnd, static_cast<unsigned>(msg.wParam)))
            return true;
    }
    if (!IsDialogMessageW(hwnd, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

std::u16string ModulePath() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

}  // namespace ui::win32::native
