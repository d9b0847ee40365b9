#include "document/DefaultDocument.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "generators/GeneratorTexts.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace tessera;

Q_DECLARE_METATYPE(tessera::MenuItem)
Q_DECLARE_METATYPE(tessera::SitePage)

// Pins the generated texts line by line and checks that they parse as XML.
class GeneratorTextsTest : public QObject {
  Q_OBJECT
private slots:
  void tableShapes_data();
  void tableShapes();
  void tableExamples_data();
  void tableExamples();
  void selectList_data();
  void selectList();
  void sitePage_data();
  void sitePage();
  void wellFormed_data();
  void wellFormed();
};

static QString crlf(const QStringList& lines) {
  return lines.join(QStringLiteral("\r\n")) + "\r\n";
}

void GeneratorTextsTest::tableShapes_data() {
  QTest::addColumn<int>("columns");
  QTest::addColumn<int>("rows");
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 4; ++r)
      QTest::addRow("%dx%d", c, r) << c << r;
}

// Every shape: the right line count, CR LF after every line and no bare
// CR or LF, each cell naming its own column and row in order.
void GeneratorTextsTest::tableShapes() {
  QFETCH(int, columns);
  QFETCH(int, rows);
  const QString text = tableText(columns, rows);
  QVERIFY(text.endsWith("\r\n"));
  QCOMPARE(text.count("\r\n"), 2 + rows * (columns + 2));
  QCOMPARE(text.count('\r'), text.count('\n'));
  QStringList lines = text.split("\r\n");
  QCOMPARE(lines.takeLast(), QString());
  QCOMPARE(lines.first(), QStringLiteral("<table columns=\"%1\">").arg(columns));
  QCOMPARE(lines.last(), QStringLiteral("</table>"));
  int at = 1;
  for (int r = 1; r <= rows; ++r) {
    QCOMPARE(lines.at(at++), QStringLiteral("<tr>"));
    for (int c = 1; c <= columns; ++c)
      QCOMPARE(lines.at(at++), QStringLiteral("<td>%1. column, %2. row</td>").arg(c).arg(r));
    QCOMPARE(lines.at(at++), QStringLiteral("</tr>"));
  }
  QCOMPARE(tablePreviewFileName(columns, rows), QStringLiteral("%1x%2.bmp").arg(columns).arg(rows));
}

void GeneratorTextsTest::tableExamples_data() {
  QTest::addColumn<int>("columns");
  QTest::addColumn<int>("rows");
  QTest::addColumn<QString>("expected");
  QTest::newRow("1x1") << 1 << 1
                       << "<table columns=\"1\">\r\n<tr>\r\n<td>1. column, 1. row</td>\r\n"
                          "</tr>\r\n</table>\r\n";
  QTest::newRow("1x3") << 1 << 3
                       << crlf({"<table columns=\"1\">", "<tr>", "<td>1. column, 1. row</td>",
                                "</tr>", "<tr>", "<td>1. column, 2. row</td>", "</tr>", "<tr>",
                                "<td>1. column, 3. row</td>", "</tr>", "</table>"});
  QTest::newRow("2x1") << 2 << 1
                       << crlf({"<table columns=\"2\">", "<tr>", "<td>1. column, 1. row</td>",
                                "<td>2. column, 1. row</td>", "</tr>", "</table>"});
}

void GeneratorTextsTest::tableExamples() {
  QFETCH(int, columns);
  QFETCH(int, rows);
  QFETCH(QString, expected);
  QCOMPARE(tableText(columns, rows), expected);
}

void GeneratorTextsTest::selectList_data() {
  QTest::addColumn<QString>("menuName");
  QTest::addColumn<QList<MenuItem>>("items");
  QTest::addColumn<QString>("expected");
  const MenuItem one{"Menu item 1", "http://"};
  const MenuItem two{"Menu item 2", "http://"};
  QTest::newRow("defaults, one item")
      << "Menu" << QList<MenuItem>{one}
      << "<p>\r\n<select title=\"Menu\">\r\n<option onpick=\"http://\">Menu item 1</option>\r\n"
         "</select>\r\n</p>\r\n";
  QTest::newRow("defaults, two items")
      << "Menu" << QList<MenuItem>{one, two}
      << crlf({"<p>", "<select title=\"Menu\">", "<option onpick=\"http://\">Menu item 1</option>",
               "<option onpick=\"http://\">Menu item 2</option>", "</select>", "</p>"});
  QTest::newRow("three items, link before name")
      << "Go" << QList<MenuItem>{{"A", "a.wml"}, {"B", "b.wml"}, {"C", "c.wml"}}
      << crlf({"<p>", "<select title=\"Go\">", "<option onpick=\"a.wml\">A</option>",
               "<option onpick=\"b.wml\">B</option>", "<option onpick=\"c.wml\">C</option>",
               "</select>", "</p>"});
  QTest::newRow("four items, markup and quotes verbatim, empty name")
      << "" << QList<MenuItem>{{"\"q\"", "x\"y"}, {"<b>", "&amp"}, {"", ""}, {"%1 %2", "%1"}}
      << crlf({"<p>", "<select title=\"\">", "<option onpick=\"x\"y\">\"q\"</option>",
               "<option onpick=\"&amp\"><b></option>", "<option onpick=\"\"></option>",
               "<option onpick=\"%1\">%1 %2</option>", "</select>", "</p>"});
}

