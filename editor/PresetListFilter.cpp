#include "editor/PresetListFilter.h"

#include <algorithm>
#include <cctype>

namespace qd3 {
namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

PresetListFilter::PresetListFilter() {
  for (int slot = 0; slot < kPresetCount; ++slot) mShown.push_back(slot);
}

bool PresetListFilter::Set(const std::string& text, const Labels& labels) {
  mNeedle = Lowered(text);
  return Refresh(labels);
}

bool PresetListFilter::Refresh(const Labels& labels) {
  std::vector<int> shown;
  for (int slot = 0; slot < kPresetCount; ++slot) {
    if (mNeedle.empty() ||
        Lowered(labels[static_cast<size_t>(slot)]).find(mNeedle) != std::string::npos) {
      shown.push_back(slot);
    }
  }
  if (shown == mShown) return false;
  mShown = std::move(shown);
  return true;
}

int PresetListFilter::IndexOf(int slot) const {
  const auto it = std::lower_bound(mShown.begin(), mShown.end(), slot);
  return it != mShown.end() && *it == slot ? static_cast<int>(it - mShown.begin()) : -1;
}

}  // namespace qd3
