#include <string>

#include "CommaLocale.h"
#include "HandlerExpect.h"
#include "TaskFixture.h"

namespace trovenix {
namespace {

using MapOptions = test::TaskTest;
using test::ExpectFailure;

TEST_F(MapOptions, MetadataSplitsAtTheFirstEqualsSign) {
  task.AddMetadata("title=A=B");
  task.AddMetadata("comment=");
  task.AddMetadataPair("artist", "C");
  EXPECT_EQ(task.Metadata, (std::vector<std::pair<std::string, std::string>>{
                               {"title", "A=B"}, {"comment", ""}, {"artist", "C"}}));
  ExpectFailure<FFmpegException>([&] { task.AddMetadata("title"); }, "Missing =");
  EXPECT_EQ(task.Metadata.size(), 3u);
}

TEST_F(MapOptions, StreamMapNumbers) {
  const struct {
    const char* text;
    TStreamMap map;
  } cases[] = {
      {"0:1", {0, 1, 0, 1}},   {"0.1:2.3", {0, 1, 2, 3}}, {"0x10:1", {16, 1, 16, 1}},
      {"010:2", {8, 2, 8, 2}}, {"1:0:", {1, 0, 0, 0}},    {"3", {3, 0, 3, 0}},
      {"", {0, 0, 0, 0}},      {"a:b", {0, 0, 0, 0}},     {"2:5,0:0", {2, 5, 0, 0}},
  };
  for (const auto& c : cases) {
    task.StreamMaps.clear();
    task.AddStreamMap(c.text);
    ASSERT_EQ(task.StreamMaps.size(), 1u) << c.text;
    EXPECT_EQ(task.StreamMaps[0], c.map) << c.text;
  }
}

TEST_F(MapOptions, MetaDataMapNumbers) {
  task.AddMetaDataMap("1:0");
  task.AddMetaDataMap("0x2.07");
  EXPECT_EQ(task.MetaDataMaps, (std::vector<TMetaDataMap>{{1, 0}, {2, 7}}));
}

TEST_F(MapOptions, FullTablesRejectFurtherEntries) {
  for (int i = 0; i < MaxStreamMaps; ++i) task.AddStreamMap("0:" + std::to_string(i));
  ExpectFailure<FFmpegException>([&] { task.AddStreamMap("0:0"); },
                                 "Too many stream maps (at most 400)");
  EXPECT_EQ(task.StreamMaps.size(), 400u);
  EXPECT_EQ(task.StreamMaps.back().StreamIndex, 399);

  for (int i = 0; i < MaxMetaDataMaps; ++i) task.AddMetaDataMap("0:" + std::to_string(i));
  ExpectFailure<FFmpegException>([&] { task.AddMetaDataMap("0:0"); },
                                 "Too many metadata maps (at most 20)");
  EXPECT_EQ(task.MetaDataMaps.size(), 20u);
}

TEST_F(MapOptions, TimestampScaleGoesToTheNextInput) {
  task.SetInputTsScale("0:1.5");
  task.SetInputTsScale("19:0.25");
  task.SetInputTsScale("3:2");
  task.SetInputTsScale("4");
  EXPECT_EQ(task.InputTsScale[0][0], 1.5);
  EXPECT_EQ(task.InputTsScale[0][19], 0.25);
  EXPECT_EQ(task.InputTsScale[0][3], 2.0);
  EXPECT_EQ(task.InputTsScale[0][4], 0.0);
  EXPECT_EQ(task.InputTsScale[1][0], 0.0);

  for (const char* bad : {"20:1.5", "-1:2", "0x20:1"})
    ExpectFailure<FFmpegException>([&] { task.SetInputTsScale(bad); },
                                   "stream index over MAX_STREAMS(20)", bad);
}

TEST_F(MapOptions, TimestampScaleReadsAFullStopWhateverTheLocale) {
  if (!test::UseCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma is available";
  task.SetInputTsScale("1:1.5");
  test::RestoreCLocale();
  EXPECT_EQ(task.InputTsScale[0][1], 1.5);
}

}  // namespace
}  // namespace trovenix
