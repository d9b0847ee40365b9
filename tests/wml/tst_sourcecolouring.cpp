#include "wml/colour/SourceColouring.h"

#include <QTest>

using namespace tessera::wml;
namespace colour = tessera::wml::colour;

namespace {

QChar letterOf(colour::SourceKind kind) {
  switch (kind) {
  case colour::SourceKind::Tag: return u't';
  case colour::SourceKind::AttributeName: return u'a';
  case colour::SourceKind::AttributeValue: return u'v';
  case colour::SourceKind::Reference: return u'r';
  case colour::SourceKind::Variable: return u'$';
  case colour::SourceKind::Comment: return u'c';
  case colour::SourceKind::Declaration: return u'x';
  case colour::SourceKind::Doctype: return u'd';
  case colour::SourceKind::CData: return u'k';
  }
  return u'?';
}

// The spans of a line drawn as one letter per character ('.' is plain), so
// that a table row shows exactly which character gets which colour.
QString maskOf(const QString& line, const QList<colour::ColourSpan>& spans) {
  QString mask(line.size(), u'.');
  int end = 0;
  for (const colour::ColourSpan& span : spans) {
    if (span.start < end || span.length <= 0 || span.start + span.length > line.size())
      return QStringLiteral("bad span %1+%2").arg(span.start).arg(span.length);
    for (int i = span.start; i < span.start + span.length; ++i)
      mask[i] = letterOf(span.kind);
    end = span.start + span.length;
  }
  return mask;
}

} // namespace

class TestSourceColouring : public QObject {
  Q_OBJECT
private slots:
  void lines_data();
  void lines();
  void stateOnlyScanAgrees();
  void longLineIsLinear();
};

void TestSourceColouring::lines_data() {
  QTest::addColumn<QStringList>("lines"); // all but the last set the state
  QTest::addColumn<QString>("mask");      // of the last line
  QTest::addColumn<int>("endState");

  const int text = int(colour::LineState::Text);
  QTest::newRow("element with attribute")
      << QStringList{"<a href=\"#c2\">Next</a>"} << "tt.aaaa.vvvvvt....tttt" << text;
  QTest::newRow("> inside a value stays value")
      << QStringList{"<go href=\"a>b\"/>x"} << "ttt.aaaa.vvvvvtt." << text;
  QTest::newRow("single quotes") << QStringList{"<p align='center'>"} << "tt.aaaaa.vvvvvvvvt"
                                 << text;
  QTest::newRow("entity and numeric references")
      << QStringList{"a&amp;b&#160;&#xA0;&x"} << ".rrrrr.rrrrrrrrrrrr.." << text;
  QTest::newRow("reference inside a value")
      << QStringList{"<x t=\"a&lt;b\">"} << "tt.a.vvrrrrvvt" << text;
  QTest::newRow("dollar dollar, named and bracketed variables")
      << QStringList{"$$ $a1 $(b) $(c:e) $ $("} << "$$.$$$.$$$$.$$$$$$....." << text;
  QTest::newRow("variable inside a value")
      << QStringList{"<go href=\"x?$(a:e)\"/>"} << "ttt.aaaa.vvv$$$$$$vtt" << text;
  QTest::newRow("comment opened") << QStringList{"ab<!-- x"} << "..cccccc"
                                  << int(colour::LineState::Comment);
  QTest::newRow("comment spanning lines closes")
      << QStringList{"<!-- one", "two", "still -->"} << "ccccccccc" << text;
  QTest::newRow("tag after a closed comment") << QStringList{"<!--", "-->"} << "ccc" << text;
  QTest::newRow("markup inside a comment is comment")
      << QStringList{"<!--", "<a href=\"x\">--><b>"} << "cccccccccccccccttt" << text;
  QTest::newRow("CDATA holding <")
      << QStringList{"<![CDATA[ a < b ]]>c"} << "kkkkkkkkkkkkkkkkkkk." << text;
  QTest::newRow("CDATA over lines")
      << QStringList{"<![CDATA[", "<p>"} << "kkk" << int(colour::LineState::CData);
  QTest::newRow("declaration") << QStringList{"<?xml version=\"1.0\"?>"} << "xxxxxxxxxxxxxxxxxxxxx"
                               << text;
  QTest::newRow("doctype with quoted >")
      << QStringList{"<!DOCTYPE wml PUBLIC \"a>b\">x"} << "ddddddddddddddddddddddddddd." << text;
  QTest::newRow("doctype over lines")
      << QStringList{"<!DOCTYPE wml PUBLIC", "\"-//x\">"} << "ddddddd" << text;
  QTest::newRow("doctype subset keeps >") << QStringList{"<!DOCTYPE a [ <!ENTITY b \"c\"> ]>"}
                                          << "dddddddddddddddddddddddddddddddd" << text;
  QTest::newRow("value spanning lines")
      << QStringList{"<a title=\"one", "two\" href=\"x\">"} << "vvvv.aaaa.vvvt" << text;
  QTest::newRow("value left open")
      << QStringList{"<a title='x"} << "tt.aaaaa.vv" << int(colour::LineState::ValueSingle);
  QTest::newRow("attributes on the next line")
      << QStringList{"<card", "  id=\"c1\">"} << "..aa.vvvvt" << text;
  QTest::newRow("tag name on the next line") << QStringList{"<", "card>"} << "ttttt" << text;
  QTest::newRow("unterminated tag at the end of the text")
      << QStringList{"<p align"} << "tt.aaaaa" << int(colour::LineState::InTag);
  QTest::newRow("unclosed tag before a new one") << QStringList{"<b <i>"} << "tt.ttt" << text;
  QTest::newRow("less-than that is no markup") << QStringList{"a < b <1"} << "........" << text;
  QTest::newRow("end tag and empty-element tag") << QStringList{"</p><br/>"} << "ttttttttt" << text;
}

