#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "generators/GeneratorTexts.h"
#include "generators/TableEditor.h"
#include "generators/TablePreview.h"
#include "platform/ScriptedPrompts.h"

#include <QBuffer>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

// The table editor's steps, its reset on every close, the preview files it
// reads and the pictures the build draws for it.
class TableEditorTest : public QObject {
  Q_OBJECT
private slots:
  void init();
  void cleanup();
  void opensAtStepOne();
  void everyShape_data();
  void everyShape();
  void rowsReadyWithoutChoice_data();
  void rowsReadyWithoutChoice();
  void previewErrors_data();
  void previewErrors();
  void retryFromReady();
  void everyCloseResets_data();
  void everyCloseResets();
  void insertReplacesSelection();
  void drawnPreviewShowsGrid_data();
  void drawnPreviewShowsGrid();
  void previewBackgroundIsTransparent();
  void buildInstalledEveryPreview();

private:
  template <typename T> T* child(const QString& name) {
    T* w = dialog->findChild<T*>(name);
    if (!w)
      qFatal("no child %s", qPrintable(name));
    return w;
  }
  QPushButton* button(const QString& name) { return child<QPushButton>(name); }
  QGroupBox* group(const QString& name) { return child<QGroupBox>(name); }
  void choose(const QString& groupName, int item) {
    child<QRadioButton>(groupName + QStringLiteral("Item%1").arg(item))->click();
  }
  int chosen(const QString& groupName) {
    for (int i = 1; i <= 4; ++i)
      if (child<QRadioButton>(groupName + QStringLiteral("Item%1").arg(i))->isChecked())
        return i;
    return 0;
  }
  QList<QPushButton*> shownInsertButtons() {
    QList<QPushButton*> shown;
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->text() == QLatin1String("Insert") && !b->isHidden())
        shown << b;
    return shown;
  }
  void verifyStepOne();
  void reachReady(int columns, int rows);
  void writePreviews();

  QTemporaryDir* data = nullptr;
  SourceEditor* editor = nullptr;
  ScriptedPrompts* prompts = nullptr;
  TableEditor* dialog = nullptr;
};

void TableEditorTest::writePreviews() {
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 4; ++r)
      QVERIFY(drawTablePreview(c, r).save(data->filePath(tablePreviewFileName(c, r)), "BMP"));
}

void TableEditorTest::init() {
  data = new QTemporaryDir;
  writePreviews();
  editor = new SourceEditor;
  editor->textDocument().replaceWholeText(QStringLiteral("ab\r\ncd"));
  editor->textDocument().setModified(false);
  editor->setSelection(tessera::TextPosition(2), 0);
  prompts = new ScriptedPrompts;
  dialog = new TableEditor(*editor, *prompts);
  dialog->setPreviewFolder(data->path());
  dialog->show();
}

void TableEditorTest::cleanup() {
  delete dialog;
  delete prompts;
  delete editor;
  delete data;
}

void TableEditorTest::verifyStepOne() {
  QVERIFY(group("RadioGroup1")->isEnabled());
  QCOMPARE(chosen("RadioGroup1"), 1);
  QVERIFY(button("BitBtn1")->isEnabled());
  QVERIFY(!group("Oszlop1")->isHidden());
  QVERIFY(!group("Oszlop1")->isEnabled());
  for (int c = 1; c <= 4; ++c) {
    const QString name = QStringLiteral("Oszlop%1").arg(c);
    QCOMPARE(chosen(name), 0);
    QCOMPARE(group(name)->isHidden(), c != 1);
  }
  QVERIFY(!button("BitBtn2")->isHidden());
  QVERIFY(!button("BitBtn2")->isEnabled());
  QVERIFY(button("TobbiOszlop1")->isHidden());
  QVERIFY(child<QLabel>("Image1")->isHidden());
  QCOMPARE(shownInsertButtons(), QList<QPushButton*>{button("BitBtn6")});
  QVERIFY(!button("BitBtn6")->isEnabled());
  QVERIFY(button("BitBtn5")->isEnabled());
  QVERIFY(button("BitBtn3")->isEnabled());
}

void TableEditorTest::opensAtStepOne() {
  verifyStepOne();
  QCOMPARE(dialog->windowTitle(), QStringLiteral("Table Editor"));
  QCOMPARE(dialog->size(), QSize(449, 425));
  QVERIFY(dialog->isModal());
  QCOMPARE(group("Oszlop1")->title(), QStringLiteral("2. step - Row number"));
  QCOMPARE(group("Oszlop4")->title(), QStringLiteral("2. step - Number of rows"));
}

