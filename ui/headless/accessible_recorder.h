// Listens to the accessible model as a screen reader's bridge does, and writes every report down as
// a line of text that a test can compare: "1020 focused on", "1017 value 300", "142 opened".
#pragma once

#include <string>
#include <vector>

#include "ui/accessible_events.h"

namespace ui::headless {

class AccessibleRecorder : public AccessibleListener {
  public:
    AccessibleRecorder() { InstallAccessibleListener(this); }
    ~AccessibleRecorder() override { InstallAccessibleListener(nullptr); }
    AccessibleRecorder(const AccessibleRecorder&) = delete;
    AccessibleRecorder& operator=(const AccessibleRecorder&) = delete;

    // The reports so far, and those whose text begins with `prefix`; Clear forgets them.
    const std::vector<std::string>& Lines() const { return lines_; }
    std::vector<std::string> Lines(const std::string& prefix) const;
    void Clear() { lines_.clear(); }
    // The alerts opened so far, and the last one.
    const std::vector<AccessibleAlert>& Alerts() const { return alerts_; }

    void WindowOpened(DialogWindow& window) override;
    void WindowClosing(DialogWindow& window) override;
    void Changed(DialogWindow& window, const AccessibleEvent& event) override;
    void AlertOpened(const AccessibleAlert& alert) override;
    void AlertClosed(const AccessibleAlert& alert) override;

  private:
    std::vector<std::string> lines_;
    std::vector<AccessibleAlert> alerts_;
};

// The name of a state as the reports write it ("focused", "checked").
const char* AccessibleStateName(AccessibleState state);

}  // namespace ui::headless
