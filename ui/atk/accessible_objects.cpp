// The ATK objects of the accessible model: one GObject type per set of interfaces a node needs
// (action, component, text, value, selection, window), so that a reader is offered only what a
// control has.
#include "ui/win_app.h"
#include "ui/window.h"
// After the program's headers: GLib's define TRUE and FALSE as macros.
#include "ui/atk/accessible_objects.h"

#include <FL/Fl.H>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>

namespace ui::atk {
namespace {

using Kind = ObjectPlace::Kind;

struct NodeData {
    ObjectPlace place;
    AtkObject* parent = nullptr;
    std::vector<AtkObject*> children;  // owned references
    bool defunct = false;
    std::string name;    // what get_name last returned
    WindowList windows;  // the application's
};

struct Node {
    AtkObject parent_instance;
    NodeData* data;
};
struct NodeClass {
    AtkObjectClass parent_class;
};

NodeData& Data(gpointer object) {
    return *reinterpret_cast<Node*>(object)->data;
}

std::set<DialogWindow*> g_liveWindows;

GType NodeType();

// --- The model behind an object ---------------------------------------------------------------

bool Live(const NodeData& d) {
    return !d.defunct && (d.place.window == nullptr || g_liveWindows.count(d.place.window) != 0);
}

Control* ControlOf(const NodeData& d) {
    if (!Live(d) || !d.place.window || d.place.index < 0)
        return nullptr;
    const auto& controls = d.place.window->Controls();
    return d.place.index < static_cast<int>(controls.size())
               ? controls[static_cast<std::size_t>(d.place.index)].get()
               : nullptr;
}

AccessibleNode Model(const NodeData& d) {
    switch (d.place.kind) {
        case Kind::Window:
            return Live(d) ? DescribeWindow(*d.place.window) : AccessibleNode{};
        case Kind::Control:
        case Kind::Row:
            if (Control* c = ControlOf(d))
                return DescribeControl(*c);
            return AccessibleNode{};
        case Kind::Alert:  // the alert's model goes with the box: not read once it closed
            return Live(d) ? d.place.alert->window : AccessibleNode{};
        case Kind::AlertPart:
            return Live(d) ? d.place.alert->children[static_cast<std::size_t>(d.place.part)]
                           : AccessibleNode{};
        case Kind::Application:
            break;
    }
    AccessibleNode app;
    app.name = ApplicationName();
    return app;
}

AtkRole RoleOf(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::Dialog:
            return ATK_ROLE_DIALOG;
        case AccessibleRole::Alert:
            return ATK_ROLE_ALERT;
        case AccessibleRole::PushButton:
            return ATK_ROLE_PUSH_BUTTON;
        case AccessibleRole::CheckBox:
            return ATK_ROLE_CHECK_BOX;
        case AccessibleRole::RadioButton:
            return ATK_ROLE_RADIO_BUTTON;
        case AccessibleRole::ComboBox:
            return ATK_ROLE_COMBO_BOX;
        case AccessibleRole::Entry:
            return ATK_ROLE_ENTRY;
        case AccessibleRole::Text:
            return ATK_ROLE_TEXT;
        case AccessibleRole::Slider:
            return ATK_ROLE_SLIDER;
        case AccessibleRole::Label:
            return ATK_ROLE_LABEL;
        case AccessibleRole::Panel:
            return ATK_ROLE_PANEL;
        case AccessibleRole::Icon:
            return ATK_ROLE_ICON;
    }
    return ATK_ROLE_UNKNOWN;
}

// UTF-16 offsets of the model and character offsets of ATK.
int Characters(const std::u16string& text, int utf16End) {
    int count = 0;
    for (int i = 0; i < utf16End && i < static_cast<int>(text.size()); ++i)
        if (text[static_cast<std::size_t>(i)] < 0xDC00 ||
            text[static_cast<std::size_t>(i)] > 0xDFFF)
            ++count;
    return count;
}
int Utf16Offset(const std::u16string& text, int characters) {
    int i = 0;
    for (int seen = 0; i < static_cast<int>(text.size()); ++i) {
        const char16_t c = text[static_cast<std::size_t>(i)];
        if (c >= 0xDC00 && c <= 0xDFFF)
            continue;
        if (seen++ == characters)
            return i;
    }
    return i;
}
gchar* Utf8Slice(const std::u16string& text, int fromChars, int toChars) {
    const int length = Characters(text, static_cast<int>(text.size()));
    if (toChars < 0 || toChars > length)
        toChars = length;
    fromChars = std::clamp(fromChars, 0, toChars);
    const int from = Utf16Offset(text, fromChars), to = Utf16Offset(text, toChars);
    return g_strdup(
        CString(text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from)))
            .ToUtf8()
            .c_str());
}

