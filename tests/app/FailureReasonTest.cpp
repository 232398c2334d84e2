// Why a row failed: the tooltip of a "Fail" cell holds the reason (the open
// error, the refused option value, the message of the task's end), that of
// an "Error" cell the probe's text.
#include <QTemporaryDir>

#include "WindowFixture.h"
#include "support/Fixtures.h"

namespace trovenix::test {
namespace {

class FailureReasonTest : public WindowFixture {
 protected:
  void SetUp() override { StartUp(); }

  const std::vector<TFileListRow>& Rows() { return form1->FileList().Rows(); }

  std::string Tooltip(int row) {
    TFileListModel& list = form1->FileList();
    return list.data(list.index(row, TFileListModel::colProgress), Qt::ToolTipRole)
        .toString()
        .toStdString();
  }

  void Add(const std::vector<std::string>& chosen) {
    files.Answers.push_back(chosen);
    form1->Ui().ButtonAddVideo->click();
  }

  void ConvertAll() {
    form1->Model().OutputFolder = out.path().toStdString();
    form1->Ui().ButtonConvertNow->click();
    ASSERT_TRUE(ServeEventsUntil([&] { return Informed("All Conversions Completed"); }));
  }

  QTemporaryDir out;
};

std::string Clip() {
  return MakeClip("reason-160x120-sound-1s.avi",
                  "-f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=440 -t 1 "
                  "-c:v mpeg4 -c:a pcm_s16le");
}

TEST_F(FailureReasonTest, AnErrorRowShowsTheProbesTextAndTheFailThatFollowsTheOpenError) {
  const std::string unreadable = WriteFixture("reason-not-a-movie.avi", "not a movie at all");
  Add({unreadable, Clip()});
  ASSERT_EQ(Rows().size(), 2u);
  EXPECT_EQ(Rows()[0].Progress, "Error");
  EXPECT_FALSE(Tooltip(0).empty());
  EXPECT_EQ(Tooltip(0), Rows()[0].Reason);
  EXPECT_EQ(Tooltip(1), "");  // a row without a failure has no tooltip

  ConvertAll();
  EXPECT_EQ(Rows()[0].Progress, "Fail");
  EXPECT_EQ(Rows()[1].Progress, "Done");
  EXPECT_FALSE(Tooltip(0).empty()) << "the open error";
  EXPECT_EQ(Tooltip(1), "");
}

// A value the engine refuses when the output is set, and one the encoder
// refuses when the conversion starts: each row says which.
TEST_F(FailureReasonTest, FailRowsOfRefusedValuesSayWhy) {
  struct TCase {
    int Format;
    const char* Control;
    std::vector<std::string> Items;
    std::string Expected;  // part of the reason
  };
  const std::vector<TCase> cases = {
      {0, "video size", {"0x-5"}, "frame size"},                         // iPod
      {28, "sampling rate", {"54000 Hz"}, "Error while opening codec"},  // MPEG-1
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Control);
    form1->Ui().ButtonClearAll->click();
    Add({Clip()});
    emit form1->Ui().ComboOutputFormat->activated(c.Format);
    TProfileState& profile = form1->Model().Profile;
    TChoiceControl& control =
        std::string(c.Control) == "video size" ? profile.ComboVideoSize : profile.ComboSamplingRate;
    control.Items = c.Items;
    control.ItemIndex = 0;
    messages.Informations.clear();
    ConvertAll();
    ASSERT_EQ(Rows()[0].Progress, "Fail");
    EXPECT_NE(Tooltip(0).find(c.Expected), std::string::npos) << Tooltip(0);
  }
}

}  // namespace
}  // namespace trovenix::test
