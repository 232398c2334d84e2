// The preview panel's widgets in the main window, with a fake player.
#include <QCoreApplication>
#include <QKeyEvent>

#include "FakePlaybackPlayer.h"
#include "WindowFixture.h"
#include "app/PlaybackControls.h"

namespace trovenix::test {
namespace {

class PlaybackWindowTest : public WindowFixture {
 protected:
  void SetUp() override {
    form1 = std::make_unique<TForm1>(TForm1Services{dialogs,
                                                    messages,
                                                    folders,
                                                    Store(),
                                                    {},
                                                    {},
                                                    &files,
                                                    &player,
                                                    &sound,
                                                    [] { return true; }},
                                     ui);
    form4 = std::make_unique<TForm4>(*form1);
    form1->show();
    form1->FileList().AppendRow(
        {"/clips/movie.avi", true, "320x240", "25", "00:01:05", "MP4", "", "", "", "", "", false});
    form1->Ui().ListView1->setCurrentIndex(form1->FileList().index(0, 0));
  }
  const TForm1Ui& Widgets() { return form1->Ui(); }
  void Space(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(target, &press);
  }

  TFakePlaybackPlayer player;
  TCountingSnapSound sound{player};
};

TEST_F(PlaybackWindowTest, PlayShowsTheNativePanelAndStopTheStillPicture) {
  EXPECT_TRUE(Widgets().ImageStill->isVisible());
  EXPECT_FALSE(Widgets().PanelPlay->isVisible());
  Widgets().ButtonPlay->click();
  EXPECT_EQ(player.Count("Open /clips/movie.avi"), 1);
  EXPECT_TRUE(Widgets().PanelPlay->isVisible());
  EXPECT_FALSE(Widgets().ImageStill->isVisible());
  EXPECT_EQ(player.OpenedWindow, static_cast<TNativeWindow>(Widgets().PanelPlay->winId()));
  EXPECT_EQ(player.ScreenWidth, Widgets().PanelPlay->width());
  EXPECT_EQ(player.ScreenHeight, Widgets().PanelPlay->height());
  EXPECT_EQ(Widgets().PanelPlay->paintEngine(), nullptr);
  EXPECT_TRUE(Widgets().PanelPlay->testAttribute(Qt::WA_NativeWindow));
  Widgets().ButtonStop->click();
  EXPECT_TRUE(Widgets().ImageStill->isVisible());
  EXPECT_FALSE(Widgets().PanelPlay->isVisible());
}

TEST_F(PlaybackWindowTest, TheEndOfTheFileBringsTheStillPictureBackOnTheUiThread) {
  Widgets().ButtonPlay->click();
  player.RaiseEndFromPlayerThread();
  QCoreApplication::processEvents();
  EXPECT_TRUE(Widgets().ImageStill->isVisible());
  EXPECT_FALSE(form1->Playback().Playing());
}

TEST_F(PlaybackWindowTest, TheSliderAndTimeFollowThePositionAndDraggingSeeks) {
  Widgets().ButtonPlay->click();
  EXPECT_EQ(Widgets().LabelPlayTime->text(), QStringLiteral("0:00 / 1:05"));
  player.Events.Position(12'300'000);
  EXPECT_EQ(Widgets().SliderPosition->maximum(), 65'000);
  EXPECT_EQ(Widgets().SliderPosition->value(), 12'300);
  EXPECT_EQ(Widgets().LabelPlayTime->text(), QStringLiteral("0:12 / 1:05"));

  player.TakeCalls();
  Widgets().SliderPosition->setSliderDown(true);
  Widgets().SliderPosition->setSliderPosition(40'000);
  player.Events.Position(13'000'000);  // the drag is not overwritten
  EXPECT_EQ(Widgets().SliderPosition->value(), 40'000);
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{});
  Widgets().SliderPosition->setSliderDown(false);
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{"Seek 40000000"});
}

TEST_F(PlaybackWindowTest, SpaceOnThePanelTogglesPause) {
  Space(Widgets().PanelPreview);  // nothing plays yet
  EXPECT_EQ(player.Count("TogglePause"), 0);
  Widgets().ButtonPlay->click();
  for (QWidget* panel : {static_cast<QWidget*>(Widgets().PanelPreview),
                         static_cast<QWidget*>(Widgets().PanelPlay)}) {
    Space(panel);
    EXPECT_TRUE(player.Paused);
    Space(panel);
    EXPECT_FALSE(player.Paused);
  }
}

TEST_F(PlaybackWindowTest, VolumeItemsChangeTheButtonGlyph) {
  const qint64 full = Widgets().ButtonVolume->icon().cacheKey();
  Widgets().ActionMute->trigger();
  EXPECT_EQ(player.Volume, 0);
  EXPECT_NE(Widgets().ButtonVolume->icon().cacheKey(), full);
  EXPECT_FALSE(Widgets().ButtonVolume->icon().isNull());
  Widgets().ActionHalfVolume->trigger();
  EXPECT_EQ(player.Volume, 64);
  Widgets().ActionFullVolume->trigger();
  EXPECT_EQ(player.Volume, 128);
}

TEST_F(PlaybackWindowTest, ABatchStartStopsThePlayback) {
  Widgets().ButtonPlay->click();
  player.TakeCalls();
  form1->BatchView().ClosePreviewPlayer();
  EXPECT_EQ(player.TakeCalls(), std::vector<std::string>{"Close wait"});
  EXPECT_TRUE(Widgets().ImageStill->isVisible());
}

TEST_F(PlaybackWindowTest, EveryPlaybackControlHasAnAccessibleName) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           Widgets().ButtonPlay, Widgets().ButtonPause, Widgets().ButtonStop,
           Widgets().ButtonVolume, Widgets().ButtonSnapshot, Widgets().SliderPosition,
           Widgets().LabelPlayTime, Widgets().PanelPlay})
    EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
}

}  // namespace
}  // namespace trovenix::test