// --- AtkObject ----------------------------------------------------------------------------------

gpointer g_nodeParentClass = nullptr;

const gchar* GetName(AtkObject* object) {
    NodeData& d = Data(object);
    if (d.place.kind == Kind::Row) {
        const AccessibleNode list = Model(d);
        d.name = d.place.row < static_cast<int>(list.rows.size())
                     ? list.rows[static_cast<std::size_t>(d.place.row)].ToUtf8()
                     : std::string();
    } else {
        d.name = Model(d).name.ToUtf8();
    }
    return d.name.c_str();
}

AtkObject* GetParent(AtkObject* object) {
    return Data(object).parent;
}

std::vector<AtkObject*> Children(AtkObject* object) {
    NodeData& d = Data(object);
    if (d.place.kind == Kind::Application)
        return d.windows();
    if (!Live(d))
        return {};
    if (d.place.kind == Kind::Control && d.children.empty()) {
        const AccessibleNode list = Model(d);
        for (std::size_t row = 0; row < list.rows.size(); ++row) {
            AtkObject* child = ATK_OBJECT(g_object_new(NodeType(), nullptr));
            NodeData& c = Data(child);
            c.place = d.place;
            c.place.kind = Kind::Row;
            c.place.row = static_cast<int>(row);
            c.parent = object;
            atk_object_initialize(child, nullptr);
            d.children.push_back(child);
        }
    }
    return d.children;
}

gint GetNChildren(AtkObject* object) {
    return static_cast<gint>(Children(object).size());
}

AtkObject* RefChild(AtkObject* object, gint i) {
    const auto children = Children(object);
    if (i < 0 || i >= static_cast<gint>(children.size()))
        return nullptr;
    return ATK_OBJECT(g_object_ref(children[static_cast<std::size_t>(i)]));
}

gint GetIndexInParent(AtkObject* object) {
    NodeData& d = Data(object);
    if (!d.parent)
        return -1;
    const auto siblings = Children(d.parent);
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i] == object)
            return static_cast<gint>(i);
    return -1;
}

AtkRole GetRole(AtkObject* object) {
    NodeData& d = Data(object);
    switch (d.place.kind) {
        case Kind::Application:
            return ATK_ROLE_APPLICATION;
        case Kind::Row:
            return ATK_ROLE_LIST_ITEM;
        default:
            return RoleOf(Model(d).role);
    }
}

AtkStateSet* RefStateSet(AtkObject* object) {
    AtkStateSet* set = atk_state_set_new();
    NodeData& d = Data(object);
    if (!Live(d)) {
        atk_state_set_add_state(set, ATK_STATE_DEFUNCT);
        return set;
    }
    if (d.place.kind == Kind::Application)
        return set;
    const AccessibleNode n = Model(d);
    if (d.place.kind == Kind::Row) {
        for (AtkStateType s :
             {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_VISIBLE, ATK_STATE_SELECTABLE})
            atk_state_set_add_state(set, s);
        if (n.selectedRow == d.place.row)
            atk_state_set_add_state(set, ATK_STATE_SELECTED);
        return set;
    }
    const std::pair<AccessibleState, AtkStateType> states[] = {
        {kStateEnabled, ATK_STATE_ENABLED},
        {kStateEnabled, ATK_STATE_SENSITIVE},
        {kStateVisible, ATK_STATE_VISIBLE},
        {kStateShowing, ATK_STATE_SHOWING},
        {kStateFocusable, ATK_STATE_FOCUSABLE},
        {kStateFocused, ATK_STATE_FOCUSED},
        {kStateCheckable, ATK_STATE_CHECKABLE},
        {kStateChecked, ATK_STATE_CHECKED},
        {kStateEditable, ATK_STATE_EDITABLE},
        {kStateReadOnly, ATK_STATE_READ_ONLY},
        {kStateSingleLine, ATK_STATE_SINGLE_LINE},
        {kStateMultiLine, ATK_STATE_MULTI_LINE},
        {kStateDefault, ATK_STATE_DEFAULT},
        {kStateActive, ATK_STATE_ACTIVE},
        {kStateModal, ATK_STATE_MODAL},
        {kStateSelectable, ATK_STATE_SELECTABLE},
        {kStateExpandable, ATK_STATE_EXPANDABLE},
    };
    for (const auto& [ours, theirs] : states)
        if (n.Has(ours))
            atk_state_set_add_state(set, theirs);
    return set;
}

