#include "wml/script/Opcodes.h"

#include <QtTest>

using namespace tessera::wml::script;

// The instruction bytes as the standard's instruction chapter assigns them,
// written out by hand from its bit patterns.
class ScriptOpcodesTest : public QObject {
  Q_OBJECT
private slots:
  void decodesBytes_data() {
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("name"); // empty: no instruction
    QTest::addColumn<int>("parameter");
    QTest::addColumn<int>("length");
    QTest::newRow("unassigned 00") << 0x00 << QString() << 0 << 0;
    QTest::newRow("JUMP_FW") << 0x01 << "JUMP_FW" << 0 << 2;
    QTest::newRow("TJUMP_BW_W") << 0x08 << "TJUMP_BW_W" << 0 << 3;
    QTest::newRow("CALL_LIB") << 0x0A << "CALL_LIB" << 0 << 3;
    QTest::newRow("CALL_LIB_W") << 0x0B << "CALL_LIB_W" << 0 << 4;
    QTest::newRow("CALL_URL") << 0x0C << "CALL_URL" << 0 << 4;
    QTest::newRow("CALL_URL_W") << 0x0D << "CALL_URL_W" << 0 << 6;
    QTest::newRow("LOAD_CONST_W") << 0x13 << "LOAD_CONST_W" << 0 << 3;
    QTest::newRow("CONST_FALSE") << 0x1A << "CONST_FALSE" << 0 << 1;
    QTest::newRow("SUB_ASG") << 0x1E << "SUB_ASG" << 0 << 2;
    QTest::newRow("B_RSZSHIFT") << 0x2C << "B_RSZSHIFT" << 0 << 1;
    QTest::newRow("NE") << 0x32 << "NE" << 0 << 1;
    QTest::newRow("DEBUG") << 0x3C << "DEBUG" << 0 << 1;
    QTest::newRow("unassigned 3D") << 0x3D << QString() << 0 << 0;
    QTest::newRow("unassigned 3F") << 0x3F << QString() << 0 << 0;
    QTest::newRow("STORE_VAR_S 0") << 0x40 << "STORE_VAR_S" << 0 << 1;
    QTest::newRow("STORE_VAR_S 15") << 0x4F << "STORE_VAR_S" << 15 << 1;
    QTest::newRow("LOAD_CONST_S 9") << 0x59 << "LOAD_CONST_S" << 9 << 1;
    QTest::newRow("CALL_S 7") << 0x67 << "CALL_S" << 7 << 1;
    QTest::newRow("CALL_LIB_S 3") << 0x6B << "CALL_LIB_S" << 3 << 2;
    QTest::newRow("INCR_VAR_S 5") << 0x75 << "INCR_VAR_S" << 5 << 1;
    QTest::newRow("unassigned 78") << 0x78 << QString() << 0 << 0;
    QTest::newRow("unassigned 7F") << 0x7F << QString() << 0 << 0;
    QTest::newRow("JUMP_FW_S 31") << 0x9F << "JUMP_FW_S" << 31 << 1;
    QTest::newRow("JUMP_BW_S 1") << 0xA1 << "JUMP_BW_S" << 1 << 1;
    QTest::newRow("TJUMP_FW_S 16") << 0xD0 << "TJUMP_FW_S" << 16 << 1;
    QTest::newRow("LOAD_VAR_S 30") << 0xFE << "LOAD_VAR_S" << 30 << 1;
  }
  void decodesBytes() {
    QFETCH(int, byte);
    QFETCH(QString, name);
    QFETCH(int, parameter);
    QFETCH(int, length);
    const auto decoded = decodeOpcode(quint8(byte));
    if (name.isEmpty()) {
      QVERIFY(!decoded);
      return;
    }
    QVERIFY(decoded);
    QCOMPARE(QString::fromLatin1(mnemonic(decoded->op).data(), int(mnemonic(decoded->op).size())),
             name);
    QCOMPARE(decoded->implicitParameter, parameter);
    QCOMPARE(instructionLength(decoded->op), length);
    if (isShortForm(decoded->op))
      QCOMPARE(int(shortForm(decoded->op, parameter)), byte);
  }

  void multiByteIntegers_data() {
    QTest::addColumn<quint32>("value");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("zero") << 0u << QByteArray::fromHex("00");
    QTest::newRow("0x60") << 0x60u << QByteArray::fromHex("60");
    QTest::newRow("0x7F") << 0x7Fu << QByteArray::fromHex("7f");
    QTest::newRow("0xA0") << 0xA0u << QByteArray::fromHex("8120");
    QTest::newRow("0x3FFF") << 0x3FFFu << QByteArray::fromHex("ff7f");
    QTest::newRow("0x4000") << 0x4000u << QByteArray::fromHex("818000");
    QTest::newRow("max") << 0xFFFFFFFFu << QByteArray::fromHex("8fffffff7f");
  }
  void multiByteIntegers() {
    QFETCH(quint32, value);
    QFETCH(QByteArray, bytes);
    QByteArray out;
    appendMultiByte(out, value);
    QCOMPARE(out.toHex(), bytes.toHex());
    QCOMPARE(multiByteLength(value), bytes.size());
  }
};

QTEST_APPLESS_MAIN(ScriptOpcodesTest)
#include "tst_scriptopcodes.moc"
