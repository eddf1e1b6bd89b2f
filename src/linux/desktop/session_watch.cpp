// What the desktop says of the session over D-Bus: the session's lock and
// the system's sleep from logind and the power profile from
// power-profiles-daemon (system bus), the wish for less motion from the
// desktop portal's settings (session bus). Where a service is missing
// (containers, other init systems, desktops without a portal) the aquarium
// simply never hears of it.
#include <unistd.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusServiceWatcher>
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

// power-profiles-daemon under the name of its newer versions and under the
// one of Debian 12's (0.12), which newer ones still answer to. Each path's
// interface is named like its service.
constexpr const char* kPowerServices[] = {"org.freedesktop.UPower.PowerProfiles", "net.hadess.PowerProfiles"};
constexpr const char* kPowerPaths[] = {"/org/freedesktop/UPower/PowerProfiles", "/net/hadess/PowerProfiles"};
constexpr int kPowerSources = 2;

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kPortalSettings = "org.freedesktop.portal.Settings";
constexpr const char* kAppearance = "org.freedesktop.appearance";
constexpr const char* kReducedMotion = "reduced-motion";  // uint: 1 asks for less motion
constexpr const char* kGnomeInterface = "org.gnome.desktop.interface";
constexpr const char* kAnimations = "enable-animations";  // bool: false asks for less motion

constexpr int kAskMs = 3000;  // a service that hangs must not hold back an answer forever

// The portal's Read answers the value in a variant in a variant (its ReadOne in one): the value.
QVariant Unwrapped(QVariant value) {
  while (value.userType() == qMetaTypeId<QDBusVariant>())
    value = qvariant_cast<QDBusVariant>(value).variant();
  return value;
}

// The battery saver and reduced motion, each followed from the moment a
// service that knows it answers; every change wakes the frame loop.
class PreferenceListener : public QObject {
  Q_OBJECT
 public:
  explicit PreferenceListener(LinuxApp& app) : app_(app) {}

  void FollowPowerProfiles(QDBusConnection bus) {
    for (int i = 0; i < kPowerSources; ++i) {
      bus.connect(kPowerServices[i], kPowerPaths[i], "org.freedesktop.DBus.Properties", "PropertiesChanged",
                  this, SLOT(PowerPropertiesChanged(QString, QVariantMap, QStringList)));
    }
    // A daemon started (or ended) after us.
    auto* watch = new QDBusServiceWatcher(this);
    watch->setConnection(bus);
    for (const char* service : kPowerServices) watch->addWatchedService(service);
    connect(watch, &QDBusServiceWatcher::serviceRegistered, this, [this, bus] { AskPowerProfiles(bus); });
    connect(watch, &QDBusServiceWatcher::serviceUnregistered, this, [this](const QString& service) {
      for (int i = 0; i < kPowerSources; ++i) {
        if (service == kPowerServices[i]) SetPowerSaving(i, false);
      }
    });
    AskPowerProfiles(bus);
  }

  void FollowPortal(QDBusConnection bus) {
    // The whole message: QtDBus refuses a slot that takes the value as a QDBusVariant.
    bus.connect(kPortal, kPortalPath, kPortalSettings, "SettingChanged", this,
                SLOT(SettingChanged(QDBusMessage)));
    auto* watch = new QDBusServiceWatcher(kPortal, bus, QDBusServiceWatcher::WatchForRegistration, this);
    connect(watch, &QDBusServiceWatcher::serviceRegistered, this, [this, bus] { AskMotion(bus); });
    AskMotion(bus);
  }

