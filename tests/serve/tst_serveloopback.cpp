// The server answering a real HTTP client on loopback: every content type,
// compiled decks that an independent decoder reads back as the deck, the
// editor's unsaved text, POST, traversal attempts, limits, and load.
#include "FileBytes.h"
#include "ServeClient.h"
#include "serve/HttpServer.h"
#include "serve/Site.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMutex>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <sys/inotify.h>
#include <unistd.h>

#include <memory>

using namespace tessera::serve;

namespace {

const QByteArray kDeck =
    "<?xml version=\"1.0\"?>\n"
    "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
    "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
    "<wml>\n"
    "<card id=\"first\" title=\"First &amp; best\">\n"
    "<p align=\"center\">Hello $(name), see <a href=\"#second\">more</a>.</p>\n"
    "<p><select name=\"pick\"><option value=\"a\">A</option>"
    "<option value=\"b\">B</option></select></p>\n"
    "</card>\n"
    "<card id=\"second\"><do type=\"accept\" label=\"Go\">"
    "<go href=\"http://example.com/x.wml\" method=\"post\">"
    "<postfield name=\"n\" value=\"$(name)\"/></go></do>\n"
    "<p>Second card<br/>with a break.</p></card>\n"
    "</wml>\n";

const QByteArray kLatinDeck = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                              "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                              "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                              "<wml><card id=\"c\"><p>Caf\xe9 cr\xe8me</p></card></wml>\n";

const QByteArray kSecret = "SECRET-OUTSIDE-THE-FOLDER";

QString corpusFolder() {
  const QByteArray set = qgetenv("TESSERA_CORPUS");
  return set.isEmpty() ? QStringLiteral(TESSERA_SOURCE_DIR "/../shared/corpus")
                       : QString::fromLocal8Bit(set);
}

// A deck as the sequence of what a phone reads from it: elements with their
// attributes in order of name, and text with its white space collapsed
// (the compiler may fold white space, comments carry nothing).
QStringList deckItems(const QByteArray& xml, QString* error) {
  // The WML document type's two entities, which a reader without the DTD
  // does not know.
  QByteArray text = xml;
  text.replace("&nbsp;", "&#160;").replace("&shy;", "&#173;");
  // libwbxml writes a reference without conversion as "$(name:noesc)",
  // which a phone reads as "$(name)".
  text.replace(":noesc)", ")");
  QXmlStreamReader reader(text);
  QStringList items;
  QString pending;
  auto flush = [&] {
    const QString folded = pending.simplified();
    if (!folded.isEmpty())
      items << QStringLiteral("text %1").arg(folded);
    pending.clear();
  };
  while (!reader.atEnd()) {
    switch (reader.readNext()) {
    case QXmlStreamReader::StartElement: {
      flush();
      QStringList attributes;
      for (const QXmlStreamAttribute& attribute : reader.attributes())
        attributes << QStringLiteral("%1=%2").arg(attribute.name(), attribute.value());
      attributes.sort();
      items << QStringLiteral("<%1 %2>").arg(reader.name(), attributes.join(u' '));
      break;
    }
    case QXmlStreamReader::EndElement:
      flush();
      items << QStringLiteral("</%1>").arg(reader.name());
      break;
    case QXmlStreamReader::Characters: pending += reader.text(); break;
    default: break;
    }
  }
  if (reader.hasError() && error != nullptr)
    *error = reader.errorString();
  return items;
}

// The WML source libwbxml's own decoder gives for compiled bytes.
QByteArray decodedByWbxml2xml(const QByteArray& compiled, const QString& folder) {
  const QString in = folder + "/in.wmlc";
  const QString out = folder + "/out.xml";
  QFile::remove(out);
  writeFileBytes(in, compiled);
  QProcess decoder;
  decoder.start(QStringLiteral("wbxml2xml"), {"-o", out, in});
  if (!decoder.waitForFinished(10000) || decoder.exitCode() != 0)
    return "<decoder failed: " + decoder.readAllStandardError() + decoder.readAllStandardOutput() +
           ">";
  return readFileBytes(out);
}

// Counts the opens and reads of files directly in a folder, by name.
class AccessWatch {
public:
  explicit AccessWatch(const QString& folder) : fd_(inotify_init1(IN_NONBLOCK)) {
    if (fd_ >= 0)
      inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS);
  }
  ~AccessWatch() {
    if (fd_ >= 0)
      close(fd_);
  }
  bool valid() const { return fd_ >= 0; }
  // The names touched since the last call.
  QStringList touched() {
    QStringList names;
    alignas(inotify_event) char buffer[8192];
    ssize_t length;
    while ((length = read(fd_, buffer, sizeof buffer)) > 0) {
      for (char* at = buffer; at < buffer + length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        names << QString::fromLocal8Bit(event->len > 0 ? event->name : "");
        at += sizeof(inotify_event) + event->len;
      }
    }
    return names;
  }

private:
  int fd_;
};

} // namespace

