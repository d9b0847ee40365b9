#include "AgentScript.h"
#include "deck/DeckService.h"
#include "editor/TextDocument.h"
#include "wml/agent/DeckDocument.h"
#include "wml/agent/UserAgent.h"
#include "wml/agent/WmlVariables.h"
#include "wml/check/DeckChecker.h"
#include "wml/colour/SourceColouring.h"
#include "wml/wbxml/DeckCompiler.h"

#include <QSignalSpy>
#include <QTest>

using namespace tessera;

// Every reader of WML's lexical rules (the checker, the compiler, the size
// meter, the preview and the colouring) takes the same references and
// masks as sound and refuses the same ones.
class LexicalAgreementTest : public QObject {
  Q_OBJECT
private slots:
  void variableReferences_data();
  void variableReferences();
  void inputMasks_data();
  void inputMasks();
};

namespace {

QString deck(const QString& version, const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML "
                        "%1//EN\" \"http://www.wapforum.org/DTD/wml_%1.xml\">\n<wml>\n"
                        "<card id=\"c\"><p>\n%2\n</p></card>\n</wml>\n")
      .arg(version, body);
}

bool hasRule(const QList<wml::Finding>& findings, const QString& rule) {
  return std::any_of(findings.cbegin(), findings.cend(),
                     [&rule](const wml::Finding& f) { return f.rule == rule; });
}

} // namespace

void LexicalAgreementTest::variableReferences_data() {
  QTest::addColumn<QString>("form");
  QTest::addColumn<bool>("sound");
  QTest::addColumn<QString>("shown"); // what the preview shows with x = "a b"
  QTest::addColumn<int>("coloured");  // characters coloured as variables
  const struct {
    const char* form;
    bool sound;
    const char* shown;
    int coloured = -1; // -1: the whole form
  } cases[] = {
      {"$x", true, "a b"},
      {"$(x)", true, "a b"},
      {"$(x:escape)", true, "a%20b"},
      {"$(x:noesc)", true, "a b"},
      {"$(x:unesc)", true, "a b"},
      {"$(x:e)", true, "a%20b"},
      {"$(x:n)", true, "a b"},
      {"$(x:u)", true, "a b"},
      {"$(x:ESCAPE)", true, "a%20b"},
      {"$(x:Unesc)", true, "a b"},
      {"$$", true, "$"},
      {"$$x", true, "$x", 2},
      {"$$$x", true, "$a b"},
      {"$_y9", true, ""},
      {"$(_)", true, ""},
      {"$x.", true, "a b.", 2},
      {"$(x)y", true, "a by", 4},
      {"$", false, ""},
      {"5$", false, ""},
      {"$ x", false, ""},
      {"$9", false, ""},
      {"$(", false, ""},
      {"$()", false, ""},
      {"$(x", false, ""},
      {"$(x:)", false, ""},
      {"$(x:esc)", false, ""},
      {"$(x:escapes)", false, ""},
      {"$(x:noescape)", false, ""},
      {"$(x y)", false, ""},
      {"$( x)", false, ""},
      {"$(9x)", false, ""},
      {"$(x:e:n)", false, ""},
      {"$-x", false, ""},
      {"$$$", false, ""},
  };
  for (const auto& c : cases)
    QTest::newRow(c.form) << QString::fromUtf8(c.form) << c.sound << QString::fromUtf8(c.shown)
                          << (c.coloured < 0 ? int(strlen(c.form)) : c.coloured);
}

