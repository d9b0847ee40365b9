#include "BytecodeBuilder.h"
#include "wml/script/BytecodeReader.h"
#include "wml/script/BytecodeVerifier.h"
#include "wml/script/Disassembler.h"

#include <QtTest>

using namespace tessera::wml::script;

namespace {

QByteArray oneFunction(const QByteArray& code, int arguments = 0, int locals = 0,
                       const QList<QByteArray>& constants = {bytecode::utf8("x")}) {
  return bytecode::unit(constants, {{"f", arguments, locals, code}});
}

// The bytes of a unit with its header's size byte patched.
QByteArray withSize(QByteArray unit, char size) {
  unit[1] = size;
  return unit;
}

} // namespace

// What the reader and the verifier refuse, each case with the check that
// catches it; hostile counts and sizes must end in an error, not a read
// past the end.
class ScriptBytecodeTest : public QObject {
  Q_OBJECT
private slots:
  void refusesBrokenUnits_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    using namespace bytecode;
    const QByteArray good = oneFunction(code("15 3a"));
    QTest::newRow("empty") << QByteArray() << "ends inside the version number";
    QTest::newRow("version 1.2") << QByteArray("\x02" + good.mid(1)) << "newer than 1.1";
    QTest::newRow("version 2.1") << QByteArray("\x11" + good.mid(1)) << "2.1 is not 1.x";
    QTest::newRow("size too large") << withSize(good, char(good.size())) << "the header gives";
    QTest::newRow("size too small") << withSize(good, 3) << "the header gives";
    QTest::newRow("reserved constant type")
        << oneFunction(code("15 3a"), 0, 0, {QByteArray("\x07")}) << "reserved type 7";
    QTest::newRow("constant count beyond the bytes") << QByteArray::fromHex("0106"
                                                                            "83ff7f"
                                                                            "6a"
                                                                            "0000")
                                                     << "constants cannot fit";
    QTest::newRow("string past the end")
        << oneFunction(code("15 3a"), 0, 0, {QByteArray::fromHex("047f") + "ab"})
        << "runs past the end";
    QTest::newRow("multi-byte integer too long")
        << QByteArray::fromHex("0181818181818100") << "longer than a multi-byte integer";
    QTest::newRow("reserved pragma type")
        << unit({utf8("x")}, {{"f", 0, 0, code("3a")}}, {QByteArray::fromHex("0400")})
        << "reserved type 4";
    QTest::newRow("pragma names an integer")
        << unit({int8(3)}, {{"f", 0, 0, code("3b")}}, {accessDomain(0)}) << "not a string";
    QTest::newRow("pragma names no constant")
        << unit({utf8("a.com")}, {{"f", 0, 0, code("3b")}}, {accessPath(4)}) << "not a string";
    QTest::newRow("two access domains")
        << unit({utf8("a.com")}, {{"f", 0, 0, code("3b")}}, {accessDomain(0), accessDomain(0)})
        << "second access domain";
    QTest::newRow("no extern function")
        << unit({}, {{"", 0, 0, code("3b")}}) << "no extern function";
    QTest::newRow("name not a function name")
        << unit({}, {{"1st", 0, 0, code("3b")}}) << "\"1st\" is not a function name";
    QTest::newRow("too many variables")
        << unit({}, {{"f", 200, 57, code("3b")}}) << "257 variables, more than 256";
    QTest::newRow("unassigned opcode") << oneFunction(code("15 00 3a")) << "0x00 is no instruction";
    QTest::newRow("cut instruction")
        << oneFunction(code("15 3a 01")) << "ends inside an instruction";
    QTest::newRow("jump past the end") << oneFunction(code("01 05 3b")) << "leaves the function";
    QTest::newRow("jump before the start") << oneFunction(code("3b a3")) << "leaves the function";
    QTest::newRow("jump into an instruction")
        << oneFunction(code("81 12 00 3a")) << "lands inside an instruction";
    QTest::newRow("variable out of range")
        << oneFunction(code("e1 3a"), 1, 0) << "variable 1 of a function with 1";
    QTest::newRow("store out of range")
        << oneFunction(code("15 0f 05 3b"), 2, 3) << "variable 5 of a function with 5";
    QTest::newRow("constant out of range") << oneFunction(code("55 3a")) << "constant 5 of 1";
    QTest::newRow("wide constant out of range")
        << oneFunction(code("13 01 00 3a")) << "constant 256 of 1";
    QTest::newRow("local function out of range")
        << oneFunction(code("63 3a")) << "a call of function 3 of 1";
    QTest::newRow("no such library function")
        << oneFunction(code("0a ff 00 3a")) << "no library function 255 in library 0";
    QTest::newRow("no such library")
        << oneFunction(code("0b 00 01 00 3a")) << "no library function 0 in library 256";
    QTest::newRow("url is an integer")
        << oneFunction(code("0c 00 01 00 3a"), 0, 0, {int8(1), utf8("g")})
        << "url of a call is not a string";
    QTest::newRow("url not valid")
        << oneFunction(code("0c 00 01 00 3a"), 0, 0, {utf8("a b"), utf8("g")})
        << "is not a valid url";
    QTest::newRow("called name not a name")
        << oneFunction(code("0c 00 01 00 3a"), 0, 0, {utf8("u.wmls"), utf8("g-h")})
        << "not a function name constant";
    QTest::newRow("bytes after the last function")
        << withSize(good + QByteArray(1, 0), char(good.size() - 1)) << "bytes follow";
  }
  void refusesBrokenUnits() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    const VerifyResult result = loadBytecode(bytes);
    QVERIFY(!result.unit);
    QVERIFY2(result.error.contains(error), qPrintable(result.error));
  }

  void acceptsUnits_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("instructions"); // in the first function, with the closing RETURN_ES
    using namespace bytecode;
    QTest::newRow("jump to the very end") << oneFunction(code("15 81 3a")) << 4;
    QTest::newRow("backward jump to the start") << oneFunction(code("15 37 a2")) << 4;
    QTest::newRow("all constant types")
        << oneFunction(code("50 51 52 53 54 55 56 3a"), 0, 0,
                       {int8(-1), int16(300), int32(-70000), float32(1.5f), utf8("é"),
                        emptyString(), external("\xe9")})
        << 9;
    QTest::newRow("two access pragmas")
        << unit({utf8("a.com"), utf8("/p")}, {{"f", 0, 0, code("3b")}},
                {accessDomain(0), accessPath(1)})
        << 2;
  }
  void acceptsUnits() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, instructions);
    const VerifyResult result = loadBytecode(bytes);
    QVERIFY2(result.unit, qPrintable(result.error));
    QCOMPARE(result.unit->functions().first().code.size(), instructions);
  }

  // Strings in the pool's own character set are decoded with it.
  void decodesExternalStrings() {
    using namespace bytecode;
    const QByteArray bytes =
        unit({external("caf\xe9")}, {{"f", 0, 0, code("50 3a")}}, {}, 4 /* ISO-8859-1 */);
    const VerifyResult result = loadBytecode(bytes);
    QVERIFY(result.unit);
    QCOMPARE(result.unit->constants().first().stringValue(), QStringLiteral("café"));
  }

  void disassembles() {
    using namespace bytecode;
    const QByteArray bytes =
        unit({utf8("a\"b"), int8(7), utf8("lib.wmls"), utf8("g")},
             {{"main", 1, 1, code("e0 50 6a 00 c4 0c 02 03 00 37 a8 3b")}, {"", 0, 0, code("3b")}},
             {accessDomain(0)});
    const auto read = readBytecode(bytes);
    QVERIFY(read.unit);
    const QString expected =
        QStringLiteral("; WMLScript bytecode 1.1, %1 bytes\n"
                       "constants: 4, character set 106 (UTF-8)\n"
                       "  [0] utf8 \"a\\\"b\"\n"
                       "  [1] integer 7\n"
                       "  [2] utf8 \"lib.wmls\"\n"
                       "  [3] utf8 \"g\"\n"
                       "pragmas: 1\n"
                       "  [0] access domain  [0] utf8 \"a\\\"b\"\n"
                       "functions: 2\n"
                       "function 0 extern main (1 arguments, 1 locals, 12 bytes)\n"
                       "  0000  LOAD_VAR_S 0\n"
                       "  0001  LOAD_CONST_S 0        ; utf8 \"a\\\"b\"\n"
                       "  0002  CALL_LIB_S 2 0        ; Lang.max\n"
                       "  0004  TJUMP_FW_S 4          ; -> 0009\n"
                       "  0005  CALL_URL 2 3 0        ; utf8 \"lib.wmls\" # utf8 \"g\"\n"
                       "  0009  POP\n"
                       "  0010  JUMP_BW_S 8           ; -> 0002\n"
                       "  0011  RETURN_ES\n"
                       "function 1 (0 arguments, 0 locals, 1 bytes)\n"
                       "  0000  RETURN_ES\n")
            .arg(bytes.size());
    QCOMPARE(disassemble(*read.unit, bytes.size()), expected);
  }
};

QTEST_APPLESS_MAIN(ScriptBytecodeTest)
#include "tst_scriptbytecode.moc"
