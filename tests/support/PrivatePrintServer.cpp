#include "PrivatePrintServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

bool writeText(const QString& path, const QByteArray& text) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size();
}

// A printer that takes PDF and hands it on through the print system's own
// pass-through filter. A queue without any filter (a raw queue) would start
// nothing for a file device, and nothing would be written.
QByteArray printerDescription() {
  return "*PPD-Adobe: \"4.3\"\n"
         "*FormatVersion: \"4.3\"\n"
         "*FileVersion: \"1.0\"\n"
         "*LanguageVersion: English\n"
         "*LanguageEncoding: ISOLatin1\n"
         "*PCFileName: \"TESSERA.PPD\"\n"
         "*Manufacturer: \"WML Tessera\"\n"
         "*Product: \"(Test file printer)\"\n"
         "*ModelName: \"Test file printer\"\n"
         "*ShortNickName: \"Test file printer\"\n"
         "*NickName: \"Test file printer\"\n"
         "*PSVersion: \"(3010.000) 0\"\n"
         "*LanguageLevel: \"3\"\n"
         "*ColorDevice: False\n"
         "*DefaultColorSpace: Gray\n"
         "*FileSystem: False\n"
         "*Throughput: \"1\"\n"
         "*cupsFilter: \"application/pdf 0 gziptoany\"\n"
         "*OpenUI *PageSize/Page Size: PickOne\n"
         "*DefaultPageSize: A4\n"
         "*PageSize A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
         "*CloseUI: *PageSize\n"
         "*OpenUI *PageRegion: PickOne\n"
         "*DefaultPageRegion: A4\n"
         "*PageRegion A4/A4: \"<</PageSize[595 842]>>setpagedevice\"\n"
         "*CloseUI: *PageRegion\n"
         "*DefaultImageableArea: A4\n"
         "*ImageableArea A4: \"18 36 577 806\"\n"
         "*DefaultPaperDimension: A4\n"
         "*PaperDimension A4: \"595 842\"\n";
}

bool acceptsConnections(const QString& socketPath) {
  const QByteArray path = QFile::encodeName(socketPath);
  sockaddr_un address{};
  if (size_t(path.size()) >= sizeof(address.sun_path))
    return false;
  address.sun_family = AF_UNIX;
  std::copy(path.cbegin(), path.cend(), address.sun_path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0)
    return false;
  const bool connected =
      ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  ::close(fd);
  return connected;
}

} // namespace

PrivatePrintServer::~PrivatePrintServer() { stop(); }

QString PrivatePrintServer::receivedFile() const { return folder_.filePath("out/received"); }
QString PrivatePrintServer::socketPath() const { return folder_.filePath("cups.sock"); }

QString PrivatePrintServer::errorLog() const {
  QFile log(folder_.filePath("log/error_log"));
  return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

bool PrivatePrintServer::writeConfiguration() {
  const QDir root(folder_.path());
  for (const char* sub : {"spool", "cache", "state", "log", "tmp", "out", "ppd"})
    if (!root.mkpath(QString::fromLatin1(sub)))
      return false;
  // The print system runs its filters as an unprivileged user when started
  // by root; they need to reach the spool inside this folder.
  QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ExeGroup | QFile::ExeOther);
  const QByteArray path = QFile::encodeName(root.path());
  // Every file the server writes stays in this folder: logs, spool, cache,
  // state, printcap and keys.
  const QByteArray files =
      "ServerRoot " + path + "\n" + "RequestRoot " + path + "/spool\n" + "TempDir " + path +
      "/tmp\n" + "CacheDir " + path + "/cache\n" + "StateDir " + path + "/state\n" + "AccessLog " +
      path + "/log/access_log\n" + "ErrorLog " + path + "/log/error_log\n" + "PageLog " + path +
      "/log/page_log\n" + "Printcap " + path + "/printcap\n" + "ServerKeychain " + path + "/ssl\n" +
      "CreateSelfSignedCerts no\n" + "FileDevice Yes\n";
  // Only the socket: no network port, no sharing, no web pages.
  const QByteArray server = "Listen " + path + "/cups.sock\n" +
                            "Browsing No\n"
                            "WebInterface No\n"
                            "LogLevel info\n"
                            "<Location />\n"
                            "  Order allow,deny\n"
                            "  Allow all\n"
                            "</Location>\n";
  const QByteArray printers = QByteArray("<DefaultPrinter ") + kQueue + ">\n" +
                              "DeviceURI file://" + path + "/out/received\n" +
                              "State Idle\n"
                              "Accepting Yes\n"
                              "Shared No\n"
                              "</DefaultPrinter>\n";
  return writeText(root.filePath("cups-files.conf"), files) &&
         writeText(root.filePath("cupsd.conf"), server) &&
         writeText(root.filePath("printers.conf"), printers) &&
         writeText(root.filePath(QStringLiteral("ppd/%1.ppd").arg(QLatin1String(kQueue))),
                   printerDescription());
}

bool PrivatePrintServer::waitUntilReady() {
  QDeadlineTimer deadline(20000);
  while (!deadline.hasExpired()) {
    if (server_.state() == QProcess::NotRunning) {
      error_ = QStringLiteral("cupsd stopped at once:\n") +
               QString::fromLocal8Bit(server_.readAll()) + errorLog();
      return false;
    }
    if (acceptsConnections(socketPath()))
      return true;
    QThread::msleep(50);
  }
  error_ = QStringLiteral("cupsd did not open its socket:\n") + errorLog();
  return false;
}

bool PrivatePrintServer::start() {
  if (!folder_.isValid()) {
    error_ = QStringLiteral("no temporary folder");
    return false;
  }
  QString cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"));
  if (cupsd.isEmpty())
    cupsd = QStandardPaths::findExecutable(QStringLiteral("cupsd"),
                                           {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
  if (cupsd.isEmpty()) {
    error_ = QStringLiteral("cupsd is missing (Debian package cups-daemon)");
    return false;
  }
  if (!writeConfiguration()) {
    error_ = QStringLiteral("cannot write the configuration in ") + folder_.path();
    return false;
  }
  server_.setProcessChannelMode(QProcess::MergedChannels);
  // The server goes with the test, even when the test is killed.
  server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
  server_.start(cupsd, {QStringLiteral("-f"), QStringLiteral("-c"), folder_.filePath("cupsd.conf"),
                        QStringLiteral("-s"), folder_.filePath("cups-files.conf")});
  if (!server_.waitForStarted(10000)) {
    error_ = QStringLiteral("cannot start cupsd: ") + server_.errorString();
    return false;
  }
  if (!waitUntilReady()) {
    stop();
    return false;
  }
  // The client reads its settings (client.conf, lpoptions) from here, so
  // neither the machine's nor the user's default printer plays a part.
  qputenv("CUPS_SERVER", QFile::encodeName(socketPath()));
  qputenv("CUPS_SERVERROOT", QFile::encodeName(folder_.path()));
  qunsetenv("PRINTER");
  qunsetenv("LPDEST");
  return true;
}

void PrivatePrintServer::stop() {
  if (server_.state() == QProcess::NotRunning)
    return;
  server_.terminate();
  if (!server_.waitForFinished(10000)) {
    server_.kill();
    server_.waitForFinished(5000);
  }
}
