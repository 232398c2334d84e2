#include "player/Previewer.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <atomic>
#include <limits>
#include <thread>

#include "app/QtTestApp.h"
#include "engine/EventLoop.h"
#include "media/Bitmap.h"

namespace trovenix {
namespace {

using test::TestApp;

constexpr std::int64_t NoTime = std::numeric_limits<std::int64_t>::min();

// The previewer's window, if one exists (user-interface thread only).
QWidget* PreviewerWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == QStringLiteral("Previewer")) return widget;
  return nullptr;
}

// A picture of one colour, three pixels wide so that its rows are padded.
TBitmap Picture(int width, int height, std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  TBitmap bitmap(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      bitmap.Row(y)[3 * x] = blue;
      bitmap.Row(y)[3 * x + 1] = green;
      bitmap.Row(y)[3 * x + 2] = red;
    }
  return bitmap;
}

// Runs the task's side on a thread of its own while this (the user-interface)
// thread serves it, as a conversion does.
class Previewer : public ::testing::Test {
 protected:
  void SetUp() override { TestApp(); }

  void RunTask(const std::function<void()>& task) {
    std::atomic<bool> done{false};
    std::thread worker([&] {
      task();
      done = true;
      ui_.Wake();
    });
    const bool finished = ui_.RunUntil(
        [&] {
          QCoreApplication::processEvents();
          return done.load();
        },
        std::chrono::seconds(20));
    worker.join();
    ASSERT_TRUE(finished);
  }

  // What the window looks like, read on the user-interface thread.
  struct TLook {
    bool Exists = false, Visible = false, OnTop = false, Tool = false;
    QString Caption;
    QSize Size;
    QColor Pixel;
  };
  TLook Look() {
    TLook look;
    ui_.Invoke([&look] {
      QWidget* window = PreviewerWindow();
      if (!window) return;
      look.Exists = true;
      look.Visible = window->isVisible();
      look.OnTop = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      look.Tool = (window->windowFlags() & Qt::WindowType_Mask) == Qt::Tool;
      look.Caption = window->windowTitle();
      look.Size = window->size();
      look.Pixel =
          window->grab().toImage().pixelColor(look.Size.width() - 1, look.Size.height() - 1);
    });
    return look;
  }

  TEventLoop ui_;
};

TEST_F(Previewer, ShowsEachPictureCaptionedWithItsTime) {
  std::vector<TLook> looks;
  bool allShown = true;
  RunTask([&] {
    TPreviewer previewer(ui_);
    struct TCase {
      std::int64_t PtsUs;
      std::uint8_t Red;
    };
    for (const TCase& c : {TCase{3723004005, 0x30}, TCase{90000000000, 0x60}, TCase{NoTime, 0x90},
                           TCase{-1500000, 0xc0}}) {
      const TBitmap picture = Picture(3, 2, 0x10, 0x20, c.Red);
      allShown = previewer.ShowFrame(picture, 7, c.PtsUs) && allShown;
      looks.push_back(Look());
    }
    // A larger picture resizes the window.
    const TBitmap big = Picture(64, 48, 0xff, 0, 0);
    allShown = previewer.ShowFrame(big, 8, 0) && allShown;
    looks.push_back(Look());
  });
  EXPECT_TRUE(allShown);
  ASSERT_EQ(looks.size(), 5u);
  const char* captions[] = {"01:02:03.004", "25:00:00.000", "N/A", "-00:00:01.500", "00:00:00.000"};
  const int reds[] = {0x30, 0x60, 0x90, 0xc0};
  for (std::size_t i = 0; i < looks.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_TRUE(looks[i].Visible);
    EXPECT_TRUE(looks[i].OnTop);
    EXPECT_TRUE(looks[i].Tool);
    EXPECT_EQ(looks[i].Caption, QString::fromLatin1(captions[i]));
    if (i < 4) {
      EXPECT_EQ(looks[i].Size, QSize(3, 2));
      EXPECT_EQ(looks[i].Pixel, QColor(reds[i], 0x20, 0x10));
    }
  }
  EXPECT_EQ(looks[4].Size, QSize(64, 48));
  EXPECT_EQ(looks[4].Pixel, QColor(0, 0, 0xff));
  // The task released its previewer: the window went with it.
  EXPECT_EQ(PreviewerWindow(), nullptr);
}

TEST_F(Previewer, ClosedByTheUserItStaysClosedForTheTask) {
  std::vector<bool> answers;
  TLook afterClose, afterRefusal;
  bool closedFlag = false;
  RunTask([&] {
    TPreviewer previewer(ui_);
    const TBitmap picture = Picture(16, 8, 1, 2, 3);
    answers.push_back(previewer.ShowFrame(picture, 1, 0));
    ui_.Invoke([] { PreviewerWindow()->close(); });  // the user's click on its close button
    afterClose = Look();
    answers.push_back(previewer.ShowFrame(picture, 2, 40000));
    answers.push_back(previewer.ShowFrame(picture, 3, 80000));
    afterRefusal = Look();
    closedFlag = previewer.Closed();
  });
  EXPECT_EQ(answers, (std::vector<bool>{true, false, false}));
  EXPECT_TRUE(closedFlag);
  EXPECT_FALSE(afterClose.Visible);
  EXPECT_FALSE(afterRefusal.Visible);                               // no window came back
  EXPECT_EQ(afterRefusal.Caption, QStringLiteral("00:00:00.000"));  // nor was it updated
  EXPECT_EQ(PreviewerWindow(), nullptr);
}

TEST_F(Previewer, APressAnywhereDragsTheWindow) {
  QPoint moved;
  RunTask([&] {
    TPreviewer previewer(ui_);
    previewer.ShowFrame(Picture(40, 30, 0, 0, 0), 1, 0);
    ui_.Invoke([&moved] {
      QWidget* window = PreviewerWindow();
      const QPoint before = window->pos();
      const QPoint inside(25, 12);  // not the caption: the picture itself
      const QPoint pressedAt = window->mapToGlobal(inside);
      QMouseEvent press(QEvent::MouseButtonPress, inside, pressedAt, Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(window, &press);
      QMouseEvent move(QEvent::MouseMove, inside + QPoint(30, 20), pressedAt + QPoint(30, 20),
                       Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(window, &move);
      QMouseEvent release(QEvent::MouseButtonRelease, inside + QPoint(30, 20),
                          pressedAt + QPoint(30, 20), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(window, &release);
      moved = window->pos() - before;
    });
  });
  // Where the window manager cannot move it (as here), the window follows.
  EXPECT_EQ(moved, QPoint(30, 20));
}

TEST_F(Previewer, InstalledAsTheEnginesPreviewWindowFactory) {
  const TPreviewWindowFactory previous = InstallPreviewer(ui_);
  bool made = false, shown = false;
  RunTask([&] {
    std::unique_ptr<IPreviewWindow> window = NewPreviewWindow();
    made = dynamic_cast<TPreviewer*>(window.get()) != nullptr;
    if (window) shown = window->ShowFrame(Picture(4, 4, 0, 0, 0), 1, 0);
  });
  SetPreviewWindowFactory(previous);
  EXPECT_TRUE(made);
  EXPECT_TRUE(shown);
  EXPECT_EQ(PreviewerWindow(), nullptr);
  // A previewer that never showed anything needs no user-interface thread.
  { TPreviewer unused(ui_); }
}

}  // namespace
}  // namespace trovenix
