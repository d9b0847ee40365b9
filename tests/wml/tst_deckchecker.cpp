#include "wml/check/DeckChecker.h"

#include <QTemporaryDir>
#include <QTest>

using namespace tessera::wml;
using namespace tessera::wml::check;

Q_DECLARE_METATYPE(tessera::wml::Severity)

// One small deck per rule, each with the one finding it must give, at its
// exact line and column.
class DeckCheckerTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void oneFindingPerFault_data();
  void oneFindingPerFault();
  void doctypeWarnings_data();
  void doctypeWarnings();
  void localFiles_data();
  void localFiles();
  void cardIdsAreXmlNames_data();
  void cardIdsAreXmlNames();
  void sortedAndPlacedPastLine65535();
  void notWellFormedStopsThere();

private:
  QTemporaryDir dir_;
};

namespace {

// Line 1: XML declaration, line 2: DOCTYPE, line 3: <wml>; the body starts
// on line 4.
QString deck(const QString& body, const QString& version = QStringLiteral("1.1")) {
  return QStringLiteral("<?xml version=\"1.0\"?>\n"
                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML %1//EN\" "
                        "\"http://www.wapforum.org/DTD/wml_%1.xml\">\n"
                        "<wml>\n")
             .arg(version) +
         body + QStringLiteral("\n</wml>\n");
}

QString describe(const QList<Finding>& findings) {
  QStringList lines;
  for (const Finding& f : findings)
    lines << QStringLiteral("%1:%2: %3: %4")
                 .arg(f.start.line)
                 .arg(f.start.column)
                 .arg(severityName(f.severity), f.message);
  return lines.join('\n');
}

} // namespace

void DeckCheckerTest::initTestCase() {
  QVERIFY(dir_.isValid());
  QFile present(dir_.filePath("present.wml"));
  QVERIFY(present.open(QIODevice::WriteOnly));
}

