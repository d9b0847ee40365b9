#include "deck/SyntaxColouring.h"

#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

using namespace tessera;
using wml::colour::LineState;
using wml::colour::SourceKind;

namespace {

// What a line's formats say, as "start+length:colour" items.
QStringList formatsOf(const QTextBlock& block) {
  QStringList out;
  for (const QTextLayout::FormatRange& range : block.layout()->formats())
    out << QStringLiteral("%1+%2:%3")
               .arg(range.start)
               .arg(range.length)
               .arg(range.format.foreground().color().name());
  return out;
}

// The same, worked out from scratch by scanning the whole text from its top.
QStringList expectedFormats(const SyntaxColouring& colouring, const QTextBlock& target) {
  LineState state = LineState::Text;
  for (QTextBlock b = target.document()->firstBlock(); b != target; b = b.next())
    state = wml::colour::scanLine(b.text(), state, nullptr);
  QList<wml::colour::ColourSpan> spans;
  wml::colour::scanLine(target.text(), state, &spans);
  QStringList out;
  for (const wml::colour::ColourSpan& span : spans)
    out << QStringLiteral("%1+%2:%3")
               .arg(span.start)
               .arg(span.length)
               .arg(colouring.colourOf(span.kind).name());
  return out;
}

QString numberedLines(int count, const QString& pattern) {
  QString text;
  for (int i = 0; i < count; ++i)
    text += pattern.arg(i) + u'\n';
  return text;
}

struct Fixture {
  Fixture() {
    editor.resize(500, 300);
    editor.setLineWrapMode(QPlainTextEdit::NoWrap);
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
  }
  void paint() { editor.viewport()->repaint(); }
  void scrollToLine(int line) {
    QTextCursor cursor(editor.document()->findBlockByNumber(line));
    editor.setTextCursor(cursor);
    editor.centerCursor();
    paint();
  }
  QTextBlock block(int line) const { return editor.document()->findBlockByNumber(line); }
  QPlainTextEdit editor;
  SyntaxColouring colouring{editor};
};

} // namespace

class TestSyntaxColouring : public QObject {
  Q_OBJECT
private slots:
  void shownLinesAreColoured();
  void commentOpenedFarAboveColoursAfterAJump();
  void typingCommentStartDoesNotScanBelow();
  void loadFormatsOnlyTheShownLines();
  void togglingRestoresThePlainLook();
  void darkBackgroundGetsLightColours();
  void randomEditsMatchAFreshScan();
  void editsAreReportedAsTheyWere();
};

void TestSyntaxColouring::shownLinesAreColoured() {
  Fixture f;
  f.editor.setPlainText(QStringLiteral("<card id=\"a\">\n<p>$(x) &amp;</p>\n</card>"));
  f.paint();
  for (int line = 0; line < 3; ++line)
    QCOMPARE(formatsOf(f.block(line)), expectedFormats(f.colouring, f.block(line)));
  QCOMPARE(formatsOf(f.block(0)).first(),
           QStringLiteral("0+5:%1").arg(f.colouring.colourOf(SourceKind::Tag).name()));
}

void TestSyntaxColouring::commentOpenedFarAboveColoursAfterAJump() {
  Fixture f;
  QString text = numberedLines(10, QStringLiteral("<p>%1</p>"));
  text += QStringLiteral("<!-- a long comment\n");
  text += numberedLines(100000, QStringLiteral("<p>%1 still inside</p>"));
  text += QStringLiteral("-->\n<p id=\"end\">after</p>\n");
  f.editor.setPlainText(text);
  f.paint();
  f.scrollToLine(100011);
  const QString comment = f.colouring.colourOf(SourceKind::Comment).name();
  QCOMPARE(formatsOf(f.block(100005)),
           QStringList{QStringLiteral("0+%1:%2").arg(f.block(100005).length() - 1).arg(comment)});
  QCOMPARE(formatsOf(f.block(100012)), expectedFormats(f.colouring, f.block(100012)));
  QVERIFY(
      formatsOf(f.block(100012)).first().endsWith(f.colouring.colourOf(SourceKind::Tag).name()));
}

void TestSyntaxColouring::typingCommentStartDoesNotScanBelow() {
  Fixture f;
  f.editor.setPlainText(numberedLines(50000, QStringLiteral("<p>%1</p>")));
  f.scrollToLine(49990); // every state known
  f.scrollToLine(0);
  f.colouring.resetCounts();
  QTextCursor cursor(f.block(2));
  cursor.insertText(QStringLiteral("<!--"));
  f.paint();
  QVERIFY2(f.colouring.scannedLineCount() + f.colouring.formattedLineCount() < 200,
           qPrintable(QString::number(f.colouring.scannedLineCount())));
  // Shown later, the lines below are inside the comment.
  f.scrollToLine(40000);
  const QString comment = f.colouring.colourOf(SourceKind::Comment).name();
  QCOMPARE(formatsOf(f.block(40000)), QStringList{QStringLiteral("0+12:%1").arg(comment)});
  QCOMPARE(formatsOf(f.block(40000)), expectedFormats(f.colouring, f.block(40000)));
  // Closing it again near the top: lines far below are plain markup again.
  f.scrollToLine(0);
  cursor.insertText(QStringLiteral("-->"));
  f.scrollToLine(40000);
  QCOMPARE(formatsOf(f.block(40000)), expectedFormats(f.colouring, f.block(40000)));
}

