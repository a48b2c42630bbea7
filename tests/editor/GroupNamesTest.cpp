// The fake screen the editor's tests draw on knows the group names the screens build,
// so a misspelt name in a show or hide fails the test that reaches it instead of
// hiding nothing.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "params/GroupNames.h"
#include "tests/support/FakeScreen.h"

namespace qd3::test {
namespace {

void Hide(const char* name, bool hide) {
  FakeScreen screen;
  screen.HideGroup(name, hide);
}

void Disable(const char* name, bool disable) {
  FakeScreen screen;
  screen.DisableGroup(name, disable);
}

TEST(GroupNames, FakeScreenFailsOnANameNoScreenBuilds) {
  EXPECT_NONFATAL_FAILURE(Hide("drivecontrol", true), "no screen builds a group named");
  EXPECT_NONFATAL_FAILURE(Disable("", false), "no screen builds a group named");
  EXPECT_NONFATAL_FAILURE(Hide("DriveControls", false), "no screen builds a group named");
}

TEST(GroupNames, FakeScreenFailsOnShowingAGroupNoPageBuilds) {
  for (const char* name : group::kUnbuiltGroups) {
    EXPECT_NONFATAL_FAILURE(Hide(name, false), "no page builds it");
    EXPECT_NONFATAL_FAILURE(Disable(name, false), "no page builds it");
  }
}

TEST(GroupNames, FakeScreenTakesEveryNamedGroup) {
  FakeScreen screen;
  for (const char* name : group::kAll) {
    screen.HideGroup(name, true);
    screen.DisableGroup(name, true);
  }
  EXPECT_EQ(screen.hiddenGroups.size(), group::kAll.size());
  EXPECT_EQ(screen.disabledGroups.size(), group::kAll.size());
}

}  // namespace
}  // namespace qd3::test
