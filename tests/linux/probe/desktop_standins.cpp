#include "probe/desktop_standins.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QMap>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr const char* kPortal = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kPowerService = "net.hadess.PowerProfiles";
constexpr const char* kPowerPath = "/net/hadess/PowerProfiles";

// A command line's key and value as the portal's namespace, key and value.
bool PortalSetting(const char* key, const char* value, QString& space, QString& name, QVariant& setting) {
  if (std::strcmp(key, "animations") == 0 &&
      (std::strcmp(value, "on") == 0 || std::strcmp(value, "off") == 0)) {
    space = "org.gnome.desktop.interface";
    name = "enable-animations";
    setting = std::strcmp(value, "on") == 0;
    return true;
  }
  if (std::strcmp(key, "reduced-motion") == 0) {
    space = "org.freedesktop.appearance";
    name = "reduced-motion";
    setting = uint(std::strtoul(value, nullptr, 10));
    return true;
  }
  std::fprintf(stderr, "tidemere-probe: not a portal setting: %s %s\n", key, value);
  return false;
}

bool Own(QDBusConnection bus, const char* service, const char* path, QObject* object) {
  if (bus.registerObject(path, object,
                         QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals |
                             QDBusConnection::ExportAllProperties) &&
      bus.registerService(service)) {
    std::printf("serving %s\n", service);
    std::fflush(stdout);
    return true;
  }
  std::fprintf(stderr, "tidemere-probe: cannot own %s\n", service);
  return false;
}

}  // namespace

class PortalSettings : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
 public:
  QMap<QString, QVariant> values;  // "namespace key"

 public slots:
  QDBusVariant Read(const QString& space, const QString& key) {
    const auto found = values.find(space + ' ' + key);
    if (found == values.end()) {
      sendErrorReply("org.freedesktop.portal.Error.NotFound", "Requested setting not found");
      return {};
    }
    // As the portal answers Read: the value in a variant in a variant.
    return QDBusVariant(QVariant::fromValue(QDBusVariant(*found)));
  }
  // Not the portal's: how the probe changes a value, as a desktop would.
  void ProbeWrite(const QString& space, const QString& key, const QDBusVariant& value) {
    values[space + ' ' + key] = value.variant();
    emit SettingChanged(space, key, value);
  }

 signals:
  void SettingChanged(const QString& space, const QString& key, const QDBusVariant& value);
};

class PowerProfiles : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "net.hadess.PowerProfiles")
  Q_PROPERTY(QString ActiveProfile READ activeProfile WRITE setActiveProfile)
 public:
  QString activeProfile() const { return profile_; }
  void setActiveProfile(const QString& profile) {
    profile_ = profile;
    QDBusMessage changed =
        QDBusMessage::createSignal(kPowerPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
    changed << QString(kPowerService) << QVariantMap{{"ActiveProfile", profile}} << QStringList();
    QDBusConnection::systemBus().send(changed);
  }

  QString profile_;
};

int RunPortal(QCoreApplication& app, int argc, char** argv) {
  PortalSettings portal;
  for (int i = 2; i + 1 < argc; i += 2) {
    QString space, name;
    QVariant value;
    if (std::strncmp(argv[i], "--", 2) != 0 || !PortalSetting(argv[i] + 2, argv[i + 1], space, name, value))
      return 2;
    portal.values[space + ' ' + name] = value;
  }
  if (!Own(QDBusConnection::sessionBus(), kPortal, kPortalPath, &portal)) return 1;
  return app.exec();
}

int SetPortalValue(const char* key, const char* value) {
  QString space, name;
  QVariant setting;
  if (!PortalSetting(key, value, space, name, setting)) return 2;
  QDBusMessage write =
      QDBusMessage::createMethodCall(kPortal, kPortalPath, "org.freedesktop.portal.Settings", "ProbeWrite");
  write << space << name << QVariant::fromValue(QDBusVariant(setting));
  const QDBusMessage reply = QDBusConnection::sessionBus().call(write);
  if (reply.type() == QDBusMessage::ErrorMessage) {
    std::fprintf(stderr, "tidemere-probe: %s\n", reply.errorMessage().toUtf8().constData());
    return 1;
  }
  return 0;
}

int RunPowerProfiles(QCoreApplication& app, const char* profile) {
  PowerProfiles daemon;
  daemon.profile_ = QString::fromUtf8(profile);
  if (!Own(QDBusConnection::systemBus(), kPowerService, kPowerPath, &daemon)) return 1;
  return app.exec();
}

int SetPowerProfile(const char* profile) {
  QDBusMessage set =
      QDBusMessage::createMethodCall(kPowerService, kPowerPath, "org.freedesktop.DBus.Properties", "Set");
  set << QString(kPowerService) << QString("ActiveProfile")
      << QVariant::fromValue(QDBusVariant(QString::fromUtf8(profile)));
  const QDBusMessage reply = QDBusConnection::systemBus().call(set);
  if (reply.type() == QDBusMessage::ErrorMessage) {
    std::fprintf(stderr, "tidemere-probe: %s\n", reply.errorMessage().toUtf8().constData());
    return 1;
  }
  return 0;
}

#include "desktop_standins.moc"