AtkObject* Sibling(NodeData& d, int index) {
    if (!d.parent || index < 0)
        return nullptr;
    const auto siblings = Children(d.parent);
    return index < static_cast<int>(siblings.size()) ? siblings[static_cast<std::size_t>(index)]
                                                     : nullptr;
}

AtkRelationSet* RefRelationSet(AtkObject* object) {
    AtkRelationSet* set = atk_relation_set_new();
    NodeData& d = Data(object);
    if (!Live(d) || d.place.kind == Kind::Application || d.place.kind == Kind::Row)
        return set;
    const AccessibleNode n = Model(d);
    auto add = [&](AtkRelationType type, std::vector<int> indexes) {
        std::vector<AtkObject*> targets;
        for (int i : indexes)
            if (AtkObject* t = Sibling(d, i))
                targets.push_back(t);
        if (targets.empty())
            return;
        AtkRelation* relation =
            atk_relation_new(targets.data(), static_cast<gint>(targets.size()), type);
        atk_relation_set_add(set, relation);
        g_object_unref(relation);
    };
    if (n.labelledBy >= 0)
        add(ATK_RELATION_LABELLED_BY, {n.labelledBy});
    if (n.labelFor >= 0)
        add(ATK_RELATION_LABEL_FOR, {n.labelFor});
    if (!n.memberOf.empty())
        add(ATK_RELATION_MEMBER_OF, n.memberOf);
    return set;
}

void Finalize(GObject* object) {
    NodeData* d = reinterpret_cast<Node*>(object)->data;
    for (AtkObject* child : d->children)
        g_object_unref(child);
    delete d;
    G_OBJECT_CLASS(g_nodeParentClass)->finalize(object);
}

void NodeClassInit(gpointer klass, gpointer) {
    g_nodeParentClass = g_type_class_peek_parent(klass);
    auto* atkClass = ATK_OBJECT_CLASS(klass);
    atkClass->get_name = GetName;
    atkClass->get_parent = GetParent;
    atkClass->get_n_children = GetNChildren;
    atkClass->ref_child = RefChild;
    atkClass->get_index_in_parent = GetIndexInParent;
    atkClass->get_role = GetRole;
    atkClass->ref_state_set = RefStateSet;
    atkClass->ref_relation_set = RefRelationSet;
    G_OBJECT_CLASS(klass)->finalize = Finalize;
}

void NodeInit(GTypeInstance* instance, gpointer) {
    reinterpret_cast<Node*>(instance)->data = new NodeData;
}

GType NodeType() {
    static const GType type = [] {
        const GTypeInfo info{sizeof(NodeClass), nullptr,      nullptr, NodeClassInit, nullptr,
                             nullptr,           sizeof(Node), 0,       NodeInit,      nullptr};
        return g_type_register_static(ATK_TYPE_OBJECT, "VorlaNode", &info, GTypeFlags{});
    }();
    return type;
}

// --- Deferred work ----------------------------------------------------------------------------

struct Deferred {
    DialogWindow* window;
    std::function<void()> work;
};

void RunDeferred(void* p) {
    std::unique_ptr<Deferred> deferred(static_cast<Deferred*>(p));
    if (g_liveWindows.count(deferred->window))
        deferred->work();
}

// --- AtkAction ----------------------------------------------------------------------------------

gint ActionCount(AtkAction* action) {
    return static_cast<gint>(Model(Data(action)).actions.size());
}

const gchar* ActionName(AtkAction* action, gint i) {
    const auto actions = Model(Data(action)).actions;
    return i >= 0 && i < static_cast<gint>(actions.size()) ? actions[static_cast<std::size_t>(i)]
                                                           : nullptr;
}