void DeckCheckerTest::oneFindingPerFault_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("line");
  QTest::addColumn<int>("column");
  QTest::addColumn<Severity>("severity");
  QTest::addColumn<QString>("says");
  const Severity error = Severity::Error;
  const Severity warning = Severity::Warning;

  QTest::newRow("duplicate card id")
      << deck("<card id=\"a\"><p>x</p></card>\n<card id=\"a\"><p>y</p></card>") << 5 << 1 << error
      << "id \"a\" of this <card> is already used by the card on line 4";
  QTest::newRow("href to a missing card")
      << deck("<card id=\"a\"><p><a href=\"#b\">x</a></p></card>") << 4 << 17 << error
      << "href \"#b\" of <a> points to a card that does not exist";
  QTest::newRow("ontimer to a missing card")
      << deck("<card id=\"a\" ontimer=\"#nope\">\n<timer value=\"5\"/><p/></card>") << 4 << 1
      << error << "ontimer \"#nope\" of <card>";
  QTest::newRow("onenterforward to a missing card")
      << deck("<card id=\"a\">\n<onevent type=\"onpick\"><go href=\"#a\"/></onevent></card>\n"
              "<card id=\"b\" onenterforward=\"#c\"/>")
      << 6 << 1 << error << "onenterforward \"#c\" of <card>";
  QTest::newRow("onpick to a missing card")
      << deck("<card id=\"a\"><p><select>\n  <option onpick=\"#z\">x</option></select></p></card>")
      << 5 << 3 << error << "onpick \"#z\" of <option>";
  QTest::newRow("lone dollar in text")
      << deck("<card id=\"a\"><p>Price 5$ only</p></card>") << 4 << 24 << error
      << "in the text of <p>: a lone \"$\" must be written \"$$\"";
  QTest::newRow("unclosed variable") << deck("<card id=\"a\"><p>\n  $(name</p></card>") << 5 << 3
                                     << error << "lacks its closing \")\"";
  QTest::newRow("unknown conversion in an attribute")
      << deck("<card id=\"a\" title=\"$(n:x)\"><p/></card>") << 4 << 21 << error
      << "the attribute \"title\" of <card>: the conversion";
  QTest::newRow("no name after $(") << deck("<card id=\"a\"><p>$(1)</p></card>") << 4 << 17 << error
                                    << "must be followed by a variable name";
  QTest::newRow("second timer")
      << deck("<card id=\"a\" ontimer=\"#a\">\n<timer value=\"10\"/>\n<timer value=\"20\"/>\n"
              "<p/></card>")
      << 6 << 1 << error << "already has a <timer> (line 5)";
  QTest::newRow("timer without target")
      << deck("<card id=\"a\">\n  <timer value=\"10\"/><p/></card>") << 5 << 3 << warning
      << "The <timer> has no target";
  QTest::newRow("two do with one name in a card")
      << deck("<card id=\"a\">\n<do type=\"accept\"><go href=\"#a\"/></do>\n"
              "<p><do type=\"accept\" label=\"x\"><prev/></do></p>\n</card>")
      << 6 << 4 << error << "Another <do> in this card (line 5) already has the name \"accept\"";
  QTest::newRow("two do with one name in the template")
      << deck("<template>\n<do type=\"prev\" name=\"back\"><prev/></do>\n"
              "<do type=\"accept\" name=\"back\"><prev/></do>\n</template>\n"
              "<card id=\"a\"><p/></card>")
      << 6 << 1 << error << "in the template (line 5) already has the name \"back\"";
  QTest::newRow("two onevent of one type")
      << deck("<card id=\"a\">\n<onevent type=\"onenterforward\"><noop/></onevent>\n"
              "<onevent type=\"onenterforward\"><prev/></onevent>\n<p/></card>")
      << 6 << 1 << error << "<card> already has an <onevent> of type \"onenterforward\"";
  QTest::newRow("format with a stray letter")
      << deck("<card id=\"a\"><p><input name=\"n\" format=\"NNQ\"/></p></card>") << 4 << 17 << error
      << "format \"NNQ\" of <input> is not a valid input mask: \"Q\" is not a format code";
  QTest::newRow("format with a count before the end")
      << deck("<card id=\"a\"><p><input name=\"n\" format=\"3NA\"/></p></card>") << 4 << 17 << error
      << "\"3\" must be followed by one format code and end the mask";
  QTest::newRow("undefined entity") << deck("<card id=\"a\"><p>a &foo; b</p></card>") << 4 << 19
                                    << error << "The entity &foo; is not defined";
  QTest::newRow("accesskey in 1.1")
      << deck("<card id=\"a\"><p><a accesskey=\"1\" href=\"#a\">x</a></p></card>") << 4 << 17
      << error << "attribute \"accesskey\" of <a> is WML 1.2; this deck is WML 1.1";
  QTest::newRow("accesskey of input in 1.1")
      << deck("<card id=\"a\"><p>\n<input name=\"n\" accesskey=\"2\"/></p></card>") << 5 << 1
      << error << "\"accesskey\" of <input> is WML 1.2";
  QTest::newRow("pre in 1.1") << deck("<card id=\"a\"><pre>x</pre></card>") << 4 << 14 << error
                              << "The element <pre> is WML 1.2; this deck is WML 1.1";
  QTest::newRow("enctype in 1.1")
      << deck("<card id=\"a\"><p><anchor>x\n<go href=\"#a\" enctype=\"multipart/form-data\"/>"
              "</anchor></p></card>")
      << 5 << 1 << error << "\"enctype\" of <go> is WML 1.2";
  QTest::newRow("cache-control in 1.2")
      << deck("<card id=\"a\"><p><anchor>x<go href=\"#a\" cache-control=\"no-cache\"/></anchor>"
              "</p></card>",
              "1.2")
      << 4 << 26 << error << "\"cache-control\" of <go> is WML 1.3; this deck is WML 1.2";
  QTest::newRow("empty href") << deck("<card id=\"a\"><p><a href=\"\">x</a></p></card>") << 4 << 17
                              << error << "The href of <a> is empty";
  QTest::newRow("empty href of go")
      << deck("<card id=\"a\">\n<do type=\"accept\"><go href=\"\"/></do></card>") << 5 << 19
      << error << "The href of <go> is empty";
  QTest::newRow("value outside an enumeration")
      << deck("<card id=\"a\"><p align=\"middle\">x</p></card>") << 4 << 14 << error
      << "The attribute \"align\" of <p> cannot be \"middle\"; it may be \"left\", \"right\", "
         "\"center\"";
  QTest::newRow("required attribute missing")
      << deck("<card id=\"a\"><p><img src=\"a.wbmp\"/></p></card>") << 4 << 17 << error
      << "The element <img> needs the attribute \"alt\"";
  QTest::newRow("element in the wrong place")
      << deck("<card id=\"a\">\n<br/></card>") << 5 << 1 << error
      << "<br> must be inside a <p> in a <card>. The element <card> may hold only";
  QTest::newRow("unknown element")
      << deck("<card id=\"a\"><p><blink>x</blink></p></card>") << 4 << 17 << error
      << "The element <blink> does not exist in WML 1.1";
  QTest::newRow("unknown attribute")
      << deck("<card id=\"a\"><p color=\"red\">x</p></card>") << 4 << 14 << error
      << "The element <p> has no attribute \"color\" in WML 1.1";
  QTest::newRow("id used twice by other elements")
      << deck("<card id=\"a\"><p id=\"x\">1</p>\n<p id=\"x\">2</p></card>") << 5 << 1 << error
      << "The id \"x\" is already used by another element";
  QTest::newRow("column counts characters")
      << deck(QString::fromUtf8("<card id=\"a\" title=\"\xc3\xa4\xe2\x82\xac\"><p><a href=\"#b\">"
                                "x</a></p></card>"))
      << 4 << 28 << error << "points to a card that does not exist";
}