class ServeLoopbackTest : public QObject {
  Q_OBJECT
  QTemporaryDir outer;
  QString folder;
  std::unique_ptr<Site> site;
  std::unique_ptr<HttpServer> server;
  QMutex recordsMutex;
  QList<RequestRecord> records;
  QNetworkAccessManager manager;
  quint16 port = 0;

  QString sitePath(const QString& name) const { return folder + u'/' + name; }

private slots:
  void initTestCase() {
    QVERIFY(outer.isValid());
    folder = outer.filePath("site");
    QVERIFY(QDir().mkpath(folder + "/sub"));
    QVERIFY(QDir().mkpath(folder + "/empty"));
    writeFileBytes(outer.filePath("secret.txt"), kSecret);
    writeFileBytes(sitePath("index.wml"), kDeck);
    writeFileBytes(sitePath("latin.wml"), kLatinDeck);
    writeFileBytes(sitePath("sub/index.wml"), kLatinDeck);
    writeFileBytes(sitePath("form.wml"), kDeck);
    writeFileBytes(sitePath("broken.wml"), "<wml><card>");
    writeFileBytes(sitePath("lib.wmls"), "extern function f() { return 1; }\n");
    writeFileBytes(sitePath("broken.wmls"), "extern function f() { return 1 }\n");
    writeFileBytes(sitePath("pre.wmlc"), QByteArray("\x01\x04\x6a\x00\x7f\x01", 6));
    writeFileBytes(sitePath("pre.wmlsc"), QByteArray("\x01\x00\x00\x00", 4));
    writeFileBytes(sitePath("logo.wbmp"), QByteArray("\x00\x00\x08\x02\xff\x00", 6));
    writeFileBytes(sitePath("pic.png"), "\x89PNG\r\n\x1a\n-picture-");
    writeFileBytes(sitePath("pic.gif"), "GIF89a-picture-");
    writeFileBytes(sitePath("pic.jpg"), "\xff\xd8\xff-picture-");
    writeFileBytes(sitePath("pic.bmp"), "BM-picture-");
    writeFileBytes(sitePath(".hidden.wml"), kSecret);
    QVERIFY(QFile::link(outer.filePath("secret.txt"), sitePath("link-out.wml")));
    QVERIFY(QFile::link(outer.path(), sitePath("linkdir")));
    QVERIFY(QFile::link(sitePath("index.wml"), sitePath("link-in.wml")));

    site = std::make_unique<Site>(folder);
    server = std::make_unique<HttpServer>(*site, [this](const RequestRecord& record) {
      QMutexLocker lock(&recordsMutex);
      records.append(record);
    });
    ServerSettings settings;
    settings.port = 0;
    QString error;
    QVERIFY2(server->start(settings, &error), qPrintable(error));
    port = server->port();
    QVERIFY(port != 0);
  }

