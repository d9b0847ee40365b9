#include "wml/script/Value.h"

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace tessera::wml::script {

namespace {

bool isStringSpace(QChar c) {
  const char16_t u = c.unicode();
  return u == u'\t' || u == 0x0B || u == 0x0C || u == u' ' || u == u'\n' || u == u'\r';
}

QStringView trimmed(const QString& text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && isStringSpace(text.at(begin)))
    ++begin;
  while (end > begin && isStringSpace(text.at(end - 1)))
    --end;
  return QStringView(text).mid(begin, end - begin);
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

qsizetype skipDigits(QStringView s, qsizetype i) {
  while (i < s.size() && isDigit(s.at(i)))
    ++i;
  return i;
}

// Whether `s` is a signed decimal float or integer literal of the numeric
// string grammar.
bool isFloatLiteral(QStringView s) {
  qsizetype i = 0;
  if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-'))
    ++i;
  const qsizetype integerStart = i;
  i = skipDigits(s, i);
  bool digits = i > integerStart;
  if (i < s.size() && s.at(i) == u'.') {
    const qsizetype fractionStart = ++i;
    i = skipDigits(s, i);
    digits = digits || i > fractionStart;
  }
  if (!digits)
    return false;
  if (i < s.size() && (s.at(i) == u'e' || s.at(i) == u'E')) {
    ++i;
    if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-'))
      ++i;
    const qsizetype exponentStart = i;
    i = skipDigits(s, i);
    if (i == exponentStart)
      return false;
  }
  return i == s.size();
}

locale_t cLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
  return locale;
}

} // namespace

Value Value::integer(qint32 v) {
  Value value;
  value.type_ = ValueType::Integer;
  value.integer_ = v;
  return value;
}

Value Value::floating(double v) {
  if (!std::isfinite(v))
    return {};
  float f = float(v);
  if (!std::isfinite(f))
    return {};
  if (std::fabs(f) < FLT_MIN)
    f = 0; // underflow, and no negative zero either
  Value value;
  value.type_ = ValueType::Float;
  value.float_ = f;
  return value;
}

Value Value::string(QString v) {
  Value value;
  value.type_ = ValueType::String;
  value.string_ = std::move(v);
  return value;
}

Value Value::boolean(bool v) {
  Value value;
  value.type_ = ValueType::Boolean;
  value.boolean_ = v;
  return value;
}

std::optional<bool> Value::toBoolean() const {
  switch (type_) {
  case ValueType::Boolean: return boolean_;
  case ValueType::Integer: return integer_ != 0;
  case ValueType::Float: return float_ != 0;
  case ValueType::String: return !string_.isEmpty();
  case ValueType::Invalid: break;
  }
  return std::nullopt;
}

std::optional<qint32> Value::toInteger() const {
  switch (type_) {
  case ValueType::Integer: return integer_;
  case ValueType::Boolean: return boolean_ ? 1 : 0;
  case ValueType::String: return parseIntegerText(string_);
  case ValueType::Float:
  case ValueType::Invalid: break;
  }
  return std::nullopt;
}

std::optional<double> Value::toFloat() const {
  switch (type_) {
  case ValueType::Float: return float_;
  case ValueType::Integer: return double(integer_);
  case ValueType::Boolean: return boolean_ ? 1.0 : 0.0;
  case ValueType::String: {
    const auto parsed = parseFloatText(string_);
    if (!parsed || std::fabs(*parsed) > double(FLT_MAX))
      return std::nullopt;
    return std::fabs(*parsed) < double(FLT_MIN) ? 0.0 : *parsed;
  }
  case ValueType::Invalid: break;
  }
  return std::nullopt;
}

std::optional<QString> Value::toText() const {
  switch (type_) {
  case ValueType::String: return string_;
  case ValueType::Integer: return QString::number(integer_);
  case ValueType::Float: return floatToText(float_);
  case ValueType::Boolean: return boolean_ ? QStringLiteral("true") : QStringLiteral("false");
  case ValueType::Invalid: break;
  }
  return std::nullopt;
}

