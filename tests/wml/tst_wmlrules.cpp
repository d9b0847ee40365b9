#include "wml/agent/WmlTask.h"
#include "wml/agent/WmlVariables.h"
#include "wml/syntax/InputMask.h"

#include <QTest>

using namespace tessera;
using namespace tessera::wml::agent;

// The pure rules under the user agent: input masks, variable references and
// where an address leads.
class WmlRulesTest : public QObject {
  Q_OBJECT
private slots:
  void masks_data();
  void masks();
  void invalidMasks_data();
  void invalidMasks();
  void maskRules_data();
  void maskRules();
  void typedRefusals_data();
  void typedRefusals();
  void substitution_data();
  void substitution();
  void destinations_data();
  void destinations();
};

void WmlRulesTest::masks_data() {
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("value");
  QTest::addColumn<bool>("accepted");
  const struct {
    const char* format;
    const char* value;
    bool accepted;
  } rows[] = {
      {"NNN", "123", true},
      {"NNN", "12", false},
      {"NNN", "1234", false},
      {"NNN", "12a", false},
      {"A", "B", true},
      {"A", "b", false},
      {"A", "!", true},
      {"A", "1", false},
      {"A", " ", true},
      {"a", "b", true},
      {"a", "B", false},
      {"a", "7", false},
      {"X", "1", true},
      {"X", "B", true},
      {"X", "b", false},
      {"x", "b", true},
      {"x", "9", true},
      {"x", "B", false},
      {"M", "q", true},
      {"m", "Q", true},
      {"M", "", false},
      {"*N", "", true},
      {"*N", "12345", true},
      {"*N", "12a", false},
      {"3N", "12", true},
      {"3N", "", true},
      {"3N", "1234", false},
      {"A*a", "Hello", true},
      {"A*a", "hello", false},
      {"A*a", "H", true},
      {"\\(NNN\\)", "(123)", true},
      {"\\(NNN\\)", "123", false},
      {"NN\\*", "12*", true},
      {"NN\\*", "123", false},
      {"\\N", "N", true},
      {"\\N", "1", false},
      {"2x", "ab", true},
      {"2x", "abc", false},
      {"AÁ", "", false},
  };
  for (const auto& row : rows)
    QTest::addRow("%s on \"%s\"", row.format, row.value)
        << QString::fromUtf8(row.format) << QString::fromUtf8(row.value) << row.accepted;
}

void WmlRulesTest::masks() {
  QFETCH(QString, format);
  QFETCH(QString, value);
  QFETCH(bool, accepted);
  const auto mask = wml::syntax::InputMask::parse(format, wml::WmlVersion::Wml13);
  if (format == QStringLiteral("AÁ")) {
    QVERIFY(!mask); // not a code: the whole format is invalid
    return;
  }
  QVERIFY(mask);
  QCOMPARE(mask->accepts(value), accepted);
}

void WmlRulesTest::invalidMasks_data() {
  QTest::addColumn<QString>("format");
  for (const char* format : {"", "N*", "*NN", "Q", "NN\\", "3", "*", "0N", "3NN", "*N*N"})
    QTest::newRow(format) << QString::fromLatin1(format);
}

void WmlRulesTest::invalidMasks() {
  QFETCH(QString, format);
  QVERIFY(!wml::syntax::InputMask::parse(format, wml::WmlVersion::Wml13));
}

void WmlRulesTest::maskRules_data() {
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("rule");
  QTest::newRow("literal and any number")
      << "NNN\\-*a"
      << "3 digits, \"-\", any number of small letters or symbols";
  QTest::newRow("up to") << "2X"
                         << "up to 2 capital letters, digits or symbols";
  QTest::newRow("one") << "AM"
                       << "1 capital letter or symbol, 1 character";
}

void WmlRulesTest::maskRules() {
  QFETCH(QString, format);
  QFETCH(QString, rule);
  const auto mask = wml::syntax::InputMask::parse(format, wml::WmlVersion::Wml13);
  QVERIFY(mask);
  QCOMPARE(mask->describe(), rule);
}