void GeneratorTextsTest::selectList() {
  QFETCH(QString, menuName);
  QFETCH(QList<MenuItem>, items);
  QFETCH(QString, expected);
  const QString text = selectListText(menuName, items);
  QCOMPARE(text, expected);
  QCOMPARE(text.count("\r\n"), items.size() + 4);
}

void GeneratorTextsTest::sitePage_data() {
  QTest::addColumn<SitePage>("page");
  QTest::addColumn<QStringList>("middle"); // the lines between "<br/>" and "</p>"
  QTest::addColumn<QString>("cardLine");
  QTest::addColumn<QString>("linkLine");
  QTest::addColumn<QString>("welcomeLine");
  SitePage defaults;
  QTest::newRow("defaults: body ends with a break, so an empty line follows")
      << defaults << QStringList{"Sample text...", ""} << "<card title=\"My wap\" id=\"first\">"
      << "<a href=\"http://wap.example.com/user/index.wml\">My wap</a><br/>"
      << "<b>Welcome!</b><br/>";
  SitePage twoLines;
  twoLines.body = "first\r\nsecond";
  QTest::newRow("two body lines without a final break")
      << twoLines << QStringList{"first", "second"} << "<card title=\"My wap\" id=\"first\">"
      << "<a href=\"http://wap.example.com/user/index.wml\">My wap</a><br/>"
      << "<b>Welcome!</b><br/>";
  SitePage odd;
  odd.siteName = "";
  odd.siteAddress = "a?b=1&c=\"2\"";
  odd.welcomeText = "<i>%1</i>";
  odd.body = "";
  QTest::newRow("empty and markup values verbatim, empty body")
      << odd << QStringList{""} << "<card title=\"\" id=\"first\">"
      << "<a href=\"a?b=1&c=\"2\"\"></a><br/>"
      << "<b><i>%1</i></b><br/>";
}

void GeneratorTextsTest::sitePage() {
  QFETCH(SitePage, page);
  QFETCH(QStringList, middle);
  QFETCH(QString, cardLine);
  QFETCH(QString, linkLine);
  QFETCH(QString, welcomeLine);
  QStringList expected = pageHeader().split("\r\n");
  expected.removeLast();
  expected << "<wml>"
           << "" << cardLine << "<p align=\"center\">" << linkLine << welcomeLine << "<br/>"
           << middle << "</p>"
           << ""
           << "</card>"
           << "</wml>";
  const QString text = sitePageText(page);
  QCOMPARE(text, crlf(expected));
  QCOMPARE(text.count('\r'), text.count('\n'));
  // The page opens exactly as the default document does.
  QVERIFY(text.startsWith(pageHeader()));
  QCOMPARE(defaultDocument().left(pageHeader().size()), pageHeader());
}

void GeneratorTextsTest::wellFormed_data() {
  QTest::addColumn<QString>("text");
  QTest::newRow("default site page") << sitePageText(SitePage());
  QTest::newRow("default document") << defaultDocument();

  // The two generators' defaults put where a user would: inside the sample
  // paragraph, replacing its text.
  SourceEditor editor;
  editor.textDocument().replaceWholeText(defaultDocument());
  const QString sample = QStringLiteral("Sample text...");
  const int at = defaultDocument().indexOf(sample);
  editor.setSelection(tessera::TextPosition(at), sample.size());
  editor.insertAtCaret(tableText(4, 4));
  editor.insertAtCaret(selectListText("Menu", {{"Menu item 1", "http://"},
                                               {"Menu item 2", "http://"},
                                               {"Menu item 3", "http://"},
                                               {"Menu item 4", "http://"}}));
  QTest::newRow("default document with a 4x4 table and a four-item menu")
      << editor.textDocument().wholeText();
}

void GeneratorTextsTest::wellFormed() {
  QFETCH(QString, text);
  const QString xmllint = QStandardPaths::findExecutable("xmllint");
  if (xmllint.isEmpty())
    QFAIL("xmllint not found: run scripts/setup.sh (package libxml2-utils)");
  QTemporaryDir dir;
  QVERIFY(dir.isValid());
  const QString path = dir.filePath("page.wml");
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(text.toUtf8());
  file.close();
  QProcess lint;
  lint.start(xmllint, {"--noout", "--nonet", path});
  QVERIFY(lint.waitForFinished(30000));
  QVERIFY2(lint.exitCode() == 0, qPrintable(lint.readAllStandardError()));
}

QTEST_MAIN(GeneratorTextsTest)
#include "tst_generatortexts.moc"
