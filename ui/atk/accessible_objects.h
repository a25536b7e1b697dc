// ATK objects that translate the accessible model (ui/accessible.h): the application, its dialogs
// and alerts, their controls and the rows of a list. Each object reads the model whenever it is
// asked; it keeps no state of its own beyond where it stands in the tree.
#pragma once

// The program's headers first: GLib's define TRUE and FALSE as macros.
#include "ui/accessible.h"

#include <atk/atk.h>

#include <functional>
#include <vector>

namespace ui::atk {

// What an object stands for. A window's or a control's object turns defunct when the window closes.
struct ObjectPlace {
    enum class Kind { Application, Window, Control, Row, Alert, AlertPart };
    Kind kind = Kind::Application;
    DialogWindow* window = nullptr;
    int index = -1;  // the control; for a row, its list
    int row = -1;
    const AccessibleAlert* alert = nullptr;
    int part = -1;
};

// The application's windows, in the order they opened, for the root's children.
using WindowList = std::function<std::vector<AtkObject*>()>;

AtkObject* NewApplicationObject(WindowList windows);
// A window's object with its controls' objects as children; an alert's with its parts.
AtkObject* NewWindowObject(DialogWindow& window, AtkObject* parent);
AtkObject* NewAlertObject(const AccessibleAlert& alert, AtkObject* parent);
// The object of control `index` of a window's object (-1: the window itself).
AtkObject* ControlObject(AtkObject* windowObject, int index);
// Marks a window's or an alert's objects defunct and drops the tree's references to them.
void CloseObject(AtkObject* object);
// A list's rows changed their selection: their objects' states follow.
void NotifyRowSelected(AtkObject* listObject, int oldRow, int newRow);

// Runs `work` once the current D-Bus request has been answered, from FLTK's loop, as input would
// run; nothing runs when the window has closed by then.
void Later(DialogWindow* window, std::function<void()> work);
// Tells deferred work that a window is gone.
void ForgetWindow(DialogWindow* window);

}  // namespace ui::atk