  void contentTypes_data() {
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("accept");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("contentType");
    QTest::addColumn<QString>("sameBytesAs"); // a file of the site; empty: not checked
    const QByteArray wml = "text/vnd.wap.wml; charset=utf-8";
    const QByteArray wmlc = "application/vnd.wap.wmlc";
    auto row = [](const char* name, const char* path, const char* accept, int status,
                  const QByteArray& type, const char* same = "") {
      QTest::newRow(name) << QByteArray("GET") << QString(path) << QByteArray(accept) << status
                          << type << QString(same);
    };
    row("deck as text", "/index.wml", "", 200, wml, "index.wml");
    row("deck, text preferred", "/index.wml", "text/vnd.wap.wml, application/vnd.wap.wmlc;q=0.9",
        200, wml, "index.wml");
    row("deck compiled", "/index.wml", "application/vnd.wap.wmlc, text/vnd.wap.wml;q=0.5", 200,
        wmlc);
    row("deck charset", "/latin.wml", "", 200, "text/vnd.wap.wml; charset=iso-8859-1", "latin.wml");
    row("compiled by name", "/index.wmlc", "", 200, wmlc);
    row("compiled file as it is", "/pre.wmlc", "", 200, wmlc, "pre.wmlc");
    row("script", "/lib.wmls", "", 200, "text/vnd.wap.wmlscript; charset=utf-8", "lib.wmls");
    row("script compiled by name", "/lib.wmlsc", "", 200, "application/vnd.wap.wmlscriptc");
    row("script compiled", "/lib.wmls", "application/vnd.wap.wmlscriptc", 200,
        "application/vnd.wap.wmlscriptc");
    row("script that does not compile", "/broken.wmlsc", "", 500, "text/plain; charset=utf-8");
    row("compiled script file", "/pre.wmlsc", "", 200, "application/vnd.wap.wmlscriptc",
        "pre.wmlsc");
    row("wbmp", "/logo.wbmp", "", 200, "image/vnd.wap.wbmp", "logo.wbmp");
    row("png", "/pic.png", "", 200, "image/png", "pic.png");
    row("gif", "/pic.gif", "", 200, "image/gif", "pic.gif");
    row("jpeg", "/pic.jpg", "", 200, "image/jpeg", "pic.jpg");
    row("bmp", "/pic.bmp", "", 200, "image/bmp", "pic.bmp");
    row("folder's index", "/", "", 200, wml, "index.wml");
    row("sub-folder's index", "/sub/", "", 200, "text/vnd.wap.wml; charset=iso-8859-1",
        "sub/index.wml");
    row("link inside", "/link-in.wml", "", 200, wml, "index.wml");
    row("no listing", "/empty/", "", 404, "text/plain; charset=utf-8");
    row("missing", "/missing.wml", "", 404, "text/plain; charset=utf-8");
    row("missing compiled", "/missing.wmlc", "", 404, "text/plain; charset=utf-8");
    row("neither form taken", "/index.wml", "image/png", 406, "text/plain; charset=utf-8");
    row("deck that does not compile", "/broken.wml", "application/vnd.wap.wmlc", 500,
        "text/plain; charset=utf-8");
    row("broken deck as text", "/broken.wml", "", 200, wml, "broken.wml");
    QTest::newRow("HEAD") << QByteArray("HEAD") << "/index.wml" << QByteArray() << 200 << wml
                          << QString();
    QTest::newRow("PUT") << QByteArray("PUT") << "/index.wml" << QByteArray() << 405
                         << QByteArray("text/plain; charset=utf-8") << QString();
    QTest::newRow("DELETE") << QByteArray("DELETE") << "/index.wml" << QByteArray() << 405
                            << QByteArray("text/plain; charset=utf-8") << QString();
  }
  void contentTypes() {
    QFETCH(QByteArray, method);
    QFETCH(QString, path);
    QFETCH(QByteArray, accept);
    QFETCH(int, status);
    QFETCH(QByteArray, contentType);
    QFETCH(QString, sameBytesAs);
    const ClientReply reply = fetch(manager, port, method, path, accept);
    QCOMPARE(reply.status, status);
    QCOMPARE(reply.contentType, contentType);
    if (!sameBytesAs.isEmpty())
      QCOMPARE(reply.body, readFileBytes(sitePath(sameBytesAs)));
    else if (contentType == "application/vnd.wap.wmlscriptc" && method == "GET")
      QVERIFY(reply.body.startsWith('\x01')); // bytecode of WMLScript 1.1
    if (path == "/broken.wmlsc")
      QVERIFY2(reply.body.contains("1:"), reply.body.constData()); // the first error's place
    if (method == "HEAD") {
      QVERIFY(reply.body.isEmpty());
      QCOMPARE(reply.contentLength, qint64(kDeck.size()));
    }
    if (status == 405)
      QCOMPARE(reply.allow, QByteArray("GET, HEAD, POST"));
    // A deck or script asked for by its own name comes in the form the
    // client prefers, which a cache on the way must know.
    const bool negotiated = path.endsWith(".wml") || path.endsWith(".wmls") || path.endsWith('/');
    if (status == 200 || status == 406)
      QCOMPARE(reply.vary, negotiated ? QByteArray("Accept") : QByteArray());
  }

