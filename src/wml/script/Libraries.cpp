#include "wml/script/Libraries.h"

#include "wml/script/BrowserLibrary.h"
#include "wml/script/Operators.h"
#include "wml/script/StringLibrary.h"
#include "wml/script/UrlLibrary.h"

#include <cfloat>
#include <cmath>

namespace tessera::wml::script {

namespace {

bool isSpace(QChar c) {
  const char16_t u = c.unicode();
  return u == u'\t' || u == 0x0B || u == 0x0C || u == u' ' || u == u'\n' || u == u'\r';
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// A number argument as the unary numeric rule reads it: an integer when it
// converts to one, else a float, else nothing.
Value asNumber(const Value& value) { return unaryPlus(value); }

std::optional<qint32> fitInteger(double value) {
  if (!(value >= -2147483648.0 && value <= 2147483647.0))
    return std::nullopt;
  return qint32(value);
}

// Lang.parseInt: leading white space, a sign, digits; stops at the first
// character that is none of these.
Value parseIntPrefix(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && isSpace(text.at(i)))
    ++i;
  const qsizetype start = i;
  if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
    ++i;
  const qsizetype digits = i;
  while (i < text.size() && isDigit(text.at(i)))
    ++i;
  if (i == digits)
    return Value::invalid();
  const auto value = parseIntegerText(text.mid(start, i - start));
  return value ? Value::integer(*value) : Value::invalid();
}

// Lang.parseFloat: the longest float literal after leading white space; an
// exponent letter must be followed by its digits ("7.3e m" is an error).
Value parseFloatPrefix(const QString& text) {
  qsizetype i = 0;
  while (i < text.size() && isSpace(text.at(i)))
    ++i;
  const qsizetype start = i;
  if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
    ++i;
  qsizetype mark = i;
  while (i < text.size() && isDigit(text.at(i)))
    ++i;
  bool digits = i > mark;
  if (i < text.size() && text.at(i) == u'.') {
    mark = ++i;
    while (i < text.size() && isDigit(text.at(i)))
      ++i;
    digits = digits || i > mark;
  }
  if (!digits)
    return Value::invalid();
  if (i < text.size() && (text.at(i) == u'e' || text.at(i) == u'E')) {
    ++i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
      ++i;
    mark = i;
    while (i < text.size() && isDigit(text.at(i)))
      ++i;
    if (i == mark)
      return Value::invalid();
  }
  const auto value = parseFloatText(text.mid(start, i - start));
  if (!value || std::fabs(*value) > double(FLT_MAX))
    return Value::invalid();
  return Value::floating(*value);
}

Value minOrMax(const Value& a, const Value& b, bool wantMax) {
  const Value x = asNumber(a);
  const Value y = asNumber(b);
  if (x.isInvalid() || y.isInvalid())
    return Value::invalid();
  const Value less = compareValues(y, x, Comparison::Less);
  const Value greater = compareValues(y, x, Comparison::Greater);
  // Equal values: the first one, with its type.
  if (wantMax)
    return greater.booleanValue() ? y : x;
  return less.booleanValue() ? y : x;
}

LibraryOutcome integerResult(const Value& value, double (*round)(double)) {
  const Value number = asNumber(value);
  if (number.type() == ValueType::Integer)
    return LibraryOutcome::of(number);
  if (number.type() != ValueType::Float)
    return LibraryOutcome::of(Value::invalid());
  const auto result = fitInteger(round(double(number.floatValue())));
  return LibraryOutcome::of(result ? Value::integer(*result) : Value::invalid());
}

double roundHalfUp(double x) { return std::floor(x + 0.5); }

} // namespace

std::optional<qint32> integerPart(const Value& value) {
  const Value number = asNumber(value);
  if (number.type() == ValueType::Integer)
    return number.integerValue();
  if (number.type() == ValueType::Float)
    return fitInteger(std::trunc(double(number.floatValue())));
  return std::nullopt;
}

LibraryOutcome langFunction(LibraryContext& context, int function, const Value* args) {
  switch (function) {
  case 0: { // abs
    const Value number = asNumber(args[0]);
    if (number.type() == ValueType::Integer)
      return LibraryOutcome::of(number.integerValue() < 0 ? unaryMinus(number) : number);
    if (number.type() == ValueType::Float)
      return LibraryOutcome::of(Value::floating(std::fabs(double(number.floatValue()))));
    return LibraryOutcome::of(Value::invalid());
  }
  case 1: return LibraryOutcome::of(minOrMax(args[0], args[1], false));
  case 2: return LibraryOutcome::of(minOrMax(args[0], args[1], true));
  case 3: { // parseInt
    const auto text = args[0].toText();
    return LibraryOutcome::of(text ? parseIntPrefix(*text) : Value::invalid());
  }
  case 4: { // parseFloat
    const auto text = args[0].toText();
    return LibraryOutcome::of(text ? parseFloatPrefix(*text) : Value::invalid());
  }
  case 5:   // isInt
  case 6: { // isFloat
    const auto text = args[0].toText();
    if (!text)
      return LibraryOutcome::of(Value::invalid());
    const Value parsed = function == 5 ? parseIntPrefix(*text) : parseFloatPrefix(*text);
    return LibraryOutcome::of(Value::boolean(!parsed.isInvalid()));
  }
  case 7: return LibraryOutcome::of(Value::integer(2147483647));
  case 8: return LibraryOutcome::of(Value::integer(-2147483647 - 1));
  case 9: return LibraryOutcome::of(Value::boolean(true)); // float
  case 10: {                                               // exit
    LibraryOutcome outcome;
    outcome.kind = LibraryOutcome::Kind::Exit;
    outcome.value = args[0];
    return outcome;
  }
  case 11: { // abort
    LibraryOutcome outcome;
    outcome.kind = LibraryOutcome::Kind::Abort;
    outcome.message = args[0].toText().value_or(QStringLiteral("invalid"));
    return outcome;
  }
  case 12: { // random
    const auto limit = integerPart(args[0]);
    if (!limit || *limit < 0)
      return LibraryOutcome::of(Value::invalid());
    std::uniform_int_distribution<qint32> pick(0, *limit);
    return LibraryOutcome::of(Value::integer(pick(context.random)));
  }
  case 13: { // seed
    const auto seed = integerPart(args[0]);
    if (!seed)
      return LibraryOutcome::of(Value::invalid());
    context.random.seed(*seed >= 0 ? quint32(*seed) : std::random_device{}());
    return LibraryOutcome::of(Value::string(QString()));
  }
  case 14: return LibraryOutcome::of(Value::integer(106)); // characterSet: UTF-8
  }
  return LibraryOutcome::of(Value::invalid());
}

LibraryOutcome floatFunction(int function, const Value* args) {
  switch (function) {
  case 0: { // int
    const auto part = integerPart(args[0]);
    return LibraryOutcome::of(part ? Value::integer(*part) : Value::invalid());
  }
  case 1: return integerResult(args[0], [](double x) { return std::floor(x); });
  case 2: return integerResult(args[0], [](double x) { return std::ceil(x); });
  case 3: { // pow
    const auto base = args[0].toFloat();
    const auto exponent = args[1].toFloat();
    if (!base || !exponent || (*base == 0 && *exponent < 0) ||
        (*base < 0 && *exponent != std::trunc(*exponent)))
      return LibraryOutcome::of(Value::invalid());
    return LibraryOutcome::of(Value::floating(std::pow(*base, *exponent)));
  }
  case 4: return integerResult(args[0], roundHalfUp);
  case 5: { // sqrt
    const auto x = args[0].toFloat();
    if (!x || *x < 0)
      return LibraryOutcome::of(Value::invalid());
    return LibraryOutcome::of(Value::floating(std::sqrt(*x)));
  }
  case 6: return LibraryOutcome::of(Value::floating(double(FLT_MAX)));
  case 7: return LibraryOutcome::of(Value::floating(double(FLT_MIN)));
  }
  return LibraryOutcome::of(Value::invalid());
}

LibraryOutcome callLibraryFunction(LibraryContext& context, int library, int function,
                                   const Value* arguments) {
  switch (library) {
  case 0: return langFunction(context, function, arguments);
  case 1: return floatFunction(function, arguments);
  case 2: return stringFunction(function, arguments);
  case 3: return urlFunction(context, function, arguments);
  case 4: return browserFunction(context, function, arguments);
  case 5: return dialogsFunction(function, arguments);
  }
  return LibraryOutcome::of(Value::invalid());
}

} // namespace tessera::wml::script