gboolean DoAction(AtkAction* action, gint i) {
    NodeData& d = Data(action);
    if (d.place.kind == ObjectPlace::Kind::AlertPart) {
        // A message box's button: every box the program shows has the one answer, OK.
        if (!Live(d) || i < 0 || i >= ActionCount(action))
            return FALSE;
        Fl::add_timeout(0.0, [](void*) {
            if (Backend* backend = CurrentBackend())
                backend->AnswerMessageBox(IDOK);
        });
        return TRUE;
    }
    Control* c = ControlOf(d);
    if (!c || i < 0 || i >= ActionCount(action))
        return FALSE;
    const int index = d.place.index;
    DialogWindow* window = d.place.window;
    Later(window, [window, index, i] {
        DoAccessibleAction(*window->Controls()[static_cast<std::size_t>(index)], i);
    });
    return TRUE;
}

void ActionInit(gpointer iface, gpointer) {
    auto* a = static_cast<AtkActionIface*>(iface);
    a->get_n_actions = ActionCount;
    a->get_name = ActionName;
    a->do_action = DoAction;
}

// --- AtkComponent -------------------------------------------------------------------------------

gboolean GrabFocus(AtkComponent* component) {
    NodeData& d = Data(component);
    if (!ControlOf(d))
        return FALSE;
    DialogWindow* window = d.place.window;
    const int index = d.place.index;
    Later(window, [window, index] {
        GrabAccessibleFocus(*window->Controls()[static_cast<std::size_t>(index)]);
    });
    return TRUE;
}

void ComponentInit(gpointer iface, gpointer) {
    static_cast<AtkComponentIface*>(iface)->grab_focus = GrabFocus;
}

// --- AtkText ------------------------------------------------------------------------------------

std::u16string TextOf(AtkText* text) {
    return Model(Data(text)).text.Str();
}

gchar* GetText(AtkText* text, gint start, gint end) {
    return Utf8Slice(TextOf(text), start, end);
}

gint CharacterCount(AtkText* text) {
    const auto t = TextOf(text);
    return Characters(t, static_cast<int>(t.size()));
}

gint CaretOffset(AtkText* text) {
    const AccessibleNode n = Model(Data(text));
    return n.caret < 0 ? -1 : Characters(n.text.Str(), n.caret);
}

gunichar CharacterAt(AtkText* text, gint offset) {
    gchar* one = Utf8Slice(TextOf(text), offset, offset + 1);
    const gunichar c = g_utf8_get_char(one);
    g_free(one);
    return c;
}

// The character, word or line around `offset`, by characters.
gchar* StringAt(AtkText* text, gint offset, AtkTextGranularity granularity, gint* start,
                gint* end) {
    const std::u16string t = TextOf(text);
    const int length = Characters(t, static_cast<int>(t.size()));
    offset = std::clamp(offset, 0, length);
    int from = offset, to = std::min(offset + 1, length);
    auto at = [&](int chars) { return t[static_cast<std::size_t>(Utf16Offset(t, chars))]; };
    if (granularity == ATK_TEXT_GRANULARITY_WORD) {
        while (from > 0 && at(from - 1) != u' ' && at(from - 1) != u'\n')
            --from;
        while (to < length && at(to) != u' ' && at(to) != u'\r' && at(to) != u'\n')
            ++to;
    } else if (granularity != ATK_TEXT_GRANULARITY_CHAR) {
        while (from > 0 && at(from - 1) != u'\n')
            --from;
        to = offset;
        while (to < length && at(to) != u'\n')
            ++to;
        if (to < length)
            ++to;
    }
    *start = from;
    *end = to;
    return Utf8Slice(t, from, to);
}

gint SelectionCount(AtkText* text) {
    const AccessibleNode n = Model(Data(text));
    return n.selectionEnd > n.selectionStart ? 1 : 0;
}

gchar* GetSelection(AtkText* text, gint i, gint* start, gint* end) {
    const AccessibleNode n = Model(Data(text));
    if (i != 0 || n.selectionEnd <= n.selectionStart) {
        *start = *end = 0;
        return nullptr;
    }
    *start = Characters(n.text.Str(), n.selectionStart);
    *end = Characters(n.text.Str(), n.selectionEnd);
    return Utf8Slice(n.text.Str(), *start, *end);
}

void TextInit(gpointer iface, gpointer) {
    auto* t = static_cast<AtkTextIface*>(iface);
    t->get_text = GetText;
    t->get_character_count = CharacterCount;
    t->get_caret_offset = CaretOffset;
    t->get_character_at_offset = CharacterAt;
    t->get_string_at_offset = StringAt;
    t->get_n_selections = SelectionCount;
    t->get_selection = GetSelection;
}

