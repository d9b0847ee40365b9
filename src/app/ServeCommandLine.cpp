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

// Nothing when the command line is wrong, after saying what is wrong.
std::optional<ServeOptions> parseServe(const ModeContext& context, int* status) {
  const QCommandLineParser& parser = context.parser;
  const QStringList operands = context.operands();
  ServeOptions options;
  if (operands.size() != 1) {
    *status = context.usageError(
        operands.isEmpty()
            ? QStringLiteral("--serve: the folder is missing")
            : QStringLiteral("--serve %1: one folder at a time").arg(operands.mid(1).join(u' ')));
    return std::nullopt;
  }
  options.folder = operands.first();
  if (parser.isSet(QStringLiteral("port"))) {
    const QString word = parser.value(QStringLiteral("port"));
    bool number = false;
    const uint port = word.toUInt(&number);
    if (!number || port > 65535) {
      *status = context.usageError(
          QStringLiteral("--port %1: expected a number from 0 to 65535").arg(word));
      return std::nullopt;
    }
    options.settings.port = quint16(port);
  }
  if (parser.isSet(QStringLiteral("bind"))) {
    const QString word = parser.value(QStringLiteral("bind"));
    if (!options.settings.address.setAddress(word)) {
      *status = context.usageError(
          QStringLiteral("--bind %1: expected an IP address such as 0.0.0.0").arg(word));
      return std::nullopt;
    }
  }
  return options;
}

QString hostPart(const QHostAddress& address) {
  return address.protocol() == QAbstractSocket::IPv6Protocol
             ? QStringLiteral("[%1]").arg(address.toString())
             : address.toString();
}

} // namespace

int runServeMode(const ModeContext& context) {
  int status = kExitUsage;
  const std::optional<ServeOptions> options = parseServe(context, &status);
  if (!options)
    return status;
  QTextStream& out = context.out;
  QTextStream& err = context.err;
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
