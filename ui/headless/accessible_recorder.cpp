// Writes the accessible model's reports down as text.
#include "ui/headless/accessible_recorder.h"

#include "ui/window.h"

namespace ui::headless {
namespace {

// A control by its id, or "#index" for one without an id; the window by its template id.
std::string Subject(const DialogWindow& window, int index) {
    if (index < 0)
        return std::to_string(window.Template().id);
    const int id = window.Controls()[static_cast<std::size_t>(index)]->Id();
    return id >= 0 ? std::to_string(id) : "#" + std::to_string(index);
}

}  // namespace

const char* AccessibleStateName(AccessibleState state) {
    switch (state) {
        case kStateEnabled:
            return "enabled";
        case kStateVisible:
            return "visible";
        case kStateShowing:
            return "showing";
        case kStateFocusable:
            return "focusable";
        case kStateFocused:
            return "focused";
        case kStateCheckable:
            return "checkable";
        case kStateChecked:
            return "checked";
        case kStateEditable:
            return "editable";
        case kStateReadOnly:
            return "read-only";
        case kStateSingleLine:
            return "single-line";
        case kStateMultiLine:
            return "multi-line";
        case kStateDefault:
            return "default";
        case kStateActive:
            return "active";
        case kStateModal:
            return "modal";
        case kStateSelectable:
            return "selectable";
        case kStateExpandable:
            return "expandable";
    }
    return "?";
}

std::vector<std::string> AccessibleRecorder::Lines(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const auto& line : lines_)
        if (line.rfind(prefix, 0) == 0)
            out.push_back(line);
    return out;
}

void AccessibleRecorder::WindowOpened(DialogWindow& window) {
    lines_.push_back(Subject(window, -1) + " opened");
}

void AccessibleRecorder::WindowClosing(DialogWindow& window) {
    lines_.push_back(Subject(window, -1) + " closing");
}

void AccessibleRecorder::Changed(DialogWindow& window, const AccessibleEvent& e) {
    std::string line = Subject(window, e.index) + " ";
    switch (e.kind) {
        case AccessibleEventKind::StateChanged:
            line += std::string(AccessibleStateName(e.state)) + (e.on ? " on" : " off");
            break;
        case AccessibleEventKind::NameChanged:
            line += "name \"" + e.newText.ToUtf8() + "\"";
            break;
        case AccessibleEventKind::TextChanged:
            line += "text \"" + e.newText.ToUtf8() + "\"";
            break;
        case AccessibleEventKind::CaretMoved:
            line += "caret " + std::to_string(e.offset);
            break;
        case AccessibleEventKind::TextSelectionChanged:
            line += "selection";
            break;
        case AccessibleEventKind::ValueChanged:
            line += "value " + std::to_string(e.offset);
            break;
        case AccessibleEventKind::RowSelected:
            line += "row " + std::to_string(e.offset);
            break;
    }
    lines_.push_back(line);
}

void AccessibleRecorder::AlertOpened(const AccessibleAlert& alert) {
    alerts_.push_back(alert);
    lines_.push_back("alert \"" + alert.children.front().text.ToUtf8() + "\" opened");
}

void AccessibleRecorder::AlertClosed(const AccessibleAlert& alert) {
    lines_.push_back("alert \"" + alert.children.front().text.ToUtf8() + "\" closed");
}

}  // namespace ui::headless
