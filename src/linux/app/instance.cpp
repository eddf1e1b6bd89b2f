// One instance per session: a local socket in the runtime folder. A later
// start sends its request ("exit", "status", "settings", "about", "theme N")
// as one line and reads one line back.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <cstring>

#include "app/app.h"
#include "common/linux_log.h"
#include "common/xdg_paths.h"
#include "desktop/desktop.h"
#include "ui/ui.h"

namespace {

QLocalServer* server = nullptr;
constexpr char kNotReady[] = "still starting: try again";  // the windows come with the tray

std::string Answer(LinuxApp& app, const InstanceRequest& request) {
  switch (request.kind) {
    case RequestKind::kExit:
      Log("[instance] exit asked");
      RequestExit(app);
      return "ok";
    case RequestKind::kTheme:
      Log("[instance] theme %d asked", request.theme);
      SetEffect(app, request.theme);
      return "ok";
    case RequestKind::kStatus:
      return DesktopStatus(app);
    case RequestKind::kSettings:
      if (app.ui == nullptr) return kNotReady;
      Log("[instance] settings window asked");
      OpenSettingsWindow(app);
      return "ok";
    case RequestKind::kAbout:
      if (app.ui == nullptr) return kNotReady;
      Log("[instance] About window asked");
      OpenAboutWindow(app);
      return "ok";
    default:
      return kUnknownRequestReply;
  }
}

void Serve(LinuxApp& app, QLocalSocket* client) {
  QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
  QObject::connect(client, &QLocalSocket::readyRead, [&app, client] {
    if (!client->canReadLine()) {
      if (client->bytesAvailable() > 256) client->disconnectFromServer();  // not one of ours
      return;
    }
    const std::string line = client->readLine(256).toStdString();
    const std::string reply = Answer(app, ParseRequestLine(line)) + "\n";
    client->write(reply.data(), qint64(reply.size()));
    client->flush();
    client->disconnectFromServer();
  });
}

}  // namespace

bool SendToInstance(const std::string& socketPath, const std::string& line, std::string& reply) {
  // Plain POSIX: a later start asks before Qt (or a display) is there.
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  if (socketPath.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return false;
  }
  const timeval patience = {3, 0};  // a frozen instance must not freeze this start too
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &patience, sizeof patience);
  send(fd, line.data(), line.size(), MSG_NOSIGNAL);
  reply.clear();
  char c = 0;
  while (reply.size() < 4096 && recv(fd, &c, 1, 0) == 1 && c != '\n') reply += c;
  close(fd);
  return true;
}

bool ServeInstance(LinuxApp& app, const std::string& socketPath) {
  std::string ignored;
  if (SendToInstance(socketPath, "hello\n", ignored)) return false;
  MakeDirectories(DirectoryOf(socketPath));
  // A socket left by a crashed instance answers nobody: take its place.
  QLocalServer::removeServer(QString::fromStdString(socketPath));
  server = new QLocalServer;
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(QString::fromStdString(socketPath))) {
    Warn("cannot listen at %s (%s): 'tidemere exit' and '--theme' will not reach this instance",
         socketPath.c_str(), server->errorString().toUtf8().constData());
    return true;
  }
  QObject::connect(server, &QLocalServer::newConnection, [&app] {
    while (QLocalSocket* client = server->nextPendingConnection()) Serve(app, client);
  });
  Log("[instance] listening at %s", socketPath.c_str());
  return true;
}

void StopServingInstance() {
  delete server;  // closes and removes the socket file
  server = nullptr;
}
