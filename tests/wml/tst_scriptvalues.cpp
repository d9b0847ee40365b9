#include "wml/script/Operators.h"
#include "wml/script/Value.h"

#include <QtTest>

using namespace tessera::wml::script;

namespace {

// "i:7", "f:7.2", "s:abc", "b:true", "invalid".
Value literal(const QString& text) {
  const QString body = text.mid(2);
  if (text.startsWith(QLatin1String("i:")))
    return Value::integer(body.toInt());
  if (text.startsWith(QLatin1String("f:")))
    return Value::floating(body.toDouble());
  if (text.startsWith(QLatin1String("s:")))
    return Value::string(body);
  if (text.startsWith(QLatin1String("b:")))
    return Value::boolean(body == QLatin1String("true"));
  return Value::invalid();
}

Value apply(const QString& op, const Value& a, const Value& b) {
  if (op == QLatin1String("+"))
    return addValues(a, b);
  if (op == QLatin1String("-"))
    return subtractValues(a, b);
  if (op == QLatin1String("*"))
    return multiplyValues(a, b);
  if (op == QLatin1String("/"))
    return divideValues(a, b);
  if (op == QLatin1String("div"))
    return integerDivide(a, b);
  if (op == QLatin1String("%"))
    return remainderOf(a, b);
  if (op == QLatin1String("&"))
    return bitwiseAnd(a, b);
  if (op == QLatin1String("|"))
    return bitwiseOr(a, b);
  if (op == QLatin1String("^"))
    return bitwiseXor(a, b);
  if (op == QLatin1String("<<"))
    return shiftLeft(a, b);
  if (op == QLatin1String(">>"))
    return shiftRightSigned(a, b);
  if (op == QLatin1String(">>>"))
    return shiftRightZeroFill(a, b);
  if (op == QLatin1String("<"))
    return compareValues(a, b, Comparison::Less);
  if (op == QLatin1String("<="))
    return compareValues(a, b, Comparison::LessOrEqual);
  if (op == QLatin1String("=="))
    return compareValues(a, b, Comparison::Equal);
  if (op == QLatin1String("!="))
    return compareValues(a, b, Comparison::NotEqual);
  if (op == QLatin1String(">"))
    return compareValues(a, b, Comparison::Greater);
  if (op == QLatin1String(">="))
    return compareValues(a, b, Comparison::GreaterOrEqual);
  // Unary operators ignore b.
  if (op == QLatin1String("neg"))
    return unaryMinus(a);
  if (op == QLatin1String("plus"))
    return unaryPlus(a);
  if (op == QLatin1String("++"))
    return incremented(a, 1);
  if (op == QLatin1String("--"))
    return incremented(a, -1);
  if (op == QLatin1String("~"))
    return bitwiseNot(a);
  if (op == QLatin1String("!"))
    return logicalNot(a);
  if (op == QLatin1String("tobool"))
    return toBooleanValue(a);
  return Value::invalid();
}

} // namespace

