#include "app/ServeCommandLine.h"

#include "app/CommandLine.h"
#include "serve/HttpServer.h"
#include "serve/RequestLog.h"
#include "serve/Site.h"

#include <QFileInfo>
#include <QMutex>

#include <csignal>
#include <optional>

namespace tessera {
namespace {

struct ServeOptions {
  QString folder;
  serve::ServerSettings settings;
};

std::optional<ServeOptions> parseServe(const QStringList& operands) {
  ServeOptions options;
  for (int i = 0; i < operands.size(); ++i) {
    const QString& word = operands.at(i);
    const bool hasValue = i + 1 < operands.size();
    if (word == QLatin1String("--port") && hasValue) {
      bool number = false;
      const uint port = operands.at(++i).toUInt(&number);
      if (!number || port > 65535)
        return std::nullopt;
      options.settings.port = quint16(port);
    } else if (word == QLatin1String("--bind") && hasValue) {
      if (!options.settings.address.setAddress(operands.at(++i)))
        return std::nullopt;
    } else if (!word.startsWith(u'-') && options.folder.isEmpty()) {
      options.folder = word;
    } else {
      return std::nullopt;
    }
  }
  if (options.folder.isEmpty())
    return std::nullopt;
  return options;
}

QString hostPart(const QHostAddress& address) {
  return address.protocol() == QAbstractSocket::IPv6Protocol
             ? QStringLiteral("[%1]").arg(address.toString())
             : address.toString();
}

} // namespace

int runServeMode(const QStringList& operands, QTextStream& out, QTextStream& err) {
  const std::optional<ServeOptions> options = parseServe(operands);
  if (!options) {
    err << "tessera: wrong use of --serve\n\n" << usageText();
    return kExitUsage;
  }
  if (!QFileInfo(options->folder).isDir()) {
    err << options->folder << ": not a folder\n";
    return kExitUsage;
  }
  // The server's threads inherit this mask, so the interruption comes to
  // the sigwait below and nowhere else.
  sigset_t stopping;
  sigemptyset(&stopping);
  sigaddset(&stopping, SIGINT);
  sigaddset(&stopping, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopping, nullptr);

  serve::Site site(options->folder);
  QMutex outMutex;
  serve::HttpServer server(site, [&](const serve::RequestRecord& record) {
    QMutexLocker lock(&outMutex);
    out << serve::logLine(record) << '\n';
    out.flush();
  });
  QString error;
  if (!server.start(options->settings, &error)) {
    err << "tessera: " << error << '\n';
    return kExitUsage;
  }
  {
    QMutexLocker lock(&outMutex);
    out << "Serving " << site.folder() << " at http://" << hostPart(options->settings.address)
        << ':' << server.port() << "/ (Ctrl+C stops)\n";
    out.flush();
  }
  int signal = 0;
  sigwait(&stopping, &signal);
  server.stop();
  QMutexLocker lock(&outMutex);
  out << "Stopped.\n";
  return kExitClean;
}

} // namespace tessera
