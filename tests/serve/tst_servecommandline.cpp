// "tessera --serve": the real executable started, asked, interrupted and
// its exit status and log read back; wrong command lines and a taken port.
#include "FileBytes.h"
#include "ServeClient.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

QString program() { return QCoreApplication::applicationDirPath() + "/../bin/tessera"; }

const QByteArray kDeck = "<?xml version=\"1.0\"?>\n"
                         "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                         "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                         "<wml><card id=\"a\"><p>Hi $(x)</p></card></wml>\n";

// Reads standard output until a line matches; the match, or empty after five seconds.
QRegularExpressionMatch waitForLine(QProcess& process, QByteArray& seen,
                                    const QRegularExpression& line) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 5000) {
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(seen));
    if (match.hasMatch())
      return match;
    process.waitForReadyRead(200);
    seen += process.readAllStandardOutput();
  }
  return line.match(QString::fromUtf8(seen));
}

} // namespace

class ServeCommandLineTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;

private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    writeFileBytes(dir_.filePath("index.wml"), kDeck);
  }

  void servesUntilInterrupted_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << SIGINT;
    QTest::newRow("terminated") << SIGTERM;
  }
  void servesUntilInterrupted() {
    QFETCH(int, signal);
    QProcess process;
    process.start(program(), {"--serve", dir_.path(), "--port", "0"});
    QVERIFY(process.waitForStarted(5000));
    QByteArray out;
    const QRegularExpressionMatch started =
        waitForLine(process, out, QRegularExpression("at http://127\\.0\\.0\\.1:(\\d+)/"));
    QVERIFY2(started.hasMatch(), out.constData());
    const quint16 port = quint16(started.captured(1).toUInt());

    QNetworkAccessManager manager;
    const ClientReply reply = fetch(manager, port, "GET", "/index.wml", "application/vnd.wap.wmlc");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.contentType, QByteArray("application/vnd.wap.wmlc"));
    QVERIFY(waitForLine(process, out, QRegularExpression("GET /index.wml 200 \\d+ compiled"))
                .hasMatch());
    QCOMPARE(fetch(manager, port, "GET", "/nothing.wml").status, 404);
    QVERIFY(waitForLine(process, out, QRegularExpression("GET /nothing.wml 404")).hasMatch());

    ::kill(pid_t(process.processId()), signal);
    QVERIFY(process.waitForFinished(5000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);
    // Nothing listens any more.
    QVERIFY(rawExchange(port, "GET / HTTP/1.0\r\n\r\n", 1000).isEmpty());
  }

  void wrongCommandLines_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("message");
    const QString dir = dir_.path();
    QTest::newRow("no folder") << QStringList{"--serve"}
                               << QByteArray("tessera: --serve: the folder is missing\n"
                                             "Usage: tessera --serve DIR [--port N] [--bind "
                                             "ADDRESS]\n");
    QTest::newRow("port too large")
        << QStringList{"--serve", dir, "--port", "70000"}
        << QByteArray("tessera: --port 70000: expected a number from 0 to 65535\n");
    QTest::newRow("port not a number")
        << QStringList{"--serve", dir, "--port", "http"}
        << QByteArray("tessera: --port http: expected a number from 0 to 65535\n");
    QTest::newRow("port missing") << QStringList{"--serve", dir, "--port"}
                                  << QByteArray("tessera: --port: expected N after it\n");
    QTest::newRow("not an address")
        << QStringList{"--serve", dir, "--bind", "phone"}
        << QByteArray("tessera: --bind phone: expected an IP address such as 0.0.0.0\n");
    QTest::newRow("two folders") << QStringList{"--serve", dir, dir}
                                 << QByteArray(": one folder at a time\n");
    QTest::newRow("unknown option")
        << QStringList{"--serve", dir, "--open"}
        << QByteArray("tessera: unknown option --open\nUsage: tessera --serve DIR");
    QTest::newRow("no such folder")
        << QStringList{"--serve", dir + "/none"} << QByteArray("not a folder");
    QTest::newRow("a file, not a folder")
        << QStringList{"--serve", dir + "/index.wml"} << QByteArray("not a folder");
    QTest::newRow("not this machine's address")
        << QStringList{"--serve", dir, "--bind", "192.0.2.1", "--port", "0"}
        << QByteArray("Cannot listen on 192.0.2.1");
  }
  void wrongCommandLines() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, message);
    QProcess process;
    process.start(program(), arguments);
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 2);
    const QByteArray err = process.readAllStandardError();
    QVERIFY2(err.contains(message), err.constData());
  }

  void portTaken() {
    QTcpServer taken;
    QVERIFY(taken.listen(QHostAddress::LocalHost));
    QProcess process;
    process.start(program(),
                  {"--serve", dir_.path(), "--port", QString::number(taken.serverPort())});
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(process.exitCode(), 2);
    QVERIFY(process.readAllStandardError().contains(QByteArray::number(taken.serverPort())));
  }
};

QTEST_GUILESS_MAIN(ServeCommandLineTest)
#include "tst_servecommandline.moc"