bool Value::operator==(const Value& other) const {
  if (type_ != other.type_)
    return false;
  switch (type_) {
  case ValueType::Integer: return integer_ == other.integer_;
  case ValueType::Float: return float_ == other.float_;
  case ValueType::String: return string_ == other.string_;
  case ValueType::Boolean: return boolean_ == other.boolean_;
  case ValueType::Invalid: return true;
  }
  return false;
}

QString floatToText(float value) {
  if (value == 0)
    return QStringLiteral("0.0");
  // The fewest significant digits that read back as the same float.
  QString scientific;
  for (int precision = 1; precision <= 9; ++precision) {
    scientific = QString::number(double(value), 'e', precision - 1);
    if (float(scientific.toDouble()) == value)
      break;
  }
  // "-d.ddde+XX" into sign, digits and the decimal exponent.
  const bool negative = scientific.startsWith(u'-');
  const qsizetype ePos = scientific.indexOf(u'e');
  QString digits = scientific.mid(negative ? 1 : 0, ePos - (negative ? 1 : 0));
  digits.remove(u'.');
  while (digits.size() > 1 && digits.endsWith(u'0'))
    digits.chop(1);
  const int exponent = scientific.mid(ePos + 1).toInt();
  const int pointAt = exponent + 1; // digits before the decimal point
  QString text;
  if (pointAt > 0 && pointAt <= 9) {
    if (digits.size() <= pointAt)
      text = digits + QString(pointAt - digits.size(), u'0') + QStringLiteral(".0");
    else
      text = digits.left(pointAt) + u'.' + digits.mid(pointAt);
  } else if (pointAt <= 0 && pointAt > -5) {
    text = QStringLiteral("0.") + QString(-pointAt, u'0') + digits;
  } else {
    text = digits.left(1);
    if (digits.size() > 1)
      text += u'.' + digits.mid(1);
    text += u'e' + QString::number(exponent);
  }
  return negative ? u'-' + text : text;
}

std::optional<qint32> parseIntegerText(const QString& text) {
  const QStringView s = trimmed(text);
  qsizetype i = 0;
  bool negative = false;
  if (i < s.size() && (s.at(i) == u'+' || s.at(i) == u'-'))
    negative = s.at(i++) == u'-';
  if (i == s.size())
    return std::nullopt;
  qint64 magnitude = 0;
  for (; i < s.size(); ++i) {
    if (!isDigit(s.at(i)))
      return std::nullopt;
    magnitude = magnitude * 10 + (s.at(i).unicode() - u'0');
    if (magnitude > qint64(2147483648))
      return std::nullopt;
  }
  const qint64 value = negative ? -magnitude : magnitude;
  if (value > 2147483647)
    return std::nullopt;
  return qint32(value);
}

std::optional<double> parseFloatText(const QString& text) {
  const QStringView s = trimmed(text);
  if (!isFloatLiteral(s))
    return std::nullopt;
  const QByteArray ascii = s.toLatin1();
  const double value = strtod_l(ascii.constData(), nullptr, cLocale());
  return value; // may be infinite: the caller decides what too large means
}

QString quoteText(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  out += u'"';
  for (const QChar c : text) {
    switch (c.unicode()) {
    case u'"': out += QStringLiteral("\\\""); break;
    case u'\\': out += QStringLiteral("\\\\"); break;
    case u'\n': out += QStringLiteral("\\n"); break;
    case u'\r': out += QStringLiteral("\\r"); break;
    case u'\t': out += QStringLiteral("\\t"); break;
    case u'\b': out += QStringLiteral("\\b"); break;
    case u'\f': out += QStringLiteral("\\f"); break;
    default:
      if (c.unicode() < 0x20 || c.unicode() == 0x7F)
        out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
      else
        out += c;
    }
  }
  out += u'"';
  return out;
}

QString describeValue(const Value& value) {
  switch (value.type()) {
  case ValueType::Integer: return QStringLiteral("integer %1").arg(value.integerValue());
  case ValueType::Float: return QStringLiteral("float ") + floatToText(value.floatValue());
  case ValueType::String: return QStringLiteral("string ") + quoteText(value.stringValue());
  case ValueType::Boolean:
    return value.booleanValue() ? QStringLiteral("boolean true") : QStringLiteral("boolean false");
  case ValueType::Invalid: break;
  }
  return QStringLiteral("invalid");
}

} // namespace tessera::wml::script
