#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "params/GroupNames.h"
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

// Controls exist only for the tags a test adds; other tags are "not attached". A group
// name the screens never attach controls under fails the test that uses it, as does
// showing or enabling a group that no page builds: on the real screen both would do
// nothing, silently.
class FakeScreen : public IScreenAccess {
 public:
  FakeControl& Add(int tag) { return *(controls[tag] = std::make_unique<FakeControl>()); }
  FakeControl& At(int tag) { return *controls.at(tag); }

  IControlHandle* GetControlWithTag(int tag) override {
    auto it = controls.find(tag);
    return it == controls.end() ? nullptr : it->second.get();
  }
  void HideGroup(std::string_view group, bool hide) override {
    CheckGroup(group, hide);
    Toggle(hiddenGroups, group, hide);
  }
  void DisableGroup(std::string_view group, bool disable) override {
    CheckGroup(group, disable);
    Toggle(disabledGroups, group, disable);
  }

  std::map<int, std::unique_ptr<FakeControl>> controls;
  std::set<std::string> hiddenGroups;
  std::set<std::string> disabledGroups;

 private:
  static void CheckGroup(std::string_view group, bool hideOrDisable) {
    auto named = [group](const char* name) { return group == name; };
    if (std::none_of(group::kAll.begin(), group::kAll.end(), named)) {
      ADD_FAILURE() << "no screen builds a group named \"" << group << "\"";
    } else if (!hideOrDisable &&
               std::any_of(group::kUnbuiltGroups.begin(), group::kUnbuiltGroups.end(), named)) {
      ADD_FAILURE() << "group \"" << group << "\" is shown or enabled but no page builds it";
    }
  }
  static void Toggle(std::set<std::string>& set, std::string_view group, bool on) {
    if (on) {
      set.insert(std::string(group));
    } else {
      set.erase(std::string(group));
    }
  }
};

}  // namespace qd3::test
