#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "platform/dialog/DialogDriver.h"
#include "platform/dialog/DialogRun.h"
#include "platform/dialog/GtkLibrary.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRegistry.h"


namespace {

bool StartGtk()
{
    static int started = -1;
    if (started < 0)
        started = Gtk().loaded && Gtk().initCheck(nullptr, nullptr) ? 1 : 0;
    return started == 1;
}

// The widgets are made here, so their classes are known and casts need no checks.
template <class To, class From>
To* As(From* object)
{
    return reinterpret_cast<To*>(object);
}

void Connect(GtkWidget* widget, const char* signal, GCallback handler, gpointer data)
{
    Gtk().signalConnectData(widget, signal, handler, data, nullptr, static_cast<GConnectFlags>(0));
}

// The GTK window of one dialog run: a column for the first group, a column for the others,
// and a row of the controls outside any group at the bottom.
class CGtkDialogView : public CDialogView {
public:
    CGtkDialogView(HWND dialog, CDialogRun& run) : m_dialog(dialog), m_run(run) {}
    ~CGtkDialogView() override
    {
        m_run.view = nullptr;
        if (m_window)
            Gtk().widgetDestroy(m_window);
        while (Gtk().eventsPending())
            Gtk().mainIteration();
    }
    CGtkDialogView(const CGtkDialogView&) = delete;
    CGtkDialogView& operator=(const CGtkDialogView&) = delete;

    void Build();
    void Run(CDialogDriver* driver);
    void ControlChanged(HWND control) override;

private:
    struct Entry {
        CGtkDialogView* view;
        HWND control;
        DialogControlKind kind;
        GtkWidget* widget;
    };

    GtkWidget* MakeWidget(HWND control, const CDialogControlTemplate& item);
    GtkWidget* GroupBox(const char16_t* title);
    void Sync(Entry& entry);
    void Pump();
    const Entry* EntryOf(HWND control) const;

    static void OnChanged(GtkComboBox* combo, gpointer data);
    static void OnToggled(GtkToggleButton* button, gpointer data);
    static void OnClicked(GtkButton* button, gpointer data);
    static gboolean OnDelete(GtkWidget* widget, GdkEvent* event, gpointer data);

    HWND m_dialog;
    CDialogRun& m_run;
    GtkWidget* m_window = nullptr;
    std::map<std::u16string, GtkWidget*> m_groups;
    std::vector<std::unique_ptr<Entry>> m_entries;
    bool m_updating = false;

    friend class CGtkHand;
};

// The user's hand on the GTK widgets, so the signals carry each action as a user's would.
class CGtkHand final : public CDialogHand {
public:
    explicit CGtkHand(CGtkDialogView& view) : m_view(view) {}

    bool IsEnabled(HWND control) override
    {
        const CGtkDialogView::Entry* entry = m_view.EntryOf(control);
        return entry && Gtk().widgetGetSensitive(entry->widget);
    }
    bool Select(HWND control, int index) override
    {
        GtkWidget* widget = Usable(control, DialogControlKind::DropDownList);
        if (!widget)
            return false;
        Gtk().comboBoxSetActive(As<GtkComboBox>(widget), index);
        return Done();
    }
    bool Check(HWND control, bool checked) override
    {
        GtkWidget* widget = Usable(control, DialogControlKind::PushCheckBox);
        if (!widget)
            return false;
        Gtk().toggleButtonSetActive(As<GtkToggleButton>(widget), checked ? TRUE : FALSE);
        return Done();
    }
    bool Click(HWND control) override
    {
        const CGtkDialogView::Entry* entry = m_view.EntryOf(control);
        if (!IsEnabled(control) || entry->kind == DialogControlKind::DropDownList)
            return false;
        Gtk().buttonClicked(As<GtkButton>(entry->widget));
        return Done();
    }
    void Close() override
    {
        UserClose(m_view.m_dialog);
        m_view.Pump();
    }
    bool HasEnded() override { return m_view.m_run.ended; }

private:
    // The widget of an enabled control of the kind.
    GtkWidget* Usable(HWND control, DialogControlKind kind)
    {
        const CGtkDialogView::Entry* entry = m_view.EntryOf(control);
        return IsEnabled(control) && entry->kind == kind ? entry->widget : nullptr;
    }
    bool Done()
    {
        m_view.Pump();
        return true;
    }

