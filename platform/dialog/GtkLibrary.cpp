#include "platform/dialog/GtkLibrary.h"

#include "platform/win32/SharedLibrary.h"

namespace {

CGtkLibrary Load()
{
    static CSharedLibrary library("libgtk-3.so.0");
    CGtkLibrary g;
    g.loaded = library.Find("gtk_init_check", g.initCheck) &&
               library.Find("gtk_events_pending", g.eventsPending) &&
               library.Find("gtk_main_iteration", g.mainIteration) &&
               library.Find("gtk_widget_destroy", g.widgetDestroy) &&
               library.Find("gtk_widget_get_sensitive", g.widgetGetSensitive) &&
               library.Find("gtk_widget_set_sensitive", g.widgetSetSensitive) &&
               library.Find("gtk_widget_set_can_default", g.widgetSetCanDefault) &&
               library.Find("gtk_widget_get_parent", g.widgetGetParent) &&
               library.Find("gtk_widget_show_all", g.widgetShowAll) &&
               library.Find("gtk_combo_box_set_active", g.comboBoxSetActive) &&
               library.Find("gtk_combo_box_get_active", g.comboBoxGetActive) &&
               library.Find("gtk_toggle_button_set_active", g.toggleButtonSetActive) &&
               library.Find("gtk_toggle_button_get_active", g.toggleButtonGetActive) &&
               library.Find("gtk_toggle_button_new_with_label", g.toggleButtonNewWithLabel) &&
               library.Find("gtk_button_clicked", g.buttonClicked) &&
               library.Find("gtk_button_new_with_label", g.buttonNewWithLabel) &&
               library.Find("gtk_button_set_label", g.buttonSetLabel) &&
               library.Find("gtk_frame_new", g.frameNew) &&
               library.Find("gtk_box_new", g.boxNew) &&
               library.Find("gtk_box_pack_start", g.boxPackStart) &&
               library.Find("gtk_box_pack_end", g.boxPackEnd) &&
               library.Find("gtk_container_set_border_width", g.containerSetBorderWidth) &&
               library.Find("gtk_container_add", g.containerAdd) &&
               library.Find("gtk_combo_box_text_new", g.comboBoxTextNew) &&
               library.Find("gtk_combo_box_text_remove_all", g.comboBoxTextRemoveAll) &&
               library.Find("gtk_combo_box_text_append_text", g.comboBoxTextAppendText) &&
               library.Find("gtk_window_new", g.windowNew) &&
               library.Find("gtk_window_set_title", g.windowSetTitle) &&
               library.Find("gtk_window_set_modal", g.windowSetModal) &&
               library.Find("gtk_window_set_resizable", g.windowSetResizable) &&
               library.Find("gtk_window_set_position", g.windowSetPosition) &&
               library.Find("gtk_window_set_default", g.windowSetDefault) &&
               library.Find("g_signal_connect_data", g.signalConnectData);
    return g;
}

} // namespace

const CGtkLibrary& Gtk()
{
    static const CGtkLibrary gtk = Load();
    return gtk;
}
