#include "dialogs/DateTimeRenderings.h"
#include "dialogs/ElementBuilders.h"
#include "document/DefaultDocument.h"
#include "generators/GeneratorTexts.h"
#include "tools/CardBuilders.h"
#include "tools/InlineBuilders.h"
#include "tools/InputBuilders.h"
#include "tools/LinkBuilders.h"
#include "tools/NavigationBuilders.h"
#include "tools/TelephonyBuilders.h"
#include "wml/check/DeckChecker.h"

#include <QTest>

using namespace tessera;

// Every text the program writes into a deck, put where it belongs, checks
// without an error; the few tool texts that are not valid WML 1.1 as the
// tools must write them are pinned to the rule they break.
class ToolTextsTest : public QObject {
  Q_OBJECT
private slots:
  void validDecks_data();
  void validDecks();
  void toolTextsTheCheckerFlags_data();
  void toolTextsTheCheckerFlags();
};

namespace {

const QString kBreak = QStringLiteral("\r\n");

QString inWml(const QString& piece) {
  return pageHeader() + "<wml>" + kBreak + piece + kBreak +
         "<card id=\"first\" title=\"T\"><p>x</p></card>" + kBreak + "</wml>" + kBreak;
}
QString inCard(const QString& piece) {
  return inWml("<card id=\"host\" title=\"Host\">" + kBreak + piece + kBreak + "</card>");
}
QString inParagraph(const QString& piece) {
  return inCard("<p>" + kBreak + piece + kBreak + "</p>");
}

QString describe(const QList<wml::Finding>& findings) {
  QStringList lines;
  for (const wml::Finding& f : findings)
    lines << QStringLiteral("%1:%2: %3: %4")
                 .arg(f.start.line)
                 .arg(f.start.column)
                 .arg(wml::severityName(f.severity), f.message);
  return lines.join('\n');
}

} // namespace

void ToolTextsTest::validDecks_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("default document") << defaultDocument();
  QTest::newRow("site page") << sitePageText(SitePage{});
  QTest::newRow("line break") << inParagraph(lineBreak().text);
  QTest::newRow("line omission") << inParagraph(lineOmission().text);
  for (Wrap kind :
       {Wrap::Bold, Wrap::Italic, Wrap::Underline, Wrap::Small, Wrap::Big, Wrap::Strong}) {
    QTest::addRow("style %d, empty", int(kind)) << inParagraph(wrapTool(kind, {}).text);
    QTest::addRow("style %d, around text", int(kind)) << inParagraph(wrapTool(kind, "ab").text);
  }
  for (Align align : {Align::Left, Align::Center, Align::Right})
    QTest::addRow("paragraph aligned %d", int(align)) << inCard(alignParagraph(align, "ab").text);
  for (Entity entity : {Entity::Ampersand, Entity::LessThan, Entity::GreaterThan,
                        Entity::Apostrophe, Entity::Nbsp, Entity::Quote, Entity::Dollar})
    QTest::addRow("entity %d", int(entity)) << inParagraph("a" + characterEntity(entity).text);
  QTest::newRow("link") << inParagraph(linkElement("http://", "Link").text);
  QTest::newRow("link to a card") << inParagraph(linkElement("#first", "Link").text);
  QTest::newRow("image") << inParagraph(imageElement("http://", "").text);
  QTest::newRow("image with alt in a link")
      << inParagraph(imageWithAltLinkElement("http://", "a.wbmp", "picture").text);
  QTest::newRow("phone call") << inParagraph(phoneCallLink("+3611234567", "Call").text);
  QTest::newRow("name list") << inParagraph(nameListLink("123", "Add", QString("Adam")).text);
  QTest::newRow("name list, no name") << inParagraph(nameListLink("123", "Add", {}).text);
  QTest::newRow("input") << inParagraph(inputElement({"first", {}, {}, "text"}).text);
  QTest::newRow("input, all") << inParagraph(inputElement({"n", "15", "255", "password"}).text);
  QTest::newRow("comment in text") << inParagraph(commentElement("word").text);
  QTest::newRow("comment between cards") << inWml(commentElement("").text);
  QTest::newRow("do") << inCard(doElement("accept", "Go", "http://").text);
  QTest::newRow("do in a paragraph") << inParagraph(doElement("options", "More", "#first").text);
  QTest::newRow("back button template") << inWml(backButtonTemplate().text);
  QTest::newRow("paragraph") << inCard(paragraphTool("").text);
  QTest::newRow("refresh in a do")
      << inCard("<do type=\"accept\">" + refreshTool("").text + "</do>");
  QTest::newRow("plain card") << inWml(plainCard("second", "Card Title").text);
  CardFields fields{"second", "Card Title", true, true, "5", "next.wml"};
  QTest::newRow("card with history and timer") << inWml(cardWithSettings(fields).insertion.text);
  fields.clearHistory = false;
  QTest::newRow("card with timer") << inWml(cardWithSettings(fields).insertion.text);
  for (int columns = 1; columns <= kMaxTableColumns; ++columns)
    for (int rows = 1; rows <= kMaxTableRows; ++rows)
      QTest::addRow("table %dx%d", columns, rows) << inParagraph(tableText(columns, rows));
  QTest::newRow("select list") << inCard(
      selectListText("Menu", {{"One", "#first"}, {"Two", "page.wml"}}));
  const QDateTime when(QDate(2026, 12, 9), QTime(4, 5, 6));
  int index = 0;
  for (const QString& rendering : dateTimeRenderings(when, QLocale(QLocale::English)))
    QTest::addRow("date and time %d", index++) << inParagraph(rendering);
}

void ToolTextsTest::validDecks() {
  QFETCH(QString, text);
  const QList<wml::Finding> found = wml::check::checkDeck(text);
  QVERIFY2(found.isEmpty(), qPrintable(describe(found) + "\n" + text));
}

void ToolTextsTest::toolTextsTheCheckerFlags_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("says");
  QTest::newRow("link with an access key")
      << inParagraph(linkElement("http://", "Link", QString("1")).text)
      << "The attribute \"accesskey\" of <a> is WML 1.2; this deck is WML 1.1.";
  QTest::newRow("image link has no alt")
      << inParagraph(imageLinkElement("img.wbmp", "page.wml").text)
      << "The element <img> needs the attribute \"alt\".";
  QTest::newRow("template skeleton's empty link")
      << inWml(templateSkeleton().text) << "The href of <go> is empty.";
  QTest::newRow("empty head") << inWml(headTool("").text)
                              << "<head> needs at least one <access> or <meta>. The element "
                                 "<head> may hold only (access | meta)+";
}

void ToolTextsTest::toolTextsTheCheckerFlags() {
  QFETCH(QString, text);
  QFETCH(QString, says);
  const QList<wml::Finding> found = wml::check::checkDeck(text);
  QVERIFY2(found.size() == 1, qPrintable(describe(found)));
  QVERIFY2(found[0].message.startsWith(says), qPrintable(found[0].message));
}

QTEST_GUILESS_MAIN(ToolTextsTest)
#include "tst_tooltexts.moc"