// --- AtkValue -----------------------------------------------------------------------------------

void SetDouble(GValue* value, double number) {
    g_value_init(value, G_TYPE_DOUBLE);
    g_value_set_double(value, number);
}

void CurrentValue(AtkValue* v, GValue* value) {
    SetDouble(value, Model(Data(v)).value);
}
void MaximumValue(AtkValue* v, GValue* value) {
    SetDouble(value, Model(Data(v)).maximum);
}
void MinimumValue(AtkValue* v, GValue* value) {
    SetDouble(value, Model(Data(v)).minimum);
}
void MinimumIncrement(AtkValue* v, GValue* value) {
    SetDouble(value, Model(Data(v)).step);
}

gboolean SetCurrentValue(AtkValue* v, const GValue* value) {
    NodeData& d = Data(v);
    if (!ControlOf(d))
        return FALSE;
    GValue asDouble = G_VALUE_INIT;
    g_value_init(&asDouble, G_TYPE_DOUBLE);
    if (!g_value_transform(value, &asDouble))
        return FALSE;
    const int target = static_cast<int>(g_value_get_double(&asDouble) + 0.5);
    DialogWindow* window = d.place.window;
    const int index = d.place.index;
    Later(window, [window, index, target] {
        SetAccessibleValue(*window->Controls()[static_cast<std::size_t>(index)], target);
    });
    return TRUE;
}

void ValueInit(gpointer iface, gpointer) {
    auto* v = static_cast<AtkValueIface*>(iface);
    v->get_current_value = CurrentValue;
    v->get_maximum_value = MaximumValue;
    v->get_minimum_value = MinimumValue;
    v->get_minimum_increment = MinimumIncrement;
    v->set_current_value = SetCurrentValue;
}

// --- AtkSelection (a list's rows) ---------------------------------------------------------------

gboolean AddSelection(AtkSelection* s, gint row) {
    NodeData& d = Data(s);
    if (!ControlOf(d))
        return FALSE;
    DialogWindow* window = d.place.window;
    const int index = d.place.index;
    Later(window, [window, index, row] {
        SelectAccessibleRow(*window->Controls()[static_cast<std::size_t>(index)], row);
    });
    return TRUE;
}

AtkObject* RefSelection(AtkSelection* s, gint i) {
    const int row = Model(Data(s)).selectedRow;
    return i == 0 && row >= 0 ? RefChild(ATK_OBJECT(s), row) : nullptr;
}

gint SelectedCount(AtkSelection* s) {
    return Model(Data(s)).selectedRow >= 0 ? 1 : 0;
}

gboolean IsChildSelected(AtkSelection* s, gint row) {
    return Model(Data(s)).selectedRow == row && row >= 0;
}

void SelectionInit(gpointer iface, gpointer) {
    auto* s = static_cast<AtkSelectionIface*>(iface);
    s->add_selection = AddSelection;
    s->ref_selection = RefSelection;
    s->get_selection_count = SelectedCount;
    s->is_child_selected = IsChildSelected;
}

void WindowInit(gpointer, gpointer) {}

// --- One type per set of interfaces
// ---------------------------------------------------------------

enum Interfaces : unsigned {
    kAction = 1,
    kComponent = 2,
    kText = 4,
    kValue = 8,
    kSelection = 16,
    kWindow = 32,
};

GType TypeFor(unsigned interfaces) {
    static std::map<unsigned, GType> types;
    if (auto it = types.find(interfaces); it != types.end())
        return it->second;
    const GTypeInfo info{sizeof(NodeClass), nullptr,      nullptr, nullptr, nullptr,
                         nullptr,           sizeof(Node), 0,       nullptr, nullptr};
    const std::string name = "VorlaNode" + std::to_string(interfaces);
    const GType type = g_type_register_static(NodeType(), name.c_str(), &info, GTypeFlags{});
    const std::pair<unsigned, std::pair<GType, GInterfaceInitFunc>> all[] = {
        {kAction, {ATK_TYPE_ACTION, ActionInit}},
        {kComponent, {ATK_TYPE_COMPONENT, ComponentInit}},
        {kText, {ATK_TYPE_TEXT, TextInit}},
        {kValue, {ATK_TYPE_VALUE, ValueInit}},
        {kSelection, {ATK_TYPE_SELECTION, SelectionInit}},
        {kWindow, {ATK_TYPE_WINDOW, WindowInit}},
    };
    for (const auto& [bit, iface] : all)
        if (interfaces & bit) {
            const GInterfaceInfo ifaceInfo{iface.second, nullptr, nullptr};
            g_type_add_interface_static(type, iface.first, &ifaceInfo);
        }
    types[interfaces] = type;
    return type;
}

