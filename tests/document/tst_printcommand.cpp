#include "document/PrintCommand.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "platform/ScriptedPrompts.h"

#include <QTest>

using namespace tessera;

namespace {
class MonoMeasure : public TextMeasure {
public:
  int width(QStringView text) const override { return 10 * int(text.size()); }
  int height() const override { return 20; }
  int averageCharWidth() const override { return 10; }
};

// A printer that records the pages it was asked to print.
class FakePrinter : public PrinterSeam {
public:
  QString defaultPrinterName() override { return name; }
  PrintStatus print(const QString& printer, const QString& job, const PageLayout& layout) override {
    ++jobs;
    usedPrinter = printer;
    jobName = job;
    pages = layout(MonoMeasure(), area);
    return status;
  }
  QString name = QStringLiteral("Office");
  PrintStatus status = PrintStatus::Printed;
  QSize area{2000, 3000};
  int jobs = 0;
  QString usedPrinter;
  QString jobName;
  QList<PrintedPage> pages;
};

QStringList pageTexts(const PrintedPage& page) {
  QStringList texts;
  for (const PlacedText& t : page.texts)
    texts << t.text;
  return texts;
}
} // namespace

class PrintCommandTest : public QObject {
  Q_OBJECT
private slots:
  void cancelStartsNoJob();
  void okPrintsEditorLinesWithoutTouchingTheDocument();
  void failures_data();
  void failures();
  void editorLines_data();
  void editorLines();
  void wrappedRowsArePrintedAsShown();
};

void PrintCommandTest::cancelStartsNoJob() {
  SourceEditor editor;
  ScriptedPrompts prompts;
  FakePrinter printer;
  PrintCommand command(editor, prompts, nullptr);
  command.setPrinter(&printer);
  prompts.answerButton(QMessageBox::Cancel);
  command.run();
  QCOMPARE(printer.jobs, 0);
  QCOMPARE(prompts.asked.size(), 1);
  QCOMPARE(prompts.asked[0].caption, QStringLiteral("Confirm"));
  QCOMPARE(prompts.asked[0].icon, QMessageBox::Question);
  QCOMPARE(prompts.asked[0].text, QStringLiteral("Are you sure?"));
  QCOMPARE(prompts.asked[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

void PrintCommandTest::okPrintsEditorLinesWithoutTouchingTheDocument() {
  SourceEditor editor;
  editor.setLineWrapMode(QPlainTextEdit::NoWrap);
  editor.textDocument().replaceWholeText(QStringLiteral("one\r\n\r\nthree\r\n"));
  editor.setSelection(tessera::TextPosition(5), 3);
  editor.textDocument().setModified(true);
  ScriptedPrompts prompts;
  FakePrinter printer;
  PrintCommand command(editor, prompts, nullptr);
  command.setPrinter(&printer);
  prompts.answerButton(QMessageBox::Ok);
  command.run();
  QCOMPARE(printer.jobs, 1);
  QCOMPARE(printer.usedPrinter, QStringLiteral("Office"));
  QCOMPARE(printer.pages.size(), 1);
  QCOMPARE(pageTexts(printer.pages[0]), (QStringList{"one", "three"}));
  QCOMPARE(printer.pages[0].texts[1].topLeft, QPoint(0, 22 + 20));
  QCOMPARE(prompts.asked.size(), 1); // no error box
  QCOMPARE(editor.textDocument().wholeText(), QStringLiteral("one\r\n\r\nthree\r\n"));
  QCOMPARE(editor.selectionStart().value, 5);
  QCOMPARE(editor.selectionLength(), 3);
  QVERIFY(editor.textDocument().isModified());
}

void PrintCommandTest::failures_data() {
  QTest::addColumn<QString>("printerName");
  QTest::addColumn<int>("status");
  QTest::addColumn<int>("jobs");
  QTest::addColumn<QString>("error");
  QTest::newRow("no default printer")
      << QString() << int(PrintStatus::Printed) << 0
      << QStringLiteral("There is no default printer currently selected");
  QTest::newRow("invalid printer") << QStringLiteral("Gone") << int(PrintStatus::InvalidPrinter)
                                   << 1 << QStringLiteral("Printer selected is not valid");
  QTest::newRow("device error") << QStringLiteral("Office") << int(PrintStatus::DeviceError) << 1
                                << QStringLiteral("Error: print");
}

void PrintCommandTest::failures() {
  QFETCH(QString, printerName);
  QFETCH(int, status);
  QFETCH(int, jobs);
  QFETCH(QString, error);
  SourceEditor editor;
  editor.textDocument().replaceWholeText(QStringLiteral("text"));
  ScriptedPrompts prompts;
  FakePrinter printer;
  printer.name = printerName;
  printer.status = PrintStatus(status);
  PrintCommand command(editor, prompts, nullptr);
  command.setPrinter(&printer);
  prompts.answerButton(QMessageBox::Ok);
  prompts.answerButton(QMessageBox::Ok);
  command.run();
  QCOMPARE(printer.jobs, jobs);
  QCOMPARE(prompts.asked.size(), 2);
  QCOMPARE(prompts.asked[1].caption, QStringLiteral("Error"));
  QCOMPARE(prompts.asked[1].icon, QMessageBox::Critical);
  QCOMPARE(prompts.asked[1].text, error);
  QCOMPARE(prompts.asked[1].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void PrintCommandTest::editorLines_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("lines");
  QTest::newRow("empty document has no lines") << QString() << QStringList{};
  QTest::newRow("one empty line") << QStringLiteral("\r\n") << QStringList{""};
  QTest::newRow("final break opens no line")
      << QStringLiteral("a\r\nb\r\n") << QStringList{"a", "b"};
  QTest::newRow("no final break") << QStringLiteral("a\r\n\r\nb") << QStringList{"a", "", "b"};
  QTest::newRow("tabs and form feeds kept") << QStringLiteral("a\tb\fc") << QStringList{"a\tb\fc"};
  QTest::newRow("5000 characters cut to 4096")
      << QString(5000, QLatin1Char('x')) << QStringList{QString(4096, QLatin1Char('x'))};
}

void PrintCommandTest::editorLines() {
  QFETCH(QString, text);
  QFETCH(QStringList, lines);
  SourceEditor editor;
  editor.setLineWrapMode(QPlainTextEdit::NoWrap);
  editor.textDocument().replaceWholeText(text);
  QCOMPARE(PrintCommand::editorLines(editor), lines);
}

void PrintCommandTest::wrappedRowsArePrintedAsShown() {
  SourceEditor editor;
  editor.resize(200, 300);
  editor.show();
  QVERIFY(QTest::qWaitForWindowExposed(&editor));
  const QString words = QStringLiteral("alpha beta gamma delta epsilon zeta eta theta iota kappa");
  editor.textDocument().replaceWholeText(words + QStringLiteral("\r\nend"));
  const QStringList lines = PrintCommand::editorLines(editor);
  QCOMPARE(lines.size(), editor.lineCount());
  QVERIFY(lines.size() > 2);
  QCOMPARE(lines.mid(0, lines.size() - 1).join(QString()), words);
  QCOMPARE(lines.last(), QStringLiteral("end"));
  for (int i = 0; i < lines.size(); ++i)
    QCOMPARE(lines[i], editor.lineText(i));
}

QTEST_MAIN(PrintCommandTest)
#include "tst_printcommand.moc"