void TableEditorTest::reachReady(int columns, int rows) {
  choose("RadioGroup1", columns);
  button("BitBtn1")->click();
  choose(QStringLiteral("Oszlop%1").arg(columns), rows);
  button(columns == 1 ? "BitBtn2" : "TobbiOszlop1")->click();
}

void TableEditorTest::everyShape_data() {
  QTest::addColumn<int>("columns");
  QTest::addColumn<int>("rows");
  QTest::addColumn<QString>("insertButton");
  const char* const prefixes[] = {"BitBtn4", "KetX", "HaromX", "NegyX"};
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 4; ++r)
      QTest::addRow("%dx%d", c, r)
          << c << r << (c == 1 ? QStringLiteral("BitBtn4") : prefixes[c - 1] + QString::number(r));
}

void TableEditorTest::everyShape() {
  QFETCH(int, columns);
  QFETCH(int, rows);
  QFETCH(QString, insertButton);

  choose("RadioGroup1", columns);
  button("BitBtn1")->click();
  // Rows step: only the group of the chosen count shows, enabled and empty.
  QVERIFY(!group("RadioGroup1")->isEnabled());
  QVERIFY(!button("BitBtn1")->isEnabled());
  const QString rowGroup = QStringLiteral("Oszlop%1").arg(columns);
  for (int c = 1; c <= 4; ++c)
    QCOMPARE(group(QStringLiteral("Oszlop%1").arg(c))->isHidden(), c != columns);
  QVERIFY(group(rowGroup)->isEnabled());
  QCOMPARE(chosen(rowGroup), 0);
  QPushButton* rowsReady = button(columns == 1 ? "BitBtn2" : "TobbiOszlop1");
  QVERIFY(!rowsReady->isHidden());
  QVERIFY(rowsReady->isEnabled());
  QVERIFY(button(columns == 1 ? "TobbiOszlop1" : "BitBtn2")->isHidden());

  choose(rowGroup, rows);
  rowsReady->click();
  QVERIFY2(prompts->asked.isEmpty(), qPrintable(prompts->asked.value(0).text));
  // Ready: the shape's own Insert button, the preview shown.
  QCOMPARE(shownInsertButtons(), QList<QPushButton*>{button(insertButton)});
  QVERIFY(button(insertButton)->isEnabled());
  auto* image = child<QLabel>("Image1");
  QVERIFY(!image->isHidden());
  QCOMPARE(image->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
           withTransparentBackground(drawTablePreview(columns, rows))
               .convertToFormat(QImage::Format_RGB32));
  QVERIFY(!group(rowGroup)->isEnabled());
  QVERIFY(!rowsReady->isEnabled());
  QCOMPARE(chosen(rowGroup), rows);

  button(insertButton)->click();
  const QString table = tableText(columns, rows);
  QCOMPARE(editor->textDocument().wholeText(), "ab" + table + "\r\ncd");
  QCOMPARE(editor->caretPosition().value, 2 + table.size());
  QVERIFY(!dialog->isVisible());
  QCOMPARE(dialog->result(), int(QDialog::Accepted));
  verifyStepOne();
}

void TableEditorTest::rowsReadyWithoutChoice_data() {
  QTest::addColumn<int>("columns");
  for (int c = 1; c <= 4; ++c)
    QTest::addRow("%d columns", c) << c;
}

