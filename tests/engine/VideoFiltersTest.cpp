// The "vfilters" chain in a conversion, and the option combinations it rules
// out when the conversion starts.
#include "HookTaskFixture.h"

namespace trovenix {
namespace {

class VideoFilterChain : public test::HookTaskTest {
 protected:
  // Black, with the left half white.
  static std::string HalfWhiteClip() {
    return test::MakeClip(
        "half-white-64x48.avi",
        "-f lavfi -i color=black:size=64x48:rate=10,drawbox=x=0:y=0:w=32:h=48:color=white:t=fill "
        "-t 0.5 -c:v mpeg4 -q:v 2");
  }
};

TEST_F(VideoFilterChain, AMirroringChainApplies) {
  for (const std::string filters : {"", "hflip", "hflip,hflip"}) {
    test::TOptionList options{{"vcodec", "mpeg4"}, {"qscale", "2"}};
    if (!filters.empty()) options.emplace_back("vfilters", filters);
    const std::string output = Convert(HalfWhiteClip(), "filtered.avi", options);
    ASSERT_FALSE(task.Failed) << filters << ": " << task.ErrorMessage;
    const auto pictures = test::OutputPictures(output, "gray", 64 * 48);
    ASSERT_EQ(pictures.size(), 5u) << filters;
    const bool mirrored = filters == "hflip";
    for (const std::string& picture : pictures) {
      const auto left = static_cast<unsigned char>(picture[24 * 64 + 8]);
      const auto right = static_cast<unsigned char>(picture[24 * 64 + 56]);
      EXPECT_EQ(left > 200, !mirrored) << filters << ": " << int(left);
      EXPECT_EQ(right > 200, mirrored) << filters << ": " << int(right);
    }
  }
}

TEST_F(VideoFilterChain, ConflictsFoundAtTheStartEndTheTask) {
  struct Case {
    const char* filters;
    std::function<void()> change;  // after the output was made
    const char* error;
  };
  const Case cases[] = {
      {"hflip", [this] { task.CropTop = 8; },
       "Error opening filters: Cannot enable crop options and filters at the same time."},
      {"scale=32:24", [this] { task.PadTop = task.PadBottom = 8; },
       "Error opening filters: Cannot enable pad options and the filters which resize frame at the "
       "same "
       "time. (crop, rotate, scale, transpose, etc.)"},
  };
  for (const Case& c : cases) {
    const std::string output = Convert(HalfWhiteClip(), "conflict.avi",
                                       {{"vcodec", "mpeg4"}, {"vfilters", c.filters}}, c.change);
    EXPECT_TRUE(task.Failed) << c.filters;
    EXPECT_EQ(task.ErrorMessage, c.error);
    EXPECT_FALSE(std::filesystem::exists(output)) << c.filters;
  }
}

}  // namespace
}  // namespace trovenix
