#include "probe/sni_standin.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QStringList>
#include <cstdio>

namespace {

// A dbusmenu layout node: (id, properties, children as variants).
struct MenuNode {
  int id = 0;
  QVariantMap properties;
  QList<MenuNode> children;
};

const QDBusArgument& operator>>(const QDBusArgument& argument, MenuNode& node) {
  argument.beginStructure();
  argument >> node.id >> node.properties;
  argument.beginArray();
  while (!argument.atEnd()) {
    QDBusVariant child;
    argument >> child;
    MenuNode childNode;
    child.variant().value<QDBusArgument>() >> childNode;
    node.children.append(childNode);
  }
  argument.endArray();
  argument.endStructure();
  return argument;
}

}  // namespace

class Watcher : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
  Q_PROPERTY(int ProtocolVersion READ protocolVersion)
 public:
  QStringList items() const { return items_; }
  bool hostRegistered() const { return true; }
  int protocolVersion() const { return 0; }

 public slots:
  void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message) {
    // An item may give its bus name or only an object path.
    const QString item = service.startsWith('/') ? message.service() + service : service;
    items_ << item;
    std::printf("registered %s\n", item.toUtf8().constData());
    std::fflush(stdout);
  }
  void RegisterStatusNotifierHost(const QString&) {}

 private:
  QStringList items_;
};

namespace {

bool FindMenu(QString& service, QString& path) {
  QDBusInterface watcher("org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                         "org.kde.StatusNotifierWatcher");
  const QStringList items = watcher.property("RegisteredStatusNotifierItems").toStringList();
  if (items.isEmpty()) {
    std::fprintf(stderr, "tidemere-probe: no tray item registered\n");
    return false;
  }
  QString item = items.last(), itemPath = "/StatusNotifierItem";
  if (item.contains('/')) {
    itemPath = item.mid(item.indexOf('/'));
    item = item.left(item.indexOf('/'));
  }
  QDBusInterface properties(item, itemPath, "org.freedesktop.DBus.Properties");
  QDBusReply<QDBusVariant> menu = properties.call("Get", "org.kde.StatusNotifierItem", "Menu");
  if (!menu.isValid()) {
    std::fprintf(stderr, "tidemere-probe: the tray item has no menu: %s\n",
                 menu.error().message().toUtf8().constData());
    return false;
  }
  service = item;
  path = menu.value().variant().value<QDBusObjectPath>().path();
  return true;
}

bool ReadLayout(const QString& service, const QString& path, MenuNode& root) {
  QDBusInterface menu(service, path, "com.canonical.dbusmenu");
  menu.call("AboutToShow", 0);
  QDBusMessage reply = menu.call("GetLayout", 0, -1, QStringList());
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2) {
    std::fprintf(stderr, "tidemere-probe: GetLayout failed\n");
    return false;
  }
  reply.arguments().at(1).value<QDBusArgument>() >> root;
  return true;
}

QString Label(const MenuNode& node) {
  return node.properties.value("label").toString().remove('&');
}

}  // namespace

int RunWatcher(QCoreApplication& app) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  Watcher watcher;
  if (!bus.registerObject("/StatusNotifierWatcher", &watcher,
                          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties) ||
      !bus.registerService("org.kde.StatusNotifierWatcher")) {
    std::fprintf(stderr, "tidemere-probe: cannot own org.kde.StatusNotifierWatcher\n");
    return 1;
  }
  std::printf("watching\n");
  std::fflush(stdout);
  return app.exec();
}

int PrintMenu() {
  QString service, path;
  MenuNode root;
  if (!FindMenu(service, path) || !ReadLayout(service, path, root)) return 1;
  for (const MenuNode& node : root.children) {
    if (node.properties.value("type").toString() == "separator") {
      std::printf("-\n");
      continue;
    }
    std::printf("%s\t%d\n", Label(node).toUtf8().constData(), node.properties.value("toggle-state").toInt());
  }
  return 0;
}

int ClickMenu(const char* label) {
  QString service, path;
  MenuNode root;
  if (!FindMenu(service, path) || !ReadLayout(service, path, root)) return 1;
  for (const MenuNode& node : root.children) {
    if (Label(node) != QString::fromUtf8(label)) continue;
    QDBusInterface menu(service, path, "com.canonical.dbusmenu");
    QDBusMessage reply = menu.call("Event", node.id, QString("clicked"), QVariant::fromValue(QDBusVariant(0)),
                                   uint(QDateTime::currentSecsSinceEpoch()));
    return reply.type() == QDBusMessage::ErrorMessage ? 1 : 0;
  }
  std::fprintf(stderr, "tidemere-probe: no menu entry '%s'\n", label);
  return 1;
}

#include "sni_standin.moc"
