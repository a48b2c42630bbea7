#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "toolkit/api/IScreenAccess.h"

namespace qd3::test {

// A control that only remembers what was done to it.
class FakeControl : public IControlHandle {
 public:
  void SetStr(std::string_view text) override {
    str = text;
    strHistory.emplace_back(text);
  }
  std::string GetStr() const override { return str; }
  void SetTextColor(const IColor& c) override { color = c; }
  void SetValueFromCode(double normalized) override { value = normalized; }
  double GetValue() const override { return value; }
  void Hide(bool hide) override { hidden = hide; }
  bool IsHidden() const override { return hidden; }
  void SetDisabled(bool disable) override { disabled = disable; }
  bool IsDisabled() const override { return disabled; }
  void MoveTo(float px, float py) override {
    x = px;
    y = py;
  }
  void SetDirty() override { ++dirtyCount; }

  std::string str;
  std::vector<std::string> strHistory;  // every text set, in order
  IColor color;
  double value = 0;
  bool hidden = false;
  bool disabled = false;
  float x = 0, y = 0;
  int dirtyCount = 0;
};

// Controls exist only for the tags a test adds; other tags are "not attached".
class FakeScreen : public IScreenAccess {
 public:
  FakeControl& Add(int tag) { return *(controls[tag] = std::make_unique<FakeControl>()); }
  FakeControl& At(int tag) { return *controls.at(tag); }

  IControlHandle* GetControlWithTag(int tag) override {
    auto it = controls.find(tag);
    return it == controls.end() ? nullptr : it->second.get();
  }
  void HideGroup(std::string_view group, bool hide) override { Toggle(hiddenGroups, group, hide); }
  void DisableGroup(std::string_view group, bool disable) override {
    Toggle(disabledGroups, group, disable);
  }

  std::map<int, std::unique_ptr<FakeControl>> controls;
  std::set<std::string> hiddenGroups;
  std::set<std::string> disabledGroups;

 private:
  static void Toggle(std::set<std::string>& set, std::string_view group, bool on) {
    if (on) {
      set.insert(std::string(group));
    } else {
      set.erase(std::string(group));
    }
  }
};

}  // namespace qd3::test
