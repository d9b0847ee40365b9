// The WBXML encoder's exact bytes, each worked out by hand from the WML
// token tables, and the decoder's way back.
#include "wml/wbxml/DeckCompiler.h"
#include "wml/wbxml/WbxmlDecoder.h"

#include <QTest>

using namespace tessera::wml::wbxml;

namespace {

QString deck11(const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\"?>\r\n"
                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                        "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\r\n") +
         body;
}

QByteArray hex(const char* text) { return QByteArray::fromHex(text); }

} // namespace

class TestWbxml : public QObject {
  Q_OBJECT

private slots:
  void encodesWithoutStringTable_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("expected");
    // Header: 01 WBXML 1.1, 04 WML 1.1, 6A charset 106 (UTF-8), 00 no table.
    // Tags with content carry 0x40: wml 3F->7F, card 27->67, p 20->60, b 24->64;
    // with attributes 0x80 as well: card E7. END is 01, STR_I 03 ... 00.
    QTest::newRow("variable of each kind")
        << deck11("<wml><card id=\"x\"><p>Hi $(a:e)$(b:u)$c $$</p></card></wml>")
        << hex("01046A00"
               "7F"
               "E7"
               "55"
               "037800"
               "01" // card, id, STR_I "x", END of attributes
               "60"
               "0348692000" // "Hi "
               "406100"     // EXT_I_0 "a": escaped
               "416200"     // EXT_I_1 "b": unescaped
               "426300"     // EXT_I_2 "c": no escaping
               "03202400"   // " $" ($$ is one dollar sign)
               "010101");
    QTest::newRow("escape words and a variable in an attribute")
        << deck11(
               "<wml><card><p><a href=\"$(u:escape)x\">$(v:noesc)$(w:unesc)</a></p></card></wml>")
        << hex("01046A00"
               "7F"
               "67"
               "60"
               "DC" // a (1C) with attributes and content
               "4A"
               "407500"
               "037800"
               "01" // href, EXT_I_0 "u", STR_I "x", END
               "427600"
               "417700" // EXT_I_2 "v", EXT_I_1 "w"
               "01010101");
    QTest::newRow("entities as characters")
        << deck11("<wml><card><p>a&amp;b&nbsp;c&lt;&#x263A;</p></card></wml>")
        << hex("01046A00"
               "7F"
               "67"
               "60"
               "03"
               "61"
               "26"
               "62"
               "C2A0"
               "63"
               "3C"
               "E298BA"
               "00" // a & b NBSP c < U+263A
               "010101");
    QTest::newRow("blank before an inline element stays, layout goes")
        << deck11("<wml>\r\n<card>\r\n  <p>Hello   <b>world</b></p>\r\n</card>\r\n</wml>\r\n")
        << hex("01046A00"
               "7F"
               "67"
               "60"
               "0348656C6C6F2000" // "Hello " (three blanks become one)
               "64"
               "03776F726C6400"
               "01" // b, "world", END
               "010101");
    QTest::newRow("blank between two inline elements without a line break")
        << deck11("<wml><card><p><b>a</b> <i>b</i>\r\n<u>c</u></p></card></wml>")
        << hex("01046A00"
               "7F"
               "67"
               "60"
               "64"
               "036100"
               "01"
               "03"
               "20"
               "00" // b "a", then the blank
               "6D"
               "036200"
               "01" // i "b"; the line break goes
               "7D"
               "036300"
               "01" // u "c"
               "010101");
    QTest::newRow("comments dropped, empty elements without content bit")
        << deck11("<wml><!-- c --><card><p>a<!-- x -->b<br/></p></card></wml>")
        << hex("01046A00"
               "7F"
               "67"
               "60"
               "03616200"
               "26"
               "010101");
    QTest::newRow("attribute start with a value prefix, URL value tokens")
        << deck11("<wml><card><p><a href=\"http://www.example.com/\">x</a></p></card></wml>")
        << hex("01046A00"
               "7F"
               "67"
               "60"
               "DC"
               "4B"                 // a; href="http://"
               "A1"                 // "www."
               "036578616D706C6500" // "example"
               "85"
               "01" // ".com/", END of attributes
               "037800"
               "01"
               "010101");
    QTest::newRow("enumerated attribute values")
        << deck11("<wml><card><p align=\"center\" mode=\"nowrap\"><do "
                  "type=\"accept\"/></p></card></wml>")
        << hex("01046A00"
               "7F"
               "67"
               "E0"
               "07"
               "1D"
               "01" // p: align="center", mode="nowrap"
               "A8"
               "38"
               "01" // do without content: type="accept"
               "010101");
    QTest::newRow("WML 1.3: WBXML 1.3 and its public identifier")
        << QStringLiteral("<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.3//EN\" "
                          "\"http://www.wapforum.org/DTD/wml13.dtd\"><wml><card><pre> a\r\n b</pre>"
                          "</card></wml>")
        << hex("030A6A00"
               "7F"
               "67"
               "5B"
               "0320610A206200"
               "010101"); // pre keeps its layout
    QTest::newRow("no DOCTYPE: as WML 1.1") << QStringLiteral("<wml><card/></wml>")
                                            << hex("01046A00"
                                                   "7F"
                                                   "27"
                                                   "01");
    QTest::newRow("ISO-8859-1 deck: charset 4")
        << QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><wml><card><p>\u00e9"
                          "</p></card></wml>")
        << hex("0104"
               "04"
               "00"
               "7F"
               "67"
               "60"
               "03E900"
               "010101");
    // A phone trusting the charset would show windows-1252's euro (byte
    // 0x80 in the source) as a control: such a deck goes out in UTF-8.
    QTest::newRow("ISO-8859-1 deck holding a euro sign: UTF-8")
        << QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><wml><card><p>\u00e9\u20ac"
               "</p></card></wml>")
        << hex("0104"
               "6A"
               "00"
               "7F"
               "67"
               "60"
               "03C3A9E282AC00"
               "010101");
    QTest::newRow("1.2 attribute in a 1.1 deck: a literal name from the table")
        << deck11("<wml><card><p><a accesskey=\"1\" href=\"#b\">x</a></p></card></wml>")
        << hex("01046A"
               "0A"
               "6163636573736B657900" // table: "accesskey\0" (10 bytes)
               "7F"
               "67"
               "60"
               "DC"
               "04"
               "00"
               "033100" // LITERAL at 0, "1"
               "4A"
               "03236200"
               "01" // href "#b"
               "037800"
               "01"
               "010101");
  }
  void encodesWithoutStringTable() {
    QFETCH(QString, source);
    QFETCH(QByteArray, expected);
    const CompiledDeck compiled = compileDeckText(source, false);
    QVERIFY2(compiled.ok, qPrintable(compiled.error));
    QCOMPARE(compiled.bytes.toHex(' '), expected.toHex(' '));
  }

  void stringTableHoldsRepeatedStrings_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("table");
    QTest::addColumn<QByteArray>("expected");
    // "Hello " and the name "user" are used twice: in the table once
    // (offsets 0 and 7), referenced by STR_T (83) and EXT_T_2 (82). "Bye"
    // is used once and stays inline.
    QTest::newRow("text and a variable name")
        << deck11("<wml><card><p>Hello $(user)</p><p>Hello $(user)</p><p>Bye</p></card></wml>")
        << QByteArray("Hello \0user\0", 12)
        << hex("01046A"
               "0C"
               "48656C6C6F2000"
               "7573657200"
               "7F"
               "67"
               "60"
               "8300"
               "8207"
               "01"
               "60"
               "8300"
               "8207"
               "01"
               "60"
               "0342796500"
               "01"
               "0101");
    // A word repeated inside different texts goes in once; each text
    // writes the rest inline and refers to the word (STR_T 0).
    QTest::newRow("a word shared by texts")
        << deck11("<wml><card><p>red apple</p><p>green apple</p><p>apple pie</p>"
                  "<p>big apple</p></card></wml>")
        << QByteArray("apple\0", 6)
        << hex("01046A"
               "06"
               "6170706C6500"
               "7F"
               "67"
               "60"
               "037265642000"
               "8300"
               "01"
               "60"
               "03677265656E2000"
               "8300"
               "01"
               "60"
               "036170706C652070696500"
               "01"
               "60"
               "036269672000"
               "8300"
               "01"
               "0101");
    // A one-letter string twice costs the same either way: inline.
    QTest::newRow("too short to gain")
        << deck11("<wml><card><p>a</p><p>a</p></card></wml>") << QByteArray()
        << hex("01046A00"
               "7F"
               "67"
               "60036100"
               "01"
               "60036100"
               "01"
               "0101");
  }
  void stringTableHoldsRepeatedStrings() {
    QFETCH(QString, source);
    QFETCH(QByteArray, table);
    QFETCH(QByteArray, expected);
    const CompiledDeck compiled = compileDeckText(source, true);
    QVERIFY2(compiled.ok, qPrintable(compiled.error));
    QCOMPARE(compiled.bytes.toHex(' '), expected.toHex(' '));
    QCOMPARE(compiled.bytes.mid(4, table.size()), table);
    QVERIFY(compileDeckText(source, false).bytes.size() >= compiled.bytes.size());
    // The decoder reads the table back.
    const DecodedDeck decoded = decodeDeck(compiled.bytes);
    QVERIFY2(decoded.ok, qPrintable(decoded.error));
    QCOMPARE(compileDeckText(decoded.source, true).bytes.toHex(' '), expected.toHex(' '));
  }

  void notWellFormedGivesNoBytes() {
    const CompiledDeck compiled = compileDeckText(deck11("<wml><card></wml>"));
    QVERIFY(!compiled.ok);
    QVERIFY(compiled.bytes.isEmpty());
    QVERIFY(!compiled.error.isEmpty());
  }

  void decodesToSource_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("body");
    QTest::newRow("tags, attributes, variables")
        << hex("01046A00"
               "7F"
               "E7"
               "55"
               "037800"
               "01"
               "60"
               "0348692000"
               "406100"
               "416200"
               "426300"
               "03202426C2A000"
               "010101")
        << QStringLiteral("<wml>\n  <card id=\"x\">\n    <p>Hi $(a:e)$(b:u)$(c) $$&amp;&nbsp;</p>\n"
                          "  </card>\n</wml>\n");
    QTest::newRow("string table references and a literal")
        << hex("01046A"
               "05"
               "7573657200"
               "7F"
               "67"
               "44"
               "00"
               "8200"
               "01"
               "0101")
        << QStringLiteral("<wml>\n  <card>\n    <user>$(user)</user>\n  </card>\n</wml>\n");
    QTest::newRow("attribute prefix and value tokens")
        << hex("01046A00"
               "7F"
               "67"
               "60"
               "DC"
               "4B"
               "A1"
               "036578616D706C6500"
               "85"
               "01"
               "037800"
               "01"
               "010101")
        << QStringLiteral("<wml>\n  <card>\n    <p><a href=\"http://www.example.com/\">x</a></p>\n"
                          "  </card>\n</wml>\n");
  }
  void decodesToSource() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, body);
    QVERIFY(hasCompiledDeckHeader(bytes));
    const DecodedDeck decoded = decodeDeck(bytes);
    QVERIFY2(decoded.ok, qPrintable(decoded.error));
    const QString header = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                          "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                                          "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n");
    QCOMPARE(decoded.source, header + body);
    // What the decoder writes compiles back to the same bytes.
    QCOMPARE(compileDeckText(decoded.source, true).bytes.toHex(' '), bytes.toHex(' '));
  }

  void rejectsMalformedInput_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty") << QByteArray() << "the file ends in the middle of the deck";
    QTest::newRow("not WML") << hex("01016A00")
                             << "it is not a WML deck (unknown public identifier)";
    QTest::newRow("version byte") << hex("09046A00") << "it is not WBXML (unknown version byte)";
    QTest::newRow("truncated") << hex("01046A00"
                                      "7F"
                                      "67"
                                      "60"
                                      "03414243")
                               << "a string has no end";
    QTest::newRow("missing END") << hex("01046A00"
                                        "7F"
                                        "67")
                                 << "the file ends in the middle of the deck";
    QTest::newRow("table past end") << hex("01046A"
                                           "7F"
                                           "00")
                                    << "the string table runs past the end of the file";
    QTest::newRow("index past table") << hex("01046A02"
                                             "6100"
                                             "7F"
                                             "8305"
                                             "01")
                                      << "a string table reference points past the table";
    QTest::newRow("unknown tag") << hex("01046A00"
                                        "3A")
                                 << "a tag token is not one of WML's";
    QTest::newRow("bad UTF-8") << hex("01046A00"
                                      "7F"
                                      "03C3"
                                      "00"
                                      "01")
                               << "a string is not valid UTF-8";
    QTest::newRow("control character") << hex("01046A00"
                                              "7F"
                                              "030100"
                                              "01")
                                       << "a string holds a character XML cannot hold";
    QTest::newRow("duplicate attribute") << hex("01046A00"
                                                "BF"
                                                "55036100"
                                                "55036200"
                                                "01")
                                         << "an attribute is given twice in one element";
    QTest::newRow("trailing data") << hex("01046A00"
                                          "3F"
                                          "3F")
                                   << "there is data after the deck's last element";
    QTest::newRow("other code page") << hex("01046A00"
                                            "0001"
                                            "3F")
                                     << "it uses a code page WML does not have";
    QTest::newRow("number too long") << hex("0104"
                                            "8080808080"
                                            "00")
                                     << "a number is too long";
    QTest::newRow("bad variable name") << hex("01046A00"
                                              "7F"
                                              "40312000"
                                              "01")
                                       << "a variable reference has no valid name";
    QTest::newRow("bad literal name") << hex("01046A"
                                             "02"
                                             "3100"
                                             "04"
                                             "00")
                                      << "an element name is not a valid XML name";
  }
  void rejectsMalformedInput() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    const DecodedDeck decoded = decodeDeck(bytes);
    QVERIFY(!decoded.ok);
    QCOMPARE(decoded.error, reason);
    QVERIFY(decoded.source.isEmpty());
  }

  void deepNestingIsRefused() {
    QByteArray bytes = hex("01046A00");
    bytes += QByteArray(100000, '\x64'); // <b> inside <b> ...
    const DecodedDeck decoded = decodeDeck(bytes);
    QVERIFY(!decoded.ok);
    QCOMPARE(decoded.error, QStringLiteral("its elements are nested too deeply"));
  }

  void outputIsBounded() {
    // One 60 KB string referenced a hundred thousand times.
    QByteArray bytes = hex("01046A");
    QByteArray text(60000, 'a');
    text += '\0';
    appendMultiByte(bytes, quint32(text.size()));
    bytes += text;
    bytes += hex("7F");
    for (int i = 0; i < 100000; ++i)
      bytes += hex("8300");
    bytes += hex("01");
    const DecodedDeck decoded = decodeDeck(bytes);
    QVERIFY(!decoded.ok);
    QCOMPARE(decoded.error, QStringLiteral("the decoded deck would be too large"));
  }
};

QTEST_GUILESS_MAIN(TestWbxml)
#include "tst_wbxml.moc"
