// Prints through a real print server onto a queue of the test's own and
// reads back the PDF that arrived. The server is started by the test, with
// everything under a temporary folder, and stopped at the end: the machine's
// printers and its default printer are neither used nor changed, and no
// root rights are needed.
#include "app/MainWindow.h"
#include "document/PrinterSeam.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "support/PrivatePrintServer.h"
#include "support/TestServices.h"

#include <QAction>
#include <QDeadlineTimer>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
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
  void cleanupTestCase();

private:
  // Prints the editor through File > Print and returns the text of each
  // page of the PDF that arrives.
  QStringList printAndRead(MainWindow& window, TestServices& test);
  PrivatePrintServer server_;
};

void CupsPrintTest::initTestCase() {
  QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(),
           "pdftotext is missing (poppler-utils)");
  // Before anything asks the printing library about printers.
  QVERIFY2(server_.start(), qPrintable(server_.error()));
  QCOMPARE(QPrinterInfo::defaultPrinterName(), QLatin1String(PrivatePrintServer::kQueue));
}

void CupsPrintTest::cleanupTestCase() { server_.stop(); }

QStringList CupsPrintTest::printAndRead(MainWindow& window, TestServices& test) {
  const QString received = server_.receivedFile();
  QFile::remove(received);
  test.prompts.answerButton(QMessageBox::Ok);
  window.action(QStringLiteral("Nyomtats2"))->trigger();
  for (const auto& asked : test.prompts.asked)
    if (asked.caption == QLatin1String("Error"))
      qWarning() << "error box:" << asked.text;
  if (test.prompts.asked.size() != 1 || test.prompts.anyUnexpected())
    return {QStringLiteral("<printing showed a message>")};

  // Wait for the job's file, until pdftotext can read it whole.
  QDeadlineTimer deadline(90000);
  while (!deadline.hasExpired()) {
    QThread::msleep(200);
    if (!QFile::exists(received))
      continue;
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {received, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(30000) || pdftotext.exitCode() != 0)
      continue; // still being written
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    QStringList pages = text.split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
      pages.removeLast();
    return pages;
  }
  qWarning().noquote() << server_.errorLog();
  return {QStringLiteral("<no job arrived>")};
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
  QVERIFY(!window.editor()->textDocument().isModified());
}

void CupsPrintTest::printsFormFeedAndLongLine() {
  TestServices test;
  MainWindow window(test.services());
  window.editor()->setLineWrapMode(QPlainTextEdit::NoWrap);
  // 4096 characters are printed, broken over several printed lines.
  const QString longLine = QString(4096, QLatin1Char('a')) + QString(904, QLatin1Char('b'));
  window.editor()->textDocument().replaceWholeText(
      QStringLiteral("first page\r\n\fsecond page\r\n") + longLine);
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
  QFile::remove(server_.receivedFile());
  const PrintStatus status =
      printer.print(QStringLiteral("NoSuchPrinter"), QStringLiteral("job"),
                    [](const TextMeasure&, QSize) { return QList<PrintedPage>{PrintedPage{}}; });
  QCOMPARE(int(status), int(PrintStatus::InvalidPrinter));
  QTest::qWait(1000);
  QVERIFY(!QFile::exists(server_.receivedFile()));
}

QTEST_MAIN(CupsPrintTest)
#include "tst_cupsprint.moc"
