#include "wml/script/ScriptSyntax.h"

#include <QTest>

using namespace tessera::wml;
using namespace tessera::wml::script;

// An expression as a prefix tree: "(op left right)", "(op operand)",
// names and numbers as written, "(? c t e)", "(, l r)", "f(args)".
static QString tree(const Expression& e) {
  using Kind = Expression::Kind;
  QStringList parts;
  for (const auto& operand : e.operands)
    parts << tree(*operand);
  switch (e.kind) {
  case Kind::Variable: return e.name.toString();
  case Kind::Integer: return QString::number(e.integerValue);
  case Kind::LogicalAnd: return QStringLiteral("(&& %1)").arg(parts.join(u' '));
  case Kind::LogicalOr: return QStringLiteral("(|| %1)").arg(parts.join(u' '));
  case Kind::Conditional: return QStringLiteral("(? %1)").arg(parts.join(u' '));
  case Kind::Comma: return QStringLiteral("(, %1)").arg(parts.join(u' '));
  case Kind::Assign:
    return QStringLiteral("(%1 %2 %3)").arg(symbolText(e.op), e.name, parts.join(u' '));
  case Kind::PreIncrement: return symbolText(e.op).toString() + e.name.toString();
  case Kind::PostIncrement: return e.name.toString() + symbolText(e.op).toString();
  case Kind::LocalCall: return QStringLiteral("%1(%2)").arg(e.name, parts.join(u','));
  default: return QStringLiteral("(%1 %2)").arg(symbolText(e.op), parts.join(u' '));
  }
}

