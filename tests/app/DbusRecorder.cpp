// A stand-in for the desktop's D-Bus services, for tests on a private bus:
// org.freedesktop.Notifications, org.freedesktop.login1's Inhibit and the
// desktop portal's Inhibit, as the arguments ask. Every call is printed as a
// line on standard output; an inhibitor's release is printed when the
// client closes the descriptor it was given (login1) or closes its request
// (portal). "ready" is printed once the names are owned.
//
// Usage: DbusRecorder [notifications] [login1] [portal]   (the session bus)
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QSocketNotifier>
#include <QStringList>
#include <cstdio>

namespace {

void Print(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

class TRecorder final : public QDBusVirtualObject {
 public:
  explicit TRecorder(QDBusConnection bus) : bus_(std::move(bus)) {}

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection&) override {
    const QString member = message.member();
    const QList<QVariant> args = message.arguments();
    if (message.interface() == "org.freedesktop.Notifications" && member == "Notify" &&
        args.size() == 8) {
      Print("notify\t" + args[3].toString() + "\t" + args[4].toString());
      bus_.send(message.createReply(QVariant::fromValue(++notifications_)));
      return true;
    }
    if (message.interface() == "org.freedesktop.login1.Manager" && member == "Inhibit" &&
        args.size() == 4) {
      Print("inhibit\t" + args[0].toString() + "\t" + args[3].toString());
      int ends[2];
      if (::pipe2(ends, O_CLOEXEC) != 0) return false;
      {
        const QDBusUnixFileDescriptor given(ends[1]);  // a copy of its own
        bus_.send(message.createReply(QVariant::fromValue(given)));
      }
      ::close(ends[1]);
      // The read end sees the end of the file once every copy of the write
      // end, the client's included, is closed.
      auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
      QObject::connect(notifier, &QSocketNotifier::activated, this, [notifier, fd = ends[0]] {
        char byte;
        if (::read(fd, &byte, 1) > 0) return;
        notifier->setEnabled(false);
        Print("released");
        ::close(fd);
        notifier->deleteLater();
      });
      return true;
    }
    if (message.interface() == "org.freedesktop.portal.Inhibit" && member == "Inhibit" &&
        args.size() == 3) {
      Print("portal-inhibit\t" + QString::number(args[1].toUInt()));
      const QString handle =
          QStringLiteral("/org/freedesktop/portal/desktop/request/1/t%1").arg(++requests_);
      bus_.registerVirtualObject(handle, this);
      bus_.send(message.createReply(QVariant::fromValue(QDBusObjectPath(handle))));
      return true;
    }
    if (message.interface() == "org.freedesktop.portal.Request" && member == "Close") {
      Print("portal-released");
      bus_.unregisterObject(message.path());
      if (!message.isReplyRequired()) return true;
      bus_.send(message.createReply());
      return true;
    }
    return false;
  }

 private:
  QDBusConnection bus_;
  unsigned notifications_ = 0;
  int requests_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    Print("no bus");
    return 1;
  }
  TRecorder recorder(bus);
  const QStringList wanted = application.arguments().mid(1);
  struct TService {
    const char* Word;
    const char* Name;
    const char* Path;
  };
  const TService services[] = {
      {"notifications", "org.freedesktop.Notifications", "/org/freedesktop/Notifications"},
      {"login1", "org.freedesktop.login1", "/org/freedesktop/login1"},
      {"portal", "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop"},
  };
  for (const TService& service : services) {
    if (!wanted.contains(QString::fromLatin1(service.Word))) continue;
    if (!bus.registerVirtualObject(QString::fromLatin1(service.Path), &recorder) ||
        !bus.registerService(QString::fromLatin1(service.Name))) {
      Print(QStringLiteral("cannot own ") + QString::fromLatin1(service.Name));
      return 1;
    }
  }
  Print("ready");
  return application.exec();
}