void TableEditorTest::rowsReadyWithoutChoice() {
  QFETCH(int, columns);
  choose("RadioGroup1", columns);
  button("BitBtn1")->click();
  QPushButton* rowsReady = button(columns == 1 ? "BitBtn2" : "TobbiOszlop1");
  rowsReady->click();
  QCOMPARE(prompts->beeps, 1);
  QCOMPARE(prompts->asked.size(), 1);
  QCOMPARE(prompts->asked.first().text, QStringLiteral("Please select!"));
  QCOMPARE(prompts->asked.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  // Still in the rows step, nothing changed.
  const QString rowGroup = QStringLiteral("Oszlop%1").arg(columns);
  QVERIFY(group(rowGroup)->isEnabled());
  QVERIFY(rowsReady->isEnabled());
  QCOMPARE(shownInsertButtons(), QList<QPushButton*>{button("BitBtn6")});
  QVERIFY(child<QLabel>("Image1")->isHidden());
  // A choice then completes the step.
  choose(rowGroup, 2);
  rowsReady->click();
  QCOMPARE(prompts->asked.size(), 1);
  QCOMPARE(shownInsertButtons().size(), 1);
  QVERIFY(shownInsertButtons().first() != button("BitBtn6"));
  QVERIFY(!child<QLabel>("Image1")->isHidden());
}

void TableEditorTest::previewErrors_data() {
  QTest::addColumn<int>("columns");
  QTest::addColumn<QString>("damage"); // missing, garbage, png, folder
  QTest::addColumn<bool>("cannotOpen");
  QTest::newRow("1 column, missing") << 1 << "missing" << true;
  QTest::newRow("3 columns, missing") << 3 << "missing" << true;
  QTest::newRow("2 columns, a folder by that name") << 2 << "folder" << true;
  QTest::newRow("1 column, garbage") << 1 << "garbage" << false;
  QTest::newRow("4 columns, truncated bitmap") << 4 << "truncated" << false;
  QTest::newRow("3 columns, a PNG by that name") << 3 << "png" << false;
}

void TableEditorTest::previewErrors() {
  QFETCH(int, columns);
  QFETCH(QString, damage);
  QFETCH(bool, cannotOpen);
  const QString path = QDir(data->path()).absoluteFilePath(tablePreviewFileName(columns, 2));
  QFile file(path);
  if (damage == "missing" || damage == "folder") {
    QVERIFY(QFile::remove(path));
    if (damage == "folder")
      QVERIFY(QDir().mkdir(path));
  } else {
    QByteArray bytes = "not a picture at all";
    if (damage == "truncated") {
      QVERIFY(file.open(QIODevice::ReadOnly));
      bytes = file.read(40);
      file.close();
    } else if (damage == "png") {
      QBuffer buffer(&bytes);
      bytes.clear();
      buffer.open(QIODevice::WriteOnly);
      QVERIFY(drawTablePreview(columns, 2).save(&buffer, "PNG"));
    }
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
    file.close();
  }

  reachReady(columns, 2);
  QCOMPARE(prompts->asked.size(), 1);
  const auto& asked = prompts->asked.first();
  QCOMPARE(asked.caption, QStringLiteral("Error"));
  if (cannotOpen) {
    const QString start =
        QStringLiteral("Cannot open file \"%1\". ").arg(QDir::toNativeSeparators(path));
    QVERIFY2(asked.text.startsWith(start), qPrintable(asked.text));
    QVERIFY(asked.text.size() > start.size()); // the system's reason follows
  } else {
    QCOMPARE(asked.text, QStringLiteral("Bitmap image is not valid"));
  }
  // The step stopped: no Insert, the rows step still usable.
  QCOMPARE(shownInsertButtons(), QList<QPushButton*>{button("BitBtn6")});
  QVERIFY(child<QLabel>("Image1")->isHidden());
  QVERIFY(group(QStringLiteral("Oszlop%1").arg(columns))->isEnabled());
  QVERIFY(button(columns == 1 ? "BitBtn2" : "TobbiOszlop1")->isEnabled());
  // Retry and Cancel still work, and the editor was never touched.
  button("BitBtn5")->click();
  verifyStepOne();
  reachReady(columns, 3);
  QCOMPARE(prompts->asked.size(), 1);
  QCOMPARE(shownInsertButtons().size(), 1);
  button("BitBtn3")->click();
  QVERIFY(!dialog->isVisible());
  QCOMPARE(editor->textDocument().wholeText(), QStringLiteral("ab\r\ncd"));
}

void TableEditorTest::retryFromReady() {
  reachReady(3, 4);
  QVERIFY(!button("NegyX4")->isVisible());
  QVERIFY(button("HaromX4")->isVisible());
  button("BitBtn5")->click();
  verifyStepOne();
  QVERIFY(dialog->isVisible());
  // The forgotten column count: one column, rows step for one column.
  button("BitBtn1")->click();
  QVERIFY(!group("Oszlop1")->isHidden());
  QVERIFY(group("Oszlop3")->isHidden());
  QCOMPARE(editor->textDocument().wholeText(), QStringLiteral("ab\r\ncd"));
}

void TableEditorTest::everyCloseResets_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<int>("stage"); // 0 step one changed, 1 rows chosen, 2 ready
  for (const QString how : {"cancel", "close box", "escape"})
    for (int stage = 0; stage <= 2; ++stage)
      QTest::newRow(qPrintable(how + QStringLiteral(" at stage %1").arg(stage))) << how << stage;
}