 public slots:
  void PowerPropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
    for (int i = 0; i < kPowerSources; ++i) {
      if (interface == kPowerServices[i] && changed.contains("ActiveProfile")) {
        SetPowerSaving(i, changed.value("ActiveProfile").toString() == "power-saver");
      }
    }
  }

  // (namespace, key, value)
  void SettingChanged(const QDBusMessage& message) {
    const QVariantList arguments = message.arguments();
    if (arguments.size() != 3) return;
    const QString space = arguments[0].toString(), key = arguments[1].toString();
    const QVariant value = Unwrapped(arguments[2]);
    if (space == kAppearance && key == kReducedMotion) {
      portalHasReducedMotion_ = true;
      SetReducedMotion(value.toUInt() == 1);
    } else if (space == kGnomeInterface && key == kAnimations && !portalHasReducedMotion_) {
      SetReducedMotion(!value.toBool());
    }
  }

 private:
  // Sends `call` without waiting for it; `answered` gets whether it was
  // answered and the reply's first argument, unwrapped.
  template <typename Answered>
  void Ask(QDBusConnection bus, const QDBusMessage& call, Answered answered) {
    auto* pending = new QDBusPendingCallWatcher(bus.asyncCall(call, kAskMs), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [answered](QDBusPendingCallWatcher* done) {
      done->deleteLater();
      const QDBusMessage reply = done->reply();
      const bool ok = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
      answered(ok, ok ? Unwrapped(reply.arguments().at(0)) : QVariant());
    });
  }

  void AskPowerProfiles(QDBusConnection bus) {
    for (int i = 0; i < kPowerSources; ++i) {
      QDBusMessage get = QDBusMessage::createMethodCall(kPowerServices[i], kPowerPaths[i],
                                                        "org.freedesktop.DBus.Properties", "Get");
      get << QString(kPowerServices[i]) << QString("ActiveProfile");
      Ask(bus, get, [this, i](bool ok, const QVariant& profile) {
        if (ok) SetPowerSaving(i, profile.toString() == "power-saver");
      });
    }
  }

  // The portal's own key where it has one, else GNOME's.
  void AskMotion(QDBusConnection bus) {
    QDBusMessage read = QDBusMessage::createMethodCall(kPortal, kPortalPath, kPortalSettings, "Read");
    read << QString(kAppearance) << QString(kReducedMotion);
    Ask(bus, read, [this, bus](bool ok, const QVariant& value) {
      portalHasReducedMotion_ = ok;
      if (ok) {
        SetReducedMotion(value.toUInt() == 1);
        return;
      }
      QDBusMessage gnome = QDBusMessage::createMethodCall(kPortal, kPortalPath, kPortalSettings, "Read");
      gnome << QString(kGnomeInterface) << QString(kAnimations);
      Ask(bus, gnome, [this](bool found, const QVariant& animations) {
        if (found && !portalHasReducedMotion_) SetReducedMotion(!animations.toBool());
      });
    });
  }

  void SetPowerSaving(int source, bool saving) {
    powerSaving_[source] = saving;
    const bool saver = powerSaving_[0] || powerSaving_[1];
    if (app_.lifecycle.batterySaver == saver) return;
    app_.lifecycle.batterySaver = saver;
    Log("[power] battery saver %s", saver ? "on" : "off");
    VisibilityChanged(app_);
  }

  void SetReducedMotion(bool reduced) {
    if (app_.lifecycle.reducedMotion == reduced) return;
    app_.lifecycle.reducedMotion = reduced;
    Log("[motion] animations %s", reduced ? "off: a still frame" : "on: frames resume");
    VisibilityChanged(app_);
  }

  LinuxApp& app_;
  bool powerSaving_[kPowerSources] = {};
  bool portalHasReducedMotion_ = false;
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
  auto* preferences = new PreferenceListener(app);
  preferences->setParent(qApp);
  QDBusConnection desktopBus = QDBusConnection::sessionBus();
  if (desktopBus.isConnected()) {
    preferences->FollowPortal(desktopBus);
  } else {
    Log("[motion] no session bus: the desktop's wish for less motion is not heard");
  }
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) {
    Log("[session] no system bus: no lock, sleep or power profile notifications");
    return;
  }
  preferences->FollowPowerProfiles(bus);
  const QString session = SessionPath(bus);
  if (session.isEmpty()) {
    Log("[session] logind does not know this session: no lock or sleep notifications");
    return;
  }
  auto* listener = new SessionListener(app);
  listener->setParent(qApp);
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