void DeckCheckerTest::oneFindingPerFault() {
  QFETCH(QString, text);
  QFETCH(int, line);
  QFETCH(int, column);
  QFETCH(Severity, severity);
  QFETCH(QString, says);
  const QList<Finding> found = checkDeck(text);
  QVERIFY2(found.size() == 1, qPrintable(describe(found)));
  QCOMPARE(found[0].start.line, line);
  QCOMPARE(found[0].start.column, column);
  QCOMPARE(found[0].severity, severity);
  QVERIFY2(found[0].message.contains(says), qPrintable(found[0].message));
}

// A card id is an XML ID: a Name, which starts with a letter (any
// script's), '_' or ':' and goes on with letters, digits, '.', '-', '_',
// ':' and combining marks. A link to the card by that id finds it.
void DeckCheckerTest::cardIdsAreXmlNames_data() {
  QTest::addColumn<QString>("id");
  QTest::addColumn<QString>("version");
  QTest::addColumn<bool>("valid");
  QTest::newRow("ASCII letters") << "start"
                                 << "1.1" << true;
  QTest::newRow("ASCII name characters") << "a.b-c_d:e9"
                                         << "1.1" << true;
  QTest::newRow("underscore first") << "_x"
                                    << "1.1" << true;
  QTest::newRow("Latin-1 letter") << QString::fromUtf8("caf\xc3\xa9") << "1.1" << true;
  QTest::newRow("Latin-1 letter first") << QString::fromUtf8("\xc3\xa9t\xc3\xa9") << "1.3" << true;
  QTest::newRow("Greek") << QString::fromUtf8("\xce\xb1\xce\xb2\xce\xb3") << "1.1" << true;
  QTest::newRow("ideographs") << QString::fromUtf8("\xe6\x9d\xb1\xe4\xba\xac") << "1.2" << true;
  QTest::newRow("combining mark after a letter") << QString::fromUtf8("e\xcc\x81") << "1.1" << true;
  QTest::newRow("digit first") << "1abc"
                               << "1.1" << false;
  QTest::newRow("hyphen first") << "-a"
                                << "1.1" << false;
  QTest::newRow("exclamation mark") << "a!b"
                                    << "1.1" << false;
  QTest::newRow("space inside") << "a b"
                                << "1.1" << false;
  QTest::newRow("non-ASCII punctuation") << QString::fromUtf8("a\xc2\xab"
                                                              "b")
                                         << "1.1" << false;
  QTest::newRow("combining mark first") << QString::fromUtf8("\xcc\x81"
                                                             "e")
                                        << "1.1" << false;
}

void DeckCheckerTest::cardIdsAreXmlNames() {
  QFETCH(QString, id);
  QFETCH(QString, version);
  QFETCH(bool, valid);
  const QList<Finding> found =
      checkDeck(deck(QStringLiteral("<card id=\"%1\" title=\"A\">\n<p><a href=\"#%1\">again</a>"
                                    "</p></card>")
                         .arg(id),
                     version));
  if (valid) {
    QVERIFY2(found.isEmpty(), qPrintable(describe(found)));
    return;
  }
  QVERIFY2(found.size() == 1, qPrintable(describe(found)));
  QCOMPARE(found[0].start.line, 4);
  QCOMPARE(found[0].severity, Severity::Error);
  QCOMPARE(found[0].message, "The value of the attribute \"id\" of <card> is not valid here.");
}

