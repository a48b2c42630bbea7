#include "host/app/PreferencesDialog.h"

#include <gtk/gtk.h>

#include <string>

#include "host/app/PreferencesLogic.h"

namespace qd3 {
namespace {

// The lists' and the Apply button's numbers in the dialog template.
constexpr int kInputListId = 40018;
constexpr int kOutputListId = 40019;
constexpr int kApplyResponse = 40024;

struct ListBinding {
  PreferencesLogic* logic;
  MidiDirection direction;
};

void OnListChanged(GtkComboBox* combo, gpointer data) {
  auto* binding = static_cast<ListBinding*>(data);
  binding->logic->OnSelection(binding->direction, gtk_combo_box_get_active(combo));
}

// Fills a list from the logic without telling the logic: a refill is no choice
// of the player's.
void FillCombo(GtkWidget* combo, PreferencesLogic& logic, MidiDirection direction,
               ListBinding* binding) {
  if (binding)
    g_signal_handlers_block_by_func(combo, reinterpret_cast<gpointer>(&OnListChanged), binding);
  gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(combo));
  for (const std::string& entry : logic.Entries(direction)) {
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(combo), entry.c_str());
  }
  gtk_combo_box_set_active(GTK_COMBO_BOX(combo), logic.Selected(direction));
  if (binding)
    g_signal_handlers_unblock_by_func(combo, reinterpret_cast<gpointer>(&OnListChanged), binding);
}

GtkWidget* AddList(GtkGrid* grid, int row, const char* label, PreferencesLogic& logic,
                   MidiDirection direction, ListBinding& binding, int id) {
  GtkWidget* caption = gtk_label_new(label);
  gtk_widget_set_halign(caption, GTK_ALIGN_START);
  gtk_grid_attach(grid, caption, 0, row, 1, 1);
  GtkWidget* combo = gtk_combo_box_text_new();
  gtk_widget_set_name(combo, id == kInputListId ? "list-40018" : "list-40019");
  FillCombo(combo, logic, direction, nullptr);
  gtk_widget_set_hexpand(combo, TRUE);
  gtk_grid_attach(grid, combo, 0, row + 1, 1, 1);
  // Connected after the initial selection, so that opening selects nothing.
  g_signal_connect(combo, "changed", G_CALLBACK(OnListChanged), &binding);
  return combo;
}

}  // namespace

void RunPreferencesDialog(GtkWindow* parent, PreferencesLogic& logic,
                          std::function<void()>& portsChanged) {
  logic.Open();

  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      "Preferences", parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL), "Apply", kApplyResponse,
      "OK", GTK_RESPONSE_OK, "Cancel", GTK_RESPONSE_CANCEL, nullptr);
  gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
  GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog));

  GtkWidget* frame = gtk_frame_new("MIDI Device Settings");
  gtk_container_set_border_width(GTK_CONTAINER(frame), 8);
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 4);
  gtk_container_set_border_width(GTK_CONTAINER(grid), 8);
  gtk_widget_set_size_request(grid, 300, -1);
  gtk_container_add(GTK_CONTAINER(frame), grid);
  gtk_box_pack_start(GTK_BOX(content), frame, TRUE, TRUE, 0);

  ListBinding input{&logic, MidiDirection::kInput};
  ListBinding output{&logic, MidiDirection::kOutput};
  GtkWidget* inList =
      AddList(GTK_GRID(grid), 0, "Input Device", logic, MidiDirection::kInput, input, kInputListId);
  GtkWidget* outList = AddList(GTK_GRID(grid), 2, "Output Device", logic, MidiDirection::kOutput,
                               output, kOutputListId);
  const std::string api = logic.ApiName();
  if (!api.empty()) {
    GtkWidget* system = gtk_label_new(("MIDI system: " + api).c_str());
    gtk_widget_set_name(system, "midi-system");
    gtk_widget_set_halign(system, GTK_ALIGN_START);
    gtk_grid_attach(GTK_GRID(grid), system, 0, 4, 1, 1);
  }
  gtk_widget_show_all(dialog);
  // While the dialog runs, ports that come and go show at once.
  portsChanged = [&logic, inList, outList, &input, &output] {
    logic.Refresh();
    FillCombo(inList, logic, MidiDirection::kInput, &input);
    FillCombo(outList, logic, MidiDirection::kOutput, &output);
  };

  while (true) {
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    if (response == kApplyResponse) {
      logic.Apply();
      continue;
    }
    portsChanged = nullptr;
    if (response == GTK_RESPONSE_OK) {
      gtk_widget_destroy(dialog);
      logic.Ok();
    } else {
      // Cancel, Escape and the close box all cancel.
      gtk_widget_destroy(dialog);
      logic.Cancel();
    }
    return;
  }
}

}  // namespace qd3
