#include "AgentScript.h"
#include "deck/DeckService.h"
#include "document/DefaultDocument.h"
#include "document/EncodingDetection.h"
#include "editor/TextDocument.h"
#include "serve/TextCharset.h"
#include "wml/DtdFiles.h"
#include "wml/ParsedDeck.h"
#include "wml/agent/DeckDocument.h"
#include "wml/agent/UserAgent.h"
#include "wml/agent/WmlVariables.h"
#include "wml/check/DeckChecker.h"
#include "wml/colour/SourceColouring.h"
#include "wml/syntax/Entities.h"
#include "wml/syntax/XmlDeclaration.h"
#include "wml/wbxml/DeckCompiler.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace tessera;

// Every reader of WML's lexical rules (the checker, the compiler, the size
// meter, the preview and the colouring) takes the same references, masks,
// entities, document types and declarations as sound and refuses the same
// ones.
class LexicalAgreementTest : public QObject {
  Q_OBJECT
private slots:
  void variableReferences_data();
  void variableReferences();
  void inputMasks_data();
  void inputMasks();
  void entities_data();
  void entities();
  void entityTableIsTheDocumentTypes();
  void documentTypes_data();
  void documentTypes();
  void declarations_data();
  void declarations();
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

namespace {

QString shownText(const QString& text) {
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(std::make_shared<wml::agent::DeckDocument>(wml::agent::readDeckDocument(text)),
                 QString());
  return agent.renderedText();
}

} // namespace

void LexicalAgreementTest::entities_data() {
  QTest::addColumn<QString>("version");
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("character"); // 0: WML does not know the name
  const struct {
    const char* name;
    int character;
  } names[] = {{"amp", '&'},   {"lt", '<'},    {"gt", '>'},   {"quot", '"'},
               {"apos", '\''}, {"nbsp", 0xA0}, {"shy", 0xAD}, {"copy", 0},
               {"eacute", 0},  {"uuml", 0},    {"NBSP", 0},   {"Amp", 0}};
  for (const char* version : {"1.1", "1.3"})
    for (const auto& n : names)
      QTest::addRow("%s %s", n.name, version) << version << n.name << n.character;
}

void LexicalAgreementTest::entities() {
  QFETCH(QString, version);
  QFETCH(QString, name);
  QFETCH(int, character);
  const QString reference = u'&' + name + u';';
  const QString text = deck(version, QStringLiteral("x") + reference + QStringLiteral("y"));
  const wml::syntax::NamedEntity* entity = wml::syntax::namedEntity(QStringView(name));
  QCOMPARE(entity ? int(entity->character) : 0, character);
  QCOMPARE(wml::syntax::namedEntity(name.toStdString()), entity);

  // The checker, through our document type.
  QCOMPARE(hasRule(wml::check::checkDeck(text, {}), QStringLiteral("undefined-entity")),
           character == 0);
  // The colouring: a name WML knows is a reference, another stays plain.
  QList<wml::colour::ColourSpan> spans;
  wml::colour::scanLine(reference, wml::colour::LineState::Text, &spans);
  const wml::colour::ColourSpan whole{0, int(reference.size()), wml::colour::SourceKind::Reference};
  QCOMPARE(spans.contains(whole), character != 0);
  if (character == 0)
    return;
  // The preview shows the character (a soft hyphen only where a line
  // breaks); the compiled deck, read back, shows the same.
  const QString shown = shownText(text);
  const QString expected = character == 0xAD ? QString() : QString(QChar(character));
  QVERIFY2(shown.contains(QStringLiteral("x") + expected + QStringLiteral("y")), qPrintable(shown));
  const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(text);
  QVERIFY(compiled.ok);
  const wml::wbxml::DecodedDeck decoded = wml::wbxml::decodeDeck(compiled.bytes);
  QVERIFY2(decoded.ok, qPrintable(decoded.error));
  QCOMPARE(shownText(decoded.source), shown);
  // The same in an attribute value, which the compiler writes on its own path.
  const QString inTitle =
      deck(version, QStringLiteral("<a title=\"t%1\" href=\"#c\">go</a>").arg(reference));
  const wml::wbxml::CompiledDeck titled = wml::wbxml::compileDeckText(inTitle);
  QVERIFY(titled.ok);
  const wml::wbxml::DecodedDeck titleBack = wml::wbxml::decodeDeck(titled.bytes);
  QVERIFY(titleBack.ok);
  QVERIFY2(titleBack.source.contains(QStringLiteral("title=\"t")), qPrintable(titleBack.source));
  const QString decodedTitle =
      titleBack.source.section(QStringLiteral("title=\""), 1).section(u'"', 0, 0);
  const QString written = character == '"'    ? QStringLiteral("&quot;")
                          : character == '&'  ? QStringLiteral("&amp;")
                          : character == '<'  ? QStringLiteral("&lt;")
                          : character == '>'  ? QStringLiteral("&gt;")
                          : character == 0xA0 ? QStringLiteral("&nbsp;")
                          : character == 0xAD ? QStringLiteral("&shy;")
                                              : QString(QChar(character));
  QCOMPARE(decodedTitle, QStringLiteral("t") + written);
}

// Our document types declare exactly the entities the table names, with the
// same characters: the checker's parser and the other readers agree.
void LexicalAgreementTest::entityTableIsTheDocumentTypes() {
  static const QRegularExpression declaration(
      QStringLiteral(R"re(<!ENTITY\s+([A-Za-z]+)\s+"(?:&#38;#|&#)(\d+);")re"));
  for (const wml::DocumentType& type : wml::documentTypes()) {
    QMap<QString, int> declared;
    auto it = declaration.globalMatch(QString::fromUtf8(wml::dtdText(type.version)));
    while (it.hasNext()) {
      const auto match = it.next();
      declared.insert(match.captured(1), match.captured(2).toInt());
    }
    QMap<QString, int> table;
    for (const wml::syntax::NamedEntity& entity : wml::syntax::namedEntities())
      table.insert(QString::fromLatin1(entity.name.data(), qsizetype(entity.name.size())),
                   entity.character);
    QCOMPARE(declared, table);
  }
}

void LexicalAgreementTest::documentTypes_data() {
  QTest::addColumn<QString>("publicId");
  QTest::addColumn<int>("version"); // -1: not WML's
  QTest::addColumn<int>("publicIdToken");
  QTest::addColumn<int>("wbxmlVersion");
  QTest::newRow("1.1") << "-//WAPFORUM//DTD WML 1.1//EN" << 0 << 0x04 << 0x01;
  QTest::newRow("1.2") << "-//WAPFORUM//DTD WML 1.2//EN" << 1 << 0x09 << 0x03;
  QTest::newRow("1.3") << "-//WAPFORUM//DTD WML 1.3//EN" << 2 << 0x0A << 0x03;
  // Read as 1.1, as a phone without the type would.
  QTest::newRow("2.0") << "-//WAPFORUM//DTD WML 2.0//EN" << -1 << 0x04 << 0x01;
  QTest::newRow("lower case") << "-//wapforum//dtd wml 1.1//en" << -1 << 0x04 << 0x01;
}

void LexicalAgreementTest::documentTypes() {
  QFETCH(QString, publicId);
  QFETCH(int, version);
  QFETCH(int, publicIdToken);
  QFETCH(int, wbxmlVersion);
  const auto known = wml::versionOfPublicIdentifier(publicId.toLatin1());
  QCOMPARE(known ? int(*known) : -1, version);
  // <pre> is newer than WML 1.1: only a 1.2 or 1.3 deck may hold it.
  const QString text =
      QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE wml PUBLIC \"%1\" "
                     "\"http://x/\">\n<wml><card id=\"c\"><pre>t</pre></card></wml>\n")
          .arg(publicId);
  const auto parsed = wml::parseDeck(text);
  QCOMPARE(int(parsed.version()), std::max(version, 0));
  const QList<wml::Finding> findings = wml::check::checkDeck(text, {});
  QCOMPARE(hasRule(findings, QStringLiteral("unknown-doctype")), version < 0);
  QCOMPARE(hasRule(findings, QStringLiteral("newer-element")) ||
               hasRule(findings, QStringLiteral("not-valid")),
           version <= 0);
  // The compiler's header, and the decompiler reading it back.
  const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(text);
  QVERIFY(compiled.ok);
  QCOMPARE(int(quint8(compiled.bytes.at(0))), wbxmlVersion);
  QCOMPARE(int(quint8(compiled.bytes.at(1))), publicIdToken);
  const wml::wbxml::DecodedDeck decoded = wml::wbxml::decodeDeck(compiled.bytes);
  QCOMPARE(int(decoded.version), std::max(version, 0));
  QVERIFY(decoded.source.contains(wml::doctypeDeclaration(wml::WmlVersion(std::max(version, 0)))));
  // New documents declare WML 1.1 and check clean under it.
  QVERIFY(defaultDocument().contains(wml::doctypeDeclaration(wml::WmlVersion::Wml11)));
  QCOMPARE(wml::check::checkDeck(defaultDocument(), {}).size(), 0);
}

void LexicalAgreementTest::declarations_data() {
  QTest::addColumn<QByteArray>("head");
  QTest::addColumn<QByteArray>("label"); // empty: no declared encoding
  QTest::addColumn<int>("from");
  QTest::addColumn<QString>("read");        // how the file reader reads the deck
  QTest::addColumn<int>("compiledCharset"); // the MIBenum the compiler writes; -1: refused
  const auto row = [](const char* name, const QByteArray& head, const char* label, int from,
                      const char* read, int charset) {
    QTest::newRow(name) << head << QByteArray(label) << from << QString::fromUtf8(read) << charset;
  };
  row("double quotes", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "ISO-8859-1", 30,
      "ISO-8859-1", 4);
  row("single quotes, blanks", "<?xml version='1.0' encoding = 'latin1' ?>", "latin1", 32,
      "ISO-8859-1", 4);
  row("alias", "<?xml version=\"1.0\" encoding=\"csISOLatin1\"?>", "csISOLatin1", 30, "ISO-8859-1",
      4);
  row("a colon is no name", "<?xml version=\"1.0\" encoding=\"ISO_8859-1:1987\"?>", "", -1, "UTF-8",
      -1);
  row("ISO-8859-1 with its own bytes",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!-- \xE9\xFF -->", "ISO-8859-1", 30,
      "ISO-8859-1", 4);
  row("ISO-8859-1 with windows-1252 bytes",
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><!-- \x93\xE9\x80 -->", "ISO-8859-1", 30,
      "windows-1252 (declared ISO-8859-1)", 106);
  row("utf-8", "<?xml version=\"1.0\" encoding=\"utf-8\"?>", "utf-8", 30, "UTF-8", 106);
  row("other charset", "<?xml version=\"1.0\" encoding=\"KOI8-R\"?>", "KOI8-R", 30, "KOI8-R", 106);
  row("no encoding", "<?xml version=\"1.0\"?><!-- encoding=\"x\" -->", "", -1, "UTF-8", 106);
  row("not at the start", " <?xml version=\"1.0\" encoding=\"latin1\"?>", "", -1, "UTF-8", -1);
  row("another instruction", "<?xml-model encoding=\"latin1\"?>", "", -1, "UTF-8", 106);
  row("not closed", "<?xml version=\"1.0\" encoding=\"latin1\"", "", -1, "UTF-8", -1);
  row("quotes must match", "<?xml version=\"1.0\" encoding=\"latin1'?>", "", -1, "UTF-8", -1);
  row("byte-order mark", "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>", "utf-8", 33,
      "UTF-8", 106);
}

void LexicalAgreementTest::declarations() {
  QFETCH(QByteArray, head);
  QFETCH(QByteArray, label);
  QFETCH(int, from);
  QFETCH(QString, read);
  QFETCH(int, compiledCharset);
  const QByteArray bytes = head + "\n" +
                           wml::doctypeDeclaration(wml::WmlVersion::Wml11).toLatin1() +
                           "\n<wml><card id=\"c\"><p>x</p></card></wml>\n";
  // The reader itself, on bytes and on text.
  const auto declared = wml::syntax::declaredEncoding(bytes);
  QCOMPARE(declared ? declared->label : QByteArray(), label);
  QCOMPARE(declared ? int(declared->from) : -1, from);
  const QString text = QString::fromUtf8(bytes);
  const auto inText = wml::syntax::declaredEncoding(QStringView(text));
  QCOMPARE(inText ? inText->label : QByteArray(), label);
  if (inText)
    QCOMPARE(text.mid(inText->from, inText->length).toLatin1(), label);
  // The file reader and the editor's charset names, the server and the compiler.
  const DecodedFile file = decodeFile(bytes);
  QCOMPARE(file.encoding.shownName(), read);
  QCOMPARE(FileEncoding::fromLabel(label).kind == FileEncoding::Kind::Latin1,
           wml::syntax::namesLatin1(label));
  QCOMPARE(serve::charsetOf(bytes),
           label.isEmpty() || head.startsWith("\xEF") ? QByteArray("utf-8") : label.toLower());
  // What the reader does not take as a declaration the parser refuses.
  const wml::wbxml::CompiledDeck compiled = wml::wbxml::compileDeckText(file.text);
  QCOMPARE(compiled.ok, compiledCharset >= 0);
  if (compiled.ok)
    QCOMPARE(int(quint8(compiled.bytes.at(2))), compiledCharset);
}

QTEST_MAIN(LexicalAgreementTest)
#include "tst_lexicalagreement.moc"
