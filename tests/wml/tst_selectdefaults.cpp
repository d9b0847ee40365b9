#include "AgentScript.h"
#include "wml/agent/DeckDocument.h"

#include <QTest>

using namespace tessera;

// The option a select starts on and the variables it sets as its card is
// shown: for every mix of name, value, iname, ivalue and multiple, over
// options valued a, b, c (value="b", ivalue="3" when present), then with the
// variables already set and with lists that need validating.
class SelectDefaultsTest : public QObject {
  Q_OBJECT
private slots:
  void defaults_data();
  void defaults();
};

void SelectDefaultsTest::defaults_data() {
  QTest::addColumn<QString>("attributes");
  QTest::addColumn<QString>("options");   // one option per letter, valued by it
  QTest::addColumn<QString>("preset");    // "name=value" pairs set before the card
  QTest::addColumn<QString>("variables"); // after the card is shown
  QTest::addColumn<QString>("shown");     // the chosen options' labels

  const struct {
    const char* present;
    const char* preset;
    const char* variables;
    const char* shown;
  } combinations[] = {
      {"", "", "", "A"},
      {"multiple", "", "", ""},
      {"ivalue", "", "", "C"},
      {"ivalue multiple", "", "", "C"},
      {"iname", "", "i=1", "A"},
      {"iname multiple", "", "i=0", ""},
      {"iname ivalue", "", "i=3", "C"},
      {"iname ivalue multiple", "", "i=3", "C"},
      {"value", "", "", "B"},
      {"value multiple", "", "", "B"},
      {"value ivalue", "", "", "C"},
      {"value ivalue multiple", "", "", "C"},
      {"value iname", "", "i=2", "B"},
      {"value iname multiple", "", "i=2", "B"},
      {"value iname ivalue", "", "i=3", "C"},
      {"value iname ivalue multiple", "", "i=3", "C"},
      {"name", "", "n=a", "A"},
      {"name multiple", "", "", ""},
      {"name ivalue", "", "n=c", "C"},
      {"name ivalue multiple", "", "n=c", "C"},
      {"name iname", "", "i=1|n=a", "A"},
      {"name iname multiple", "", "i=0", ""},
      {"name iname ivalue", "", "i=3|n=c", "C"},
      {"name iname ivalue multiple", "", "i=3|n=c", "C"},
      {"name value", "", "n=b", "B"},
      {"name value multiple", "", "n=b", "B"},
      {"name value ivalue", "", "n=c", "C"},
      {"name value ivalue multiple", "", "n=c", "C"},
      {"name value iname", "", "i=2|n=b", "B"},
      {"name value iname multiple", "", "i=2|n=b", "B"},
      {"name value iname ivalue", "", "i=3|n=c", "C"},
      {"name value iname ivalue multiple", "", "i=3|n=c", "C"},
  };
  for (const auto& c : combinations) {
    const QStringList present = QString::fromLatin1(c.present).split(u' ', Qt::SkipEmptyParts);
    QStringList attributes;
    if (present.contains(QLatin1String("name")))
      attributes << QStringLiteral("name=\"n\"");
    if (present.contains(QLatin1String("value")))
      attributes << QStringLiteral("value=\"b\"");
    if (present.contains(QLatin1String("iname")))
      attributes << QStringLiteral("iname=\"i\"");
    if (present.contains(QLatin1String("ivalue")))
      attributes << QStringLiteral("ivalue=\"3\"");
    if (present.contains(QLatin1String("multiple")))
      attributes << QStringLiteral("multiple=\"true\"");
    QTest::addRow("[%s]", c.present)
        << attributes.join(u' ') << "abc" << c.preset << c.variables << c.shown;
  }

  const auto row = [](const char* name, const char* attributes, const char* options,
                      const char* preset, const char* variables, const char* shown) {
    QTest::newRow(name) << attributes << options << preset << variables << shown;
  };
  row("set index variable wins over ivalue", R"(name="n" iname="i" ivalue="3")", "abc", "i=2",
      "i=2|n=b", "B");
  row("invalid index variable gives way to ivalue", R"(name="n" iname="i" ivalue="3")", "abc",
      "i=9", "i=3|n=c", "C");
  row("a list is one value in a single-choice select", R"(name="n" iname="i")", "abc", "i=2;3",
      "i=1|n=a", "A");
  row("index list validated in order, repeats dropped", R"(name="n" iname="i" multiple="true")",
      "abc", "i=3;x;1;3;0", "i=3;1|n=c;a", "C, A");
  row("set value variable wins over value", R"(name="n" value="b")", "abc", "n=c", "n=c", "C");
  row("value variable naming no option gives way to value", R"(name="n" value="b")", "abc", "n=x",
      "n=b", "B");
  row("value variable list in a multiple-choice select", R"(name="n" iname="i" multiple="true")",
      "abc", "n=c;x;a", "i=3;1|n=c;a", "C, A");
  row("ivalue list in a single-choice select is invalid", R"(name="n" iname="i" ivalue="2;3")",
      "abc", "", "i=1|n=a", "A");
  row("ivalue of zero leaves a multiple-choice select empty",
      R"(name="n" iname="i" ivalue="0" multiple="true")", "abc", "", "i=0", "");
  row("value list in a single-choice select names no option", R"(name="n" value="c;b")", "abc", "",
      "n=a", "A");
  row("a repeated value picks its first option", R"(name="n" iname="i" value="a" multiple="true")",
      "aba", "", "i=1|n=a", "A");
}

void SelectDefaultsTest::defaults() {
  QFETCH(QString, attributes);
  QFETCH(QString, options);
  QFETCH(QString, preset);
  QFETCH(QString, variables);
  QFETCH(QString, shown);
  QString setvars;
  for (const QString& pair : preset.split(u'|', Qt::SkipEmptyParts))
    setvars += QStringLiteral("<setvar name=\"%1\" value=\"%2\"/>")
                   .arg(pair.section(u'=', 0, 0), pair.section(u'=', 1));
  QString optionList;
  for (const QChar letter : options)
    optionList += QStringLiteral("<option value=\"%1\">%2</option>").arg(letter, letter.toUpper());
  const QString text = wmlDeck(
      QStringLiteral("<card id=\"start\"><onevent type=\"onenterforward\"><go href=\"#s\">%1</go>"
                     "</onevent></card><card id=\"s\"><p><select %2>%3</select></p></card>")
          .arg(setvars, attributes, optionList));
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(std::make_shared<wml::agent::DeckDocument>(wml::agent::readDeckDocument(text)),
                 QString());
  QCOMPARE(variablesText(agent), variables);
  QCOMPARE(agent.renderedText(), QStringLiteral("\n[select: %1]\n | ").arg(shown));
}

QTEST_MAIN(SelectDefaultsTest)
#include "tst_selectdefaults.moc"
