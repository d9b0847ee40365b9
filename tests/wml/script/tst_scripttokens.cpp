#include "wml/script/ScriptTokens.h"

#include <QTest>

using namespace tessera::wml::script;

// The tokens up to the end, one word each: punctuators as written,
// k:keyword, r:reserved word, i:identifier, n:integer, f:float, s:decoded
// string (a line feed shown as \n), then "end" or "error:message".
static QString describe(const LexResult& lexed) {
  QStringList words;
  for (const Token& t : lexed.tokens) {
    switch (t.kind) {
    case TokenKind::End: words << QStringLiteral("end"); break;
    case TokenKind::Error: words << QStringLiteral("error:") + lexed.error; break;
    case TokenKind::Punctuator: words << t.text.toString(); break;
    case TokenKind::Keyword: words << QStringLiteral("k:") + t.text.toString(); break;
    case TokenKind::ReservedWord: words << QStringLiteral("r:") + t.text.toString(); break;
    case TokenKind::Identifier: words << QStringLiteral("i:") + t.text.toString(); break;
    case TokenKind::Integer: words << QStringLiteral("n:") + QString::number(t.integerValue); break;
    case TokenKind::Float: words << QStringLiteral("f:") + QString::number(t.floatValue); break;
    case TokenKind::String:
      words << QStringLiteral("s:") + t.value.toString().replace(u'\n', QStringLiteral("\\n"));
      break;
    }
  }
  return words.join(u' ');
}