    CGtkDialogView& m_view;
};

GtkWidget* CGtkDialogView::GroupBox(const char16_t* title)
{
    auto it = m_groups.find(title);
    if (it != m_groups.end())
        return it->second;
    GtkWidget* frame = Gtk().frameNew(Utf16ToUtf8(title).c_str());
    GtkWidget* rows = Gtk().boxNew(GTK_ORIENTATION_VERTICAL, 6);
    Gtk().containerSetBorderWidth(As<GtkContainer>(rows), 6);
    Gtk().containerAdd(As<GtkContainer>(frame), rows);
    m_groups[title] = rows;
    return rows;
}

GtkWidget* CGtkDialogView::MakeWidget(HWND control, const CDialogControlTemplate& item)
{
    auto entry = std::make_unique<Entry>(Entry{this, control, item.kind, nullptr});
    std::string label = Utf16ToUtf8(item.text ? item.text : u"");
    switch (item.kind) {
    case DialogControlKind::DropDownList:
        entry->widget = Gtk().comboBoxTextNew();
        Connect(entry->widget, "changed", G_CALLBACK(OnChanged), entry.get());
        break;
    case DialogControlKind::PushCheckBox:
        entry->widget = Gtk().toggleButtonNewWithLabel(label.c_str());
        Connect(entry->widget, "toggled", G_CALLBACK(OnToggled), entry.get());
        break;
    default:
        entry->widget = Gtk().buttonNewWithLabel(label.c_str());
        Connect(entry->widget, "clicked", G_CALLBACK(OnClicked), entry.get());
        break;
    }
    Sync(*entry);
    GtkWidget* widget = entry->widget;
    m_entries.push_back(std::move(entry));
    return widget;
}

void CGtkDialogView::Build()
{
    const CDialogTemplate& dialogTemplate = *m_run.dialogTemplate;
    m_window = Gtk().windowNew(GTK_WINDOW_TOPLEVEL);
    Gtk().windowSetTitle(As<GtkWindow>(m_window), Utf16ToUtf8(dialogTemplate.title ? dialogTemplate.title : u"").c_str());
    Gtk().windowSetModal(As<GtkWindow>(m_window), TRUE);
    Gtk().windowSetResizable(As<GtkWindow>(m_window), FALSE);
    Gtk().windowSetPosition(As<GtkWindow>(m_window), GTK_WIN_POS_CENTER);
    Connect(m_window, "delete-event", G_CALLBACK(OnDelete), this);

    GtkWidget* outer = Gtk().boxNew(GTK_ORIENTATION_VERTICAL, 8);
    Gtk().containerSetBorderWidth(As<GtkContainer>(outer), 10);
    GtkWidget* columns = Gtk().boxNew(GTK_ORIENTATION_HORIZONTAL, 8);
    GtkWidget* right = Gtk().boxNew(GTK_ORIENTATION_VERTICAL, 8);
    GtkWidget* bottom = Gtk().boxNew(GTK_ORIENTATION_HORIZONTAL, 8);
    Gtk().boxPackStart(As<GtkBox>(outer), columns, TRUE, TRUE, 0);
    Gtk().boxPackEnd(As<GtkBox>(outer), bottom, FALSE, FALSE, 0);
    Gtk().containerAdd(As<GtkContainer>(m_window), outer);

    std::vector<HWND> controls = DialogControls(m_dialog);
    GtkWidget* lastRow = nullptr;
    bool lastWasCheck = false;
    for (size_t i = 0; i < dialogTemplate.controlCount && i < controls.size(); ++i) {
        const CDialogControlTemplate& item = dialogTemplate.controls[i];
        GtkWidget* widget = MakeWidget(controls[i], item);
        bool isCheck = item.kind == DialogControlKind::PushCheckBox;
        if (!item.group) {
            bool isButton = !isCheck && item.kind != DialogControlKind::DropDownList;
            if (isButton)
                Gtk().boxPackEnd(As<GtkBox>(bottom), widget, FALSE, FALSE, 0);
            else
                Gtk().boxPackStart(As<GtkBox>(bottom), widget, FALSE, FALSE, 0);
            if (item.kind == DialogControlKind::DefaultPushButton) {
                Gtk().widgetSetCanDefault(widget, TRUE);
                Gtk().windowSetDefault(As<GtkWindow>(m_window), widget);
            }
            continue;
        }
        bool firstGroup = m_groups.empty();
        bool known = m_groups.count(item.group) != 0;
        GtkWidget* rows = GroupBox(item.group);
        if (!known) {
            GtkWidget* frame = Gtk().widgetGetParent(rows);
            Gtk().boxPackStart(As<GtkBox>(firstGroup ? columns : right), frame, TRUE, TRUE, 0);
            lastRow = nullptr;
        }
        // Check boxes that follow one another share a row.
        if (!(isCheck && lastWasCheck && lastRow)) {
            lastRow = Gtk().boxNew(GTK_ORIENTATION_HORIZONTAL, 6);
            Gtk().boxPackStart(As<GtkBox>(rows), lastRow, FALSE, FALSE, 0);
        }
        Gtk().boxPackStart(As<GtkBox>(lastRow), widget, TRUE, TRUE, 0);
        lastWasCheck = isCheck;
    }
    Gtk().boxPackStart(As<GtkBox>(columns), right, TRUE, TRUE, 0);
    m_run.view = this;
}

void CGtkDialogView::Sync(Entry& entry)
{
    CWindow* window = CWindowRegistry::Get().Find(entry.control);
    if (!window || !window->control)
        return;
    m_updating = true;
    const CControlState& state = *window->control;
    if (state.kind == ControlKind::DropDownList) {
        GtkComboBoxText* combo = As<GtkComboBoxText>(entry.widget);
        Gtk().comboBoxTextRemoveAll(combo);
        for (const CComboItem& item : state.items)
            Gtk().comboBoxTextAppendText(combo, Utf16ToUtf8(item.text).c_str());
        Gtk().comboBoxSetActive(As<GtkComboBox>(combo), state.selection);
    } else {
        Gtk().buttonSetLabel(As<GtkButton>(entry.widget), Utf16ToUtf8(window->text).c_str());
        if (state.kind == ControlKind::PushCheckBox)
            Gtk().toggleButtonSetActive(As<GtkToggleButton>(entry.widget), state.checked ? TRUE : FALSE);
    }
    Gtk().widgetSetSensitive(entry.widget, window->enabled ? TRUE : FALSE);
    m_updating = false;
}

void CGtkDialogView::ControlChanged(HWND control)
{
    for (auto& entry : m_entries) {
        if (entry->control == control)
            Sync(*entry);
    }
}

void CGtkDialogView::OnChanged(GtkComboBox* combo, gpointer data)
{
    Entry* entry = static_cast<Entry*>(data);
    if (!entry->view->m_updating)
        UserSelect(entry->control, Gtk().comboBoxGetActive(combo));
}

void CGtkDialogView::OnToggled(GtkToggleButton* button, gpointer data)
{
    Entry* entry = static_cast<Entry*>(data);
    if (!entry->view->m_updating)
        UserCheck(entry->control, Gtk().toggleButtonGetActive(button) != FALSE);
}

void CGtkDialogView::OnClicked(GtkButton*, gpointer data)
{
    Entry* entry = static_cast<Entry*>(data);
    if (!entry->view->m_updating)
        UserClick(entry->control);
}

gboolean CGtkDialogView::OnDelete(GtkWidget*, GdkEvent*, gpointer data)
{
    CGtkDialogView* view = static_cast<CGtkDialogView*>(data);
    UserClose(view->m_dialog);
    return TRUE;
}

void CGtkDialogView::Pump()
{
    while (Gtk().eventsPending())
        Gtk().mainIteration();
}

const CGtkDialogView::Entry* CGtkDialogView::EntryOf(HWND control) const
{
    for (const auto& entry : m_entries) {
        if (entry->control == control)
            return entry.get();
    }
    return nullptr;
}

void CGtkDialogView::Run(CDialogDriver* driver)
{
    Gtk().widgetShowAll(m_window);
    Pump();
    if (driver) {
        CGtkHand hand(*this);
        driver->Drive(m_dialog, hand);
        if (!m_run.ended)
            UserClose(m_dialog);
        return;
    }
    while (!m_run.ended)
        Gtk().mainIteration();
}

} // namespace

bool RunGtkDialog(HWND dialog, CDialogDriver* driver)
{
    CDialogRun* run = DialogRunOf(dialog);
    if (!run || !StartGtk())
        return false;
    CGtkDialogView view(dialog, *run);
    view.Build();
    view.Run(driver);
    return true;
}
