// The session's lock and the system's sleep from logind over the system
// D-Bus. Without logind (containers, other init systems) the aquarium simply
// never rests for these.
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include "common/linux_log.h"
#include "desktop/desktop.h"

namespace {

constexpr const char* kLogin = "org.freedesktop.login1";

class SessionListener : public QObject {
  Q_OBJECT
 public:
  explicit SessionListener(LinuxApp& app) : app_(app) {}

  void SetLocked(bool locked) {
    if (app_.lifecycle.visibility.sessionLocked == locked) return;
    app_.lifecycle.visibility.sessionLocked = locked;
    Log("[session] %s", locked ? "locked" : "unlocked");
    VisibilityChanged(app_);
  }

 public slots:
  void PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
    if (interface == "org.freedesktop.login1.Session" && changed.contains("LockedHint")) {
      SetLocked(changed.value("LockedHint").toBool());
    }
  }

  void PrepareForSleep(bool sleeping) {
    app_.lifecycle.visibility.suspending = sleeping;
    Log("[power] %s", sleeping ? "suspending" : "resumed");
    VisibilityChanged(app_);
  }

 private:
  LinuxApp& app_;
};

QString SessionPath(QDBusConnection& bus) {
  QDBusInterface manager(kLogin, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", bus);
  QDBusReply<QDBusObjectPath> reply = manager.call("GetSessionByPID", uint(getpid()));
  if (reply.isValid()) return reply.value().path();
  // Started outside the session (autostarted by a service): the user's display session.
  reply = manager.call("GetSession", QString("auto"));
  return reply.isValid() ? reply.value().path() : QString();
}

}  // namespace

void WatchSession(LinuxApp& app) {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) {
    Log("[session] no system bus: no lock or sleep notifications");
    return;
  }
  const QString session = SessionPath(bus);
  if (session.isEmpty()) {
    Log("[session] logind does not know this session: no lock or sleep notifications");
    return;
  }
  auto* listener = new SessionListener(app);
  bus.connect(kLogin, session, "org.freedesktop.DBus.Properties", "PropertiesChanged", listener,
              SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
  bus.connect(kLogin, "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "PrepareForSleep",
              listener, SLOT(PrepareForSleep(bool)));
  QDBusInterface properties(kLogin, session, "org.freedesktop.DBus.Properties", bus);
  QDBusReply<QDBusVariant> locked = properties.call("Get", "org.freedesktop.login1.Session", "LockedHint");
  if (locked.isValid()) listener->SetLocked(locked.value().variant().toBool());
  Log("[session] following %s", session.toUtf8().constData());
}

#include "session_watch.moc"
