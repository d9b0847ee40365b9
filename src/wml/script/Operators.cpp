#include "wml/script/Operators.h"

#include <limits>

namespace tessera::wml::script {

namespace {

Value fromWide(qint64 v) {
  if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
    return Value::invalid(); // integer overflow
  return Value::integer(qint32(v));
}

enum class NumericKind { Integer, Float, None };

// The rule for "integers or floating-points": a float operand makes it a
// float operation; else integers when both convert; else floats when both
// convert ("2.3" * "3").
NumericKind numericKind(const Value& a, const Value& b) {
  if (a.type() == ValueType::Float || b.type() == ValueType::Float)
    return a.toFloat() && b.toFloat() ? NumericKind::Float : NumericKind::None;
  if (a.toInteger() && b.toInteger())
    return NumericKind::Integer;
  if (a.toFloat() && b.toFloat())
    return NumericKind::Float;
  return NumericKind::None;
}

template <typename IntegerOp, typename FloatOp>
Value numeric(const Value& a, const Value& b, IntegerOp integerOp, FloatOp floatOp) {
  switch (numericKind(a, b)) {
  case NumericKind::Integer: return integerOp(qint64(*a.toInteger()), qint64(*b.toInteger()));
  case NumericKind::Float: return floatOp(*a.toFloat(), *b.toFloat());
  case NumericKind::None: break;
  }
  return Value::invalid();
}

template <typename Op> Value integers(const Value& a, const Value& b, Op op) {
  const auto x = a.toInteger();
  const auto y = b.toInteger();
  if (!x || !y)
    return Value::invalid();
  return op(*x, *y);
}

} // namespace

Value addValues(const Value& a, const Value& b) {
  if (a.type() == ValueType::String || b.type() == ValueType::String) {
    const auto x = a.toText();
    const auto y = b.toText();
    if (!x || !y)
      return Value::invalid();
    return Value::string(*x + *y);
  }
  if (a.type() == ValueType::Float || b.type() == ValueType::Float) {
    const auto x = a.toFloat();
    const auto y = b.toFloat();
    return x && y ? Value::floating(*x + *y) : Value::invalid();
  }
  return integers(a, b, [](qint64 x, qint64 y) { return fromWide(x + y); });
}

Value subtractValues(const Value& a, const Value& b) {
  return numeric(
      a, b, [](qint64 x, qint64 y) { return fromWide(x - y); },
      [](double x, double y) { return Value::floating(x - y); });
}

Value multiplyValues(const Value& a, const Value& b) {
  return numeric(
      a, b, [](qint64 x, qint64 y) { return fromWide(x * y); },
      [](double x, double y) { return Value::floating(x * y); });
}

Value divideValues(const Value& a, const Value& b) {
  if (numericKind(a, b) == NumericKind::None)
    return Value::invalid();
  const double x = *a.toFloat();
  const double y = *b.toFloat();
  if (y == 0)
    return Value::invalid();
  return Value::floating(x / y);
}

Value integerDivide(const Value& a, const Value& b) {
  return integers(a, b, [](qint64 x, qint64 y) {
    return y == 0 ? Value::invalid() : fromWide(x / y); // minInt div -1 overflows
  });
}

Value remainderOf(const Value& a, const Value& b) {
  return integers(a, b,
                  [](qint64 x, qint64 y) { return y == 0 ? Value::invalid() : fromWide(x % y); });
}

Value bitwiseAnd(const Value& a, const Value& b) {
  return integers(a, b, [](qint32 x, qint32 y) { return Value::integer(x & y); });
}

Value bitwiseOr(const Value& a, const Value& b) {
  return integers(a, b, [](qint32 x, qint32 y) { return Value::integer(x | y); });
}

Value bitwiseXor(const Value& a, const Value& b) {
  return integers(a, b, [](qint32 x, qint32 y) { return Value::integer(x ^ y); });
}

Value bitwiseNot(const Value& a) {
  const auto x = a.toInteger();
  return x ? Value::integer(~*x) : Value::invalid();
}

Value shiftLeft(const Value& a, const Value& b) {
  return integers(a, b, [](qint32 x, qint32 y) {
    return Value::integer(qint32(quint32(x) << (quint32(y) & 31)));
  });
}

Value shiftRightSigned(const Value& a, const Value& b) {
  return integers(a, b, [](qint32 x, qint32 y) { return Value::integer(x >> (quint32(y) & 31)); });
}

Value shiftRightZeroFill(const Value& a, const Value& b) {
  return integers(a, b, [](qint32 x, qint32 y) {
    return Value::integer(qint32(quint32(x) >> (quint32(y) & 31)));
  });
}

// Unary numbers: an integer when the operand converts to one ("33", true),
// else a float ("47.3"), else invalid.
Value unaryMinus(const Value& a) {
  if (a.type() != ValueType::Float) {
    if (const auto x = a.toInteger())
      return fromWide(-qint64(*x));
  }
  const auto f = a.toFloat();
  return f ? Value::floating(-*f) : Value::invalid();
}

Value unaryPlus(const Value& a) {
  if (a.type() != ValueType::Float) {
    if (const auto x = a.toInteger())
      return Value::integer(*x);
  }
  const auto f = a.toFloat();
  return f ? Value::floating(*f) : Value::invalid();
}

Value incremented(const Value& a, int delta) {
  if (a.type() != ValueType::Float) {
    if (const auto x = a.toInteger())
      return fromWide(qint64(*x) + delta);
  }
  const auto f = a.toFloat();
  return f ? Value::floating(*f + delta) : Value::invalid();
}

Value compareValues(const Value& a, const Value& b, Comparison comparison) {
  int order = 0;
  if (a.isInvalid() || b.isInvalid())
    return Value::invalid();
  if (a.type() == ValueType::String || b.type() == ValueType::String) {
    const auto x = a.toText();
    const auto y = b.toText();
    if (!x || !y)
      return Value::invalid();
    const int c = x->compare(*y);
    order = c < 0 ? -1 : (c > 0 ? 1 : 0);
  } else if (a.type() == ValueType::Float || b.type() == ValueType::Float) {
    const auto x = a.toFloat();
    const auto y = b.toFloat();
    if (!x || !y)
      return Value::invalid();
    order = *x < *y ? -1 : (*x > *y ? 1 : 0);
  } else {
    const auto x = a.toInteger();
    const auto y = b.toInteger();
    if (!x || !y)
      return Value::invalid();
    order = *x < *y ? -1 : (*x > *y ? 1 : 0);
  }
  switch (comparison) {
  case Comparison::Equal: return Value::boolean(order == 0);
  case Comparison::NotEqual: return Value::boolean(order != 0);
  case Comparison::Less: return Value::boolean(order < 0);
  case Comparison::LessOrEqual: return Value::boolean(order <= 0);
  case Comparison::Greater: return Value::boolean(order > 0);
  case Comparison::GreaterOrEqual: return Value::boolean(order >= 0);
  }
  return Value::invalid();
}

Value logicalNot(const Value& a) {
  const auto x = a.toBoolean();
  return x ? Value::boolean(!*x) : Value::invalid();
}

Value toBooleanValue(const Value& a) {
  const auto x = a.toBoolean();
  return x ? Value::boolean(*x) : Value::invalid();
}

} // namespace tessera::wml::script