  void folderWithoutSlashMoves() {
    const ClientReply reply = fetch(manager, port, "GET", "/sub");
    QCOMPARE(reply.status, 301);
    QCOMPARE(reply.location, QByteArray("/sub/"));
  }

  void compiledDecodesToTheDeck_data() {
    QTest::addColumn<QByteArray>("deck");
    QTest::newRow("variables, links, lists") << kDeck;
    QTest::newRow("latin-1") << kLatinDeck;
    QDir corpus(corpusFolder() + "/wml");
    for (const QString& name : corpus.entryList({"*.wml"}, QDir::Files, QDir::Name))
      QTest::newRow(qPrintable("corpus " + name)) << readFileBytes(corpus.filePath(name));
  }
  void compiledDecodesToTheDeck() {
    QFETCH(QByteArray, deck);
    if (QStandardPaths::findExecutable("wbxml2xml").isEmpty())
      QSKIP("libwbxml2's wbxml2xml is not installed");
    QString readable;
    const QStringList expected = deckItems(deck, &readable);
    if (!readable.isEmpty())
      QSKIP(qPrintable("not a well-formed deck: " + readable));
    writeFileBytes(sitePath("decoded.wml"), deck);
    const ClientReply reply =
        fetch(manager, port, "GET", "/decoded.wml", "application/vnd.wap.wmlc");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.contentType, QByteArray("application/vnd.wap.wmlc"));
    const QByteArray source = decodedByWbxml2xml(reply.body, outer.path());
    // Debian's libwbxml2 is built without iconv and converts no charset but UTF-8.
    if (source.contains("No built-in charset converter"))
      QSKIP("this wbxml2xml cannot read a compiled deck in ISO-8859-1");
    QString error;
    const QStringList decoded = deckItems(source, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(decoded, expected);
  }

  void compiledOncePerRevision() {
    writeFileBytes(sitePath("rev.wml"), kDeck);
    const int before = site->cache().compilations();
    for (int i = 0; i < 3; ++i)
      QCOMPARE(fetch(manager, port, "GET", "/rev.wmlc").status, 200);
    QCOMPARE(site->cache().compilations(), before + 1);
    writeFileBytes(sitePath("rev.wml"), QByteArray(kDeck).replace("First", "Changed"));
    const ClientReply changed = fetch(manager, port, "GET", "/rev.wmlc");
    QCOMPARE(site->cache().compilations(), before + 2);
    QVERIFY(decodedByWbxml2xml(changed.body, outer.path()).contains("Changed"));
  }