void TestSourceColouring::lines() {
  QFETCH(QStringList, lines);
  QFETCH(QString, mask);
  QFETCH(int, endState);

  colour::LineState state = colour::LineState::Text;
  for (int i = 0; i + 1 < lines.size(); ++i)
    state = colour::scanLine(lines.at(i), state, nullptr);
  QList<colour::ColourSpan> spans;
  state = colour::scanLine(lines.last(), state, &spans);
  QCOMPARE(maskOf(lines.last(), spans), mask);
  QCOMPARE(int(state), endState);
}

// The scan that only carries states (used above lines that are not shown)
// must end where the colouring scan ends, whatever the input.
void TestSourceColouring::stateOnlyScanAgrees() {
  const QString alphabet = QStringLiteral("<>/!?-[]\"'=&#;$(): aZ1xCDATA");
  quint32 seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  for (int round = 0; round < 3000; ++round) {
    QString line;
    const int length = int(next() % 40);
    for (int i = 0; i < length; ++i)
      line += alphabet[int(next() % alphabet.size())];
    const auto in = colour::LineState(int(next() % colour::kLineStateCount));
    QList<colour::ColourSpan> spans;
    const colour::LineState coloured = colour::scanLine(line, in, &spans);
    QCOMPARE(colour::scanLine(line, in, nullptr), coloured);
    QVERIFY2(!maskOf(line, spans).startsWith(u"bad"), qPrintable(line));
  }
}

void TestSourceColouring::longLineIsLinear() {
  // A megabyte of short elements on one line: a quadratic scan would take minutes.
  const QString line = QStringLiteral("<b x=\"$(v)&amp;\">t</b> ").repeated(50000);
  QList<colour::ColourSpan> spans;
  QCOMPARE(colour::scanLine(line, colour::LineState::Text, &spans), colour::LineState::Text);
  QCOMPARE(spans.size(), 50000 * 8);
}

QTEST_APPLESS_MAIN(TestSourceColouring)
#include "tst_sourcecolouring.moc"
