#include "FileBytes.h"
#include "TestServices.h"
#include "app/MainWindow.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

// Every way through the save question of closing, New and Open, with every
// answer of the question and of the file dialogs, and writes and loads that
// succeed or fail: unsaved text may only leave the editor after the user's
// No or once it is on disk, and while it stays it must still count as
// unsaved, so that the next command asks again.
namespace {
const QString kUnsaved = QStringLiteral("unsaved work\r\n");

enum class Question { Yes, No, Cancel, Escape, Closed };
enum class SaveAs { Cancel, Good, Failing };
enum class OpenAs { Cancel, Good, Missing, Directory };

} // namespace

class ClosePathsTest : public QObject {
  Q_OBJECT
private slots:
  void noPathLosesText_data();
  void noPathLosesText();
};

void ClosePathsTest::noPathLosesText_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<int>("question");
  QTest::addColumn<int>("saveAs");
  QTest::addColumn<int>("openAs");
  const char* questions[] = {"yes", "no", "cancel", "escape", "box closed"};
  const char* saves[] = {"dialog cancelled", "saved", "write fails"};
  const char* opens[] = {"open cancelled", "file opened", "file missing", "a directory"};
  for (const char* command : {"close", "new", "open"}) {
    for (int q = 0; q < 5; ++q) {
      const int saveCount = q == int(Question::Yes) ? 3 : 1;
      for (int s = 0; s < saveCount; ++s) {
        const int openCount = QByteArray(command) == "open" ? 4 : 1;
        for (int o = 0; o < openCount; ++o) {
          QByteArray name = QByteArray(command) + ", " + questions[q];
          if (saveCount > 1)
            name += QByteArray(", ") + saves[s];
          if (openCount > 1)
            name += QByteArray(", ") + opens[o];
          QTest::newRow(name.constData()) << QString::fromLatin1(command) << q << s << o;
        }
      }
    }
  }
}

void ClosePathsTest::noPathLosesText() {
  QFETCH(QString, command);
  QFETCH(int, question);
  QFETCH(int, saveAs);
  QFETCH(int, openAs);
  QTemporaryDir dir;
  QFile other(dir.filePath(QStringLiteral("other.wml")));
  QVERIFY(other.open(QIODevice::WriteOnly));
  other.write("another document\r\n");
  other.close();
  QFile plain(dir.filePath(QStringLiteral("plain")));
  QVERIFY(plain.open(QIODevice::WriteOnly));
  plain.close();

  TestServices t;
  MainWindow w(t.services());
  w.show();
  SourceEditor* editor = w.editor();
  editor->textDocument().replaceWholeText(kUnsaved);
  QVERIFY(editor->textDocument().isModified());

  const QString savedPath = dir.filePath(QStringLiteral("saved.wml"));
  switch (Question(question)) {
  case Question::Yes: t.prompts.answerButton(QMessageBox::Yes); break;
  case Question::No: t.prompts.answerButton(QMessageBox::No); break;
  case Question::Cancel: t.prompts.answerButton(QMessageBox::Cancel); break;
  case Question::Escape: t.prompts.answerButton(QMessageBox::Escape); break;
  case Question::Closed: break; // no answer: the box was closed
  }
  if (Question(question) == Question::Yes) {
    switch (SaveAs(saveAs)) {
    case SaveAs::Cancel: t.prompts.answerFile(QString()); break;
    case SaveAs::Good: t.prompts.answerFile(savedPath); break;
    case SaveAs::Failing:
      t.prompts.answerFile(dir.filePath(QStringLiteral("plain/saved.wml")));
      t.prompts.answerButton(QMessageBox::Ok);
      break;
    }
  }
  const bool goesOn = Question(question) == Question::No ||
                      (Question(question) == Question::Yes && SaveAs(saveAs) == SaveAs::Good);
  if (command == QLatin1String("open") && goesOn) {
    switch (OpenAs(openAs)) {
    case OpenAs::Cancel: t.prompts.answerFile(QString()); break;
    case OpenAs::Good: t.prompts.answerFile(other.fileName()); break;
    case OpenAs::Missing:
      t.prompts.answerFile(dir.filePath(QStringLiteral("missing.wml")));
      t.prompts.answerButton(QMessageBox::Ok);
      break;
    case OpenAs::Directory:
      t.prompts.answerFile(dir.path());
      t.prompts.answerButton(QMessageBox::Ok);
      break;
    }
  }

  bool closed = false;
  if (command == QLatin1String("close"))
    closed = w.close();
  else if (command == QLatin1String("new"))
    w.action(QStringLiteral("Fjl2"))->trigger();
  else
    w.action(QStringLiteral("Nyomtats1"))->trigger();

  QCOMPARE(t.prompts.beeps, 1);
  QCOMPARE(t.prompts.pendingAnswers(), 0);
  const bool onDisk = readFileBytes(savedPath) == kUnsaved.toUtf8();
  const bool userSaidNo = Question(question) == Question::No;
  const bool kept = editor->textDocument().holdsText(kUnsaved);
  // The text may go only after No or once it is saved.
  if (!kept || closed)
    QVERIFY2(userSaidNo || onDisk, "unsaved text was discarded");
  // Kept but not saved: it must still count as unsaved.
  if (kept && !onDisk && !closed)
    QVERIFY2(editor->textDocument().isModified(), "unsaved text no longer counts as unsaved");
  // Saved text that stays in the editor counts as saved.
  if (kept && onDisk && !closed)
    QVERIFY(!editor->textDocument().isModified());
  if (command == QLatin1String("close"))
    QCOMPARE(closed, goesOn);
  // A failed write was reported, never passed over in silence.
  if (Question(question) == Question::Yes && SaveAs(saveAs) == SaveAs::Failing)
    QVERIFY(t.prompts.asked.last().text.startsWith(QStringLiteral("Cannot create file")));

  // Whatever happened, closing now asks again exactly when text is unsaved.
  if (!closed) {
    t.prompts.clear();
    const bool unsaved = editor->textDocument().isModified();
    if (unsaved)
      t.prompts.answerButton(QMessageBox::Cancel);
    QCOMPARE(w.close(), !unsaved);
    QCOMPARE(t.prompts.beeps, unsaved ? 1 : 0);
  }
}

QTEST_MAIN(ClosePathsTest)
#include "tst_closepaths.moc"
