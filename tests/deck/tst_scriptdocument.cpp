// A WMLScript unit (".wmls") in the editor: checked while typing by its
// compiler into the problems the deck checker fills, its bytecode size in
// the status line, and the Deck menu's compile item writing its bytecode.
#include "FileBytes.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "deck/CompiledSizePanel.h"
#include "deck/DeckChecking.h"
#include "deck/SyntaxColouring.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

namespace {

const QByteArray kLate = "extern function f() {\n  // count\n  n = 1;\n  var n;\n}\n";
const QString kGood = QStringLiteral("extern function add(a, b) {\n  return a + b;\n}\n");
// kGood compiled, worked out by hand: header, no constants (UTF-8), no
// pragmas, "add" with two arguments: LOAD_VAR_S 0, LOAD_VAR_S 1, ADD,
// RETURN.
const QByteArray kGoodBytecode = QByteArray::fromHex("0111006a0001010003616464020004e0e1203a");

QString firstProblem(const QList<wml::Finding>& findings) {
  return findings.isEmpty() ? QString()
                            : QStringLiteral("%1:%2 %3")
                                  .arg(findings.first().start.line)
                                  .arg(findings.first().start.column)
                                  .arg(findings.first().rule);
}

} // namespace

class TestScriptDocument : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

private slots:
  void checkedAndMeasuredAsAScript() {
    const QString path = dir_.filePath("late.wmls");
    writeFileBytes(path, kLate);
    TestServices t;
    MainWindow w(t.services());
    QVERIFY(w.loadStartupFile(path));
    auto* panel = w.findChild<CompiledSizePanel*>("CompiledSizePanel");
    QVERIFY(panel);
    QTRY_COMPARE(firstProblem(w.deckChecking()->lastFindings()),
                 QStringLiteral("3:3 undeclared-variable"));
    QCOMPARE(panel->text(), QString()); // it does not compile

    w.editor()->textDocument().replaceWholeText(kGood);
    QTRY_COMPARE(panel->text(), QStringLiteral("WMLSC 19 B"));
    QCOMPARE(w.deckChecking()->lastFindings().size(), 0);
  }

  // Coloured as WMLScript once its name says so, as WML again under
  // another name.
  void colouredByItsName() {
    const QString path = dir_.filePath("colour.wmls");
    writeFileBytes(path, kGood.toUtf8());
    TestServices t;
    MainWindow w(t.services());
    auto* colouring = w.editor()->findChild<SyntaxColouring*>();
    QVERIFY(colouring);
    QCOMPARE(colouring->language(), SyntaxColouring::Language::Wml);
    QVERIFY(w.loadStartupFile(path));
    QCOMPARE(colouring->language(), SyntaxColouring::Language::Script);
    w.show();
    const QTextBlock first = w.editor()->document()->firstBlock();
    // "extern" and "function" as keywords, "add" as a function name.
    const auto colourAt = [&](int start) {
      for (const QTextLayout::FormatRange& range : first.layout()->formats())
        if (range.start == start)
          return range.format.foreground().color();
      return QColor();
    };
    QTRY_COMPARE(colourAt(0), colouring->colourOf(wml::script::ScriptKind::Keyword));
    QCOMPARE(colourAt(7), colouring->colourOf(wml::script::ScriptKind::Keyword));
    QCOMPARE(colourAt(16), colouring->colourOf(wml::script::ScriptKind::Function));
    w.editor()->textDocument().setFilePath(dir_.filePath("deck.wml"));
    QCOMPARE(colouring->language(), SyntaxColouring::Language::Wml);
  }

  void compileItemWritesTheBytecode() {
    const QString path = dir_.filePath("good.wmls");
    writeFileBytes(path, kGood.toUtf8());
    TestServices t;
    MainWindow w(t.services());
    QVERIFY(w.loadStartupFile(path));
    const QString out = dir_.filePath("good.wmlsc");
    t.prompts.answerFile(out);
    w.findChild<QAction*>("CompileDeck1")->trigger();
    QCOMPARE(readFileBytes(out), kGoodBytecode);
    QCOMPARE(t.prompts.asked.size(), 1);
    QCOMPARE(t.prompts.asked[0].file.defaultSuffix, QStringLiteral("wmlsc"));
    QCOMPARE(t.prompts.asked[0].file.initialName, out);

    t.prompts.clear();
    w.editor()->textDocument().replaceWholeText(QString::fromUtf8(kLate));
    w.findChild<QAction*>("CompileDeck1")->trigger();
    QCOMPARE(t.prompts.asked.size(), 1); // no file dialog for a unit that does not compile
    QCOMPARE(t.prompts.asked[0].text,
             QStringLiteral("The script does not compile (line 3, column 3: variable \"n\" is not "
                            "declared (declare it with \"var\" before its first use))."));
  }
};

QTEST_MAIN(TestScriptDocument)
#include "tst_scriptdocument.moc"
