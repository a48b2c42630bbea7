#pragma once

#include "toolkit/api/IPlatformServices.h"

typedef struct _GtkWindow GtkWindow;

namespace qd3 {

// Modal GTK dialogs and the desktop's default handler for addresses.
// File dialogs are filtered to one extension (either case) and open in the start
// folder when one is given; a saved file without the extension gets it appended.
// OpenURL takes a URI, or an absolute file path which it turns into a file URI.
class GtkPlatformServices : public IPlatformServices {
 public:
  explicit GtkPlatformServices(GtkWindow* window = nullptr) : mParent(window) {}
  void SetParent(GtkWindow* window) { mParent = window; }

  EMsgBoxResult ShowMessageBox(const std::string& text, const std::string& caption,
                               EMsgBoxType type) override;
  std::string PromptForOpenFile(const std::string& extension,
                                const std::string& startFolder) override;
  std::string PromptForSaveFile(const std::string& extension, const std::string& startFolder,
                                const std::string& defaultName) override;
  bool OpenURL(const std::string& url) override;

 private:
  GtkWindow* mParent;
};

}  // namespace qd3
