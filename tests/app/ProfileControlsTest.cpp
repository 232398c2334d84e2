// The choice lists in the window follow the profile routines: each format
// picked through the output-format list shows exactly the state the same
// picks give without a window (what trovenix-convert --show-choices prints).
#include <QCoreApplication>
#include <QKeyEvent>

#include "WindowFixture.h"
#include "profiles/FormatCatalogue.h"
#include "profiles/FormatTable.h"

namespace trovenix::test {
namespace {

class ProfileControlsTest : public WindowFixture {
 protected:
  void SetUp() override { StartUp(); }

  // As the user picks an item of the list.
  void Pick(QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
  }

  // Every choice box shows the control of the same name in expected.
  void ExpectShows(const TProfileState& expected, const std::string& context) {
    const TForm1Ui& ui = form1->Ui();
    const std::pair<QComboBox*, const TChoiceControl*> pairs[] = {
        {ui.ComboOutputFormat, &expected.ComboOutputFormat},
        {ui.ComboVideoCodec, &expected.ComboVideoCodec},
        {ui.ComboVideoSize, &expected.ComboVideoSize},
        {ui.ComboVideoBitrate, &expected.ComboVideoBitrate},
        {ui.ComboVideoFramerate, &expected.ComboVideoFramerate},
        {ui.ComboLetterBox, &expected.ComboLetterBox},
        {ui.ComboAudioCodec, &expected.ComboAudioCodec},
        {ui.ComboAudioBitrate, &expected.ComboAudioBitrate},
        {ui.ComboAudioChannels, &expected.ComboAudioChannels},
        {ui.ComboSamplingRate, &expected.ComboSamplingRate},
        {ui.ComboAspectRatio, &expected.ComboAspectRatio},
    };
    for (const auto& [box, control] : pairs) {
      const std::string where = context + ", " + box->accessibleName().toStdString();
      EXPECT_EQ(Items(*box), control->Items) << where;
      EXPECT_EQ(box->currentIndex(), control->ItemIndex) << where;
      EXPECT_EQ(box->currentText().toStdString(), control->Text()) << where;
      EXPECT_EQ(box->isEnabled(), control->Enabled) << where;
    }
    EXPECT_EQ(form1->Model().Profile.OutputExtension, expected.OutputExtension) << context;
  }

  // The same picks without a window, from start-up.
  static TProfileState Expected(const std::vector<int>& picks) {
    TProfileState state = MakeStartUpState();
    ComboOutputFormatChange(state);
    for (int pick : picks) SelectFormat(state, pick);
    return state;
  }
};

TEST_F(ProfileControlsTest, EveryFormatShowsItsChoiceLists) {
  const auto items = FormatCatalogueItems();
  for (int position = 0; position < static_cast<int>(items.size()); ++position) {
    if (!FindFormatRow(items[static_cast<std::size_t>(position)])) continue;
    // Each pick right after start-up: the kept lists are the start-up ones.
    form4.reset();
    form1.reset();
    StartUp();
    Pick(form1->Ui().ComboOutputFormat, position);
    ExpectShows(Expected({position}), items[static_cast<std::size_t>(position)]);
  }
}

TEST_F(ProfileControlsTest, Mp3DisablesTheVideoListsAndTheNextFormatEnablesThem) {
  const TForm1Ui& ui = form1->Ui();
  QComboBox* video[] = {ui.ComboVideoSize, ui.ComboVideoBitrate, ui.ComboVideoFramerate,
                        ui.ComboVideoCodec, ui.ComboLetterBox};
  const int mp3 = ui.ComboOutputFormat->findText("MP3 - Mpeg Layer3 Audio (*.mp3)");
  const int aac = ui.ComboOutputFormat->findText("AAC - Advance Audio Coding (*.aac)");
  Pick(ui.ComboOutputFormat, mp3);
  for (QComboBox* box : video)
    EXPECT_FALSE(box->isEnabled()) << box->accessibleName().toStdString();
  EXPECT_EQ(ui.ComboVideoSize->count(), 0);
  EXPECT_TRUE(ui.ComboAudioCodec->isEnabled());
  ExpectShows(Expected({mp3}), "MP3");

  // AAC keeps positions 7 and 5 of the lists MP3 left.
  Pick(ui.ComboOutputFormat, aac);
  for (QComboBox* box : video) EXPECT_TRUE(box->isEnabled()) << box->accessibleName().toStdString();
  EXPECT_EQ(ui.ComboAudioBitrate->currentText(), "128 Kbps");
  EXPECT_EQ(ui.ComboSamplingRate->currentText(), "48000 Hz");
  ExpectShows(Expected({mp3, aac}), "AAC after MP3");
}

TEST_F(ProfileControlsTest, SeparatorPickKeepsThePreviousFormat) {
  const TForm1Ui& ui = form1->Ui();
  const int mp3 = ui.ComboOutputFormat->findText("MP3 - Mpeg Layer3 Audio (*.mp3)");
  Pick(ui.ComboOutputFormat, mp3);
  Pick(ui.ComboOutputFormat, 20);  // a separator
  EXPECT_EQ(ui.ComboOutputFormat->currentIndex(), mp3);
  ExpectShows(Expected({mp3, 20}), "separator");
}

TEST_F(ProfileControlsTest, ArrowKeysStepOverTheSeparators) {
  TFormatComboBox* box = form1->Ui().ComboOutputFormat;
  Pick(box, 2);
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QCoreApplication::sendEvent(box, &down);
  EXPECT_EQ(box->currentText(), "iPod Touch (*.mp4)");
  EXPECT_EQ(form1->Model().Profile.ComboOutputFormat.ItemIndex, 4);
  EXPECT_EQ(form1->Ui().ComboVideoSize->currentText(), "480 x 320");
}

TEST_F(ProfileControlsTest, FormatChangeRewritesTheOutputColumn) {
  form1->FileList().AppendRow(
      {"/videos/a.avi", true, "640x480", "25", "00:00:10", "MP4", "", "", "", "", "", false});
  form1->FileList().AppendRow(
      {"/videos/b.avi", false, "", "", "", "", "Error", "", "", "", "", false});
  Pick(form1->Ui().ComboOutputFormat, 28);  // MPEG-1
  for (const TFileListRow& row : form1->FileList().Rows()) EXPECT_EQ(row.Output, "MPG");
}

TEST_F(ProfileControlsTest, ChoicesAndVolumeReachTheModel) {
  const TForm1Ui& ui = form1->Ui();
  Pick(ui.ComboVideoBitrate, 3);
  EXPECT_EQ(form1->Model().Profile.ComboVideoBitrate.Text(), "1500 Kbps");
  // A choice list changes nothing else by itself.
  ExpectShows(
      [] {
        TProfileState s = Expected({});
        s.ComboVideoBitrate.SelectIndex(3);
        return s;
      }(),
      "bit rate picked");

  ui.TrackBar1->setValue(10);
  EXPECT_EQ(ui.LabelVolume->text(), "200%");
  EXPECT_EQ(form1->Model().Profile.VolumeValue, 600);
  ui.TrackBar1->setValue(0);
  EXPECT_EQ(ui.LabelVolume->text(), "0%");
  EXPECT_EQ(form1->Model().Profile.VolumeValue, 1);
}

TEST_F(ProfileControlsTest, DropDownFollowsTheAdditionalOptionsBox) {
  TFormatComboBox* box = form1->Ui().ComboOutputFormat;
  form1->Model().Options.DropDownItems = 50;  // as if the box said so
  box->showPopup();
  EXPECT_EQ(box->maxVisibleItems(), 50);
  box->hidePopup();
}

}  // namespace
}  // namespace trovenix::test