  void unsavedTextServed() {
    const QString edited = QString::fromLatin1(kDeck).replace("Second card", "Edited card");
    site->setEditorText(sitePath("form.wml"), edited, "utf-8");
    QCOMPARE(fetch(manager, port, "GET", "/form.wml").body, edited.toUtf8());
    const ClientReply compiled = fetch(manager, port, "GET", "/form.wmlc");
    QCOMPARE(compiled.status, 200);
    QVERIFY(decodedByWbxml2xml(compiled.body, outer.path()).contains("Edited card"));
    // In the document's charset, and in UTF-8 when a character does not fit.
    site->setEditorText(sitePath("form.wml"), QString::fromUtf8("<wml>caf\u00e9</wml>"),
                        "ISO-8859-1");
    ClientReply latin = fetch(manager, port, "GET", "/form.wml");
    QCOMPARE(latin.contentType, QByteArray("text/vnd.wap.wml; charset=iso-8859-1"));
    QCOMPARE(latin.body, QByteArray("<wml>caf\xe9</wml>"));
    site->setEditorText(sitePath("form.wml"), QString::fromUtf8("<wml>\u20ac</wml>"), "iso-8859-1");
    latin = fetch(manager, port, "GET", "/form.wml");
    QCOMPARE(latin.contentType, QByteArray("text/vnd.wap.wml; charset=utf-8"));
    QCOMPARE(latin.body, QByteArray("<wml>\xe2\x82\xac</wml>"));
    // A document not saved under its name yet, and a document outside the folder.
    site->setEditorText(sitePath("new.wml"), "<wml>new</wml>", "utf-8");
    QCOMPARE(fetch(manager, port, "GET", "/new.wml").body, QByteArray("<wml>new</wml>"));
    site->setEditorText(outer.filePath("secret.txt"), "<wml/>", "utf-8");
    QCOMPARE(fetch(manager, port, "GET", "/secret.txt").status, 404);
    site->clearEditorText();
    QCOMPARE(fetch(manager, port, "GET", "/form.wml").body, kDeck);
    QCOMPARE(fetch(manager, port, "GET", "/new.wml").status, 404);
  }

