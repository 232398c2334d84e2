#include "app/DBusDesktopSession.h"

#include <fcntl.h>
#include <unistd.h>

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QVariantMap>
#include <algorithm>

namespace trovenix {
namespace {

const QString AppName = QStringLiteral("Trovenix");
const QString DesktopEntryUri = QStringLiteral("application://trovenix.desktop");
constexpr unsigned PortalInhibitSuspend = 4;
constexpr unsigned PortalInhibitIdle = 8;

}  // namespace

TDBusDesktopSession::TDBusDesktopSession()
    : TDBusDesktopSession(QDBusConnection::sessionBus(), QDBusConnection::systemBus()) {}

TDBusDesktopSession::TDBusDesktopSession(const QDBusConnection& session,
                                         const QDBusConnection& system)
    : session_(session), system_(system) {}

TDBusDesktopSession::~TDBusDesktopSession() {
  wanted_ = false;
  Release();
}

void TDBusDesktopSession::BatchStarted() {
  wanted_ = true;
  lastPercent_ = -1;
  Inhibit();
  SendLauncherEntry(0.0, true);
}

void TDBusDesktopSession::BatchProgress(double fraction) {
  if (!wanted_) return;
  const int percent = static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100.0);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  SendLauncherEntry(percent / 100.0, true);
}

void TDBusDesktopSession::BatchEnded(const TBatchCounts& counts, bool notify) {
  wanted_ = false;
  Release();
  SendLauncherEntry(1.0, false);
  if (notify) Notify(counts);
}

void TDBusDesktopSession::BatchStopped() {
  wanted_ = false;
  Release();
  SendLauncherEntry(0.0, false);
}

void TDBusDesktopSession::Inhibit() {
  Release();
  const unsigned generation = ++generation_;
  if (!system_.isConnected()) {
    InhibitThroughPortal(generation);
    return;
  }
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
      QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("Inhibit"));
  call << QStringLiteral("sleep:idle") << AppName << QStringLiteral("Converting files")
       << QStringLiteral("block");
  auto* watcher = new QDBusPendingCallWatcher(system_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, generation](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *done;
            if (reply.isError()) {
              if (generation == generation_ && wanted_) InhibitThroughPortal(generation);
              return;
            }
            // Our own copy: the reply's goes with the reply.
            const int fd = ::fcntl(reply.value().fileDescriptor(), F_DUPFD_CLOEXEC, 0);
            if (fd < 0) return;
            if (generation != generation_ || !wanted_ || inhibitFd_ >= 0)
              ::close(fd);  // the batch ended before the answer came
            else
              inhibitFd_ = fd;
          });
}

void TDBusDesktopSession::InhibitThroughPortal(unsigned generation) {
  if (!session_.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.portal.Desktop"),
      QStringLiteral("/org/freedesktop/portal/desktop"),
      QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
  QVariantMap options;
  options.insert(QStringLiteral("reason"), QStringLiteral("Converting files"));
  call << QString() << (PortalInhibitSuspend | PortalInhibitIdle) << options;
  auto* watcher = new QDBusPendingCallWatcher(session_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, generation](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            const QDBusPendingReply<QDBusObjectPath> reply = *done;
            if (reply.isError()) return;
            portalHandle_ = reply.value().path();
            if (generation != generation_ || !wanted_) Release();
          });
}

void TDBusDesktopSession::Release() {
  if (inhibitFd_ >= 0) {
    ::close(inhibitFd_);
    inhibitFd_ = -1;
  }
  if (!portalHandle_.isEmpty()) {
    const QDBusMessage close = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.portal.Desktop"), portalHandle_,
        QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Close"));
    session_.send(close);
    portalHandle_.clear();
  }
}

void TDBusDesktopSession::SendLauncherEntry(double progress, bool visible) {
  if (!session_.isConnected()) return;
  QDBusMessage signal = QDBusMessage::createSignal(
      QStringLiteral("/com/trovenix/Trovenix"), QStringLiteral("com.canonical.Unity.LauncherEntry"),
      QStringLiteral("Update"));
  QVariantMap properties;
  properties.insert(QStringLiteral("progress"), progress);
  properties.insert(QStringLiteral("progress-visible"), visible);
  signal << DesktopEntryUri << properties;
  session_.send(signal);
}

void TDBusDesktopSession::Notify(const TBatchCounts& counts) {
  if (!session_.isConnected()) return;
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"),
      QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  const QString body = QStringLiteral("Done: %1, Fail: %2, Abort: %3")
                           .arg(counts.Done)
                           .arg(counts.Fail)
                           .arg(counts.Abort);
  call << AppName << 0u << QStringLiteral("trovenix") << QStringLiteral("All Conversions Completed")
       << body << QStringList() << QVariantMap() << -1;
  // Nobody waits for the answer: a desktop without notifications shows none.
  session_.asyncCall(call);
}

}  // namespace trovenix
