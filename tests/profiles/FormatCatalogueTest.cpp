// The output-format list and the look-up of its entries.
#include <gtest/gtest.h>

#include <set>

#include "profiles/FormatCatalogue.h"
#include "profiles/FormatTable.h"

namespace trovenix {
namespace {

const std::string Separator(std::string(14, ' ') + std::string(41, '-'));

TEST(FormatCatalogue, ListHas33ItemsWithFiveSeparators) {
  const TProfileState state = MakeStartUpState();
  const auto& items = state.ComboOutputFormat.Items;
  ASSERT_EQ(items.size(), 33u);
  for (const int pos : {3, 7, 11, 14, 20}) EXPECT_EQ(items[pos], Separator) << pos;
  const struct {
    int pos;
    std::string text, tag;
    int code;
  } rows[] = {{0, "iPod (*.mp4)", "MP4", 3},
              {6, "iPod Touch Wide Screen (*.mp4)", "MP4", 15},
              {13, "Zune WMV Windows Media Video (*.wmv)", "WMV", 50},
              {19, "PS3 Video(1080P) (*.mp4)", "MP4", 61},
              {21, "3GP - Mobile Video Format (*.3gp)", "3GP", 0},
              {22, "3G2 - Mobile Video Format (*.3g2)", "3G2", 1},
              {28, "MPEG-1 Movie (*.mpg)", "MPG", 28},
              {32, "WMV - Windows Media Video (*.wmv)", "WMV", 31}};
  for (const auto& r : rows) {
    EXPECT_EQ(items[r.pos], r.text);
    const TheAVCodec* row = FindFormatRow(r.text);
    ASSERT_NE(row, nullptr) << r.text;
    EXPECT_EQ(row->ExtensionTag, r.tag);
    EXPECT_EQ(row->ProfileCode, r.code);
  }
  std::set<std::string> names;
  std::set<int> codes;
  for (const TheAVCodec& row : FormatTable) {
    names.insert(row.DisplayName);
    codes.insert(row.ProfileCode);
  }
  EXPECT_EQ(names.size(), FormatTable.size());
  EXPECT_EQ(codes.size(), FormatTable.size());
  EXPECT_EQ(FindFormatRow("ipod (*.mp4)"), nullptr);  // case matters
  EXPECT_EQ(FindFormatRow(Separator), nullptr);
}

TEST(FormatCatalogue, FillingSelectsTheFirstAndShowsAll) {
  TProfileState state;
  FillFormatCatalogue(state);
  EXPECT_EQ(state.ComboOutputFormat.ItemIndex, 0);
  EXPECT_EQ(state.ComboOutputFormat.DropDownCount, 33);
  EXPECT_EQ(MakeStartUpState().ComboOutputFormat.DropDownCount, 25);
}

TEST(FormatCatalogue, ResolveFormatArgument) {
  const TProfileState state = MakeStartUpState();
  const struct {
    std::string argument;
    int position;  // -1: refused
  } cases[] = {{"0", 0},
               {"32", 32},
               {"MP3 - Mpeg Layer3 Audio (*.mp3)", 26},
               {"mp3 - mpeg layer3 audio (*.mp3)", 26},
               {"33", -1},
               {"-1", -1},
               {"3", -1},
               {Separator, -1},
               {"MP3", -1},
               {"", -1},
               {"1x", -1}};
  for (const auto& c : cases) {
    std::string error;
    const auto position = ResolveFormatArgument(state, c.argument, error);
    EXPECT_EQ(position.value_or(-1), c.position) << c.argument;
    EXPECT_EQ(error.empty(), c.position >= 0) << c.argument;
  }
}

}  // namespace
}  // namespace trovenix