  void postAnswered_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("bodyType");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("listing");
    const QByteArray form = "application/x-www-form-urlencoded";
    QTest::newRow("form fields")
        << "/form.wml" << QByteArray("name=Ann+Lee&city=%C3%85s") << form << 200
        << QString::fromUtf8("name = Ann Lee<br/>\ncity = \u00c5s").toUtf8();
    QTest::newRow("markup in a value") << "/form.wml" << QByteArray("q=%3Cb%3E%24x") << form << 200
                                       << QByteArray("q = &lt;b&gt;$$x");
    QTest::newRow("no fields") << "/form.wml" << QByteArray() << form << 200
                               << QByteArray("No fields.");
    QTest::newRow("folder's deck")
        << "/" << QByteArray("a=1") << form << 200 << QByteArray("a = 1");
    QTest::newRow("multipart")
        << "/form.wml"
        << QByteArray("--XyZ\r\nContent-Disposition: form-data; name=\"who\"\r\n\r\nBo\r\n"
                      "--XyZ--\r\n")
        << QByteArray("multipart/form-data; boundary=XyZ") << 200 << QByteArray("who = Bo");
    QTest::newRow("not a deck") << "/pic.png" << QByteArray("a=1") << form << 405 << QByteArray();
  }
  void postAnswered() {
    QFETCH(QString, path);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, bodyType);
    QFETCH(int, status);
    QFETCH(QByteArray, listing);
    {
      QMutexLocker lock(&recordsMutex);
      records.clear();
    }
    const ClientReply reply = fetch(manager, port, "POST", path, {}, body, bodyType);
    QCOMPARE(reply.status, status);
    if (status == 200) {
      QCOMPARE(reply.contentType, QByteArray("text/vnd.wap.wml; charset=utf-8"));
      QVERIFY2(reply.body.contains(listing), reply.body.constData());
    } else {
      QCOMPARE(reply.allow, QByteArray("GET, HEAD"));
    }
    QMutexLocker lock(&recordsMutex);
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.first().method, QByteArray("POST"));
    QCOMPARE(records.first().status, status);
  }

  void postCompiled() {
    const ClientReply reply = fetch(manager, port, "POST", "/form.wml", "application/vnd.wap.wmlc",
                                    "x=7", "application/x-www-form-urlencoded");
    QCOMPARE(reply.status, 200);
    QCOMPARE(reply.contentType, QByteArray("application/vnd.wap.wmlc"));
    QVERIFY(decodedByWbxml2xml(reply.body, outer.path()).contains("x = 7"));
  }

  void traversalRefused_data() {
    QTest::addColumn<QByteArray>("target");
    QTest::newRow("climb") << QByteArray("/../secret.txt");
    QTest::newRow("climb from a folder") << QByteArray("/sub/../../secret.txt");
    QTest::newRow("encoded dots") << QByteArray("/%2e%2e/secret.txt");
    QTest::newRow("encoded upper case") << QByteArray("/%2E%2E%2Fsecret.txt");
    QTest::newRow("encoded slash") << QByteArray("/sub/..%2f..%2fsecret.txt");
    QTest::newRow("encoded backslash") << QByteArray("/..%5csecret.txt");
    QTest::newRow("double slash") << QByteArray("//secret.txt");
    QTest::newRow("absolute URL") << QByteArray("http://127.0.0.1/../secret.txt");
    QTest::newRow("symbolic link out") << QByteArray("/link-out.wml");
    QTest::newRow("through a linked folder") << QByteArray("/linkdir/secret.txt");
    QTest::newRow("compiled through a link") << QByteArray("/link-out.wmlc");
    QTest::newRow("hidden file") << QByteArray("/.hidden.wml");
    QTest::newRow("hidden, encoded") << QByteArray("/%2ehidden.wml");
    QTest::newRow("NUL") << QByteArray("/index.wml%00/../../secret.txt");
    QTest::newRow("NUL before a suffix") << QByteArray("/index.wml%00.png");
  }
  void traversalRefused() {
    QFETCH(QByteArray, target);
    AccessWatch watch(outer.path());
    QVERIFY(watch.valid());
    const QByteArray answer =
        rawExchange(port, "GET " + target + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const int status = rawStatus(answer);
    QVERIFY2(status >= 400 && status < 500, answer.constData());
    QVERIFY(!answer.contains(kSecret));
    // Nothing outside the folder was even opened.
    QCOMPARE(watch.touched().filter(QStringLiteral("secret")), QStringList());
  }

  void absolutePathStaysInside() {
    // A path of the machine is a path below the folder.
    const ClientReply reply =
        fetch(manager, port, "GET", QDir(outer.path()).absoluteFilePath("secret.txt"));
    QCOMPARE(reply.status, 404);
    QVERIFY(!reply.body.contains(kSecret));
  }

  void oversizedCutOff_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::newRow("request line") << "GET /" + QByteArray(64 * 1024, 'a') +
                                         " HTTP/1.1\r\nHost: x\r\n\r\n";
    QTest::newRow("headers") << "GET / HTTP/1.1\r\nHost: x\r\nX-Big: " +
                                    QByteArray(64 * 1024, 'b') + "\r\n\r\n";
    QTest::newRow("many headers") << "GET / HTTP/1.1\r\nHost: x\r\n" +
                                         QByteArray("X-A: 1234567890\r\n").repeated(4000) + "\r\n";
    QTest::newRow("announced body")
        << QByteArray("POST /form.wml HTTP/1.1\r\nHost: x\r\nContent-Type: "
                      "application/x-www-form-urlencoded\r\nContent-Length: 10000000\r\n\r\na=1");
    QByteArray chunked = "POST /form.wml HTTP/1.1\r\nHost: x\r\nContent-Type: "
                         "application/x-www-form-urlencoded\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (int i = 0; i < 40; ++i)
      chunked += "1000\r\n" + QByteArray(0x1000, 'c') + "\r\n";
    chunked += "0\r\n\r\n";
    QTest::newRow("body without a length") << chunked;
  }
  void oversizedCutOff() {
    QFETCH(QByteArray, request);
    bool closed = false;
    const QByteArray answer = rawExchange(port, request, 5000, &closed);
    QVERIFY2(closed, "the connection stayed open");
    const int status = rawStatus(answer);
    QVERIFY2(status == 0 || status == 413 || status == 414 || status == 431 || status == 400,
             answer.left(200).constData());
    QCOMPARE(fetch(manager, port, "GET", "/index.wml").status, 200);
  }

  void slowRequestsCutOff_data() {
    QTest::addColumn<int>("pieces"); // sent one a second
    QTest::newRow("stops half way") << 1;
    QTest::newRow("trickles") << 6;
  }
  void slowRequestsCutOff() {
    QFETCH(int, pieces);
    Site slowSite(folder);
    HttpServer slow(slowSite, {});
    ServerSettings settings;
    settings.port = 0;
    settings.idleSeconds = 1;
    QVERIFY(slow.start(settings));
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), slow.port());
    QVERIFY(socket.waitForConnected(3000));
    QElapsedTimer clock;
    clock.start();
    const QByteArray request = "GET /index.wml HTTP/1.1\r\nHost: x\r\n";
    for (int i = 0; i < pieces && socket.state() == QAbstractSocket::ConnectedState; ++i) {
      socket.write(request.mid(i * 2, 2));
      socket.waitForBytesWritten(1000);
      // A pause longer than the idle limit each time a second piece is due.
      if (socket.state() == QAbstractSocket::ConnectedState)
        socket.waitForDisconnected(1000 + (i > 0 ? 1500 : 0));
    }
    if (socket.state() == QAbstractSocket::ConnectedState)
      socket.waitForDisconnected(5000);
    QCOMPARE(socket.state(), QAbstractSocket::UnconnectedState);
    QVERIFY(!socket.readAll().contains("200 OK"));
    QVERIFY2(clock.elapsed() < 8000, "cut off too late");
  }

  void loadOfFiftyClients() {
    constexpr int kClients = 50;
    constexpr int kEach = 100;
    const QStringList paths{"/index.wml", "/index.wmlc", "/latin.wml", "/pic.png", "/sub/"};
    std::vector<std::unique_ptr<QNetworkAccessManager>> clients;
    int answered = 0;
    int failed = 0;
    QEventLoop loop;
    std::function<void(int, int)> next = [&](int client, int done) {
      if (done == kEach)
        return;
      const QString path = paths.at((client + done) % paths.size());
      QNetworkReply* reply = clients[size_t(client)]->get(serveRequest(port, path, {}));
      QObject::connect(reply, &QNetworkReply::finished, &loop, [&, reply, client, done, path] {
        const ClientReply got = replyOf(reply);
        reply->deleteLater();
        const bool ok =
            got.status == 200 && !got.body.isEmpty() && (path != "/index.wml" || got.body == kDeck);
        ++(ok ? answered : failed);
        if (answered + failed == kClients * kEach)
          loop.quit();
        next(client, done + 1);
      });
    };
    QElapsedTimer clock;
    clock.start();
    for (int client = 0; client < kClients; ++client) {
      clients.push_back(std::make_unique<QNetworkAccessManager>());
      next(client, 0);
    }
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    qInfo("%d requests from %d clients in %lld ms", answered + failed, kClients, clock.elapsed());
    QCOMPARE(failed, 0);
    QCOMPARE(answered, kClients * kEach);
    QCOMPARE(fetch(manager, port, "GET", "/index.wml").body, kDeck);
  }

  void portTakenIsReported() {
    HttpServer second(*site, {});
    ServerSettings settings;
    settings.port = port;
    QString error;
    QVERIFY(!second.start(settings, &error));
    QVERIFY(error.contains(QString::number(port)));
    QVERIFY(!second.isRunning());
  }

  void cleanupTestCase() {
    server->stop();
    QVERIFY(rawExchange(port, "GET / HTTP/1.1\r\nHost: x\r\n\r\n", 1000).isEmpty());
  }
};

QTEST_GUILESS_MAIN(ServeLoopbackTest)
#include "tst_serveloopback.moc"
