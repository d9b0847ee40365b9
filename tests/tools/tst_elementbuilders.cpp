#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"
#include "tools/CardBuilders.h"
#include "tools/InputBuilders.h"
#include "tools/LinkBuilders.h"
#include "tools/NavigationBuilders.h"
#include "tools/TelephonyBuilders.h"

#include <QTest>

using namespace tessera;

Q_DECLARE_METATYPE(tessera::Insertion)

// Every element text of the field tools, character for character.
class ElementBuildersTest : public QObject {
  Q_OBJECT
private slots:
  void texts_data();
  void texts();
  void cards_data();
  void cards();
  void timerValues_data();
  void timerValues();
  void doTypeList();
  void caretPlacesInEditor();
};

static std::optional<QString> off() { return std::nullopt; }

void ElementBuildersTest::texts_data() {
  QTest::addColumn<Insertion>("built");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("back");
  QTest::addColumn<bool>("rerun");
  const auto row = [](const char* name, const Insertion& built, const QString& text, int back = 0,
                      bool rerun = false) {
    QTest::newRow(name) << built << text << back << rerun;
  };
  row("link, defaults", linkElement("http://", "Link"), R"(<a href="http://">Link</a>)");
  row("link, key 1", linkElement("http://", "Link", QString("1")),
      R"(<a accesskey="1" href="http://">Link</a>)");
  row("link, key on but empty", linkElement("u", "t", QString()),
      R"(<a accesskey="" href="u">t</a>)");
  row("link, key #", linkElement("u", "t", QString("#")), R"(<a accesskey="#" href="u">t</a>)");
  row("link, empty url", linkElement("", "Link"), R"(<a href="">Link</a>)");
  row("link, unescaped text", linkElement("a?b&c", "Tom & \"Jerry\" <x>"),
      R"(<a href="a?b&c">Tom & "Jerry" <x></a>)");
  row("image", imageElement("http://x/a.wbmp", "picture"),
      R"(<img src="http://x/a.wbmp" alt="picture"/>)");
  row("image, empty name", imageElement("http://", ""), R"(<img src="http://" alt=""/>)");
  row("image link", imageLinkElement("img.wbmp", "page.wml"),
      R"(<a href="page.wml"><img src="img.wbmp"/></a>)");
  row("image link, defaults", imageLinkElement("http://", "http://"),
      R"(<a href="http://"><img src="http://"/></a>)");
  row("phone call", phoneCallLink("+3611234567", "Call"),
      R"(<a href="wtai://wp/mc;+3611234567">Call</a>)");
  row("phone call, blanks and dashes", phoneCallLink("06 1-234", "C"),
      R"(<a href="wtai://wp/mc;06 1-234">C</a>)");
  row("name list, name on", nameListLink("+3611234567", "Add to name list", QString("Adam")),
      R"(<a href="wtai://wp/ap;+3611234567;Adam">Add to name list</a>)");
  row("name list, name off", nameListLink("+3611234567", "Add", off()),
      R"(<a href="wtai://wp/ap;+3611234567">Add</a>)");
  row("name list, name on but empty", nameListLink("123", "Add", QString()),
      R"(<a href="wtai://wp/ap;123;">Add</a>)");
  row("input, both off", inputElement({"first", off(), off(), "text"}),
      R"(<input name="first" type="text"/>)");
  row("input, size on", inputElement({"first", QString("15"), off(), "text"}),
      R"(<input name="first" size="15" type="text"/>)");
  row("input, max on", inputElement({"first", off(), QString("255"), "text"}),
      R"(<input name="first" maxlength="255" type="text"/>)");
  row("input, both on", inputElement({"first", QString("15"), QString("255"), "password"}),
      R"(<input name="first" size="15" maxlength="255" type="password"/>)");
  row("input, size on but emptied", inputElement({"n", QString(""), off(), "text"}),
      R"(<input name="n" size="" type="text"/>)");
  row("comment", commentElement("word"), "<!-- word -->");
  row("comment, empty", commentElement(""), "<!--  -->");
  row("do element", doElement("accept", "Go", "http://"),
      "<do type=\"accept\" label=\"Go\">\r\n<go href=\"http://\"/>\r\n</do>");
  row("do element, vendor pattern", doElement("vnd.*", "", ""),
      "<do type=\"vnd.*\" label=\"\">\r\n<go href=\"\"/>\r\n</do>");
  row("back button", backButtonTemplate(),
      "<template>\r\n<do type=\"prev\" label=\"Back\">\r\n<prev/>\r\n</do>\r\n</template>");
  row("template", templateSkeleton(),
      "<template>\r\n<do type=\"\" label=\"\"><go href=\"\"/>\r\n</do>\r\n</template>", 44, true);
  row("paragraph, nothing selected", paragraphTool(""), "<p></p>", 4, true);
  row("paragraph, wrapped", paragraphTool("ab"), "<p>ab</p>", 4, true);
  row("refresh, one character", refreshTool("x"), "<refresh></refresh>", 10, true);
  row("refresh, lines", refreshTool("a\r\nb"), "<refresh>a\r\nb</refresh>", 10, true);
  row("head, one character", headTool("x"), "<head></head>", 7, true);
  row("head, wrapped", headTool("xy"), "<head>xy</head>", 7, true);
}

void ElementBuildersTest::texts() {
  QFETCH(Insertion, built);
  QFETCH(QString, text);
  QFETCH(int, back);
  QFETCH(bool, rerun);
  QCOMPARE(built.text, text);
  QCOMPARE(built.caretBack, back);
  QCOMPARE(built.rerunChange, rerun);
}

void ElementBuildersTest::cards_data() {
  QTest::addColumn<bool>("history");
  QTest::addColumn<bool>("timer");
  QTest::addColumn<QString>("text");
  const QString timerPart = "\r\n<onevent type=\"ontimer\">\r\n<go href=\"next.wml\"/>\r\n"
                            "</onevent>\r\n<timer value=\"50\"/>";
  QTest::newRow("plain") << false << false
                         << "<card id=\"second\" title=\"Card Title\">\r\n\r\n\r\n\r\n</card>";
  QTest::newRow("history") << true << false
                           << "<card id=\"second\" title=\"Card Title\" newcontext=\"true\">"
                              "\r\n\r\n\r\n\r\n</card>";
  QTest::newRow("timer") << false << true
                         << "<card id=\"second\" title=\"Card Title\">" + timerPart +
                                "\r\n\r\n\r\n\r\n</card>";
  QTest::newRow("history and timer")
      << true << true
      << "<card id=\"second\" title=\"Card Title\" newcontext=\"true\">" + timerPart +
             "\r\n\r\n\r\n\r\n</card>";
}

void ElementBuildersTest::cards() {
  QFETCH(bool, history);
  QFETCH(bool, timer);
  QFETCH(QString, text);
  const CardOutcome outcome =
      cardWithSettings({"second", "Card Title", history, timer, "5", "next.wml"});
  QVERIFY(outcome.ok());
  QCOMPARE(outcome.insertion, (Insertion{text, 0, false}));
  if (!history && !timer)
    QCOMPARE(plainCard("second", "Card Title"), outcome.insertion);
}

void ElementBuildersTest::timerValues_data() {
  QTest::addColumn<QString>("waiting");
  QTest::addColumn<QString>("timerValue"); // empty: the conversion fails
  QTest::newRow("0") << "0"
                     << "0";
  QTest::newRow("1") << "1"
                     << "10";
  QTest::newRow("leading zeros") << "007"
                                 << "70";
  QTest::newRow("999") << "999"
                       << "9990";
  QTest::newRow("empty") << ""
                         << "";
  QTest::newRow("pasted word") << "abc"
                               << "";
  QTest::newRow("digits and letters") << "1a"
                                      << "";
  QTest::newRow("sign") << "-5"
                        << "";
  QTest::newRow("blank") << " 5"
                         << "";
  QTest::newRow("far too long") << "12345678901"
                                << "";
}

void ElementBuildersTest::timerValues() {
  QFETCH(QString, waiting);
  QFETCH(QString, timerValue);
  const CardOutcome outcome = cardWithSettings({"c", "t", false, true, waiting, "u"});
  if (timerValue.isEmpty()) {
    QVERIFY(!outcome.ok());
    QCOMPARE(outcome.error, "'" + waiting + "' is not a valid integer value");
    QVERIFY(outcome.insertion.text.isEmpty());
    // Without the timer the waiting time is not read at all.
    QVERIFY(cardWithSettings({"c", "t", true, false, waiting, "u"}).ok());
  } else {
    QVERIFY(outcome.ok());
    QVERIFY(outcome.insertion.text.contains("<timer value=\"" + timerValue + "\"/>"));
  }
}

void ElementBuildersTest::doTypeList() {
  const QStringList types = defaultDoTypes();
  QCOMPARE(types,
           QStringList({"accept", "delete", "help", "options", "prev", "reset", "x-*", "vnd.*"}));
  QVERIFY(containsDoType(types, "Accept"));
  QVERIFY(containsDoType(types, "VND.*"));
  QVERIFY(!containsDoType(types, "x-mine"));
  QVERIFY(!containsDoType(types, "acc")); // whole text only
}

// The caret moves are counted with a line break as two characters.
void ElementBuildersTest::caretPlacesInEditor() {
  SourceEditor e;
  e.textDocument().replaceWholeText("ab\r\ncd");
  e.setSelection(tessera::TextPosition(1), 4); // "b\r\nc" replaced
  e.apply(templateSkeleton());
  QCOMPARE(e.caretPosition().value, 1 + 22);
  const QString text = e.textDocument().wholeText();
  QVERIFY(text.left(e.caretPosition().value).endsWith("a<template>\r\n<do type=\""));
  QVERIFY(text.mid(e.caretPosition().value).startsWith("\" label=\"\">"));

  e.textDocument().replaceWholeText("xyz");
  e.setSelection(tessera::TextPosition(1), 1);
  e.apply(headTool(e.selectedText()));
  QCOMPARE(e.textDocument().wholeText(), QString("x<head></head>z"));
  QCOMPARE(e.caretPosition().value, 1 + 6);

  e.textDocument().replaceWholeText("");
  e.apply(plainCard("a", "b"));
  QCOMPARE(e.caretPosition().value, e.textDocument().textLength());
  QCOMPARE(e.rowColumn().row, 4);
}

QTEST_MAIN(ElementBuildersTest)
#include "tst_elementbuilders.moc"
