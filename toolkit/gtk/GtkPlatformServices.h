#pragma once

#include <functional>
#include <string>

#include "toolkit/api/IPlatformServices.h"

typedef struct _GtkWindow GtkWindow;

namespace qd3 {

// Modal GTK dialogs and the desktop's default handler for addresses.
// File dialogs are filtered to one extension (either case) and open in the start
// folder when one is given. A save dialog proposes its name with the extension;
// a name typed without it gets it appended, and the player is asked before that
// replaces an existing file.
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

// `name` ending in "." + extension (either case), appended when it does not.
std::string WithExtension(const std::string& name, const std::string& extension);

// What a save dialog opens with. The last file saved, given as both the start
// folder and the default name, opens in its own folder under its own name; the
// name carries the extension.
struct SaveProposal {
  std::string folder;
  std::string name;
};
SaveProposal ProposeSaveName(const std::string& startFolder, const std::string& defaultName,
                             const std::string& extension);

// Where a save dialog's answer ends up, and whether the player must still be
// asked before an existing file there is replaced: the dialog itself asked only
// about the name it returned.
struct SaveTarget {
  std::string path;
  bool askToReplace = false;
};
SaveTarget ResolveSaveTarget(const std::string& chosen, const std::string& extension,
                             const std::function<bool(const std::string&)>& exists);

// The question before replacing `path`, in the words of the desktop's own.
std::string ReplaceQuestionText(const std::string& path);

}  // namespace qd3
