// Finds what changed in a dialog's accessible model and reports each change once.
#include "ui/accessible_events.h"

#include "ui/window.h"

namespace ui {
namespace {

AccessibleListener* g_listener = nullptr;

}  // namespace

void InstallAccessibleListener(AccessibleListener* listener) {
    g_listener = listener;
}

AccessibleListener* CurrentAccessibleListener() {
    return g_listener;
}

AccessibleTracker::AccessibleTracker(const DialogWindow& window) : window_(DescribeWindow(window)) {
    for (const auto& c : window.Controls())
        controls_.push_back(DescribeControl(*c));
}

void AccessibleTracker::Refresh(DialogWindow& window, int index, AccessibleListener& listener) {
    if (index >= 0) {
        const auto at = static_cast<std::size_t>(index);
        if (at >= controls_.size())
            return;
        Compare(window, controls_[at], DescribeControl(*window.Controls()[at]), listener);
        // A label's text is its control's name.
        if (const auto labelled = static_cast<std::size_t>(controls_[at].labelFor);
            controls_[at].labelFor >= 0 && labelled < controls_.size())
            Compare(window, controls_[labelled], DescribeControl(*window.Controls()[labelled]),
                    listener);
        return;
    }
    Compare(window, window_, DescribeWindow(window), listener);
    for (std::size_t at = 0; at < controls_.size(); ++at)
        Compare(window, controls_[at], DescribeControl(*window.Controls()[at]), listener);
}

void AccessibleTracker::Compare(DialogWindow& window, AccessibleNode& last,
                                const AccessibleNode& now, AccessibleListener& listener) {
    using Kind = AccessibleEventKind;
    // The model is updated before each report, so a listener that reads it back sees it new.
    const AccessibleNode before = last;
    last = now;
    auto report = [&](Kind kind, int offset = -1) {
        AccessibleEvent e;
        e.kind = kind;
        e.index = now.index;
        e.offset = offset;
        if (kind == Kind::NameChanged) {
            e.oldText = before.name;
            e.newText = now.name;
        } else if (kind == Kind::TextChanged) {
            e.oldText = before.text;
            e.newText = now.text;
        }
        listener.Changed(window, e);
    };
    auto reportState = [&](std::uint32_t bit) {
        AccessibleEvent e;
        e.index = now.index;
        e.state = static_cast<AccessibleState>(bit);
        e.on = (now.states & bit) != 0;
        listener.Changed(window, e);
    };
    if (before.name != now.name)
        report(Kind::NameChanged);
    if (before.text != now.text)
        report(Kind::TextChanged);
    if (before.caret != now.caret)
        report(Kind::CaretMoved, now.caret);
    if (before.selectionStart != now.selectionStart || before.selectionEnd != now.selectionEnd)
        report(Kind::TextSelectionChanged);
    if (before.value != now.value)
        report(Kind::ValueChanged, now.value);
    if (before.selectedRow != now.selectedRow)
        report(Kind::RowSelected, now.selectedRow);
    // Focus last, so that a reader speaks a control with its new state.
    const std::uint32_t changed = before.states ^ now.states;
    for (std::uint32_t bit = 1; bit != 0; bit <<= 1)
        if ((changed & bit) && bit != kStateFocused)
            reportState(bit);
    if (changed & kStateFocused)
        reportState(kStateFocused);
}

}  // namespace ui
