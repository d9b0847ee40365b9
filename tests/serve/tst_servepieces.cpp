// The server's pure decisions: content negotiation, what a request path
// names, media types and charsets, the reply to a POST, the compiled cache
// and the request log.
#include "serve/CompiledCache.h"
#include "serve/ContentTypes.h"
#include "serve/Negotiation.h"
#include "serve/PostedFields.h"
#include "serve/RequestLog.h"
#include "serve/RequestPath.h"
#include "serve/TextCharset.h"
#include "wml/check/DeckChecker.h"

#include <QTest>

#include <chrono>
#include <thread>
#include <vector>

using namespace tessera;
using namespace tessera::serve;

Q_DECLARE_METATYPE(tessera::serve::Form)
Q_DECLARE_METATYPE(tessera::serve::RequestPath::Verdict)

namespace {
constexpr char kWml[] = "text/vnd.wap.wml";
constexpr char kWmlc[] = "application/vnd.wap.wmlc";
constexpr char kScript[] = "text/vnd.wap.wmlscript";
constexpr char kScriptc[] = "application/vnd.wap.wmlscriptc";
} // namespace

class ServePiecesTest : public QObject {
  Q_OBJECT
private slots:
  void negotiation_data() {
    QTest::addColumn<QByteArray>("accept");
    QTest::addColumn<QByteArray>("textType");
    QTest::addColumn<QByteArray>("compiledType");
    QTest::addColumn<Form>("form");
    auto row = [](const char* name, const char* accept, Form form, bool script = false) {
      QTest::newRow(name) << QByteArray(accept) << QByteArray(script ? kScript : kWml)
                          << QByteArray(script ? kScriptc : kWmlc) << form;
    };
    row("no header", "", Form::Text);
    row("text only", "text/vnd.wap.wml", Form::Text);
    row("compiled only", "application/vnd.wap.wmlc", Form::Compiled);
    row("both at 1: text", "application/vnd.wap.wmlc, text/vnd.wap.wml", Form::Text);
    row("compiled higher", "application/vnd.wap.wmlc;q=1, text/vnd.wap.wml;q=0.5", Form::Compiled);
    row("text higher", "text/vnd.wap.wml;q=0.8, application/vnd.wap.wmlc;q=0.7", Form::Text);
    row("star at lower q", "*/*;q=0.5, application/vnd.wap.wmlc", Form::Compiled);
    row("star alone", "*/*", Form::Text);
    row("major range", "application/*", Form::Compiled);
    row("two ranges", "text/*;q=0.9, application/*", Form::Compiled);
    row("neither", "image/png, image/gif", Form::Refused);
    row("text refused, star", "*/*, text/vnd.wap.wml;q=0", Form::Compiled);
    row("compiled refused, star", "application/vnd.wap.wmlc;q=0, */*", Form::Text);
    row("both refused", "text/vnd.wap.wml;q=0, application/vnd.wap.wmlc;q=0", Form::Refused);
    row("upper case", "APPLICATION/VND.WAP.WMLC", Form::Compiled);
    row("bad q ignored", "application/vnd.wap.wmlc;q=abc, text/vnd.wap.wml;q=0.1", Form::Text);
    row("q above 1 ignored", "application/vnd.wap.wmlc;q=2, text/vnd.wap.wml", Form::Text);
    row("spaces", " application/vnd.wap.wmlc ; q = 0.9 , text/vnd.wap.wml ; q=0.3 ",
        Form::Compiled);
    row("other parameters", "application/vnd.wap.wmlc;level=1;q=0.6, text/vnd.wap.wml;q=0.5",
        Form::Compiled);
    row("specific beats star", "*/*;q=0.9, application/vnd.wap.wmlc;q=0.1", Form::Text);
    row("phone of the time",
        "application/vnd.wap.wmlc, application/vnd.wap.wmlscriptc, image/vnd.wap.wbmp, "
        "*/*;q=0.1",
        Form::Compiled);
    row("script compiled", "application/vnd.wap.wmlscriptc, text/vnd.wap.wmlscript;q=0.5",
        Form::Compiled, true);
    row("script text", "text/vnd.wap.wmlscript", Form::Text, true);
    row("deck types do not count for a script", "application/vnd.wap.wmlc", Form::Refused, true);
  }
  void negotiation() {
    QFETCH(QByteArray, accept);
    QFETCH(QByteArray, textType);
    QFETCH(QByteArray, compiledType);
    QFETCH(Form, form);
    QCOMPARE(negotiateForm(accept, textType, compiledType), form);
  }