// A phone's entry refuses a character as it is typed, saying why.
void WmlRulesTest::typedRefusals_data() {
  QTest::addColumn<QString>("format");
  QTest::addColumn<QString>("entered");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("refusal");
  QTest::newRow("digit taken") << "NNN"
                               << "1"
                               << "2"
                               << "";
  QTest::newRow("letter for a digit") << "NNN"
                                      << "1"
                                      << "x"
                                      << "\"x\" refused: character 2 must be a digit";
  QTest::newRow("literal taken") << "NN\\-N"
                                 << "12"
                                 << "-"
                                 << "";
  QTest::newRow("other than the literal") << "NN\\-N"
                                          << "12"
                                          << "3"
                                          << "\"3\" refused: character 3 is \"-\"";
  QTest::newRow("past a fixed mask") << "NN"
                                     << "12"
                                     << "3"
                                     << "\"3\" refused: the format takes exactly 2 characters";
  QTest::newRow("past the counted tail") << "A2a"
                                         << "Abc"
                                         << "d"
                                         << "\"d\" refused: the format takes at most 3 characters";
  QTest::newRow("tail of any length") << "A*a"
                                      << "Abcdefgh"
                                      << "i"
                                      << "";
  QTest::newRow("capital in a small tail")
      << "A*a"
      << "Ab"
      << "C"
      << "\"C\" refused: character 3 must be a small letter or symbol";
  QTest::newRow("any character") << "M"
                                 << ""
                                 << "\u00e9"
                                 << "";
}

void WmlRulesTest::typedRefusals() {
  QFETCH(QString, format);
  QFETCH(QString, entered);
  QFETCH(QString, typed);
  QFETCH(QString, refusal);
  const auto mask = wml::syntax::InputMask::parse(format, wml::WmlVersion::Wml13);
  QVERIFY(mask);
  QCOMPARE(mask->refusalOfNext(entered, typed.at(0)), refusal);
}

void WmlRulesTest::substitution_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("address");
  QTest::addColumn<QString>("expected");
  QTest::newRow("plain name ends at a non-name character")
      << "$a.$a_b$(a)x" << false << "1 2.!1 2x";
  QTest::newRow("undefined is empty") << "[$none][$(none:e)]" << false << "[][]";
  QTest::newRow("escape") << "$(a:e)$(a:ESCAPE)" << false
                          << "1%202"
                             "1%202";
  QTest::newRow("escape keeps unreserved, encodes UTF-8")
      << "$(u:e)" << false << "-_.!~*'()%2F%3F%C3%A9";
  QTest::newRow("unescape") << "$(p:u)|$(p:unesc)" << false << "a b/c|a b/c";
  QTest::newRow("noesc in an address") << "$(a:n)|$(a:noesc)|$a" << true << "1 2|1 2|1%202";
  QTest::newRow("dollar dollar") << "$$ $$a $$(a)" << false << "$ $a $(a)";
  QTest::newRow("left as written")
      << "$ $1 $(a $(1a) $(a:x) $" << false << "$ $1 $(a $(1a) $(a:x) $";
}

void WmlRulesTest::substitution() {
  QFETCH(QString, text);
  QFETCH(bool, address);
  QFETCH(QString, expected);
  wml::agent::WmlVariables variables;
  variables.set("a", "1 2");
  variables.set("a_b", "!");
  variables.set("u", QStringLiteral("-_.!~*'()/?é"));
  variables.set("p", "a%20b%2fc");
  QCOMPARE(substituteVariables(text, variables,
                               address ? wml::agent::VariableContext::Address
                                       : wml::agent::VariableContext::Text),
           expected);
}

void WmlRulesTest::destinations_data() {
  QTest::addColumn<QString>("href");
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("fragment");
  const int here = int(wml::agent::Destination::Kind::ThisDeck);
  const int local = int(wml::agent::Destination::Kind::LocalDeck);
  const int outside = int(wml::agent::Destination::Kind::Outside);
  QTest::newRow("card") << "#c2" << here << ""
                        << "c2";
  QTest::newRow("deck and card") << "sub/x.wml#c" << local << "sub/x.wml"
                                 << "c";
  QTest::newRow("compiled deck, query dropped") << "X.WMLC?a=1" << local << "X.WMLC"
                                                << "";
  QTest::newRow("escaped name") << "my%20deck.wml" << local << "my deck.wml"
                                << "";
  QTest::newRow("web deck") << "http://h/x.wml" << outside << ""
                            << "";
  QTest::newRow("page") << "page.asp#x" << outside << ""
                        << "";
  QTest::newRow("telephony") << "wtai://wp/mc;1" << outside << ""
                             << "";
}

void WmlRulesTest::destinations() {
  QFETCH(QString, href);
  QFETCH(int, kind);
  QFETCH(QString, path);
  QFETCH(QString, fragment);
  const wml::agent::Destination destination = destinationOf(href);
  QCOMPARE(int(destination.kind), kind);
  QCOMPARE(destination.path, path);
  QCOMPARE(destination.fragment, fragment);
}

QTEST_GUILESS_MAIN(WmlRulesTest)
#include "tst_wmlrules.moc"