void LexicalAgreementTest::variableReferences() {
  QFETCH(QString, form);
  QFETCH(bool, sound);
  QFETCH(QString, shown);
  QFETCH(int, coloured);
  const QString text = deck(QStringLiteral("1.1"), form);

  // The checker.
  QCOMPARE(hasRule(wml::check::checkDeck(text, {}), QStringLiteral("bad-variable")), !sound);
  // The compiler (and so Compile to WBXML and the command line).
  const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(text);
  QCOMPARE(compiled.ok, sound);
  if (!sound)
    QVERIFY2(compiled.error.startsWith(QStringLiteral("5:")), qPrintable(compiled.error));
  // The size meter, through the one parse of the document.
  TextDocument document;
  DeckService service(document);
  QSignalSpy published(&service, &DeckService::published);
  document.replaceWholeText(text);
  service.refreshNow();
  QTRY_COMPARE(published.count(), 1);
  const auto parsed = published.at(0).at(0).value<std::shared_ptr<const ParsedRevision>>();
  QCOMPARE(parsed->compiledBytes >= 0, sound);
  // The preview: the deck, or the phone's error naming the line.
  const auto agentDeck =
      std::make_shared<wml::agent::DeckDocument>(wml::agent::readDeckDocument(text));
  QCOMPARE(agentDeck->ok(), sound);
  if (sound) {
    wml::agent::WmlVariables variables;
    variables.set(QStringLiteral("x"), QStringLiteral("a b"));
    QCOMPARE(wml::agent::substituteVariables(form, variables, wml::agent::VariableContext::Text),
             shown);
  } else {
    QCOMPARE(agentDeck->errorLine, 5);
  }
  // The colouring: the references as variables, a malformed one plain.
  QList<wml::colour::ColourSpan> spans;
  wml::colour::scanLine(form, wml::colour::LineState::Text, &spans);
  int variableCharacters = 0;
  for (const wml::colour::ColourSpan& span : spans)
    if (span.kind == wml::colour::SourceKind::Variable)
      variableCharacters += span.length;
  if (sound)
    QCOMPARE(variableCharacters, coloured);
  else
    QVERIFY2(variableCharacters < coloured, qPrintable(form));
}

void LexicalAgreementTest::inputMasks_data() {
  QTest::addColumn<QString>("version");
  QTest::addColumn<QString>("mask");
  QTest::addColumn<bool>("valid");
  QTest::addColumn<QString>("accepted"); // an entry the mask takes
  QTest::addColumn<QString>("refused");  // one it refuses
  QTest::newRow("NNN") << "1.1"
                       << "NNN" << true << "123"
                       << "12a";
  QTest::newRow("n in 1.1") << "1.1"
                            << "NNn" << false << ""
                            << "";
  QTest::newRow("n in 1.2") << "1.2"
                            << "NNn" << true << "12-"
                            << "12a";
  QTest::newRow("n in 1.3") << "1.3"
                            << "nn" << true << "1."
                            << "ab";
  QTest::newRow("count") << "1.1"
                         << "3N" << true << "12"
                         << "1234";
  QTest::newRow("star") << "1.1"
                        << "A*a" << true << "Abc"
                        << "abc";
  QTest::newRow("escape") << "1.1"
                          << "NNN\\-NN" << true << "123-45"
                          << "123+45";
  QTest::newRow("star not last") << "1.1"
                                 << "*aN" << false << ""
                                 << "";
  QTest::newRow("two counts") << "1.1"
                              << "2N3N" << false << ""
                              << "";
  QTest::newRow("count of star") << "1.1"
                                 << "3*N" << false << ""
                                 << "";
  QTest::newRow("unknown code") << "1.1"
                                << "NQ" << false << ""
                                << "";
  QTest::newRow("lone escape") << "1.1"
                               << "NN\\" << false << ""
                               << "";
  QTest::newRow("empty") << "1.1"
                         << "" << false << ""
                         << "";
}

void LexicalAgreementTest::inputMasks() {
  QFETCH(QString, version);
  QFETCH(QString, mask);
  QFETCH(bool, valid);
  QFETCH(QString, accepted);
  QFETCH(QString, refused);
  const QString text =
      deck(version, QStringLiteral("<input name=\"v\" format=\"%1\"/>").arg(mask.toHtmlEscaped()));
  QCOMPARE(hasRule(wml::check::checkDeck(text, {}), QStringLiteral("bad-input-mask")), !valid);
  // The preview checks entries against a valid mask and ignores an invalid
  // one, as a phone must.
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(std::make_shared<wml::agent::DeckDocument>(wml::agent::readDeckDocument(text)),
                 QString());
  if (!valid) {
    QVERIFY(agent.inputRule(QStringLiteral("v")).isEmpty());
    return;
  }
  QVERIFY(!agent.inputRule(QStringLiteral("v")).isEmpty());
  QVERIFY(agent.setInput(QStringLiteral("v"), accepted));
  QVERIFY(!agent.setInput(QStringLiteral("v"), refused));
}

QTEST_MAIN(LexicalAgreementTest)
#include "tst_lexicalagreement.moc"