  void quality_data() {
    QTest::addColumn<QByteArray>("accept");
    QTest::addColumn<double>("quality");
    QTest::newRow("absent") << QByteArray() << 1.0;
    QTest::newRow("named") << QByteArray("text/vnd.wap.wml;q=0.25") << 0.25;
    QTest::newRow("major") << QByteArray("text/*;q=0.5, */*;q=0.1") << 0.5;
    QTest::newRow("star") << QByteArray("image/png, */*;q=0.2") << 0.2;
    QTest::newRow("unnamed") << QByteArray("image/png") << 0.0;
    QTest::newRow("not a prefix") << QByteArray("text/vnd.wap.wmlscript") << 0.0;
    QTest::newRow("best of equals")
        << QByteArray("text/vnd.wap.wml;q=0.3, text/vnd.wap.wml;q=0.6") << 0.6;
  }
  void quality() {
    QFETCH(QByteArray, accept);
    QFETCH(double, quality);
    QCOMPARE(acceptQuality(accept, kWml), quality);
  }

  void requestPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<RequestPath::Verdict>("verdict");
    QTest::addColumn<QStringList>("segments");
    QTest::addColumn<bool>("folder");
    using V = RequestPath::Verdict;
    QTest::newRow("root") << "/" << V::Ok << QStringList() << false;
    QTest::newRow("file") << "/index.wml" << V::Ok << QStringList{"index.wml"} << false;
    QTest::newRow("nested") << "/a/b.wml" << V::Ok << QStringList{"a", "b.wml"} << false;
    QTest::newRow("folder") << "/a/" << V::Ok << QStringList{"a"} << true;
    QTest::newRow("space") << "/my deck.wml" << V::Ok << QStringList{"my deck.wml"} << false;
    QTest::newRow("dots inside a name") << "/a..b" << V::Ok << QStringList{"a..b"} << false;
    QTest::newRow("climb") << "/../etc/passwd" << V::Refused << QStringList() << false;
    QTest::newRow("climb deeper") << "/a/../../x" << V::Refused << QStringList() << false;
    QTest::newRow("climb at end") << "/a/.." << V::Refused << QStringList() << false;
    QTest::newRow("dot") << "/./a" << V::Refused << QStringList() << false;
    QTest::newRow("hidden") << "/.htpasswd" << V::Refused << QStringList() << false;
    QTest::newRow("hidden folder") << "/a/.git/config" << V::Refused << QStringList() << false;
    QTest::newRow("three dots") << "/..." << V::Refused << QStringList() << false;
    QTest::newRow("absolute inside") << "//etc/passwd" << V::Refused << QStringList() << false;
    QTest::newRow("empty segment") << "/a//b" << V::Refused << QStringList() << false;
    QTest::newRow("backslash climb") << "/a\\..\\..\\b" << V::Refused << QStringList() << false;
    QTest::newRow("NUL") << QString("/a") + QChar(0) + "b" << V::Refused << QStringList() << false;
    QTest::newRow("relative") << "index.wml" << V::Malformed << QStringList() << false;
    QTest::newRow("empty") << "" << V::Malformed << QStringList() << false;
    QTest::newRow("absolute URL") << "http://host/a" << V::Malformed << QStringList() << false;
  }
  void requestPath() {
    QFETCH(QString, path);
    QFETCH(RequestPath::Verdict, verdict);
    QFETCH(QStringList, segments);
    QFETCH(bool, folder);
    const RequestPath parsed = parseRequestPath(path);
    QCOMPARE(parsed.verdict, verdict);
    QCOMPARE(parsed.segments, segments);
    QCOMPARE(parsed.endsWithSlash, folder);
  }

  void servable_data() {
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("servable");
    QTest::newRow("the folder") << "/srv/site"
                                << "/srv/site" << true;
    QTest::newRow("a file") << "/srv/site"
                            << "/srv/site/a.wml" << true;
    QTest::newRow("deeper") << "/srv/site"
                            << "/srv/site/x/y/z.png" << true;
    QTest::newRow("name sharing a prefix") << "/srv/site"
                                           << "/srv/sitemap.wml" << false;
    QTest::newRow("sibling") << "/srv/site"
                             << "/srv/other/a.wml" << false;
    QTest::newRow("elsewhere") << "/srv/site"
                               << "/etc/passwd" << false;
    QTest::newRow("parent") << "/srv/site"
                            << "/srv" << false;
    QTest::newRow("hidden below") << "/srv/site"
                                  << "/srv/site/.git/config" << false;
    QTest::newRow("hidden target") << "/srv/site"
                                   << "/srv/site/a/.secret" << false;
    QTest::newRow("root with slash") << "/srv/site/"
                                     << "/srv/site/a.wml" << true;
    QTest::newRow("no root") << ""
                             << "/srv/site/a.wml" << false;
    QTest::newRow("no path") << "/srv/site"
                             << "" << false;
  }
  void servable() {
    QFETCH(QString, root);
    QFETCH(QString, path);
    QFETCH(bool, servable);
    QCOMPARE(isServable(root, path), servable);
  }

  void mediaTypes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("type");
    QTest::newRow("deck") << "a.wml" << QByteArray(kWml);
    QTest::newRow("compiled deck") << "a.wmlc" << QByteArray(kWmlc);
    QTest::newRow("script") << "lib.wmls" << QByteArray(kScript);
    QTest::newRow("compiled script") << "lib.wmlsc" << QByteArray(kScriptc);
    QTest::newRow("wbmp") << "logo.wbmp" << QByteArray("image/vnd.wap.wbmp");
    QTest::newRow("png") << "a.png" << QByteArray("image/png");
    QTest::newRow("gif") << "a.gif" << QByteArray("image/gif");
    QTest::newRow("jpeg") << "a.jpeg" << QByteArray("image/jpeg");
    QTest::newRow("jpg upper case") << "A.JPG" << QByteArray("image/jpeg");
    QTest::newRow("bmp") << "a.bmp" << QByteArray("image/bmp");
    QTest::newRow("unknown") << "a.bin" << QByteArray("application/octet-stream");
    QTest::newRow("no suffix") << "README" << QByteArray("application/octet-stream");
  }
  void mediaTypes() {
    QFETCH(QString, name);
    QFETCH(QByteArray, type);
    QCOMPARE(mediaTypeForFile(name), type);
  }

  void contentType_data() {
    QTest::addColumn<QByteArray>("type");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("header");
    QTest::newRow("deck") << QByteArray(kWml) << QByteArray("iso-8859-1")
                          << QByteArray("text/vnd.wap.wml; charset=iso-8859-1");
    QTest::newRow("script") << QByteArray(kScript) << QByteArray("utf-8")
                            << QByteArray("text/vnd.wap.wmlscript; charset=utf-8");
    QTest::newRow("compiled has none")
        << QByteArray(kWmlc) << QByteArray("utf-8") << QByteArray(kWmlc);
    QTest::newRow("picture has none")
        << QByteArray("image/png") << QByteArray("utf-8") << QByteArray("image/png");
  }
  void contentType() {
    QFETCH(QByteArray, type);
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, header);
    QCOMPARE(contentTypeHeader(type, charset), header);
  }

  void charsets_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("charset");
    QTest::newRow("declared") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><wml/>")
                              << QByteArray("iso-8859-1");
    QTest::newRow("single quotes") << QByteArray("<?xml version='1.0' encoding='windows-1251'?>")
                                   << QByteArray("windows-1251");
    QTest::newRow("no encoding") << QByteArray("<?xml version=\"1.0\"?><wml/>")
                                 << QByteArray("utf-8");
    QTest::newRow("no declaration") << QByteArray("<wml/>") << QByteArray("utf-8");
    QTest::newRow("declaration not first")
        << QByteArray(" <?xml encoding=\"latin1\"?>") << QByteArray("utf-8");
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBF<wml/>") << QByteArray("utf-8");
    QTest::newRow("utf-16 LE mark") << QByteArray("\xFF\xFE<\0w\0", 6) << QByteArray("utf-16le");
  }
  void charsets() {
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, charset);
    QCOMPARE(charsetOf(bytes), charset);
  }

  void textCoding_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("charset");
    QTest::addColumn<QByteArray>("bytes"); // empty: cannot be written
    QTest::newRow("latin-1") << QString::fromUtf8("caf\u00e9") << QByteArray("iso-8859-1")
                             << QByteArray("caf\xe9");
    QTest::newRow("utf-8") << QString::fromUtf8("caf\u00e9") << QByteArray("utf-8")
                           << QByteArray("caf\xc3\xa9");
    QTest::newRow("not in latin-1")
        << QString::fromUtf8("\u20ac") << QByteArray("iso-8859-1") << QByteArray();
    QTest::newRow("unknown charset")
        << QString("a") << QByteArray("no-such-charset") << QByteArray();
  }
  void textCoding() {
    QFETCH(QString, text);
    QFETCH(QByteArray, charset);
    QFETCH(QByteArray, bytes);
    const std::optional<QByteArray> encoded = encodeText(text, charset);
    QCOMPARE(encoded.value_or(QByteArray()), bytes);
    if (!bytes.isEmpty())
      QCOMPARE(decodeText(bytes, charset).value_or(QString()), text);
  }

  void postedFields_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QList<FormField>>("fields");
    QTest::addColumn<QString>("listing");
    QTest::newRow("none") << "/form.wml" << QList<FormField>()
                          << "<p>POST /form.wml</p>\n<p>No fields.</p>";
    QTest::newRow("two") << "/form.wml" << QList<FormField>{{"name", "Ann"}, {"age", "42"}}
                         << "<p>POST /form.wml</p>\n<p>name = Ann<br/>\nage = 42</p>";
    QTest::newRow("markup and dollars")
        << "/a&b.wml" << QList<FormField>{{"q", "<b>$(x) & 'y' \"z\"</b>"}}
        << "<p>POST /a&amp;b.wml</p>\n<p>q = &lt;b&gt;$$(x) &amp; &apos;y&apos; &quot;z&quot;"
           "&lt;/b&gt;</p>";
    QTest::newRow("placeholders stay")
        << "/f.wml" << QList<FormField>{{"%2", "%1"}} << "<p>POST /f.wml</p>\n<p>%2 = %1</p>";
  }
  void postedFields() {
    QFETCH(QString, path);
    QFETCH(QList<FormField>, fields);
    QFETCH(QString, listing);
    const QString deck = postedFieldsDeck(path, fields);
    QVERIFY2(deck.contains(listing), qPrintable(deck));
    // A phone must be able to read it: a valid deck with no finding.
    const QList<wml::Finding> findings = wml::check::checkDeck(deck);
    QVERIFY2(findings.isEmpty(), qPrintable(findings.value(0).message));
  }

  // Each step is "<source><revision>", e.g. "a1": the source a with its
  // first content; the count is how many compilations the steps cost.
  void compiledCache_data() {
    QTest::addColumn<int>("capacity");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("compilations");
    QTest::newRow("same revision") << 8 << QStringList{"a1", "a1", "a1"} << 1;
    QTest::newRow("new revision") << 8 << QStringList{"a1", "a2", "a2"} << 2;
    QTest::newRow("one revision kept") << 8 << QStringList{"a1", "a2", "a1"} << 3;
    QTest::newRow("two sources") << 8 << QStringList{"a1", "b1", "a1", "b1"} << 2;
    QTest::newRow("same bytes, two sources") << 8 << QStringList{"a1", "b1"} << 2;
    QTest::newRow("oldest dropped") << 2 << QStringList{"a1", "b1", "c1", "a1"} << 4;
    QTest::newRow("recent kept") << 2 << QStringList{"a1", "b1", "a1", "c1", "a1"} << 3;
  }
  void compiledCache() {
    QFETCH(int, capacity);
    QFETCH(QStringList, steps);
    QFETCH(int, compilations);
    CompiledCache cache(capacity);
    for (const QString& step : steps) {
      const QByteArray source = "content " + step.mid(1).toLatin1();
      const Compiled result = cache.get(step.left(1), source, [](const QByteArray& bytes) {
        return Compiled{true, "compiled " + bytes, {}};
      });
      QCOMPARE(result.bytes, "compiled " + source);
    }
    QCOMPARE(cache.compilations(), compilations);
    QVERIFY(cache.size() <= capacity);
  }

  // Requests arriving together for files not compiled yet: each revision
  // is compiled once, whoever asked first; the others wait for it.
  void compiledCacheTogether_data() {
    QTest::addColumn<QStringList>("steps"); // one thread each, started together
    QTest::addColumn<int>("compilations");
    QTest::newRow("one file") << QStringList(8, "a1") << 1;
    QTest::newRow("two files") << QStringList{"a1", "b1", "a1", "b1", "a1", "b1"} << 2;
  }
  void compiledCacheTogether() {
    QFETCH(QStringList, steps);
    QFETCH(int, compilations);
    CompiledCache cache;
    std::vector<std::thread> threads;
    QList<QByteArray> results(steps.size());
    for (qsizetype i = 0; i < steps.size(); ++i)
      threads.emplace_back([&, i] {
        const QString step = steps.at(i);
        results[i] = cache
                         .get(step.left(1), step.toLatin1(),
                              [](const QByteArray& bytes) {
                                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                return Compiled{true, "compiled " + bytes, {}};
                              })
                         .bytes;
      });
    for (std::thread& thread : threads)
      thread.join();
    QCOMPARE(cache.compilations(), compilations);
    for (qsizetype i = 0; i < steps.size(); ++i)
      QCOMPARE(results.at(i), "compiled " + steps.at(i).toLatin1());
  }

  void requestLog() {
    RequestLog log(2);
    const QDateTime noon(QDate(2024, 5, 1), QTime(12, 0, 1));
    log.append({noon, "127.0.0.1", "GET", "/a.wml", "*/*", 200, 10, false});
    log.append({noon, "127.0.0.1", "GET", "/b.wml", "", 200, 20, true});
    log.append({noon, "::1", "POST", "/c d.wml", "", 405, 30, false});
    QCOMPARE(log.rowCount(), 2);
    QCOMPARE(log.data(log.index(0, RequestLog::Path)).toString(), QString("/b.wml"));
    QCOMPARE(log.data(log.index(0, RequestLog::Compiled)).toString(), QString("compiled"));
    QCOMPARE(log.data(log.index(1, RequestLog::Status)).toInt(), 405);
    QCOMPARE(log.data(log.index(1, RequestLog::Time)).toString(), QString("12:00:01"));
    QCOMPARE(logLine(log.record(0)), QString("12:00:01 127.0.0.1 GET /b.wml 200 20 compiled"));
    QCOMPARE(logLine({noon, "::1", "GET", "/x\ny", "a/b;q=0.5\r", 404, 9, false}),
             QString("12:00:01 ::1 GET /x%0Ay 404 9 [a/b;q=0.5%0D]"));
  }
};

QTEST_GUILESS_MAIN(ServePiecesTest)
#include "tst_servepieces.moc"
