#include "document/DefaultDocument.h"
#include "generators/GeneratorTexts.h"
#include "generators/SiteWizard.h"
#include "platform/ScriptedPrompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

// The site wizard's fields, its save dialog, the file it writes and its
// reset on every close.
class SiteWizardTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void opensWithDefaults();
  void siteNameTakesFifteenCharacters();
  void cancelThenSaveWritesOnePage();
  void savedPageMatchesFields_data();
  void savedPageMatchesFields();
  void saveReplacesExistingFile();
  void failedWriteKeepsWindow();
  void everyCloseResets_data();
  void everyCloseResets();
  void enterMovesToNextField();

private:
  template <typename T> T* child(const QString& name) {
    T* w = dialog->findChild<T*>(name);
    if (!w)
      qFatal("no child %s", qPrintable(name));
    return w;
  }
  QLineEdit* edit(const QString& name) { return child<QLineEdit>(name); }
  QPlainTextEdit* body() { return child<QPlainTextEdit>("Memo1"); }
  QPushButton* button(const QString& name) { return child<QPushButton>(name); }
  void verifyDefaults();
  static QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
  }

  QTemporaryDir* dir = nullptr;
  ScriptedPrompts* prompts = nullptr;
  SiteWizard* dialog = nullptr;
};

void SiteWizardTest::init() {
  dir = new QTemporaryDir;
  prompts = new ScriptedPrompts;
  dialog = new SiteWizard(*prompts);
  dialog->show();
}

void SiteWizardTest::cleanup() {
  QVERIFY(!prompts->anyUnexpected());
  delete dialog;
  delete prompts;
  delete dir;
}

void SiteWizardTest::verifyDefaults() {
  QCOMPARE(edit("Edit1")->text(), QStringLiteral("My wap"));
  QCOMPARE(edit("Edit2")->text(), SitePage::defaultSiteAddress());
  QVERIFY(edit("Edit2")->text().startsWith("http://"));
  QVERIFY(edit("Edit2")->text().endsWith("/user/index.wml"));
  QCOMPARE(edit("Edit3")->text(), QStringLiteral("Welcome!"));
  QCOMPARE(body()->toPlainText(), QStringLiteral("Sample text...\n"));
  QCOMPARE(dialog->pageBuffer(), QString());
}

void SiteWizardTest::opensWithDefaults() {
  verifyDefaults();
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Site Wizard"));
  QCOMPARE(dialog->size(), QSize(449, 452));
  QVERIFY(dialog->isModal());
  QCOMPARE(dialog->fields().body, QStringLiteral("Sample text...\r\n"));
}

void SiteWizardTest::siteNameTakesFifteenCharacters() {
  QLineEdit* name = edit("Edit1");
  name->clear();
  QTest::keyClicks(name, "abcdefghijklmnop");
  QCOMPARE(name->text(), QStringLiteral("abcdefghijklmno"));
  // Pasting is cut to length as well.
  name->clear();
  name->insert(QString(20, 'x'));
  QCOMPARE(name->text().size(), 15);
}

void SiteWizardTest::cancelThenSaveWritesOnePage() {
  edit("Edit3")->setText("Hello");
  prompts->answerFile(QString()); // cancel
  button("BitBtn1")->click();
  QVERIFY(dialog->isVisible());
  QCOMPARE(edit("Edit3")->text(), QStringLiteral("Hello"));
  QVERIFY(QDir(dir->path()).isEmpty());

  const SitePage page = dialog->fields();
  prompts->answerFile(dir->filePath("site")); // typed without extension
  button("BitBtn1")->click();
  QCOMPARE(prompts->asked.size(), 2);
  for (const auto& asked : prompts->asked) {
    QCOMPARE(asked.kind, ScriptedPrompts::Asked::SaveFile);
    QCOMPARE(asked.file.filters, QStringList{"WML Files (*.wml)"});
    QCOMPARE(asked.file.defaultSuffix, QStringLiteral("wml"));
    QVERIFY(asked.file.confirmOverwrite);
    QCOMPARE(asked.file.initialName, QString()); // nothing confirmed yet
  }
  QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"site.wml"});
  QCOMPARE(readAll(dir->filePath("site.wml")), sitePageText(page).toUtf8());
  QVERIFY(!dialog->isVisible());
  QCOMPARE(dialog->result(), int(QDialog::Accepted));
  verifyDefaults();

  // The next save proposes the name confirmed last.
  dialog->show();
  prompts->answerFile(QString());
  button("BitBtn1")->click();
  QCOMPARE(prompts->asked.last().file.initialName, dir->filePath("site.wml"));
}

