// Connects the accessible model to ATK: the root object that at-spi2-atk publishes, and the
// model's reports turned into ATK's signals.
#include "ui/atk/atk_bridge.h"

#include "ui/accessible_events.h"
#include "ui/window.h"
// After the program's headers: GLib's define TRUE and FALSE as macros.
#include <FL/Fl.H>
#include <atk-bridge.h>
#include <atk/atk.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/atk/accessible_objects.h"
#include "ui/atk/glib_in_fltk.h"

namespace ui::atk {
namespace {

AtkObject* g_root = nullptr;

AtkObject* GetRoot() {
    return g_root;
}
const gchar* ToolkitName() {
    return "FLTK";
}
const gchar* ToolkitVersion() {
    return "1.3";
}

// The bridge's complaints when a bus goes away are not the user's business.
void Quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

// Where the inserted and the removed part of a text lie, in characters: what was typed or deleted
// at one place, or else the whole text replaced.
struct TextEdit {
    int at;
    std::string removed, inserted;
    long removedChars, insertedChars;
};

TextEdit Difference(const std::u16string& before, const std::u16string& after) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (head + tail < before.size() && head + tail < after.size())
        head = tail = 0;  // a replacement (a new tempo name) is read whole, not in pieces
    const CString removed(before.substr(head, before.size() - head - tail));
    const CString inserted(after.substr(head, after.size() - head - tail));
    const std::string removedUtf8 = removed.ToUtf8(), insertedUtf8 = inserted.ToUtf8();
    return {static_cast<int>(g_utf8_strlen(CString(before.substr(0, head)).ToUtf8().c_str(), -1)),
            removedUtf8, insertedUtf8, g_utf8_strlen(removedUtf8.c_str(), -1),
            g_utf8_strlen(insertedUtf8.c_str(), -1)};
}

AtkStateType AtkState(AccessibleState state) {
    switch (state) {
        case kStateEnabled:
            return ATK_STATE_ENABLED;
        case kStateVisible:
            return ATK_STATE_VISIBLE;
        case kStateShowing:
            return ATK_STATE_SHOWING;
        case kStateFocusable:
            return ATK_STATE_FOCUSABLE;
        case kStateFocused:
            return ATK_STATE_FOCUSED;
        case kStateCheckable:
            return ATK_STATE_CHECKABLE;
        case kStateChecked:
            return ATK_STATE_CHECKED;
        case kStateEditable:
            return ATK_STATE_EDITABLE;
        case kStateReadOnly:
            return ATK_STATE_READ_ONLY;
        case kStateSingleLine:
            return ATK_STATE_SINGLE_LINE;
        case kStateMultiLine:
            return ATK_STATE_MULTI_LINE;
        case kStateDefault:
            return ATK_STATE_DEFAULT;
        case kStateActive:
            return ATK_STATE_ACTIVE;
        case kStateModal:
            return ATK_STATE_MODAL;
        case kStateSelectable:
            return ATK_STATE_SELECTABLE;
        case kStateExpandable:
            return ATK_STATE_EXPANDABLE;
    }
    return ATK_STATE_INVALID;
}

}  // namespace

class Bridge : public AccessibleListener {
  public:
    Bridge() {
        g_root = NewApplicationObject([this] { return TopLevels(); });
        InstallAccessibleListener(this);
    }
    ~Bridge() override {
        InstallAccessibleListener(nullptr);
        if (connected_) {
            StopGlibInFltk();
            atk_bridge_adaptor_cleanup();
        }
        Fl::remove_timeout(ConnectLater, this);
        for (auto& [window, object] : windows_)
            CloseObject(object);
        g_object_unref(g_root);
        g_root = nullptr;
    }

    void ConnectWhenTheLoopRuns() { Fl::add_timeout(0.0, ConnectLater, this); }

    void WindowOpened(DialogWindow& window) override {
        AtkObject* object = NewWindowObject(window, g_root);
        windows_.emplace_back(&window, object);
        Added(object);
        if (window.IsEnabled())
            g_signal_emit_by_name(object, "activate");
    }

    void WindowClosing(DialogWindow& window) override {
        auto it = std::find_if(windows_.begin(), windows_.end(),
                               [&](const auto& w) { return w.first == &window; });
        if (it == windows_.end())
            return;
        AtkObject* object = it->second;
        const gint index = IndexOf(object);
        g_signal_emit_by_name(object, "deactivate");
        g_signal_emit_by_name(object, "destroy");
        windows_.erase(it);
        g_signal_emit_by_name(g_root, "children-changed::remove", index, object);
        CloseObject(object);
    }

