// A machine whose print server cannot be reached has no default printer:
// File > Print says so and prints nothing.
#include "TestServices.h"
#include "app/MainWindow.h"
#include "document/PrinterSeam.h"
#include "editor/SourceEditor.h"

#include <QAction>
#include <QApplication>
#include <QTest>

using namespace tessera;

class NoPrinterTest : public QObject {
  Q_OBJECT
private slots:
  void printReportsNoDefaultPrinter();
  void unknownPrinterIsInvalid();
};

void NoPrinterTest::printReportsNoDefaultPrinter() {
  TestServices t;
  MainWindow w(t.services());
  t.prompts.answerButton(QMessageBox::Ok);
  t.prompts.answerButton(QMessageBox::Ok);
  w.action(QStringLiteral("Nyomtats2"))->trigger();
  QCOMPARE(t.prompts.asked.size(), 2);
  QCOMPARE(t.prompts.asked[0].text, QStringLiteral("Are you sure?"));
  QCOMPARE(t.prompts.asked[1].caption, QStringLiteral("Error"));
  QCOMPARE(t.prompts.asked[1].text,
           QStringLiteral("There is no default printer currently selected"));
}

void NoPrinterTest::unknownPrinterIsInvalid() {
  SystemPrinter printer;
  int layouts = 0;
  const PrintStatus status = printer.print(QStringLiteral("NoSuchPrinter"), QStringLiteral("job"),
                                           [&layouts](const TextMeasure&, QSize) {
                                             ++layouts;
                                             return QList<PrintedPage>{};
                                           });
  QCOMPARE(int(status), int(PrintStatus::InvalidPrinter));
  QCOMPARE(layouts, 0);
}

int main(int argc, char* argv[]) {
  // Points the printing library at a server that does not exist, before
  // anything asks it about printers.
  qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
  QApplication app(argc, argv);
  NoPrinterTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "tst_noprinter.moc"