void TableEditorTest::everyCloseResets() {
  QFETCH(QString, how);
  QFETCH(int, stage);
  choose("RadioGroup1", 4);
  if (stage >= 1) {
    button("BitBtn1")->click();
    choose("Oszlop4", 3);
  }
  if (stage >= 2)
    button("TobbiOszlop1")->click();
  if (how == "cancel")
    button("BitBtn3")->click();
  else if (how == "close box")
    dialog->close();
  else
    QTest::keyClick(dialog, Qt::Key_Escape);
  QVERIFY(!dialog->isVisible());
  QCOMPARE(dialog->result(), int(QDialog::Rejected));
  verifyStepOne();
  QCOMPARE(editor->textDocument().wholeText(), QStringLiteral("ab\r\ncd"));
  QVERIFY(!editor->textDocument().isModified());
}

void TableEditorTest::insertReplacesSelection() {
  editor->textDocument().replaceWholeText(QStringLiteral("one two three"));
  editor->setSelection(tessera::TextPosition(4), 4); // "two "
  editor->textDocument().setModified(false);
  reachReady(2, 1);
  button("KetX1")->click();
  const QString table =
      QStringLiteral("<table columns=\"2\">\r\n<tr>\r\n<td>1. column, 1. row</td>\r\n"
                     "<td>2. column, 1. row</td>\r\n</tr>\r\n</table>\r\n");
  QCOMPARE(editor->textDocument().wholeText(), "one " + table + "three");
  QCOMPARE(editor->caretPosition().value, 4 + table.size());
  QCOMPARE(editor->selectionLength(), 0);
  QVERIFY(editor->textDocument().isModified());
}

void TableEditorTest::drawnPreviewShowsGrid_data() { everyShape_data(); }

// Counts the runs of grid-line pixels crossed along a line through the
// picture: a c by r grid crosses c + 1 vertical and r + 1 horizontal lines.
void TableEditorTest::drawnPreviewShowsGrid() {
  QFETCH(int, columns);
  QFETCH(int, rows);
  const QImage image = drawTablePreview(columns, rows);
  QCOMPARE(image.size(), QSize(kPreviewWidth, kPreviewHeight));
  const QRgb line = qRgb(64, 64, 64);
  const auto runs = [&](bool across) {
    int count = 0;
    bool inside = false;
    const int length = across ? image.width() : image.height();
    for (int i = 0; i < length; ++i) {
      // Just inside the first cell, clear of the text bars in the middle.
      const QRgb pixel = across ? image.pixel(i, 10) : image.pixel(10, i);
      const bool isLine = pixel == line;
      count += isLine && !inside;
      inside = isLine;
    }
    return count;
  };
  QCOMPARE(runs(true), columns + 1);
  QCOMPARE(runs(false), rows + 1);
}

void TableEditorTest::previewBackgroundIsTransparent() {
  const LoadedPreview loaded = loadPreview(data->filePath("2x2.bmp"));
  QVERIFY(loaded.ok());
  QVERIFY(loaded.errorText.isEmpty());
  const QImage& image = loaded.image;
  QCOMPARE(qAlpha(image.pixel(0, image.height() - 1)), 0);
  QCOMPARE(qAlpha(image.pixel(image.width() - 1, 0)), 0);
  const QPoint cell(image.width() / 4, image.height() / 8);
  QCOMPARE(qAlpha(image.pixel(cell)), 255);
  QCOMPARE(image.pixel(cell), drawTablePreview(2, 2).pixel(cell) | 0xff000000);
}

void TableEditorTest::buildInstalledEveryPreview() {
  // Tests run from build/tests; the program and its data live in build/bin.
  QDir installed(QCoreApplication::applicationDirPath() + "/../bin/data");
  if (!installed.exists())
    QSKIP("not run from the build tree");
  for (int c = 1; c <= 4; ++c) {
    for (int r = 1; r <= 4; ++r) {
      const LoadedPreview loaded = loadPreview(installed.filePath(tablePreviewFileName(c, r)));
      QVERIFY2(loaded.ok(), qPrintable(loaded.errorText));
      QCOMPARE(loaded.image, withTransparentBackground(drawTablePreview(c, r)));
    }
  }
}

QTEST_MAIN(TableEditorTest)
#include "tst_tableeditor.moc"
