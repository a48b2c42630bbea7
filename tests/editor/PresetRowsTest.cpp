// The editor, not the preset code, decides how a list row looks.
#include <array>

#include "tests/editor/EditorFixture.h"

namespace qd3::test {
namespace {

TEST_F(EditorTest, AttachedRowsShowTheCurrentPresetInItsOwnColor) {
  OpenWindow();
  std::array<FakeControl, kPresetCount> rows;
  std::array<IControlHandle*, kPresetCount> handles{};
  for (size_t i = 0; i < rows.size(); ++i) handles[i] = &rows[i];
  mEditor.AttachPresetRows(handles);

  EXPECT_EQ(rows[0].color, (IColor{255, 100, 255, 255}));
  for (size_t i = 1; i < rows.size(); ++i) {
    ASSERT_EQ(rows[i].color, (IColor{150, 100, 255, 255})) << "row " << i;
  }
}

TEST(ScreenColors, ArgbConstantsAreReadAlphaFirst) {
  EXPECT_EQ(IColorFromArgb(0x9664FFFF), (IColor{0x96, 0x64, 0xFF, 0xFF}));
  EXPECT_EQ(IColorFromArgb(0x01020304), (IColor{1, 2, 3, 4}));
}

}  // namespace
}  // namespace qd3::test
