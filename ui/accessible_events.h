// The changes a screen reader is told of, found by comparing each control's accessible model
// before and after the control changed: one event per property that changed, none when a change
// leaves the model as it was. A backend that bridges to an accessibility bus listens here.
#pragma once

#include <vector>

#include "ui/accessible.h"

namespace ui {

enum class AccessibleEventKind {
    StateChanged,  // `state` turned `on` or off (focus moves are Focused turning on)
    NameChanged,
    ValueChanged,          // a slider's value
    TextChanged,           // `oldText` became `newText`
    CaretMoved,            // to `offset`
    TextSelectionChanged,  // an edit's selection
    RowSelected,           // a list's chosen row became `offset`
};

struct AccessibleEvent {
    AccessibleEventKind kind = AccessibleEventKind::StateChanged;
    int index = -1;  // the control's template index; -1 for the window
    AccessibleState state = AccessibleState{};
    bool on = false;
    CString oldText, newText;
    int offset = -1;
};

class AccessibleListener {
  public:
    virtual ~AccessibleListener() = default;
    // A dialog has been created and shown, with its controls as initialised.
    virtual void WindowOpened(DialogWindow& window) = 0;
    // A dialog is about to be destroyed.
    virtual void WindowClosing(DialogWindow& window) = 0;
    virtual void Changed(DialogWindow& window, const AccessibleEvent& event) = 0;
    // A message box opens (its text is to be read at once) and closes.
    virtual void AlertOpened(const AccessibleAlert& alert) = 0;
    virtual void AlertClosed(const AccessibleAlert& alert) = 0;
};

// At most one listener; none by default, and then nothing is compared or reported.
void InstallAccessibleListener(AccessibleListener* listener);
AccessibleListener* CurrentAccessibleListener();

// The models of one dialog as last reported.
class AccessibleTracker {
  public:
    explicit AccessibleTracker(const DialogWindow& window);
    // Compares control `index` (-1: the window, and with it every control) with its last model
    // and reports each difference.
    void Refresh(DialogWindow& window, int index, AccessibleListener& listener);

  private:
    void Compare(DialogWindow& window, AccessibleNode& last, const AccessibleNode& now,
                 AccessibleListener& listener);

    AccessibleNode window_;
    std::vector<AccessibleNode> controls_;
};

}  // namespace ui
