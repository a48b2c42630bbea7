#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "params/GroupNames.h"
#include "params/PageRules.h"

namespace qd3 {
namespace {

TEST(PageRules, TouchedParameterOpensItsPage) {
  const std::pair<int, int> opens[] = {{9, 1},   {8, 3},  {74, 4}, {15, 5}, {6, 10}, {12, 11},
                                       {13, 11}, {7, 12}, {5, 13}, {1, 14}, {0, 15}, {61, 16}};
  for (const auto& [index, page] : opens) {
    EXPECT_EQ(PageOpenedBy(index, 0), page) << index;
    EXPECT_EQ(PageToShowAfterChange(index, 0, false), page) << index;
  }
  for (int index : {2, 3, 4, 10, 11, 14, 16, 25, 40, 60, 69, 70, 71, 72, 73, 80}) {
    EXPECT_FALSE(PageOpenedBy(index, 0)) << index;
  }
}

TEST(PageRules, GainLeavesTheDrivePageShown) {
  EXPECT_FALSE(PageOpenedBy(1, 13));
  EXPECT_EQ(PageOpenedBy(1, 10), 14);
}

TEST(PageRules, NoSwitchToTheShownPageOrWhileApplyingValues) {
  EXPECT_FALSE(PageToShowAfterChange(6, 10, false));
  EXPECT_FALSE(PageToShowAfterChange(0, 10, true));  // a preset load on page 10 stays there
  EXPECT_EQ(PageToShowAfterChange(0, 10, false), 15);
}

TEST(PageRules, PageContents) {
  const auto ir = PageContentsFor(4);
  ASSERT_TRUE(ir);
  EXPECT_FALSE(ir->irHint);
  EXPECT_FALSE(ir->dynamicsGraph);
  ASSERT_EQ(ir->groups.size(), 2u);
  EXPECT_EQ(std::string(ir->groups[0]), "ircontrols");
  EXPECT_EQ(std::string(ir->groups[1]), "irdisplay");

  for (int page : {1, 13}) {
    const auto p = PageContentsFor(page);
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->dynamicsGraph);
    EXPECT_TRUE(p->irHint);
    ASSERT_EQ(p->groups.size(), 1u);  // the graph takes the IR display's place
  }
  EXPECT_EQ(std::string(PageContentsFor(13)->groups[0]), "drivecontrols");
  for (int page : {0, 2, 6, 17}) EXPECT_FALSE(PageContentsFor(page)) << page;

  // Every group a page shows is one ShowPage hides first.
  const auto hidden = DetailPageGroups();
  EXPECT_EQ(hidden.size(), 19u);
  for (int page : {1, 3, 4, 5, 10, 11, 12, 13, 14, 15, 16}) {
    for (const char* group : PageContentsFor(page)->groups) {
      EXPECT_TRUE(std::any_of(hidden.begin(), hidden.end(), [&](const char* h) {
        return std::string(h) == group;
      })) << group;
      EXPECT_TRUE(std::none_of(group::kUnbuiltGroups.begin(), group::kUnbuiltGroups.end(),
                               [&](const char* unbuilt) { return std::string(unbuilt) == group; }))
          << group;
    }
  }
}

}  // namespace
}  // namespace qd3
