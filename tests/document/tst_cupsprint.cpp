// Prints through the system's real print server onto a PDF printer and
// reads back what arrived. scripts/cups-setup.sh prepares the server; when
// it has not run this test fails rather than pass unchecked.
#include "app/MainWindow.h"
#include "document/PrinterSeam.h"
#include "editor/SourceEditor.h"
#include "support/TestServices.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

using namespace tessera;

class CupsPrintTest : public QObject {
  Q_OBJECT
private slots:
  void initTestCase();
  void printsDefaultDocumentOnOnePage();
  void printsFormFeedAndLongLine();
  void unknownPrinterIsInvalid();

private:
  // Prints the editor through File > Print and returns the text of each
  // page of the PDF that arrives.
  QStringList printAndRead(MainWindow& window, TestServices& test);
  QString outputFolder_;
};

void CupsPrintTest::initTestCase() {
  QVERIFY2(!QPrinterInfo::defaultPrinterName().isEmpty(),
           "no default printer: start the print server with scripts/cups-setup.sh");
  QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
           "pdftotext is missing (poppler-utils)");
  QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
  QVERIFY2(conf.open(QIODevice::ReadOnly), "the PDF printer is not installed");
  const QRegularExpression out(QStringLiteral("^Out\\s+(\\S+)\\s*$"),
                               QRegularExpression::MultilineOption);
  const auto match = out.match(QString::fromLocal8Bit(conf.readAll()));
  QVERIFY2(match.hasMatch(), "the PDF printer has no fixed output folder");
  outputFolder_ = match.captured(1);
  QVERIFY2(!outputFolder_.contains(QLatin1Char('$')), "the PDF output folder depends on the user");
}

QStringList CupsPrintTest::printAndRead(MainWindow& window, TestServices& test) {
  const QDir folder(outputFolder_);
  const QStringList before = folder.entryList({QStringLiteral("*.pdf")}, QDir::Files);
  test.prompts.answerButton(QMessageBox::Ok);
  window.action(QStringLiteral("Nyomtats2"))->trigger();
  for (const auto& asked : test.prompts.asked)
    if (asked.caption == QLatin1String("Error"))
      qWarning() << "error box:" << asked.text;
  if (test.prompts.asked.size() != 1 || test.prompts.anyUnexpected())
    return {QStringLiteral("<printing showed a message>")};

  // Wait for a new PDF that pdftotext can read whole.
  QDeadlineTimer deadline(90000);
  while (!deadline.hasExpired()) {
    QThread::msleep(300);
    const QStringList now = folder.entryList({QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
    for (const QString& name : now) {
      if (before.contains(name))
        continue;
      QProcess pdftotext;
      pdftotext.start(QStringLiteral("pdftotext"), {folder.filePath(name), QStringLiteral("-")});
      if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
        continue; // still being written
      QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
      QStringList pages = text.split(QLatin1Char('\f'));
      if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
      return pages;
    }
  }
  return {QStringLiteral("<no PDF arrived>")};
}

static QStringList nonEmptyLines(const QString& page) {
  QStringList lines;
  for (const QString& line : page.split(QLatin1Char('\n')))
    if (!line.trimmed().isEmpty())
      lines << line.trimmed();
  return lines;
}

void CupsPrintTest::printsDefaultDocumentOnOnePage() {
  TestServices test;
  MainWindow window(test.services());
  window.editor()->setLineWrapMode(QPlainTextEdit::NoWrap);
  const QStringList pages = printAndRead(window, test);
  QCOMPARE(pages.size(), 1);
  const QStringList lines = nonEmptyLines(pages[0]);
  QCOMPARE(lines.size(), 10); // twelve lines, two of them empty
  QCOMPARE(lines.first(), QStringLiteral("<?xml version=\"1.0\"?>"));
  QVERIFY2(lines.contains(QStringLiteral("<card title=\"Card Title\" id=\"first\">")),
           qPrintable(lines.join(QLatin1Char('\n'))));
  QCOMPARE(lines.last(), QStringLiteral("</wml>"));
  QVERIFY(!window.editor()->isModifiedFlag());
}

void CupsPrintTest::printsFormFeedAndLongLine() {
  TestServices test;
  MainWindow window(test.services());
  window.editor()->setLineWrapMode(QPlainTextEdit::NoWrap);
  // 4096 characters are printed, broken over several printed lines.
  const QString longLine = QString(4096, QLatin1Char('a')) + QString(904, QLatin1Char('b'));
  window.editor()->replaceWholeText(QStringLiteral("first page\r\n\fsecond page\r\n") + longLine);
  const QStringList pages = printAndRead(window, test);
  QCOMPARE(pages.size(), 2);
  QCOMPARE(nonEmptyLines(pages[0]), QStringList{QStringLiteral("first page")});
  const QStringList second = nonEmptyLines(pages[1]);
  QVERIFY(second.size() > 2);
  QCOMPARE(second.first(), QStringLiteral("second page"));
  const QString printed = second.mid(1).join(QString());
  QCOMPARE(printed.size(), 4096);
  QCOMPARE(printed.count(QLatin1Char('a')), 4096);
}

void CupsPrintTest::unknownPrinterIsInvalid() {
  SystemPrinter printer;
  const QStringList before = QDir(outputFolder_).entryList({QStringLiteral("*.pdf")}, QDir::Files);
  const PrintStatus status = printer.print(
      QStringLiteral("NoSuchPrinter"), QStringLiteral("job"),
      [](const TextMeasure&, QSize) { return QList<PrintedPage>{PrintedPage{}}; });
  QCOMPARE(int(status), int(PrintStatus::InvalidPrinter));
  QTest::qWait(1000);
  QCOMPARE(QDir(outputFolder_).entryList({QStringLiteral("*.pdf")}, QDir::Files), before);
}

QTEST_MAIN(CupsPrintTest)
#include "tst_cupsprint.moc"
