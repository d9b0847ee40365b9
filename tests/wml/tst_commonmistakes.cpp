// The mistakes people make writing their first decks, each with the first
// thing the checker says: at the cause, in the deck's own terms.
#include "wml/check/DeckChecker.h"

#include <QTest>

using namespace tessera::wml;

namespace {

// Line 1: XML declaration, line 2: DOCTYPE, line 3: <wml>; the body starts
// on line 4.
QString deck(const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\"?>\n"
                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                        "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                        "<wml>\n") +
         body + QStringLiteral("\n</wml>\n");
}

QString firstFindingOf(const QString& text) {
  const QList<Finding> findings = check::checkDeck(text);
  if (findings.isEmpty())
    return QStringLiteral("(nothing)");
  const Finding& f = findings.first();
  return QStringLiteral("%1:%2: %3: %4 [%5]")
      .arg(f.start.line)
      .arg(f.start.column)
      .arg(severityName(f.severity), f.message, f.rule);
}

} // namespace

class CommonMistakesTest : public QObject {
  Q_OBJECT
private slots:
  void firstFinding_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<QString>("first");
    const QString cardModel =
        QStringLiteral(" The element <card> may hold only (onevent* , timer? , (do | p)*), but ");
    auto row = [](const char* name, const char* body, const QString& first) {
      QTest::newRow(name) << QString::fromUtf8(body) << first;
    };
    row("bold left open", "<card id=\"a\"><p>\n<b>bold</p>\n</card>",
        "5:1: error: <b> opened here is not closed before </p> on line 5. [unclosed-tag]");
    row("paragraph left open", "<card id=\"a\">\n<p>one\n</card>",
        "5:1: error: <p> opened here is not closed before </card> on line 6. [unclosed-tag]");
    row("br as in HTML", "<card id=\"a\"><p>one<br>two</p></card>",
        "4:20: error: <br> opened here is not closed before </p> on line 4. [unclosed-tag]");
    row("two left open, the inner first", "<card id=\"a\"><p><i><b>x</p></card>",
        "4:20: error: <b> opened here is not closed before </p> on line 4. [unclosed-tag]");
    row("text straight in the card", "<card id=\"a\">Hello</card>",
        "4:1: error: Text must be inside a <p> in a <card>." + cardModel +
            "holds (CDATA). [not-valid]");
    row("link straight in the card", "<card id=\"a\"><a href=\"#a\">me</a></card>",
        "4:14: error: <a> must be inside a <p> in a <card>." + cardModel +
            "holds (a). [not-valid]");
    row("timer after the text", "<card id=\"a\" ontimer=\"#a\"><p>x</p><timer value=\"9\"/></card>",
        "4:1: error: In a <card>, <onevent> comes first, then the <timer>, then the <do> and "
        "<p> elements." +
            cardModel + "holds (p timer). [not-valid]");
    row("card inside a card", "<card id=\"a\"><card id=\"b\"><p>x</p></card></card>",
        "4:14: error: A <card> cannot hold another <card>; close the first with </card>." +
            cardModel + "holds (card). [not-valid]");
    row("paragraph inside a paragraph", "<card id=\"a\"><p>one<p>two</p></p></card>",
        "4:20: error: <p> cannot be inside another <p>; close the first with </p>. The element <p> "
        "may hold only (#PCDATA | em | strong | b | i | u | big | small | br | img | anchor | a | "
        "table | input | select | fieldset | do)*. [not-valid]");
    row("paragraph straight in the deck", "<p>lost</p>",
        "4:1: error: <p> must be inside a <card>.");
    row("no card at all", "<head><meta name=\"a\" content=\"b\"/></head>",
        "3:1: error: A deck needs at least one <card>.");
    row("head after the cards",
        "<card id=\"a\"><p>x</p></card><head><meta name=\"a\" "
        "content=\"b\"/></head>",
        "3:1: error: <head> must come first in <wml>, before <template> and the cards.");
    row("template after the cards", "<card id=\"a\"><p>x</p></card><template/>",
        "3:1: error: <template> must come before the cards.");
    row("empty list", "<card id=\"a\"><p><select name=\"s\"></select></p></card>",
        "4:17: error: <select> needs at least one <option>.");
    row("option without a list", "<card id=\"a\"><p><option>x</option></p></card>",
        "4:17: error: <option> must be inside a <select> or <optgroup>.");
    row("do without a task", "<card id=\"a\"><do type=\"accept\"></do><p>x</p></card>",
        "4:14: error: <do> needs exactly one task: <go>, <prev>, <noop> or <refresh>.");
    row("anchor without a task", "<card id=\"a\"><p><anchor>go on</anchor></p></card>",
        "4:17: error: <anchor> needs one task beside its text: <go>, <prev> or <refresh>.");
    row("go without href", "<card id=\"a\"><do type=\"accept\"><go/></do><p>x</p></card>",
        "4:32: error: The element <go> needs the attribute \"href\". [not-valid]");
    row("misspelt element", "<card id=\"a\"><p><tabel/></p></card>",
        "4:17: error: The element <tabel> does not exist in WML 1.1. [not-valid]");
    row("capital letters", "<CARD id=\"a\"><p>x</p></CARD>",
        "4:1: error: The element <CARD> does not exist in WML 1.1. [not-valid]");
    row("value not in the list", "<card id=\"a\"><p align=\"middle\">x</p></card>",
        "4:14: error: The attribute \"align\" of <p> cannot be \"middle\"; it may be \"left\", "
        "\"right\", \"center\". [not-valid]");
    row("attribute without quotes", "<card id=a><p>x</p></card>",
        "4:10: error: AttValue: \" or ' expected [not-well-formed]");
    row("entity of HTML", "<card id=\"a\"><p>&copy; 2002</p></card>",
        "4:17: error: The entity &copy; is not defined. [undefined-entity]");
    row("lone dollar", "<card id=\"a\"><p>5$ only</p></card>",
        "4:18: error: Malformed variable reference in the text of <p>: a lone \"$\" must be "
        "written \"$$\". [bad-variable]");
    row("link to a missing card", "<card id=\"a\"><p><a href=\"#b\">b</a></p></card>",
        "4:17: error: The href \"#b\" of <a> points to a card that does not exist: no card has "
        "the id \"b\". [dangling-card-link]");
    row("two cards with one id", "<card id=\"a\"><p>x</p></card><card id=\"a\"><p>y</p></card>",
        "4:29: error: The id \"a\" of this <card> is already used by the card on line 4. "
        "[duplicate-card-id]");
  }
  void firstFinding() {
    QFETCH(QString, body);
    QFETCH(QString, first);
    const QString found = firstFindingOf(deck(body));
    // Rows without a rule name in brackets hold the start of the message
    // only: the content model follows it.
    if (first.endsWith(u']'))
      QCOMPARE(found, first);
    else
      QVERIFY2(found.startsWith(first), qPrintable(found));
  }
};

QTEST_GUILESS_MAIN(CommonMistakesTest)
#include "tst_commonmistakes.moc"
