#pragma once

#include <string>

namespace qd3 {

// StoreDiscardCancel asks about unsaved edits: OK stores them, Discard drops them.
enum class EMsgBoxType { OK, OKCancel, StoreDiscardCancel };
enum class EMsgBoxResult { OK, Cancel, Discard };

// Modal dialogs and the desktop, behind one interface: a GTK implementation in the
// application, a scripted one in tests.
class IPlatformServices {
 public:
  virtual ~IPlatformServices() = default;

  virtual EMsgBoxResult ShowMessageBox(const std::string& text, const std::string& caption,
                                       EMsgBoxType type) = 0;
  // Both return the chosen path, or an empty string when the user cancels.
  // extension is given without the dot, e.g. "wav".
  virtual std::string PromptForOpenFile(const std::string& extension,
                                        const std::string& startFolder) = 0;
  virtual std::string PromptForSaveFile(const std::string& extension,
                                        const std::string& startFolder,
                                        const std::string& defaultName) = 0;
  virtual bool OpenURL(const std::string& url) = 0;
};

}  // namespace qd3
