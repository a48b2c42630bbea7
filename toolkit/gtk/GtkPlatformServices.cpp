#include "toolkit/gtk/GtkPlatformServices.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace qd3 {
namespace {

std::string ToUpper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

GtkFileChooserNative* MakeChooser(GtkWindow* parent, GtkFileChooserAction action, const char* title,
                                  const char* accept, const std::string& extension,
                                  const std::string& startFolder) {
  GtkFileChooserNative* chooser =
      gtk_file_chooser_native_new(title, parent, action, accept, "_Cancel");
  gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(chooser), TRUE);
  if (!extension.empty()) {
    GtkFileFilter* filter = gtk_file_filter_new();
    const std::string lower = "*." + extension;
    const std::string upper = "*." + ToUpper(extension);
    gtk_file_filter_add_pattern(filter, lower.c_str());
    gtk_file_filter_add_pattern(filter, upper.c_str());
    gtk_file_filter_set_name(filter, lower.c_str());
    gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);
  }
  if (!startFolder.empty()) {
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), startFolder.c_str());
  }
  return chooser;
}

std::string RunChooser(GtkFileChooserNative* chooser) {
  std::string path;
  if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
      path = name;
      g_free(name);
    }
  }
  g_object_unref(chooser);
  return path;
}

bool ConfirmReplace(GtkWindow* parent, const std::string& path) {
  GtkWidget* dialog = gtk_message_dialog_new(
      parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s", ReplaceQuestionText(path).c_str());
  gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_Cancel", GTK_RESPONSE_CANCEL, "_Replace",
                         GTK_RESPONSE_ACCEPT, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
  // As for the message boxes: the parent may close while the question waits.
  g_object_ref(dialog);
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  g_object_unref(dialog);
  return response == GTK_RESPONSE_ACCEPT;
}

}  // namespace

std::string WithExtension(const std::string& name, const std::string& extension) {
  if (extension.empty()) return name;
  const std::string suffix = "." + extension;
  if (name.size() >= suffix.size() &&
      ToUpper(name.substr(name.size() - suffix.size())) == ToUpper(suffix)) {
    return name;
  }
  return name + suffix;
}

SaveProposal ProposeSaveName(const std::string& startFolder, const std::string& defaultName,
                             const std::string& extension) {
  SaveProposal proposal{startFolder, defaultName};
  const std::filesystem::path path(defaultName);
  if (startFolder == defaultName && path.is_absolute() && path.has_filename()) {
    proposal.folder = path.parent_path().string();
    proposal.name = path.filename().string();
  }
  if (!proposal.name.empty()) proposal.name = WithExtension(proposal.name, extension);
  return proposal;
}

SaveTarget ResolveSaveTarget(const std::string& chosen, const std::string& extension,
                             const std::function<bool(const std::string&)>& exists) {
  if (chosen.empty()) return {};
  SaveTarget target{WithExtension(chosen, extension), false};
  target.askToReplace = target.path != chosen && exists(target.path);
  return target;
}

std::string ReplaceQuestionText(const std::string& path) {
  return "A file named \u201c" + std::filesystem::path(path).filename().string() +
         "\u201d already exists. Do you want to replace it?";
}

namespace {

GtkButtonsType ButtonsOf(EMsgBoxType type) {
  switch (type) {
    case EMsgBoxType::OK:
      return GTK_BUTTONS_OK;
    case EMsgBoxType::OKCancel:
      return GTK_BUTTONS_OK_CANCEL;
    case EMsgBoxType::StoreDiscardCancel:
      break;
  }
  return GTK_BUTTONS_NONE;  // its own three, added below
}

}  // namespace

EMsgBoxResult GtkPlatformServices::ShowMessageBox(const std::string& text,
                                                  const std::string& caption, EMsgBoxType type) {
  GtkMessageType kind = GTK_MESSAGE_INFO;
  if (type != EMsgBoxType::OK) kind = GTK_MESSAGE_QUESTION;
  if (caption == "Warning") kind = GTK_MESSAGE_WARNING;
  if (caption == "Error") kind = GTK_MESSAGE_ERROR;
  GtkWidget* dialog = gtk_message_dialog_new(
      mParent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), kind,
      ButtonsOf(type), "%s", text.c_str());
  if (type == EMsgBoxType::StoreDiscardCancel) {
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_Discard", GTK_RESPONSE_NO, "_Cancel",
                           GTK_RESPONSE_CANCEL, "_Store", GTK_RESPONSE_OK, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  }
  gtk_window_set_title(GTK_WINDOW(dialog), caption.c_str());
  // The main window may close while the box waits (its close box still works), and the
  // box goes with it; our own reference keeps the object alive until it is destroyed
  // here, which is harmless a second time.
  g_object_ref(dialog);
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  g_object_unref(dialog);
  if (type == EMsgBoxType::OK) return EMsgBoxResult::OK;
  // Closing the box counts as Cancel.
  if (response == GTK_RESPONSE_NO && type == EMsgBoxType::StoreDiscardCancel) {
    return EMsgBoxResult::Discard;
  }
  return response == GTK_RESPONSE_OK ? EMsgBoxResult::OK : EMsgBoxResult::Cancel;
}

std::string GtkPlatformServices::PromptForOpenFile(const std::string& extension,
                                                   const std::string& startFolder) {
  return RunChooser(
      MakeChooser(mParent, GTK_FILE_CHOOSER_ACTION_OPEN, "Open", "_Open", extension, startFolder));
}

std::string GtkPlatformServices::PromptForSaveFile(const std::string& extension,
                                                   const std::string& startFolder,
                                                   const std::string& defaultName) {
  SaveProposal proposal = ProposeSaveName(startFolder, defaultName, extension);
  const auto exists = [](const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
  };
  for (;;) {
    GtkFileChooserNative* chooser = MakeChooser(mParent, GTK_FILE_CHOOSER_ACTION_SAVE, "Save",
                                                "_Save", extension, proposal.folder);
    gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
    if (!proposal.name.empty()) {
      gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), proposal.name.c_str());
    }
    const SaveTarget target = ResolveSaveTarget(RunChooser(chooser), extension, exists);
    if (!target.askToReplace || ConfirmReplace(mParent, target.path)) return target.path;
    // Not replaced: the dialog again, on the name the player meant.
    const std::filesystem::path meant(target.path);
    proposal = {meant.parent_path().string(), meant.filename().string()};
  }
}

bool GtkPlatformServices::OpenURL(const std::string& url) {
  std::string uri = url;
  if (!url.empty() && url.front() == '/') {
    gchar* fileUri = g_filename_to_uri(url.c_str(), nullptr, nullptr);
    if (!fileUri) return false;
    uri = fileUri;
    g_free(fileUri);
  }
  GError* error = nullptr;
  const gboolean ok = g_app_info_launch_default_for_uri(uri.c_str(), nullptr, &error);
  if (error) g_error_free(error);
  return ok == TRUE;
}

}  // namespace qd3