class ScriptTokensTest : public QObject {
  Q_OBJECT

private slots:
  void tokens_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("tokens");
    const QString all = QStringLiteral(">>>= >>> >>= >> >= > <<= << <= < == = != ! && &= & || |= | "
                                       "++ += + -- -= - *= * /= / ^= ^ %= % , ~ ? : . ( ) { } ; #");
    QTest::newRow("every punctuator") << all << all + QStringLiteral(" end");
    QTest::newRow("runs split longest first")
        << ">>>>= <<<= a+++b !== &&= ||| ---x"
        << ">>> >= << <= i:a ++ + i:b != = && = || | -- - i:x end";
    QTest::newRow("div= is one token unless == follows")
        << "div= div == div== divx=div"
        << "k:div= k:div == k:div == i:divx = k:div end";
    QTest::newRow("keywords")
        << "use url access domain path meta name http equiv user agent header extern function var "
           "if else while for break continue return typeof isvalid true false invalid"
        << "k:use k:url k:access k:domain k:path k:meta k:name k:http k:equiv k:user k:agent "
           "k:header k:extern k:function k:var k:if k:else k:while k:for k:break k:continue "
           "k:return k:typeof k:isvalid k:true k:false k:invalid end";
    QTest::newRow("unused reserved words")
        << "in do lib new null this void with case catch class const debugger default delete "
           "enum export extends finally import private public sizeof struct super switch throw try"
        << "r:in r:do r:lib r:new r:null r:this r:void r:with r:case r:catch r:class r:const "
           "r:debugger r:default r:delete r:enum r:export r:extends r:finally r:import r:private "
           "r:public r:sizeof r:struct r:super r:switch r:throw r:try end";
    QTest::newRow("names near reserved words")
        << "i d0 iff Function classy _if debuggers usE x9"
        << "i:i i:d0 i:iff i:Function i:classy i:_if i:debuggers i:usE i:x9 end";
    QTest::newRow("numbers") << "0x1F 017 0 1.5e3 .5 2E-2 2147483648 a.b"
                             << "n:31 n:15 n:0 f:1500 f:0.5 f:0.02 n:2147483648 i:a . i:b end";
    QTest::newRow("octal with 8") << "x = 018;"
                                  << "i:x = error:malformed number \"018\": 8 and 9 are not octal "
                                     "digits (a leading 0 makes an octal number)";
    QTest::newRow("hexadecimal without digits")
        << "0xg"
        << "error:malformed number \"0xg\": no hexadecimal digits";
    QTest::newRow("exponent without digits")
        << "1e+;"
        << "error:malformed number \"1e+\": the exponent has no digits";
    QTest::newRow("letters after a number") << "12ab"
                                            << "error:malformed number \"12ab\"";
    QTest::newRow("strings") << "'a\"b' \"\\x41\\u00e9\\101\\n\" '' \"\\'\\/\""
                             << "s:a\"b s:A\u00e9A\\n s: s:'/ end";
    QTest::newRow("string not closed") << "x \"open\ny"
                                       << "i:x error:string not closed";
    QTest::newRow("unknown escape") << "'\\q'"
                                    << "error:unknown escape sequence \"\\q\"";
    QTest::newRow("short hexadecimal escape") << "'\\x4'"
                                              << "error:\"\\x\" needs 2 hexadecimal digits";
    QTest::newRow("unexpected character") << "a @ b"
                                          << "i:a error:unexpected character '@'";
    QTest::newRow("character outside a string")
        << "a \u00e9"
        << "i:a error:character U+00E9 outside a string or comment";
    QTest::newRow("comment not closed") << "a /* b"
                                        << "i:a error:comment not closed with \"*/\"";
    QTest::newRow("comments skipped") << "a // b\n/* c\n d */ e"
                                      << "i:a i:e end";
  }
  void tokens() {
    QFETCH(QString, source);
    QFETCH(QString, tokens);
    const LexResult lexed = lexScript(source);
    QCOMPARE(describe(lexed), tokens);
    // A punctuator's or keyword's code names what was written.
    for (const Token& t : lexed.tokens)
      if (t.kind == TokenKind::Punctuator || t.kind == TokenKind::Keyword)
        QCOMPARE(symbolText(t.symbol).toString(), t.text.toString());
  }

  // Every token's place as line:column-endLine:endColumn, and the warnings'.
  void places_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("places");
    QTest::newRow("each line break ends a line") << "a\r\nbb\rc\nd"
                                                 << "1:1-1:2 2:1-2:3 3:1-3:2 4:1-4:2 4:2-4:2";
    QTest::newRow("a surrogate pair in a string is one column") << "'\U0001F600' x"
                                                                << "1:1-1:4 1:5-1:6 1:6-1:6";
    QTest::newRow("and so in a string with an escape") << "'\U0001F600\\n' x"
                                                       << "1:1-1:6 1:7-1:8 1:8-1:8";
    QTest::newRow("and in a comment") << "/* \U0001F600 */ y"
                                      << "1:9-1:10 1:10-1:10";
    QTest::newRow("punctuators and keywords") << ">>>= div= if("
                                              << "1:1-1:5 1:6-1:10 1:11-1:13 1:13-1:14 1:14-1:14";
    QTest::newRow("nested comment warned") << "x /* /* */ y"
                                           << "1:1-1:2 1:12-1:13 1:13-1:13 w1:6-1:8";
    QTest::newRow("unexpected character") << "a @"
                                          << "1:1-1:2 1:3-1:4";
    QTest::newRow("string not closed") << "x = 'ab\n"
                                       << "1:1-1:2 1:3-1:4 1:5-1:8";
    QTest::newRow("unclosed comment marks its opening") << "\n  /* x"
                                                        << "2:3-2:5";
    QTest::newRow("bad escape marks the escape") << "'ab\\q'"
                                                 << "1:4-1:6";
  }
  void places() {
    QFETCH(QString, source);
    QFETCH(QString, places);
    const LexResult lexed = lexScript(source);
    QStringList got;
    const auto place = [](const SourceRange& r) {
      return QStringLiteral("%1:%2-%3:%4")
          .arg(r.start.line)
          .arg(r.start.column)
          .arg(r.end.line)
          .arg(r.end.column);
    };
    for (const Token& t : lexed.tokens)
      got << place(t.range);
    for (const LexNote& note : lexed.warnings)
      got << u'w' + place(note.range);
    QCOMPARE(got.join(u' '), places);
  }

  void reservedWords_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("reserved");
    QTest::newRow("div=") << "div=" << true;
    QTest::newRow("div") << "div" << true;
    QTest::newRow("divx") << "divx" << false;
    QTest::newRow("in") << "in" << true;
    QTest::newRow("i") << "i" << false;
    QTest::newRow("debugger (the longest)") << "debugger" << true;
    QTest::newRow("Debugger") << "Debugger" << false;
    QTest::newRow("invalid (a literal)") << "invalid" << true;
    QTest::newRow("with (the last)") << "with" << true;
    QTest::newRow("access (the first)") << "access" << true;
    QTest::newRow("empty") << "" << false;
  }
  void reservedWords() {
    QFETCH(QString, word);
    QFETCH(bool, reserved);
    QCOMPARE(isReservedWord(word), reserved);
  }
};

QTEST_GUILESS_MAIN(ScriptTokensTest)
#include "tst_scripttokens.moc"