class ScriptSyntaxTest : public QObject {
  Q_OBJECT

private slots:
  // Each binary level binds tighter than the one before, every level groups
  // from the left, and unary operators bind tighter than all.
  void precedence_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("tree");
    QTest::newRow("loosest to tightest")
        << "a || b && c | d ^ e & f == g < h << i + j * k"
        << "(|| a (&& b (| c (^ d (& e (== f (< g (<< h (+ i (* j k))))))))))";
    QTest::newRow("tightest to loosest")
        << "a * b + c << d < e == f & g ^ h | i && j || k"
        << "(|| (&& (| (^ (& (== (< (<< (+ (* a b) c) d) e) f) g) h) i) j) k)";
    QTest::newRow("minus groups from the left") << "a - b - c"
                                                << "(- (- a b) c)";
    QTest::newRow("multiplicative level") << "a div b % c * d / e"
                                          << "(/ (* (% (div a b) c) d) e)";
    QTest::newRow("relational level") << "a < b >= c > d <= e"
                                      << "(<= (> (>= (< a b) c) d) e)";
    QTest::newRow("shift level") << "a >>> b >> c << d"
                                 << "(<< (>> (>>> a b) c) d)";
    QTest::newRow("equality level") << "a != b == c"
                                    << "(== (!= a b) c)";
    QTest::newRow("tight after loose after tight") << "a * b || c * d && e"
                                                   << "(|| (* a b) (&& (* c d) e))";
    QTest::newRow("unary operators bind tightest")
        << "-a * !b + ~c - typeof d == isvalid e"
        << "(== (- (+ (* (- a) (! b)) (~ c)) (typeof d)) (isvalid e))";
    QTest::newRow("increments") << "++a + b-- * --c"
                                << "(+ ++a (* b-- --c))";
    QTest::newRow("parentheses") << "(a + b) * (c || d)"
                                 << "(* (+ a b) (|| c d))";
    QTest::newRow("conditional below ||") << "x = a || b ? c : d + e"
                                          << "(= x (? (|| a b) c (+ d e)))";
    QTest::newRow("assignments to the right") << "x += y = a div= 2"
                                              << "(+= x (= y (div= a 2)))";
    QTest::newRow("comma loosest") << "a, b = 1 < 2, f(c, d * e)"
                                   << "(, (, a (= b (< 1 2))) f(c,(* d e)))";
  }
  void precedence() {
    QFETCH(QString, expression);
    QFETCH(QString, tree);
    const QString source = QStringLiteral("extern function f() { %1; }").arg(expression);
    const ParseResult parsed = parseScript(source);
    QVERIFY2(parsed.complete, qPrintable(parsed.findings.value(0).message));
    const Statement& statement = *parsed.unit.functions.at(0).body[0];
    QCOMPARE(::tree(*statement.expression), tree);
  }

  // The operator chain limit counts every binary operator in a row, of
  // whatever level; one more than it is an error at that operator.
  void chains_data() {
    QTest::addColumn<QStringList>("operators");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("2000 additions") << QStringList{"+"} << 2000 << true;
    QTest::newRow("2001 additions") << QStringList{"+"} << 2001 << false;
    QTest::newRow("2001 of two levels") << QStringList{"*", "+"} << 2001 << false;
    QTest::newRow("2000 of four levels") << QStringList{"||", "*", "<", "&"} << 2000 << true;
    QTest::newRow("2001 of four levels") << QStringList{"||", "*", "<", "&"} << 2001 << false;
  }
  void chains() {
    QFETCH(QStringList, operators);
    QFETCH(int, count);
    QFETCH(bool, accepted);
    QString source = QStringLiteral("extern function f(a) { return a");
    int lastColumn = 0;
    for (int i = 0; i < count; ++i) {
      lastColumn = int(source.size()) + 1;
      source += operators.at(i % operators.size()) + u'a';
    }
    source += QStringLiteral("; }");
    const ParseResult parsed = parseScript(source);
    QCOMPARE(parsed.complete, accepted);
    if (!accepted) {
      QCOMPARE(parsed.findings.size(), 1);
      QCOMPARE(parsed.findings.at(0).message,
               QStringLiteral("expression too long (more than 2000 operators in a row)"));
      QCOMPARE(parsed.findings.at(0).start.column, lastColumn);
    }
  }

  // The parser reads the text a token at a time and stops at the first
  // syntax error, yet the lexical warnings of the whole text are reported,
  // before the error.
  void findingsAroundAnError_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("findings");
    QTest::newRow("warning after the error")
        << "extern function f( {\n/* a /* b */\n"
        << QStringList{"2:6 nested-comment", "1:20 syntax-error"};
    QTest::newRow("warning before the error")
        << "/* /* */ extern function f( {"
        << QStringList{"1:4 nested-comment", "1:29 syntax-error"};
    QTest::newRow("reading ends at a lexical error past the syntax error")
        << "extern function f( { 1x /* /* */" << QStringList{"1:20 syntax-error"};
  }
  void findingsAroundAnError() {
    QFETCH(QString, source);
    QFETCH(QStringList, findings);
    const ParseResult parsed = parseScript(source);
    QStringList found;
    for (const Finding& f : parsed.findings)
      found << QStringLiteral("%1:%2 %3").arg(f.start.line).arg(f.start.column).arg(f.rule);
    QCOMPARE(found, findings);
  }

  // Names and string values view the source or the unit's own decoded
  // strings, and stay readable for as long as the unit is kept.
  void stringValues_data() {
    QTest::addColumn<QString>("literal");
    QTest::addColumn<QString>("value");
    QTest::newRow("no escape") << "\"plain\""
                               << "plain";
    QTest::newRow("escapes") << "'a\\tb\\u0041\\''"
                             << "a\tbA'";
    QTest::newRow("empty") << "\"\""
                           << "";
  }
  void stringValues() {
    QFETCH(QString, literal);
    QFETCH(QString, value);
    const QString source = QStringLiteral("extern function f(x) { x = %1; }").arg(literal);
    ParseResult parsed = parseScript(source);
    const ParseResult kept = std::move(parsed);
    QVERIFY(kept.complete);
    const Expression& assign = *kept.unit.functions.at(0).body[0]->expression;
    QCOMPARE(assign.name.toString(), QStringLiteral("x"));
    QCOMPARE(assign.operands[0]->stringValue.toString(), value);
  }
};

QTEST_GUILESS_MAIN(ScriptSyntaxTest)
#include "tst_scriptsyntax.moc"