void TestSyntaxColouring::loadFormatsOnlyTheShownLines() {
  Fixture f;
  f.editor.setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // About 10 MB of short lines.
  const QString deck = numberedLines(250000, QStringLiteral("<p align=\"left\">line %1 $(v)</p>"));
  QVERIFY(deck.size() > 9'000'000);
  f.colouring.resetCounts();
  f.editor.setPlainText(deck);
  f.paint();
  const int shown = f.editor.cursorForPosition(QPoint(0, f.editor.viewport()->height() - 1))
                        .block()
                        .blockNumber() +
                    1;
  QVERIFY(shown > 3);
  // The shown lines and half a screen below them (nothing lies above).
  QVERIFY2(f.colouring.formattedLineCount() <= shown + shown / 2 + 1,
           qPrintable(QStringLiteral("%1 formatted, %2 shown")
                          .arg(f.colouring.formattedLineCount())
                          .arg(shown)));
  // At most the one line of the emptied document, as the old text went.
  QVERIFY(f.colouring.scannedLineCount() <= 1);
}

void TestSyntaxColouring::togglingRestoresThePlainLook() {
  Fixture f;
  f.editor.setPlainText(QStringLiteral("<wml>\n<!-- x -->\n</wml>"));
  f.paint();
  QVERIFY(!f.block(0).layout()->formats().isEmpty());
  f.colouring.setEnabled(false);
  f.paint();
  for (int line = 0; line < 3; ++line)
    QVERIFY(f.block(line).layout()->formats().isEmpty());
  f.colouring.setEnabled(true);
  f.paint();
  QCOMPARE(formatsOf(f.block(1)), expectedFormats(f.colouring, f.block(1)));
}

void TestSyntaxColouring::darkBackgroundGetsLightColours() {
  Fixture f;
  f.editor.setPlainText(QStringLiteral("<wml>"));
  f.paint();
  const QColor light = f.colouring.colourOf(SourceKind::Tag);
  QVERIFY(light.lightnessF() < 0.5);
  QPalette palette = f.editor.palette();
  palette.setColor(QPalette::Base, QColor(20, 20, 40));
  f.editor.setPalette(palette);
  f.paint();
  QVERIFY(f.colouring.colourOf(SourceKind::Tag).lightnessF() > 0.5);
  QCOMPARE(formatsOf(f.block(0)), expectedFormats(f.colouring, f.block(0)));
  // The text's own colour (black here) would not read: plain text gets a
  // light tone and comments one between it and the background.
  f.editor.setPlainText(QStringLiteral("<b>x<!--c-->"));
  f.paint();
  QVERIFY(f.colouring.colourOf(SourceKind::Comment).lightnessF() > 0.4);
  QCOMPARE(formatsOf(f.block(0)),
           (QStringList{
               QStringLiteral("0+3:%1").arg(f.colouring.colourOf(SourceKind::Tag).name()),
               QStringLiteral("3+1:#e6e6e6"),
               QStringLiteral("4+8:%1").arg(f.colouring.colourOf(SourceKind::Comment).name())}));
}

// Whatever is typed, pasted or deleted where, the shown lines carry the
// formats a scan of the whole text from its top gives.
void TestSyntaxColouring::randomEditsMatchAFreshScan() {
  Fixture f;
  f.editor.setPlainText(numberedLines(60, QStringLiteral("<a href=\"#%1\">x</a>")));
  const QStringList pieces = {
      "<!--", "-->",       "\"",   "'",     "<b ",           ">", "\n", "x", "<![CDATA[",
      "]]>",  "\n\n<p>\n", "$(v)", "&amp;", "<!DOCTYPE a [", "]>"};
  QRandomGenerator random(20261209);
  for (int round = 0; round < 400; ++round) {
    QTextDocument* document = f.editor.document();
    const int length = document->characterCount() - 1;
    QTextCursor cursor(document);
    cursor.setPosition(int(random.bounded(length + 1)));
    if (random.bounded(4) == 0) {
      cursor.setPosition(std::min(length, cursor.position() + int(random.bounded(30))),
                         QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
    } else {
      cursor.insertText(pieces.at(int(random.bounded(pieces.size()))));
    }
    if (random.bounded(5) == 0)
      f.editor.verticalScrollBar()->setValue(
          int(random.bounded(f.editor.verticalScrollBar()->maximum() + 1)));
    f.paint();
    const QTextBlock first = f.editor.cursorForPosition(QPoint(0, 0)).block();
    const QTextBlock last =
        f.editor.cursorForPosition(QPoint(0, f.editor.viewport()->height() - 1)).block();
    for (QTextBlock b = first; b.isValid() && b.blockNumber() <= last.blockNumber(); b = b.next())
      QVERIFY2(formatsOf(b) == expectedFormats(f.colouring, b),
               qPrintable(QStringLiteral("round %1, line %2: %3")
                              .arg(round)
                              .arg(b.blockNumber())
                              .arg(b.text())));
  }
}

// Colouring a line must not show up in the next edit's change report: every
// listener (row counts, the modified flag) would take the coloured lines
// for typed ones.
void TestSyntaxColouring::editsAreReportedAsTheyWere() {
  Fixture f;
  f.editor.setPlainText(numberedLines(200, QStringLiteral("<p>%1</p>")));
  f.scrollToLine(150);
  f.scrollToLine(0);
  int changes = 0, reportedFrom = -1, reportedRemoved = -1, reportedAdded = -1;
  QObject::connect(f.editor.document(), &QTextDocument::contentsChange,
                   [&](int from, int removed, int added) {
                     ++changes;
                     reportedFrom = from;
                     reportedRemoved = removed;
                     reportedAdded = added;
                   });
  QTextCursor cursor(f.block(3));
  cursor.insertText(QStringLiteral("x"));
  QCOMPARE(changes, 1);
  QCOMPARE(reportedFrom, f.block(3).position());
  QCOMPARE(reportedRemoved, 0);
  QCOMPARE(reportedAdded, 1);
  f.paint();
  QCOMPARE(changes, 1);
}

QTEST_MAIN(TestSyntaxColouring)
#include "tst_syntaxcolouring.moc"