// The operators' conversion rules, with the language's own examples first
// (its table of operand types and results) and the error cases after.
class ScriptValuesTest : public QObject {
  Q_OBJECT
private slots:
  void operators_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("op");
    QTest::addColumn<QString>("b");
    QTest::addColumn<QString>("result");
    auto row = [](const char* a, const char* op, const char* b, const char* result) {
      QTest::addRow("%s %s %s", a, op, b) << a << op << b << result;
    };
    // Booleans.
    row("b:true", "!", "invalid", "boolean false");
    row("i:42", "!", "invalid", "boolean false");
    row("s:", "!", "invalid", "boolean true");
    row("invalid", "!", "invalid", "invalid");
    row("f:0", "tobool", "invalid", "boolean false");
    row("s:A", "tobool", "invalid", "boolean true");
    // Integers only.
    row("s:7", "<<", "i:2", "integer 28");
    row("b:true", "<<", "i:2", "integer 4");
    row("f:7.2", ">>", "i:3", "invalid");
    row("f:2.1", "div", "i:4", "invalid");
    row("i:-8", ">>", "i:1", "integer -4");
    row("i:-8", ">>>", "i:28", "integer 15");
    row("i:1", "<<", "i:33", "integer 2"); // amounts modulo 32
    row("i:12", "&", "s:10", "integer 8");
    row("i:12", "|", "i:3", "integer 15");
    row("i:12", "^", "i:10", "integer 6");
    row("i:5", "~", "invalid", "integer -6");
    row("i:7", "div", "i:2", "integer 3");
    row("i:-7", "div", "i:2", "integer -3");
    row("i:-7", "%", "i:3", "integer -1");
    row("i:7", "%", "i:-3", "integer 1");
    row("i:10", "div", "i:0", "invalid");
    row("i:10", "%", "i:0", "invalid");
    row("i:-2147483648", "div", "i:-1", "invalid");
    row("i:-2147483648", "%", "i:-1", "integer 0");
    // Unary numbers.
    row("i:10", "plus", "invalid", "integer 10");
    row("f:-10.3", "neg", "invalid", "float 10.3");
    row("s:33", "neg", "invalid", "integer -33");
    row("s:47.3", "plus", "invalid", "float 47.3");
    row("b:true", "plus", "invalid", "integer 1");
    row("b:false", "neg", "invalid", "integer 0");
    row("s:ABC", "neg", "invalid", "invalid");
    row("s:9e9999", "neg", "invalid", "invalid");
    row("i:-2147483648", "neg", "invalid", "invalid");
    row("i:2147483647", "++", "invalid", "integer invalid");
    row("s: 41 ", "++", "invalid", "integer 42");
    row("f:1.5", "--", "invalid", "float 0.5");
    // Integers or floats.
    row("i:100", "/", "f:10.3", "float 9.708737"); // single precision throughout
    row("i:33", "*", "i:44", "integer 1452");
    row("s:10", "*", "i:3", "integer 30");
    row("f:3.4", "*", "s:4.3", "float 14.620001");
    row("s:10", "-", "s:2", "integer 8");
    row("s:2.3", "*", "s:3", "float 6.9");
    row("f:3.2", "*", "s:A", "invalid");
    row("f:0.9", "*", "s:9e999", "invalid");
    row("invalid", "*", "i:1", "invalid");
    row("i:1", "/", "i:4", "float 0.25");
    row("i:1", "/", "i:0", "invalid");
    row("i:2147483647", "*", "i:2", "invalid");
    row("i:-2147483648", "-", "i:1", "invalid");
    row("f:3e38", "*", "i:10", "invalid");
    row("f:1e-30", "*", "f:1e-30", "float 0.0");
    // Integers, floats or strings.
    row("i:12", "+", "i:3", "integer 15");
    row("f:32.4", "+", "i:65", "float 97.4");
    row("s:12", "+", "f:5.4", "string \"125.4\"");
    row("f:2.7", "+", "s:4.2", "string \"2.74.2\"");
    row("f:9.9", "+", "b:true", "float 10.9");
    row("s:A", "+", "invalid", "invalid");
    row("s:x", "+", "b:false", "string \"xfalse\"");
    row("b:true", "+", "b:true", "integer 2");
    row("i:2147483647", "+", "i:1", "invalid");
    row("f:43.2", "<", "i:77", "boolean true");
    row("s:Hey", "<", "i:56", "boolean false");
    row("i:3", "<", "b:false", "boolean false");
    row("s:abc", "<", "s:abd", "boolean true");
    row("s:B", "<", "s:a", "boolean true");
    row("s:10", "<", "i:9", "boolean true"); // a string compares as text
    row("i:10", ">", "f:9.5", "boolean true");
    row("b:true", "==", "i:1", "boolean true");
    row("f:1", "==", "i:1", "boolean true");
    row("s:1.0", "==", "i:1", "boolean false");
    row("i:2", "<=", "i:2", "boolean true");
    row("i:2", ">=", "i:3", "boolean false");
    row("i:2", "!=", "i:3", "boolean true");
    row("invalid", "==", "invalid", "invalid");
  }
  void operators() {
    QFETCH(QString, a);
    QFETCH(QString, op);
    QFETCH(QString, b);
    QFETCH(QString, result);
    QString expected = result;
    if (result == QLatin1String("integer invalid"))
      expected = QStringLiteral("invalid");
    QCOMPARE(describeValue(apply(op, literal(a), literal(b))), expected);
  }

  // A float written as a string: the shortest decimal that reads back as
  // the same single-precision value, always with a point or an exponent.
  void floatsAsText_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0f << "0.0";
    QTest::newRow("whole") << 3.0f << "3.0";
    QTest::newRow("half") << 0.5f << "0.5";
    QTest::newRow("negative") << -2.25f << "-2.25";
    QTest::newRow("tenth") << 0.1f << "0.1";
    QTest::newRow("seven digits") << 1.234568f << "1.234568";
    QTest::newRow("hundred") << 100.0f << "100.0";
    QTest::newRow("small") << 0.001f << "0.001";
    QTest::newRow("tiny") << 1.5e-7f << "1.5e-7";
    QTest::newRow("large") << 1.0e10f << "1e10";
    QTest::newRow("max") << 3.4028235e38f << "3.4028235e38";
    QTest::newRow("min normal") << 1.17549435e-38f << "1.1754944e-38";
  }
  void floatsAsText() {
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(floatToText(value), text);
    QCOMPARE(float(text.toDouble()), value);
  }

  // The numeric string grammar: white space around, a sign, no trailing
  // garbage; integers must fit 32 bits.
  void numericStrings_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("asInteger");
    QTest::addColumn<QString>("asFloat");
    QTest::newRow("integer") << "42"
                             << "integer 42"
                             << "float 42.0";
    QTest::newRow("spaces") << " \t-7\r\n"
                            << "integer -7"
                            << "float -7.0";
    QTest::newRow("plus") << "+3"
                          << "integer 3"
                          << "float 3.0";
    QTest::newRow("fraction") << "2.5"
                              << "invalid"
                              << "float 2.5";
    QTest::newRow("leading point") << ".5"
                                   << "invalid"
                                   << "float 0.5";
    QTest::newRow("trailing point") << "5."
                                    << "invalid"
                                    << "float 5.0";
    QTest::newRow("exponent") << "1e3"
                              << "invalid"
                              << "float 1000.0";
    QTest::newRow("bare exponent") << "1e"
                                   << "invalid"
                                   << "invalid";
    QTest::newRow("letters") << "12a"
                             << "invalid"
                             << "invalid";
    QTest::newRow("empty") << ""
                           << "invalid"
                           << "invalid";
    QTest::newRow("sign only") << "-"
                               << "invalid"
                               << "invalid";
    QTest::newRow("hex") << "0x10"
                         << "invalid"
                         << "invalid";
    QTest::newRow("max int") << "2147483647"
                             << "integer 2147483647"
                             << "float 2.1474836e9";
    QTest::newRow("min int") << "-2147483648"
                             << "integer -2147483648"
                             << "float -2.1474836e9";
    QTest::newRow("int overflow") << "2147483648"
                                  << "invalid"
                                  << "float 2.1474836e9";
    QTest::newRow("float too large") << "1e39"
                                     << "invalid"
                                     << "invalid";
    QTest::newRow("float too small") << "-0.01e-99"
                                     << "invalid"
                                     << "float 0.0";
  }
  void numericStrings() {
    QFETCH(QString, text);
    QFETCH(QString, asInteger);
    QFETCH(QString, asFloat);
    const Value value = Value::string(text);
    const auto integer = value.toInteger();
    QCOMPARE(integer ? describeValue(Value::integer(*integer)) : QStringLiteral("invalid"),
             asInteger);
    const auto number = value.toFloat();
    QCOMPARE(number ? describeValue(Value::floating(*number)) : QStringLiteral("invalid"), asFloat);
  }

  void quoting_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("plain") << "abc"
                           << "\"abc\"";
    QTest::newRow("quote and backslash") << "a\"b\\c"
                                         << "\"a\\\"b\\\\c\"";
    QTest::newRow("controls") << "\n\t\r\x01"
                              << "\"\\n\\t\\r\\x01\"";
    QTest::newRow("non-ASCII kept") << "é€"
                                    << "\"é€\"";
  }
  void quoting() {
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    QCOMPARE(quoteText(text), quoted);
  }
};

QTEST_APPLESS_MAIN(ScriptValuesTest)
#include "tst_scriptvalues.moc"
