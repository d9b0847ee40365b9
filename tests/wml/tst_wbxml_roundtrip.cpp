// Every text the tools and generators insert, placed where it belongs in a
// deck, comes back from compiling and decompiling as it went in (comments,
// the XML declaration and the DOCTYPE aside, white space normalised).
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
#include "wml/wbxml/DeckCompiler.h"
#include "wml/wbxml/VariableSplit.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QRegularExpression>
#include <QTest>

using namespace tessera;

namespace {

QString header() {
  return QStringLiteral("<?xml version=\"1.0\"?>\r\n"
                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                        "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n");
}
QString inDeck(const QString& cards) { return header() + "<wml>\r\n" + cards + "\r\n</wml>\r\n"; }
QString inCard(const QString& content) {
  return inDeck("<card id=\"c\" title=\"T\">\r\n" + content + "\r\n</card>");
}
QString inParagraph(const QString& text) { return inCard("<p>\r\n" + text + "\r\n</p>"); }

// Variable references in one spelling: $(name), $(name:e), $(name:u).
QString canonicalVariables(const QString& text) {
  const std::string utf8 = text.toStdString();
  QString result;
  for (const wml::wbxml::TextPiece& piece : wml::wbxml::splitVariables(utf8)) {
    if (!piece.isVariable) {
      result += QString::fromStdString(piece.text).replace(u'$', QStringLiteral("$$"));
      continue;
    }
    result += QStringLiteral("$(") + QString::fromStdString(piece.text);
    if (piece.escaping == wml::wbxml::Escaping::Escaped)
      result += QStringLiteral(":e");
    else if (piece.escaping == wml::wbxml::Escaping::Unescaped)
      result += QStringLiteral(":u");
    result += u')';
  }
  return result;
}

QString normalised(QString text) {
  static const QRegularExpression prolog(
      QStringLiteral(R"(<\?xml.*?\?>|<!DOCTYPE[^>]*>|<!--.*?-->)"),
      QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression emptyPair(QStringLiteral(R"(<([\w:]+)([^<>]*?)\s*></\1>)"));
  static const QRegularExpression selfClosing(QStringLiteral(R"(\s*/>)"));
  static const QRegularExpression space(QStringLiteral(R"(\s+)"));
  static const QRegularExpression betweenTags(QStringLiteral(R"(>\s+<)"));
  text.remove(prolog);
  text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
  text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
  text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
  text.replace(space, QStringLiteral(" "));
  text.replace(betweenTags, QStringLiteral("><"));
  text.replace(emptyPair, QStringLiteral("<\\1\\2/>"));
  text.replace(selfClosing, QStringLiteral("/>"));
  return canonicalVariables(text.trimmed());
}

} // namespace

class TestWbxmlRoundTrip : public QObject {
  Q_OBJECT

private slots:
  void toolTextsSurviveCompiling_data() {
    QTest::addColumn<QString>("source");
    QTest::newRow("default document") << defaultDocument();
    QTest::newRow("line break") << inParagraph("a" + lineBreak().text + "b");
    QTest::newRow("line omission") << inParagraph("a" + lineOmission().text + "b");
    for (Wrap kind :
         {Wrap::Bold, Wrap::Italic, Wrap::Underline, Wrap::Small, Wrap::Big, Wrap::Strong}) {
      QTest::addRow("wrap %s", qPrintable(openingTag(kind)))
          << inParagraph("Some " + wrapTool(kind, "words").text + " here");
      QTest::addRow("empty wrap %s", qPrintable(openingTag(kind)))
          << inParagraph(wrapTool(kind, QString()).text);
    }
    for (Align align : {Align::Left, Align::Center, Align::Right})
      QTest::addRow("align %d", int(align)) << inCard(alignParagraph(align, "Text").text);
    for (Entity entity : {Entity::Ampersand, Entity::LessThan, Entity::GreaterThan,
                          Entity::Apostrophe, Entity::Nbsp, Entity::Quote, Entity::Dollar})
      QTest::addRow("entity %d", int(entity))
          << inParagraph("x" + characterEntity(entity).text + "y");
    QTest::newRow("plain card") << inDeck(plainCard("two", "Second").text);
    for (int variant = 0; variant < 4; ++variant) {
      CardFields fields{"c2",
                        "Timed",
                        (variant & 1) != 0,
                        (variant & 2) != 0,
                        "5",
                        "http://wap.example.com/next.wml"};
      QTest::addRow("card with settings %d", variant)
          << inDeck(cardWithSettings(fields).insertion.text);
    }
    QTest::newRow("input text") << inParagraph(inputElement({"user", "10", "20", "text"}).text);
    QTest::newRow("input password")
        << inParagraph(inputElement({"pin", std::nullopt, std::nullopt, "password"}).text);
    QTest::newRow("comment") << inParagraph("a" + commentElement("note").text + "b");
    QTest::newRow("link") << inParagraph(linkElement("http://www.example.com/", "Home").text);
    QTest::newRow("link with access key")
        << inParagraph(linkElement("#c", "Top", QStringLiteral("1")).text);
    QTest::newRow("link with a variable")
        << inParagraph(linkElement("http://example.org/?q=$(query:escape)&amp;n=$n", "Go").text);
    QTest::newRow("image") << inParagraph(imageElement("logo.wbmp", "Logo").text);
    QTest::newRow("image link") << inParagraph(imageLinkElement("logo.wbmp", "#c").text);
    QTest::newRow("image with alt link")
        << inParagraph(imageWithAltLinkElement("#c", "logo.wbmp", "Logo").text);
    QTest::newRow("phone call") << inParagraph(phoneCallLink("+49 30 123-45", "Call").text);
    QTest::newRow("name list") << inParagraph(
        nameListLink("0123", "Add", QStringLiteral("Anna")).text);
    for (const QString& type : defaultDoTypes())
      QTest::addRow("do %s", qPrintable(type)) << inCard(doElement(type, "Label", "#c").text);
    QTest::newRow("back button template")
        << inDeck(backButtonTemplate().text + "\r\n<card id=\"c\"><p>x</p></card>");
    QTest::newRow("template skeleton")
        << inDeck(templateSkeleton().text + "\r\n<card id=\"c\"><p>x</p></card>");
    QTest::newRow("paragraph") << inCard(paragraphTool("Text").text);
    QTest::newRow("refresh") << inCard("<do type=\"accept\">" + refreshTool(QString()).text +
                                       "</do>");
    QTest::newRow("head") << inDeck(headTool("<meta name=\"author\" content=\"me\"/>").text +
                                    "<card id=\"c\"><p>x</p></card>");
    for (int columns = 1; columns <= kMaxTableColumns; ++columns)
      for (int rows = 1; rows <= kMaxTableRows; ++rows)
        QTest::addRow("table %dx%d", columns, rows) << inParagraph(tableText(columns, rows));
    QTest::newRow("select list") << inCard(
        selectListText("Menu", {{"One", "#c"}, {"Two", "http://example.com/"}}));
    QTest::newRow("site page") << sitePageText(SitePage{});
    const QDateTime when(QDate(2001, 2, 3), QTime(4, 5, 6));
    QTest::newRow("date and time") << inParagraph(localeRendering(when, QLocale(QLocale::German)));
  }
  void toolTextsSurviveCompiling() {
    QFETCH(QString, source);
    for (bool table : {false, true}) {
      const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(source, table);
      QVERIFY2(compiled.ok, qPrintable(compiled.error));
      const wml::wbxml::DecodedDeck decoded = wml::wbxml::decodeDeck(compiled.bytes);
      QVERIFY2(decoded.ok, qPrintable(decoded.error));
      QCOMPARE(normalised(decoded.source), normalised(source));
    }
  }
};

QTEST_GUILESS_MAIN(TestWbxmlRoundTrip)
#include "tst_wbxml_roundtrip.moc"