void DeckCheckerTest::doctypeWarnings_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("line");
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("says");
  const QString body = "<wml><card id=\"a\"><p>x&nbsp;y</p></card></wml>\n";
  QTest::newRow("no DOCTYPE") << "<?xml version=\"1.0\"?>\n" + body << 1 << 1
                              << "The deck has no DOCTYPE; it is checked as WML 1.1.";
  QTest::newRow("unknown public identifier")
      << "<?xml version=\"1.0\"?>\n  <!DOCTYPE wml PUBLIC \"-//X//DTD Y//EN\" \"y.dtd\">\n" + body
      << 2 << 3 << "public identifier \"-//X//DTD Y//EN\" is not WML 1.1, 1.2 or 1.3";
}

void DeckCheckerTest::doctypeWarnings() {
  QFETCH(QString, text);
  QFETCH(int, line);
  QFETCH(int, column);
  QFETCH(QString, says);
  const QList<Finding> found = checkDeck(text);
  QVERIFY2(found.size() == 1, qPrintable(describe(found)));
  QCOMPARE(found[0].severity, Severity::Warning);
  QCOMPARE(found[0].start.line, line);
  QCOMPARE(found[0].start.column, column);
  QVERIFY2(found[0].message.contains(says), qPrintable(found[0].message));

  // Still checked as 1.1: a 1.2 attribute and a wrong root are errors.
  QString wrong = text;
  wrong.replace("<p>", "<p><a accesskey=\"1\" href=\"#a\">k</a>");
  QVERIFY(describe(checkDeck(wrong)).contains("is WML 1.2; this deck is WML 1.1"));
  wrong = text;
  wrong.replace("<wml>", "<html>").replace("</wml>", "</html>");
  QVERIFY(describe(checkDeck(wrong)).contains("root element must be <wml>"));
}

void DeckCheckerTest::localFiles_data() {
  QTest::addColumn<QString>("link");
  QTest::addColumn<bool>("saved");
  QTest::addColumn<bool>("warned");
  QTest::newRow("missing file") << "nothere.wml" << true << true;
  QTest::newRow("missing file, with card") << "nothere.wml#c" << true << true;
  QTest::newRow("present file") << "present.wml" << true << false;
  QTest::newRow("present file with query and card") << "present.wml?x=1#c" << true << false;
  QTest::newRow("never saved") << "nothere.wml" << false << false;
  QTest::newRow("absolute URL") << "http://example.com/x.wml" << true << false;
  QTest::newRow("from the server root") << "/x.wml" << true << false;
  QTest::newRow("variable") << "$(page).wml" << true << false;
}

void DeckCheckerTest::localFiles() {
  QFETCH(QString, link);
  QFETCH(bool, saved);
  QFETCH(bool, warned);
  const QString text = deck("<card id=\"c\"><p>\n  <a href=\"" + link + "\">x</a></p></card>");
  const CheckOptions options{saved ? dir_.filePath("deck.wml") : QString()};
  const QList<Finding> found = checkDeck(text, options);
  if (!warned) {
    QVERIFY2(found.isEmpty(), qPrintable(describe(found)));
    return;
  }
  QVERIFY2(found.size() == 1, qPrintable(describe(found)));
  QCOMPARE(found[0], (Finding{{5, 3},
                              Severity::Warning,
                              "The href \"" + link +
                                  "\" of <a> names a file that does not exist beside the deck.",
                              "missing-file"}));
}

void DeckCheckerTest::sortedAndPlacedPastLine65535() {
  QString body = "<card id=\"a\"><p><a href=\"#x\">x</a>";
  body += QString(70000, QLatin1Char('\n'));
  body += "  <a href=\"\">y</a> $ </p></card>";
  const QList<Finding> found = checkDeck(deck(body));
  QCOMPARE(describe(found),
           QStringLiteral("4:17: error: The href \"#x\" of <a> points to a card that does not "
                          "exist: no card has the id \"x\".\n"
                          "70004:3: error: The href of <a> is empty.\n"
                          "70004:20: error: Malformed variable reference in the text of <p>: a "
                          "lone \"$\" must be written \"$$\"."));
}

void DeckCheckerTest::notWellFormedStopsThere() {
  // The tag left open, at its start, and nothing else: not the outer tags
  // the parser's recovery then finds unclosed, and a broken tree is not
  // checked further.
  const QList<Finding> found = checkDeck(deck("<card id=\"a\"><p>$\n</card>"));
  QCOMPARE(describe(found),
           QStringLiteral("4:14: error: <p> opened here is not closed before </card> on line 5."));
}

QTEST_GUILESS_MAIN(DeckCheckerTest)
#include "tst_deckchecker.moc"