    void Changed(DialogWindow& window, const AccessibleEvent& e) override {
        auto it = std::find_if(windows_.begin(), windows_.end(),
                               [&](const auto& w) { return w.first == &window; });
        if (it == windows_.end())
            return;
        AtkObject* object = ControlObject(it->second, e.index);
        if (!object)
            return;
        switch (e.kind) {
            case AccessibleEventKind::StateChanged:
                atk_object_notify_state_change(object, AtkState(e.state), e.on);
                if (e.state == kStateActive && e.index < 0)
                    g_signal_emit_by_name(object, e.on ? "activate" : "deactivate");
                break;
            case AccessibleEventKind::NameChanged:
                g_object_notify(G_OBJECT(object), "accessible-name");
                break;
            case AccessibleEventKind::TextChanged: {
                const TextEdit edit = Difference(e.oldText.Str(), e.newText.Str());
                if (edit.removedChars > 0)
                    g_signal_emit_by_name(object, "text-remove", edit.at,
                                          static_cast<gint>(edit.removedChars),
                                          edit.removed.c_str());
                if (edit.insertedChars > 0)
                    g_signal_emit_by_name(object, "text-insert", edit.at,
                                          static_cast<gint>(edit.insertedChars),
                                          edit.inserted.c_str());
                break;
            }
            case AccessibleEventKind::CaretMoved:
                if (ATK_IS_TEXT(object))
                    g_signal_emit_by_name(object, "text-caret-moved",
                                          atk_text_get_caret_offset(ATK_TEXT(object)));
                break;
            case AccessibleEventKind::TextSelectionChanged:
                g_signal_emit_by_name(object, "text-selection-changed");
                break;
            case AccessibleEventKind::ValueChanged:
                g_object_notify(G_OBJECT(object), "accessible-value");
                break;
            case AccessibleEventKind::RowSelected:
                NotifyRowSelected(object, lastRow_[object], e.offset);
                lastRow_[object] = e.offset;
                break;
        }
    }

    void AlertOpened(const AccessibleAlert& alert) override {
        alerts_.push_back({alert, nullptr});
        auto& open = alerts_.back();
        open.second = NewAlertObject(open.first, g_root);
        Added(open.second);
        g_signal_emit_by_name(open.second, "activate");
        atk_object_notify_state_change(ControlObject(open.second, 1), ATK_STATE_FOCUSED, TRUE);
    }

    void AlertClosed(const AccessibleAlert&) override {
        if (alerts_.empty())
            return;
        AtkObject* object = alerts_.back().second;
        const gint index = IndexOf(object);
        g_signal_emit_by_name(object, "deactivate");
        g_signal_emit_by_name(object, "destroy");
        // Defunct before its model goes: a reader that asks now is told nothing stale.
        g_object_ref(object);
        CloseObject(object);
        alerts_.pop_back();
        g_signal_emit_by_name(g_root, "children-changed::remove", index, object);
        g_object_unref(object);
    }

  private:
    // A connection may wait for the bus to start its services: only once the window has been
    // mapped and painted, which takes FLTK's loop a few passes (map, expose, paint).
    static void ConnectLater(void* self) {
        auto* bridge = static_cast<Bridge*>(self);
        if (++bridge->passes_ < kPassesBeforeConnecting)
            Fl::add_timeout(0.0, ConnectLater, self);
        else
            bridge->Connect();
    }
    static constexpr int kPassesBeforeConnecting = 3;

    void Connect() {
        auto* util = static_cast<AtkUtilClass*>(g_type_class_ref(ATK_TYPE_UTIL));
        util->get_root = GetRoot;
        util->get_toolkit_name = ToolkitName;
        util->get_toolkit_version = ToolkitVersion;
        for (const char* domain : {"atk-bridge", "dbind", "AT-SPI"})
            g_log_set_handler(domain, static_cast<GLogLevelFlags>(G_LOG_LEVEL_MASK), Quiet,
                              nullptr);
        if (atk_bridge_adaptor_init(nullptr, nullptr) != 0)
            return;
        connected_ = true;
        StartGlibInFltk();
    }

    std::vector<AtkObject*> TopLevels() const {
        std::vector<AtkObject*> out;
        for (const auto& w : windows_)
            out.push_back(w.second);
        for (const auto& a : alerts_)
            out.push_back(a.second);
        return out;
    }

    gint IndexOf(AtkObject* object) const {
        const auto all = TopLevels();
        return static_cast<gint>(std::find(all.begin(), all.end(), object) - all.begin());
    }

    void Added(AtkObject* object) {
        g_signal_emit_by_name(g_root, "children-changed::add", IndexOf(object), object);
        g_signal_emit_by_name(object, "create");
    }

    bool connected_ = false;
    int passes_ = 0;
    std::vector<std::pair<DialogWindow*, AtkObject*>> windows_;
    std::list<std::pair<AccessibleAlert, AtkObject*>> alerts_;  // stable addresses
    std::map<AtkObject*, int> lastRow_;
};

bool AtSpiBridge::BusReachable() {
    for (const char* name : {"AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS"}) {
        const char* value = std::getenv(name);
        if (value && *value)
            return true;
    }
    // A user bus at its standard place, which D-Bus finds without being told.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::error_code error;
    return runtime && *runtime &&
           std::filesystem::is_socket(std::filesystem::path(runtime) / "bus", error);
}

AtSpiBridge::AtSpiBridge() {
    if (!BusReachable())
        return;
    bridge_ = std::make_unique<Bridge>();
    bridge_->ConnectWhenTheLoopRuns();
}

AtSpiBridge::~AtSpiBridge() = default;

}  // namespace ui::atk
