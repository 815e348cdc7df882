#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "platform/dialog/DialogDriver.h"
#include "platform/dialog/DialogRun.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowRegistry.h"

#include <gtk/gtk.h>

namespace {

bool StartGtk()
{
    static int started = -1;
    if (started < 0)
        started = gtk_init_check(nullptr, nullptr) ? 1 : 0;
    return started == 1;
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
            gtk_widget_destroy(m_window);
        while (gtk_events_pending())
            gtk_main_iteration();
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
        GtkWidget* widget;
    };

    GtkWidget* MakeWidget(HWND control, const CDialogControlTemplate& item);
    GtkWidget* GroupBox(const char16_t* title);
    void Sync(Entry& entry);
    void Pump();
    GtkWidget* WidgetOf(HWND control) const;

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
        GtkWidget* widget = m_view.WidgetOf(control);
        return widget && gtk_widget_get_sensitive(widget);
    }
    bool Select(HWND control, int index) override
    {
        GtkWidget* widget = Usable(control);
        if (!widget || !GTK_IS_COMBO_BOX(widget))
            return false;
        gtk_combo_box_set_active(GTK_COMBO_BOX(widget), index);
        return Done();
    }
    bool Check(HWND control, bool checked) override
    {
        GtkWidget* widget = Usable(control);
        if (!widget || !GTK_IS_TOGGLE_BUTTON(widget))
            return false;
        gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(widget), checked ? TRUE : FALSE);
        return Done();
    }
    bool Click(HWND control) override
    {
        GtkWidget* widget = Usable(control);
        if (!widget || !GTK_IS_BUTTON(widget))
            return false;
        gtk_button_clicked(GTK_BUTTON(widget));
        return Done();
    }
    void Close() override
    {
        UserClose(m_view.m_dialog);
        m_view.Pump();
    }
    bool HasEnded() override { return m_view.m_run.ended; }

private:
    GtkWidget* Usable(HWND control) { return IsEnabled(control) ? m_view.WidgetOf(control) : nullptr; }
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
    GtkWidget* frame = gtk_frame_new(Utf16ToUtf8(title).c_str());
    GtkWidget* rows = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_container_set_border_width(GTK_CONTAINER(rows), 6);
    gtk_container_add(GTK_CONTAINER(frame), rows);
    m_groups[title] = rows;
    return rows;
}

GtkWidget* CGtkDialogView::MakeWidget(HWND control, const CDialogControlTemplate& item)
{
    auto entry = std::make_unique<Entry>(Entry{this, control, nullptr});
    std::string label = Utf16ToUtf8(item.text ? item.text : u"");
    switch (item.kind) {
    case DialogControlKind::DropDownList:
        entry->widget = gtk_combo_box_text_new();
        g_signal_connect(entry->widget, "changed", G_CALLBACK(OnChanged), entry.get());
        break;
    case DialogControlKind::PushCheckBox:
        entry->widget = gtk_toggle_button_new_with_label(label.c_str());
        g_signal_connect(entry->widget, "toggled", G_CALLBACK(OnToggled), entry.get());
        break;
    default:
        entry->widget = gtk_button_new_with_label(label.c_str());
        g_signal_connect(entry->widget, "clicked", G_CALLBACK(OnClicked), entry.get());
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
    m_window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(m_window), Utf16ToUtf8(dialogTemplate.title ? dialogTemplate.title : u"").c_str());
    gtk_window_set_modal(GTK_WINDOW(m_window), TRUE);
    gtk_window_set_resizable(GTK_WINDOW(m_window), FALSE);
    gtk_window_set_position(GTK_WINDOW(m_window), GTK_WIN_POS_CENTER);
    g_signal_connect(m_window, "delete-event", G_CALLBACK(OnDelete), this);

    GtkWidget* outer = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
    gtk_container_set_border_width(GTK_CONTAINER(outer), 10);
    GtkWidget* columns = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    GtkWidget* right = gtk_box_new(GTK_ORIENTATION_VERTICAL, 8);
    GtkWidget* bottom = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 8);
    gtk_box_pack_start(GTK_BOX(outer), columns, TRUE, TRUE, 0);
    gtk_box_pack_end(GTK_BOX(outer), bottom, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(m_window), outer);

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
                gtk_box_pack_end(GTK_BOX(bottom), widget, FALSE, FALSE, 0);
            else
                gtk_box_pack_start(GTK_BOX(bottom), widget, FALSE, FALSE, 0);
            if (item.kind == DialogControlKind::DefaultPushButton) {
                gtk_widget_set_can_default(widget, TRUE);
                gtk_window_set_default(GTK_WINDOW(m_window), widget);
            }
            continue;
        }
        bool firstGroup = m_groups.empty();
        bool known = m_groups.count(item.group) != 0;
        GtkWidget* rows = GroupBox(item.group);
        if (!known) {
            GtkWidget* frame = gtk_widget_get_parent(rows);
            gtk_box_pack_start(GTK_BOX(firstGroup ? columns : right), frame, TRUE, TRUE, 0);
            lastRow = nullptr;
        }
        // Check boxes that follow one another share a row.
        if (!(isCheck && lastWasCheck && lastRow)) {
            lastRow = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
            gtk_box_pack_start(GTK_BOX(rows), lastRow, FALSE, FALSE, 0);
        }
        gtk_box_pack_start(GTK_BOX(lastRow), widget, TRUE, TRUE, 0);
        lastWasCheck = isCheck;
    }
    gtk_box_pack_start(GTK_BOX(columns), right, TRUE, TRUE, 0);
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
        GtkComboBoxText* combo = GTK_COMBO_BOX_TEXT(entry.widget);
        gtk_combo_box_text_remove_all(combo);
        for (const CComboItem& item : state.items)
            gtk_combo_box_text_append_text(combo, Utf16ToUtf8(item.text).c_str());
        gtk_combo_box_set_active(GTK_COMBO_BOX(combo), state.selection);
    } else {
        gtk_button_set_label(GTK_BUTTON(entry.widget), Utf16ToUtf8(window->text).c_str());
        if (state.kind == ControlKind::PushCheckBox)
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(entry.widget), state.checked ? TRUE : FALSE);
    }
    gtk_widget_set_sensitive(entry.widget, window->enabled ? TRUE : FALSE);
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
        UserSelect(entry->control, gtk_combo_box_get_active(combo));
}

void CGtkDialogView::OnToggled(GtkToggleButton* button, gpointer data)
{
    Entry* entry = static_cast<Entry*>(data);
    if (!entry->view->m_updating)
        UserCheck(entry->control, gtk_toggle_button_get_active(button) != FALSE);
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
    while (gtk_events_pending())
        gtk_main_iteration();
}

GtkWidget* CGtkDialogView::WidgetOf(HWND control) const
{
    for (const auto& entry : m_entries) {
        if (entry->control == control)
            return entry->widget;
    }
    return nullptr;
}

void CGtkDialogView::Run(CDialogDriver* driver)
{
    gtk_widget_show_all(m_window);
    Pump();
    if (driver) {
        CGtkHand hand(*this);
        driver->Drive(m_dialog, hand);
        if (!m_run.ended)
            UserClose(m_dialog);
        return;
    }
    while (!m_run.ended)
        gtk_main_iteration();
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
