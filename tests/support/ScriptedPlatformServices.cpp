#include "tests/support/ScriptedPlatformServices.h"

#include <algorithm>

namespace qd3 {
namespace {

template <class T>
T Take(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T v = std::move(queue.front());
  queue.pop_front();
  return v;
}

}  // namespace

void ScriptedPlatformServices::Record(Call call) {
  if (sInsideDeviceWork && sOnCallInsideDeviceWork != nullptr) {
    sOnCallInsideDeviceWork(call.text.empty() ? call.extension : call.text);
  }
  mCalls.push_back(std::move(call));
}

size_t ScriptedPlatformServices::CountCalls(ECall kind) const {
  return static_cast<size_t>(std::count_if(mCalls.begin(), mCalls.end(),
                                           [kind](const Call& c) { return c.kind == kind; }));
}

EMsgBoxResult ScriptedPlatformServices::ShowMessageBox(const std::string& text,
                                                       const std::string& caption,
                                                       EMsgBoxType type) {
  Record({ECall::kMessageBox, text, caption, type, {}, {}, {}});
  // A box with only OK has nothing to ask: it takes no answer from the queue.
  if (type == EMsgBoxType::OK) return EMsgBoxResult::OK;
  return Take(mBoxAnswers, EMsgBoxResult::OK);
}

std::string ScriptedPlatformServices::PromptForOpenFile(const std::string& extension,
                                                        const std::string& startFolder) {
  Record({ECall::kOpenFile, {}, {}, EMsgBoxType::OK, extension, startFolder, {}});
  return Take(mOpenAnswers, std::string());
}

std::string ScriptedPlatformServices::PromptForSaveFile(const std::string& extension,
                                                        const std::string& startFolder,
                                                        const std::string& defaultName) {
  Record({ECall::kSaveFile, {}, {}, EMsgBoxType::OK, extension, startFolder, defaultName});
  return Take(mSaveAnswers, std::string());
}

bool ScriptedPlatformServices::OpenURL(const std::string& url) {
  Record({ECall::kOpenUrl, url, {}, EMsgBoxType::OK, {}, {}, {}});
  return Take(mUrlAnswers, true);
}

}  // namespace qd3
