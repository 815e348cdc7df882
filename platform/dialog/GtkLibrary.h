#pragma once
#include <gtk/gtk.h>

// The functions of GTK the platform dialog calls, loaded with the library when a dialog is first
// shown.
struct CGtkLibrary {
    bool loaded = false;  // every function found
    decltype(&::gtk_init_check) initCheck = nullptr;
    decltype(&::gtk_events_pending) eventsPending = nullptr;
    decltype(&::gtk_main_iteration) mainIteration = nullptr;
    decltype(&::gtk_widget_destroy) widgetDestroy = nullptr;
    decltype(&::gtk_widget_get_sensitive) widgetGetSensitive = nullptr;
    decltype(&::gtk_widget_set_sensitive) widgetSetSensitive = nullptr;
    decltype(&::gtk_widget_set_can_default) widgetSetCanDefault = nullptr;
    decltype(&::gtk_widget_get_parent) widgetGetParent = nullptr;
    decltype(&::gtk_widget_show_all) widgetShowAll = nullptr;
    decltype(&::gtk_combo_box_set_active) comboBoxSetActive = nullptr;
    decltype(&::gtk_combo_box_get_active) comboBoxGetActive = nullptr;
    decltype(&::gtk_toggle_button_set_active) toggleButtonSetActive = nullptr;
    decltype(&::gtk_toggle_button_get_active) toggleButtonGetActive = nullptr;
    decltype(&::gtk_toggle_button_new_with_label) toggleButtonNewWithLabel = nullptr;
    decltype(&::gtk_button_clicked) buttonClicked = nullptr;
    decltype(&::gtk_button_new_with_label) buttonNewWithLabel = nullptr;
    decltype(&::gtk_button_set_label) buttonSetLabel = nullptr;
    decltype(&::gtk_frame_new) frameNew = nullptr;
    decltype(&::gtk_box_new) boxNew = nullptr;
    decltype(&::gtk_box_pack_start) boxPackStart = nullptr;
    decltype(&::gtk_box_pack_end) boxPackEnd = nullptr;
    decltype(&::gtk_container_set_border_width) containerSetBorderWidth = nullptr;
    decltype(&::gtk_container_add) containerAdd = nullptr;
    decltype(&::gtk_combo_box_text_new) comboBoxTextNew = nullptr;
    decltype(&::gtk_combo_box_text_remove_all) comboBoxTextRemoveAll = nullptr;
    decltype(&::gtk_combo_box_text_append_text) comboBoxTextAppendText = nullptr;
    decltype(&::gtk_window_new) windowNew = nullptr;
    decltype(&::gtk_window_set_title) windowSetTitle = nullptr;
    decltype(&::gtk_window_set_modal) windowSetModal = nullptr;
    decltype(&::gtk_window_set_resizable) windowSetResizable = nullptr;
    decltype(&::gtk_window_set_position) windowSetPosition = nullptr;
    decltype(&::gtk_window_set_default) windowSetDefault = nullptr;
    decltype(&::g_signal_connect_data) signalConnectData = nullptr;
};

// Loads GTK on the first call; loaded stays false when the library or one of its functions is
// missing (reported on standard error).
const CGtkLibrary& Gtk();
