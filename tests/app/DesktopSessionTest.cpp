// The desktop told of a batch over D-Bus, against a private bus that stands
// in for both the session and the system bus (DesktopSessionTestMain starts
// it) and DbusRecorder as the desktop's services: one notification with the
// counts after a batch while the window is not in front, sleep held off from
// the start and let go at the end and after Stop, the portal where login1 does
// not answer, and a batch that runs as ever without a bus.
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include "WindowFixture.h"
#include "app/DBusDesktopSession.h"
#include "support/Fixtures.h"

namespace trovenix::test {
namespace {

// The recorder as a child process; its lines as they come.
class TRecorderProcess {
 public:
  explicit TRecorderProcess(const QStringList& services) {
    process_.setProgram(QStringLiteral(TROVENIX_DBUS_RECORDER));
    process_.setArguments(services);
    process_.start();
  }
  ~TRecorderProcess() {
    process_.kill();
    process_.waitForFinished();
  }
  bool Ready() { return WaitFor("ready"); }
  // Serves the test's events until a line starting with prefix came.
  bool WaitFor(const QString& prefix, int timeoutMs = 20000) {
    return ServeEventsUntil(
        [&] {
          Read();
          for (const QString& line : lines_)
            if (line.startsWith(prefix)) return true;
          return false;
        },
        timeoutMs);
  }
  QStringList Lines(const QString& prefix) {
    Read();
    QStringList found;
    for (const QString& line : lines_)
      if (line.startsWith(prefix)) found << line;
    return found;
  }

 private:
  void Read() {
    while (process_.canReadLine()) lines_ << QString::fromUtf8(process_.readLine()).trimmed();
  }
  QProcess process_;
  QStringList lines_;
};

std::string ShortClip() {
  return MakeClip("desktop-160x120-1s.avi",
                  "-f lavfi -i testsrc=size=160x120:rate=25 -t 1 -c:v mpeg4");
}
std::string LongClip() {
  return MakeClip("desktop-320x240-30s.avi",
                  "-f lavfi -i testsrc=size=320x240:rate=25 -t 30 -c:v mpeg4 -q:v 8");
}

class DesktopSessionTest : public WindowFixture {
 protected:
  void Start(IDesktopSession& session) {
    desktop = &session;
    StartUp();
    form1->Model().OutputFolder = out.path().toStdString();
  }
  // PS3 Video: H.264 takes seconds where MPEG-4 takes a fraction of one, so
  // that a Stop comes while the row converts.
  void ChooseSlowFormat() { emit form1->Ui().ComboOutputFormat->activated(16); }
  void Add(const std::vector<std::string>& chosen) {
    files.Answers.push_back(chosen);
    form1->Ui().ButtonAddVideo->click();
  }
  bool Completed() {
    return ServeEventsUntil([&] { return Informed("All Conversions Completed"); });
  }
  // Another window in front, as when the user works elsewhere.
  void ActivateOther() {
    other.show();
    other.activateWindow();
    ServeEventsUntil([&] { return !form1->isActiveWindow(); }, 2000);
  }
  QTemporaryDir out;
  QWidget other;
};

TEST_F(DesktopSessionTest, ABatchHoldsOffSleepAndEndsWithOneNotificationOfItsCounts) {
  TRecorderProcess recorder({"notifications", "login1"});
  ASSERT_TRUE(recorder.Ready());
  TDBusDesktopSession session;
  Start(session);
  const std::string unreadable = WriteFixture("desktop-not-a-movie.avi", "not a movie");
  Add({LongClip(), unreadable});
  ActivateOther();
  ASSERT_FALSE(form1->isActiveWindow());

  form1->Ui().ButtonConvertNow->click();
  ASSERT_TRUE(recorder.WaitFor("inhibit"));
  EXPECT_EQ(recorder.Lines("inhibit"), QStringList{"inhibit\tsleep:idle\tblock"});
  ASSERT_TRUE(ServeEventsUntil([&] { return session.Inhibiting(); }));
  EXPECT_TRUE(recorder.Lines("released").isEmpty()) << "held while the batch runs";
  ASSERT_TRUE(Completed());
  EXPECT_FALSE(session.Inhibiting());
  ASSERT_TRUE(recorder.WaitFor("released"));
  ASSERT_TRUE(recorder.WaitFor("notify"));
  EXPECT_EQ(recorder.Lines("notify"),
            QStringList{"notify\tAll Conversions Completed\tDone: 1, Fail: 1, Abort: 0"});

  // With the window in front the message box is enough.
  form1->activateWindow();
  ServeEventsUntil([&] { return form1->isActiveWindow(); }, 2000);
  if (form1->isActiveWindow()) {
    messages.Informations.clear();
    form1->Ui().ButtonClearAll->click();
    Add({ShortClip()});
    form1->Ui().ButtonConvertNow->click();
    ASSERT_TRUE(Completed());
    ServeEventsUntil([] { return false; }, 300);
    EXPECT_EQ(recorder.Lines("notify").size(), 1);
    EXPECT_EQ(recorder.Lines("released").size(), 2);
  }
}

TEST_F(DesktopSessionTest, StopLetsGoOfTheInhibitorAndNotifiesNothing) {
  TRecorderProcess recorder({"notifications", "login1"});
  ASSERT_TRUE(recorder.Ready());
  TDBusDesktopSession session;
  Start(session);
  ChooseSlowFormat();
  Add({LongClip()});
  ActivateOther();
  form1->Ui().ButtonConvertNow->click();
  ASSERT_TRUE(ServeEventsUntil([&] { return session.Inhibiting(); }));
  form1->Ui().ButtonStopConvert->click();
  ASSERT_TRUE(recorder.WaitFor("released"));
  EXPECT_FALSE(session.Inhibiting());
  ASSERT_TRUE(ServeEventsUntil([&] { return form1->FileList().Rows()[0].Progress == "Abort"; }));
  ServeEventsUntil([] { return false; }, 300);
  EXPECT_TRUE(recorder.Lines("notify").isEmpty());
}

TEST_F(DesktopSessionTest, WhereLogin1DoesNotAnswerThePortalHoldsOffSleep) {
  TRecorderProcess recorder({"portal"});
  ASSERT_TRUE(recorder.Ready());
  TDBusDesktopSession session;
  Start(session);
  ChooseSlowFormat();
  Add({LongClip()});
  form1->Ui().ButtonConvertNow->click();
  ASSERT_TRUE(recorder.WaitFor("portal-inhibit"));
  EXPECT_EQ(recorder.Lines("portal-inhibit"), QStringList{"portal-inhibit\t12"});  // suspend, idle
  ASSERT_TRUE(ServeEventsUntil([&] { return session.Inhibiting(); }));
  form1->Ui().ButtonStopConvert->click();
  ASSERT_TRUE(recorder.WaitFor("portal-released"));
  EXPECT_FALSE(session.Inhibiting());
}

TEST_F(DesktopSessionTest, WithoutABusTheBatchRunsAsEver) {
  const QDBusConnection none = QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/trovenix-bus"), QStringLiteral("trovenix-no-bus"));
  ASSERT_FALSE(none.isConnected());
  TDBusDesktopSession session(none, none);
  Start(session);
  Add({ShortClip()});
  ActivateOther();
  form1->Ui().ButtonConvertNow->click();
  ASSERT_TRUE(Completed());
  EXPECT_EQ(form1->FileList().Rows()[0].Progress, "Done");
  EXPECT_EQ(messages.Informations, std::vector<std::string>{"All Conversions Completed"});
  EXPECT_FALSE(session.Inhibiting());
}

}  // namespace
}  // namespace trovenix::test