unsigned InterfacesOf(const AccessibleNode& n) {
    unsigned interfaces = kComponent;
    if (!n.actions.empty())
        interfaces |= kAction;
    if (n.hasText)
        interfaces |= kText;
    if (n.hasValue)
        interfaces |= kValue;
    if (n.hasRows)
        interfaces |= kSelection;
    if (n.role == AccessibleRole::Dialog || n.role == AccessibleRole::Alert)
        interfaces |= kWindow;
    return interfaces;
}

AtkObject* NewNode(const ObjectPlace& place, AtkObject* parent, unsigned interfaces) {
    AtkObject* object = ATK_OBJECT(g_object_new(TypeFor(interfaces), nullptr));
    NodeData& d = Data(object);
    d.place = place;
    d.parent = parent;
    atk_object_initialize(object, nullptr);
    return object;
}

}  // namespace

AtkObject* NewApplicationObject(WindowList windows) {
    AtkObject* app = ATK_OBJECT(g_object_new(NodeType(), nullptr));
    Data(app).windows = std::move(windows);
    atk_object_initialize(app, nullptr);
    return app;
}

AtkObject* NewWindowObject(DialogWindow& window, AtkObject* parent) {
    g_liveWindows.insert(&window);
    ObjectPlace place;
    place.kind = Kind::Window;
    place.window = &window;
    AtkObject* object = NewNode(place, parent, InterfacesOf(DescribeWindow(window)));
    for (const auto& c : window.Controls()) {
        ObjectPlace controlPlace = place;
        controlPlace.kind = Kind::Control;
        controlPlace.index = c->Index();
        Data(object).children.push_back(
            NewNode(controlPlace, object, InterfacesOf(DescribeControl(*c))));
    }
    return object;
}

AtkObject* NewAlertObject(const AccessibleAlert& alert, AtkObject* parent) {
    ObjectPlace place;
    place.kind = Kind::Alert;
    place.alert = &alert;
    AtkObject* object = NewNode(place, parent, InterfacesOf(alert.window));
    for (std::size_t i = 0; i < alert.children.size(); ++i) {
        ObjectPlace part = place;
        part.kind = Kind::AlertPart;
        part.part = static_cast<int>(i);
        Data(object).children.push_back(NewNode(part, object, InterfacesOf(alert.children[i])));
    }
    return object;
}

AtkObject* ControlObject(AtkObject* windowObject, int index) {
    if (index < 0)
        return windowObject;
    const auto& children = Data(windowObject).children;
    return index < static_cast<int>(children.size()) ? children[static_cast<std::size_t>(index)]
                                                     : nullptr;
}

void CloseObject(AtkObject* object) {
    NodeData& d = Data(object);
    ForgetWindow(d.place.window);
    d.defunct = true;
    for (AtkObject* child : d.children) {
        Data(child).defunct = true;
        for (AtkObject* row : Data(child).children)
            Data(row).defunct = true;
        atk_object_notify_state_change(child, ATK_STATE_DEFUNCT, TRUE);
    }
    atk_object_notify_state_change(object, ATK_STATE_DEFUNCT, TRUE);
    g_object_unref(object);
}

void NotifyRowSelected(AtkObject* listObject, int oldRow, int newRow) {
    const auto& rows = Data(listObject).children;  // only rows a reader has asked for exist
    for (int row : {oldRow, newRow})
        if (row >= 0 && row < static_cast<int>(rows.size()))
            atk_object_notify_state_change(rows[static_cast<std::size_t>(row)], ATK_STATE_SELECTED,
                                           row == newRow);
    g_signal_emit_by_name(listObject, "selection-changed");
}

void Later(DialogWindow* window, std::function<void()> work) {
    Fl::add_timeout(0.0, RunDeferred, new Deferred{window, std::move(work)});
}

void ForgetWindow(DialogWindow* window) {
    if (window)
        g_liveWindows.erase(window);
}

}  // namespace ui::atk