void SiteWizardTest::savedPageMatchesFields_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("typedBody");
  QTest::addColumn<QByteArray>("expectedEnd"); // from the link line on
  const QByteArray link = "<a href=\"" + SitePage::defaultSiteAddress().toUtf8();
  QTest::newRow("defaults") << "My wap"
                            << "Sample text...\n"
                            << link + "\">My wap</a><br/>\r\n<b>Welcome!</b><br/>\r\n<br/>\r\n"
                                      "Sample text...\r\n\r\n</p>\r\n\r\n</card>\r\n</wml>\r\n";
  QTest::newRow("two lines, no final break")
      << "Two"
      << "one\ntwo"
      << link + "\">Two</a><br/>\r\n<b>Welcome!</b><br/>\r\n<br/>\r\none\r\ntwo\r\n</p>\r\n\r\n"
                "</card>\r\n</wml>\r\n";
  QTest::newRow("accented name and empty body")
      << QString::fromUtf8("Caf\xc3\xa9") << ""
      << link + "\">Caf\xc3\xa9</a><br/>\r\n<b>Welcome!</b><br/>\r\n<br/>\r\n\r\n</p>\r\n\r\n"
                "</card>\r\n</wml>\r\n";
}

void SiteWizardTest::savedPageMatchesFields() {
  QFETCH(QString, name);
  QFETCH(QString, typedBody);
  QFETCH(QByteArray, expectedEnd);
  edit("Edit1")->setText(name);
  body()->setPlainText(typedBody);
  prompts->answerFile(dir->filePath("page.wml"));
  button("BitBtn1")->click();
  const QByteArray bytes = readAll(dir->filePath("page.wml"));
  const QByteArray start = pageHeader().toUtf8() + "<wml>\r\n\r\n<card title=\"" + name.toUtf8() +
                           "\" id=\"first\">\r\n<p align=\"center\">\r\n";
  QCOMPARE(bytes, start + expectedEnd);
}

void SiteWizardTest::saveReplacesExistingFile() {
  const QString path = dir->filePath("old.wml");
  {
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(10000, 'z'));
  }
  prompts->answerFile(path);
  button("BitBtn1")->click();
  QCOMPARE(readAll(path), sitePageText(SitePage()).toUtf8());
}

void SiteWizardTest::failedWriteKeepsWindow() {
  edit("Edit1")->setText("Kept");
  const QString path = dir->filePath("missing-folder/page.wml");
  prompts->answerFile(path);
  prompts->answerButton(QMessageBox::Ok);
  button("BitBtn1")->click();
  QCOMPARE(prompts->asked.size(), 2);
  const auto& error = prompts->asked.at(1);
  QCOMPARE(error.caption, QStringLiteral("Error"));
  const QString start =
      QStringLiteral("Cannot create file \"%1\". ").arg(QDir::toNativeSeparators(path));
  QVERIFY2(error.text.startsWith(start), qPrintable(error.text));
  QVERIFY(error.text.size() > start.size());
  QVERIFY(dialog->isVisible());
  QCOMPARE(edit("Edit1")->text(), QStringLiteral("Kept"));
  QVERIFY(!QFile::exists(path));

  // The next Save builds the page afresh from the fields as they are now.
  edit("Edit3")->setText("Again");
  prompts->answerFile(dir->filePath("ok.wml"));
  button("BitBtn1")->click();
  QVERIFY(readAll(dir->filePath("ok.wml")).contains("<b>Again</b>"));
  QVERIFY(readAll(dir->filePath("ok.wml")).contains("<card title=\"Kept\""));
}

void SiteWizardTest::everyCloseResets_data() {
  QTest::addColumn<QString>("how");
  for (const char* how : {"cancel", "close box", "escape", "retry"})
    QTest::newRow(how) << QString::fromLatin1(how);
}

void SiteWizardTest::everyCloseResets() {
  QFETCH(QString, how);
  edit("Edit1")->setText("x");
  edit("Edit2")->setText("y");
  edit("Edit3")->setText("z");
  body()->setPlainText("w");
  prompts->answerFile(QString());
  button("BitBtn1")->click(); // builds the page, then cancelled
  QVERIFY(!dialog->pageBuffer().isEmpty());
  if (how == "cancel")
    button("BitBtn4")->click();
  else if (how == "close box")
    dialog->close();
  else if (how == "escape")
    QTest::keyClick(dialog, Qt::Key_Escape);
  else
    button("BitBtn3")->click();
  QCOMPARE(dialog->isVisible(), how == "retry");
  verifyDefaults();
  QVERIFY(QDir(dir->path()).isEmpty());
}

void SiteWizardTest::enterMovesToNextField() {
  QApplication::setActiveWindow(dialog);
  QVERIFY(QTest::qWaitForWindowActive(dialog));
  edit("Edit1")->setFocus();
  QTest::keyClick(edit("Edit1"), Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), edit("Edit2"));
  QTest::keyClick(edit("Edit2"), Qt::Key_Enter);
  QCOMPARE(QApplication::focusWidget(), edit("Edit3"));
  QTest::keyClick(edit("Edit3"), Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), body());
  // In the body Enter starts a new line and nothing is saved.
  body()->moveCursor(QTextCursor::End);
  QTest::keyClick(body(), Qt::Key_Return);
  QCOMPARE(body()->toPlainText(), QStringLiteral("Sample text...\n\n"));
  QCOMPARE(QApplication::focusWidget(), body());
  QVERIFY(prompts->asked.isEmpty());
  QVERIFY(dialog->isVisible());
}

QTEST_MAIN(SiteWizardTest)
#include "tst_sitewizard.moc"
