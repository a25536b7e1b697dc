// The Win32 calls of the backend, in plain types. The framework's Windows-style types and the
// system's headers cannot meet in one file: the backend sees this header, and only native.cpp
// sees <windows.h>. Message numbers are the framework's, which carry the values Windows gives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui::win32::native {

using Handle = void*;

// What a dialog's window hears from the system, handed to the backend.
class DialogEvents {
  public:
    virtual ~DialogEvents() = default;
    // WM_COMMAND: from a control, or from the dialog manager (Enter, Escape).
    virtual void Command(int id, unsigned code, Handle control) = 0;
    // A trackbar moved (WM_HSCROLL or WM_VSCROLL).
    virtual void Scrolled(Handle control) = 0;
    // WM_SYSCOMMAND; true when the framework took it.
    virtual bool SystemCommand(unsigned id) = 0;
    // WM_HELP (F1).
    virtual void Help() = 0;
    // WM_SIZE: the window was minimised or restored by the system.
    virtual void Minimised(bool iconic) = 0;
    // WM_PAINT while minimised: the icon to draw and where; null draws nothing.
    virtual Handle PaintIconic(int& x, int& y) = 0;
    // WM_QUERYDRAGICON.
    virtual Handle DragIcon() = 0;
    // A key on its way to the dialog or one of its controls; true when the framework took it.
    virtual bool KeyDown(Handle target, unsigned vk) = 0;
};

void InitCommonControls();

// A modeless dialog from an in-memory extended template, hidden, owned by `owner`.
Handle CreateDialogFromTemplate(const std::vector<std::uint8_t>& bytes, Handle owner,
                                DialogEvents* events);
void DestroyWindow(Handle window);
// The dialog's controls in template order.
std::vector<Handle> Children(Handle dialog);
bool IsChildOf(Handle dialog, Handle window);

std::intptr_t Send(Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
void SetText(Handle window, const std::u16string& text);
std::u16string Text(Handle window);
void Show(Handle window, bool visible);
void Enable(Handle window, bool enabled);
bool IsVisible(Handle window);
bool IsEnabled(Handle window);
bool IsIconic(Handle window);
void Minimise(Handle window, bool iconic);
// Enables `window` and makes it the active window.
void ReturnActivation(Handle window);
Handle Focus();
void SetFocus(Handle window);
void ClientSize(Handle window, int& width, int& height);
// A static text whose wrapped lines need more height than it has is widened to its longest line:
// into the dialog's margins, centred where it stood, and when that is not room enough the dialog
// grows with its controls kept in the middle. Fonts wider than the layout's (a substitute for the
// template's font) would otherwise cut its last lines off.
void FitStaticText(Handle dialog, Handle control);
// Gives a control the name that screen readers read (Active Accessibility's dynamic annotation),
// where it has no text of its own to be named by. Does nothing where the system lacks it.
void NameForScreenReaders(Handle control, const std::u16string& name);

void AppendSystemMenuItem(Handle dialog, unsigned flags, unsigned id, const std::u16string& text);
// Icon `id` of the program's resources at the large or the small system size (shared, not freed).
Handle LoadProgramIcon(unsigned id, bool big);
void SetIcon(Handle dialog, Handle icon, bool big);
int LargeIconSize();

int ShowMessageBox(Handle owner, const std::u16string& text, const std::u16string& caption,
                   unsigned type);

// Waits for one message and delivers it, with the dialog manager's keyboard handling for
// `dialog`. False when the message was WM_QUIT.
bool PumpOne(Handle dialog);

// The program file's full path.
std::u16string ModulePath();

}  // namespace ui::win32::native
