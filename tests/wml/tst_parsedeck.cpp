#include "wml/DtdFiles.h"
#include "wml/ParsedDeck.h"

#include <QTemporaryDir>
#include <QTest>

#include <libxml/tree.h>

using namespace tessera::wml;

namespace QTest {
template <> char* toString(const LineColumn& at) {
  return qstrdup(QByteArray::number(at.line) + ':' + QByteArray::number(at.column));
}
} // namespace QTest

// The parse every deck feature starts from: the tree, its places, the
// document type chosen, and that nothing outside the text is ever read.
class ParseDeckTest : public QObject {
  Q_OBJECT
private slots:
  void elementPositions();
  void positionsPastLine65535();
  void doctypeKinds_data();
  void doctypeKinds();
  void wmlEntitiesWithoutDoctype();
  void declaredEncodingIsIgnored();
  void neverReadsOutsideTheText();
  void notWellFormedHasNoTree();
  void ownDocumentTypesAreFound();
};

void ParseDeckTest::elementPositions() {
  const ParsedDeck deck = parseDeck(QString::fromUtf8("<?xml version=\"1.0\"?>\n"
                                                      "<wml>\n"
                                                      "  <card id=\"a\" title=\"\xc3\xa4<>\"><p>x "
                                                      "<b>y</b></p>\n"
                                                      "</card></wml>\n")
                                        .replace(QStringLiteral("<>"), QStringLiteral("&lt;&gt;")));
  QVERIFY(deck.wellFormed());
  const xmlNode* wml = deck.root();
  QCOMPARE(deck.position(wml), (LineColumn{2, 1}));
  const xmlNode* card = xmlFirstElementChild(const_cast<xmlNode*>(wml));
  QCOMPARE(deck.position(card), (LineColumn{3, 3}));
  const xmlNode* p = xmlFirstElementChild(const_cast<xmlNode*>(card));
  QCOMPARE(deck.position(p), (LineColumn{3, 34}));
  const xmlNode* b = xmlFirstElementChild(const_cast<xmlNode*>(p));
  QCOMPARE(deck.position(b), (LineColumn{3, 39}));
}

void ParseDeckTest::positionsPastLine65535() {
  QString text = QStringLiteral("<wml><card id=\"a\">");
  text += QString(70000, QLatin1Char('\n'));
  text += QStringLiteral("   <p>x</p></card></wml>");
  const ParsedDeck deck = parseDeck(text);
  QVERIFY(deck.wellFormed());
  const xmlNode* card = xmlFirstElementChild(deck.root());
  const xmlNode* p = xmlFirstElementChild(const_cast<xmlNode*>(card));
  QCOMPARE(deck.position(p), (LineColumn{70001, 4}));
}

void ParseDeckTest::doctypeKinds_data() {
  QTest::addColumn<QString>("prolog");
  QTest::addColumn<DoctypeKind>("kind");
  QTest::addColumn<WmlVersion>("version");
  QTest::addColumn<int>("line");
  const QString wml = "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML %1//EN\" \"http://x/%1\">\n";
  QTest::newRow("none") << "" << DoctypeKind::Missing << WmlVersion::Wml11 << 1;
  QTest::newRow("1.1") << wml.arg("1.1") << DoctypeKind::Wml << WmlVersion::Wml11 << 2;
  QTest::newRow("1.2") << wml.arg("1.2") << DoctypeKind::Wml << WmlVersion::Wml12 << 2;
  QTest::newRow("1.3") << wml.arg("1.3") << DoctypeKind::Wml << WmlVersion::Wml13 << 2;
  QTest::newRow("1.4 is unknown") << wml.arg("1.4") << DoctypeKind::Unknown << WmlVersion::Wml11
                                  << 2;
  QTest::newRow("system only") << "<!DOCTYPE wml SYSTEM \"wml.dtd\">\n"
                               << DoctypeKind::Unknown << WmlVersion::Wml11 << 2;
}

