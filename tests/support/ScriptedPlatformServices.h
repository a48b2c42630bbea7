#pragma once

#include <deque>
#include <string>
#include <vector>

#include "toolkit/api/IPlatformServices.h"

namespace qd3 {

// Platform services for tests: every call is recorded, and each answer is taken
// from a queue the test fills beforehand. An empty queue gives the default
// answer: OK for message boxes (a box with only OK never takes a queued answer), "" (cancelled) for
// file dialogs, true for URLs.
class ScriptedPlatformServices : public IPlatformServices {
 public:
  enum class ECall { kMessageBox, kOpenFile, kSaveFile, kOpenUrl };

  struct Call {
    ECall kind;
    std::string text;     // message text, or the URL
    std::string caption;  // message box caption
    EMsgBoxType boxType = EMsgBoxType::OK;
    std::string extension;  // file dialogs
    std::string startFolder;
    std::string defaultName;
  };

  // Set by the headless harness while the editor handles a message from the pedal or a
  // device tick. A box or dialog opened then would hold that event source for as long as
  // it is open (no poll, no transfer step, no reply), so every call made while it is set
  // goes to sOnCallInsideDeviceWork, which the harness makes a test failure.
  static inline bool sInsideDeviceWork = false;
  static inline void (*sOnCallInsideDeviceWork)(const std::string& what) = nullptr;

  void QueueMessageBoxResult(EMsgBoxResult result) { mBoxAnswers.push_back(result); }
  void QueueOpenFileResult(std::string path) { mOpenAnswers.push_back(std::move(path)); }
  void QueueSaveFileResult(std::string path) { mSaveAnswers.push_back(std::move(path)); }
  void QueueOpenURLResult(bool ok) { mUrlAnswers.push_back(ok); }

  const std::vector<Call>& Calls() const { return mCalls; }
  size_t CountCalls(ECall kind) const;
  void ClearCalls() { mCalls.clear(); }

  EMsgBoxResult ShowMessageBox(const std::string& text, const std::string& caption,
                               EMsgBoxType type) override;
  std::string PromptForOpenFile(const std::string& extension,
                                const std::string& startFolder) override;
  std::string PromptForSaveFile(const std::string& extension, const std::string& startFolder,
                                const std::string& defaultName) override;
  bool OpenURL(const std::string& url) override;

 private:
  void Record(Call call);

  std::vector<Call> mCalls;
  std::deque<EMsgBoxResult> mBoxAnswers;
  std::deque<std::string> mOpenAnswers;
  std::deque<std::string> mSaveAnswers;
  std::deque<bool> mUrlAnswers;
};

}  // namespace qd3
