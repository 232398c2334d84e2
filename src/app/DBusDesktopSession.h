// The desktop session over D-Bus: org.freedesktop.Notifications for the
// notification, org.freedesktop.login1's Inhibit on the system bus (the
// desktop portal's Inhibit on the session bus where login1 does not answer)
// to hold off sleep, and the LauncherEntry signal for the progress on the
// task-bar entry. Every call is asynchronous; without a bus, or without a
// service that answers, it does nothing and says nothing.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include "app/DesktopSession.h"

namespace trovenix {

class TDBusDesktopSession final : public QObject, public IDesktopSession {
 public:
  // The buses of the user's session and of the system.
  TDBusDesktopSession();
  TDBusDesktopSession(const QDBusConnection& session, const QDBusConnection& system);
  ~TDBusDesktopSession() override;

  void BatchStarted() override;
  void BatchProgress(double fraction) override;
  void BatchEnded(const TBatchCounts& counts, bool notify) override;
  void BatchStopped() override;

  // Sleep is held off now (the inhibitor's answer has come).
  bool Inhibiting() const { return inhibitFd_ >= 0 || !portalHandle_.isEmpty(); }

 private:
  void Inhibit();
  void InhibitThroughPortal(unsigned generation);
  void Release();
  void SendLauncherEntry(double progress, bool visible);
  void Notify(const TBatchCounts& counts);

  QDBusConnection session_;
  QDBusConnection system_;
  unsigned generation_ = 0;  // one per inhibition asked for
  bool wanted_ = false;      // a batch runs
  int inhibitFd_ = -1;       // login1's inhibitor; closing it lets go
  QString portalHandle_;     // the portal's request; closing it lets go
  int lastPercent_ = -1;
};

}  // namespace trovenix
