#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/InlineBuilders.h"

#include <QTest>

using namespace tessera;

Q_DECLARE_METATYPE(tessera::Wrap)

class InlineBuildersTest : public QObject {
  Q_OBJECT
private slots:
  void wrapping_data();
  void wrapping();
  void wrappingInEditor();
  void alignAndCharacters();
};

void InlineBuildersTest::wrapping_data() {
  QTest::addColumn<Wrap>("kind");
  QTest::addColumn<QString>("selected");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("back");
  QTest::newRow("bold, nothing selected") << Wrap::Bold << QString() << "<b></b>" << 4;
  QTest::newRow("italic, one character replaced") << Wrap::Italic << "x"
                                                  << "<i></i>" << 4;
  QTest::newRow("strong, two characters") << Wrap::Strong << "ab"
                                          << "<strong>ab</strong>" << 9;
  QTest::newRow("underline, lines") << Wrap::Underline << "a\r\nb"
                                    << "<u>a\r\nb</u>" << 4;
  QTest::newRow("small") << Wrap::Small << ""
                         << "<small></small>" << 8;
  QTest::newRow("big") << Wrap::Big << "text"
                       << "<big>text</big>" << 6;
}

void InlineBuildersTest::wrapping() {
  QFETCH(Wrap, kind);
  QFETCH(QString, selected);
  QFETCH(QString, text);
  QFETCH(int, back);
  QCOMPARE(wrapTool(kind, selected), (Insertion{text, back, true}));
}

void InlineBuildersTest::wrappingInEditor() {
  SourceEditor e;
  e.textDocument().replaceWholeText(QStringLiteral("one\r\ntwo end"));
  e.setSelection(tessera::TextPosition(1), 6); // "ne\r\ntw"
  e.apply(wrapTool(Wrap::Underline, e.selectedText()));
  QCOMPARE(e.textDocument().wholeText(), QStringLiteral("o<u>ne\r\ntw</u>o end"));
  // The caret stands right before the closing tag, on the last wrapped line.
  QCOMPARE(e.caretPosition().value, 1 + 3 + 6);
  QCOMPARE(e.rowColumn().row, 1);
  // Nothing selected: the caret lands between the tags, 3 after its old place.
  e.setSelection(tessera::TextPosition(0), 0);
  e.apply(wrapTool(Wrap::Bold, e.selectedText()));
  QCOMPARE(e.caretPosition().value, 3);
}

void InlineBuildersTest::alignAndCharacters() {
  QCOMPARE(alignParagraph(Align::Center, QString()).text,
           QStringLiteral("<p align=\"center\">\r\n\r\n</p>"));
  QCOMPARE(alignParagraph(Align::Left, QStringLiteral("x")).text,
           QStringLiteral("<p align=\"left\">\r\nx\r\n</p>"));
  QCOMPARE(alignParagraph(Align::Right, QString()).caretBack, 0);
  QCOMPARE(lineBreak().text, QStringLiteral("<br/>"));
  QCOMPARE(lineOmission().text, QStringLiteral("<br/><br/>"));
  const QStringList expected = {"&amp;", "&lt;", "&gt;", "&apos;", "&nbsp;", "&quot;", "$$"};
  for (int i = 0; i < expected.size(); ++i)
    QCOMPARE(characterEntity(Entity(i)), (Insertion{expected[i], 0, false}));
}

QTEST_MAIN(InlineBuildersTest)
#include "tst_inlinebuilders.moc"
