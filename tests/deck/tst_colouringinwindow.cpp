#include "TestServices.h"
#include "app/MainWindow.h"
#include "deck/SyntaxColouring.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using namespace tessera;

// The colouring and the error marks as the main window wires them.
class ColouringInWindowTest : public QObject {
  Q_OBJECT
private slots:
  void optionFollowsStayOnTopBehindASeparator();
  void optionSwitchesThePlainLookBackAndForth();
  void checkMarksItsFindingsInTheText();
};

namespace {

bool hasWaveUnderline(const QTextBlock& block) {
  for (const QTextLayout::FormatRange& range : block.layout()->formats())
    if (range.format.underlineStyle() == QTextCharFormat::WaveUnderline)
      return true;
  return false;
}

} // namespace

void ColouringInWindowTest::optionFollowsStayOnTopBehindASeparator() {
  TestServices t;
  MainWindow w(t.services());
  auto* options = w.findChild<QMenu*>(QStringLiteral("Options1"));
  QVERIFY(options);
  const QList<QAction*> items = options->actions();
  const auto at = std::find_if(items.begin(), items.end(), [](const QAction* a) {
    return a->objectName() == QLatin1String("Stayontop1");
  });
  QVERIFY(at != items.end());
  QVERIFY(at + 2 < items.end());
  QVERIFY((*(at + 1))->isSeparator());
  QAction* colouring = *(at + 2);
  QCOMPARE(colouring->objectName(), QStringLiteral("SyntaxColouring1"));
  QCOMPARE(colouring->text(), QStringLiteral("Syntax &Colouring"));
  QVERIFY(colouring->isCheckable());
  QVERIFY(colouring->isChecked());
}

void ColouringInWindowTest::optionSwitchesThePlainLookBackAndForth() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  SourceEditor* editor = w.editor();
  editor->viewport()->repaint();
  const QTextBlock first = editor->document()->firstBlock();
  QVERIFY(!first.layout()->formats().isEmpty()); // the default document is coloured
  QAction* option = w.findChild<QAction*>(QStringLiteral("SyntaxColouring1"));
  option->trigger();
  QVERIFY(!w.colouring()->isEnabled());
  editor->viewport()->repaint();
  for (QTextBlock b = first; b.isValid(); b = b.next())
    QVERIFY2(b.layout()->formats().isEmpty(), qPrintable(b.text()));
  option->trigger();
  editor->viewport()->repaint();
  QVERIFY(!first.layout()->formats().isEmpty());
}

void ColouringInWindowTest::checkMarksItsFindingsInTheText() {
  TestServices t;
  MainWindow w(t.services());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  SourceEditor* editor = w.editor();
  editor->textDocument().replaceWholeText(
      QStringLiteral("<?xml version=\"1.0\"?>\r\n<wml>\r\n<card id=\"a\">\r\n"
                     "<p>5$</p>\r\n</card>\r\n</wml>\r\n"));
  w.findChild<QAction*>(QStringLiteral("CheckDeck1"))->trigger();
  const QTextBlock faulty = editor->document()->findBlockByNumber(3);
  QTRY_VERIFY([&] {
    editor->viewport()->repaint();
    return hasWaveUnderline(faulty);
  }());
  QVERIFY(!hasWaveUnderline(editor->document()->findBlockByNumber(1)));
}

QTEST_MAIN(ColouringInWindowTest)
#include "tst_colouringinwindow.moc"