void ParseDeckTest::doctypeKinds() {
  QFETCH(QString, prolog);
  QFETCH(DoctypeKind, kind);
  QFETCH(WmlVersion, version);
  QFETCH(int, line);
  const ParsedDeck deck =
      parseDeck("<?xml version=\"1.0\"?>\n" + prolog + "<wml><card><p>a&nbsp;b</p></card></wml>\n");
  QVERIFY(deck.wellFormed());
  QCOMPARE(deck.doctypeKind(), kind);
  QCOMPARE(deck.version(), version);
  QCOMPARE(deck.doctypePosition(), (LineColumn{line, 1}));
  QVERIFY2(deck.findings().isEmpty(), qPrintable(deck.findings().value(0).message));
}

void ParseDeckTest::wmlEntitiesWithoutDoctype() {
  const ParsedDeck deck =
      parseDeck(QStringLiteral("<wml><card><p>a&nbsp;b&shy;c</p></card></wml>"));
  QVERIFY(deck.wellFormed());
  xmlChar* content = xmlNodeGetContent(deck.root());
  QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(content)), QString::fromUtf8("a\xc2\xa0"
                                                                                        "b\xc2\xad"
                                                                                        "c"));
  xmlFree(content);
}

void ParseDeckTest::declaredEncodingIsIgnored() {
  const ParsedDeck deck = parseDeck(QString::fromUtf8(
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><wml><card title=\"\xc3\xa4\"/>"
      "</wml>"));
  QVERIFY(deck.wellFormed());
  const xmlNode* card = xmlFirstElementChild(deck.root());
  xmlChar* title = xmlGetProp(card, BAD_CAST "title");
  QCOMPARE(QString::fromUtf8(reinterpret_cast<const char*>(title)), QString::fromUtf8("\xc3\xa4"));
  xmlFree(title);
}

void ParseDeckTest::neverReadsOutsideTheText() {
  QTemporaryDir dir;
  const QString secret = dir.filePath("secret.txt");
  QFile file(secret);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("SECRET");
  file.close();
  const QString url = QUrl::fromLocalFile(secret).toString();
  const ParsedDeck deck =
      parseDeck("<!DOCTYPE wml SYSTEM \"" + url + "\" [<!ENTITY leak SYSTEM \"" + url +
                "\">]>\n<wml><card><p>&leak;</p></card></wml>");
  if (xmlNode* root = deck.root()) {
    xmlChar* content = xmlNodeGetContent(root);
    QVERIFY(!QByteArray(reinterpret_cast<const char*>(content)).contains("SECRET"));
    xmlFree(content);
  }
}

void ParseDeckTest::notWellFormedHasNoTree() {
  const ParsedDeck deck = parseDeck(QStringLiteral("<wml>\n<card>\n<p>x</card></wml>"));
  QVERIFY(!deck.wellFormed());
  QVERIFY(!deck.root());
  QVERIFY(!deck.findings().isEmpty());
  QCOMPARE(deck.findings().first().start.line, 3);
  QCOMPARE(deck.findings().first().severity, Severity::Error);
}

void ParseDeckTest::ownDocumentTypesAreFound() {
  for (WmlVersion version : {WmlVersion::Wml11, WmlVersion::Wml12, WmlVersion::Wml13}) {
    const QByteArray& text = dtdText(version);
    QVERIFY(text.contains("<!ELEMENT wml (head?, template?, card+)>"));
    QVERIFY(text.contains("DTD WML " + versionName(version).toLatin1() + "//EN"));
  }
  QVERIFY(!dtdText(WmlVersion::Wml11).contains("accesskey"));
  QVERIFY(dtdText(WmlVersion::Wml12).contains("accesskey"));
  QVERIFY(dtdText(WmlVersion::Wml13).contains("cache-control"));
}

QTEST_GUILESS_MAIN(ParseDeckTest)
#include "tst_parsedeck.moc"
