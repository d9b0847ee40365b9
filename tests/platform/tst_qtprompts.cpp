// The program's real message boxes show a quoted tag as text: a question
// holding "<img src=... />" must not turn into a broken picture.
#include "platform/QtPrompts.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace {

// Answers the next modal box with Escape once it is up, noting what its
// text label would draw.
struct BoxReader {
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  bool seen = false;

  void arm() {
    QTimer::singleShot(10, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) {
        arm();
        return;
      }
      const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
      if (label) {
        text = label->text();
        format = label->textFormat();
      }
      seen = true;
      box->reject();
    });
  }
};

} // namespace

class QtPromptsTest : public QObject {
  Q_OBJECT
private slots:
  void quotedMarkupStaysText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("question");
    const QString picture = QStringLiteral("Insert <img src=\"logo.wbmp\" alt=\"logo\"/> here?");
    const QString bold = QStringLiteral("<b>x</b> is not allowed in <option>");
    QTest::newRow("message with a picture tag") << picture << false;
    QTest::newRow("question with a picture tag") << picture << true;
    QTest::newRow("message with a bold tag") << bold << false;
    QTest::newRow("question with a bold tag") << bold << true;
  }
  void quotedMarkupStaysText() {
    QFETCH(QString, text);
    QFETCH(bool, question);
    tessera::QtPrompts prompts;
    BoxReader reader;
    reader.arm();
    if (question)
      QCOMPARE(prompts.choose(nullptr, QMessageBox::Question, "Caption", text, {"Yes", "No"}), 1);
    else
      prompts.message(nullptr, QMessageBox::Warning, "Caption", text, QMessageBox::Ok);
    QVERIFY(reader.seen);
    QCOMPARE(reader.text, text);
    QCOMPARE(reader.format, Qt::PlainText);
  }
};

QTEST_MAIN(QtPromptsTest)
#include "tst_qtprompts.moc"
