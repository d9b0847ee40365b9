#include "wml/script/UrlCall.h"

#include "wml/script/BytecodeVerifier.h"

#include <cfloat>
#include <cmath>

namespace tessera::wml::script {

namespace {

bool isSpace(QChar c) {
  const char16_t u = c.unicode();
  return u == u'\t' || u == 0x0B || u == 0x0C || u == u' ' || u == u'\n' || u == u'\r';
}

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

class CallReader {
public:
  explicit CallReader(const QString& text) : s_(text) {}

  UrlCallParse read() {
    UrlCallParse result;
    const qsizetype open = s_.indexOf(u'(');
    if (open < 0 || !s_.endsWith(u')'))
      return failure(QStringLiteral("a call is written name(arguments)"));
    UrlCall call;
    call.function = s_.left(open);
    if (!isFunctionName(call.function))
      return failure(QStringLiteral("\"%1\" is not a function name").arg(call.function));
    i_ = open + 1;
    const qsizetype end = s_.size() - 1;
    skipSpace();
    if (i_ == end) {
      result.call = call;
      return result;
    }
    for (;;) {
      skipSpace();
      const auto value = literal(end);
      if (!value)
        return failure(error_);
      call.arguments.append(*value);
      skipSpace();
      if (i_ == end)
        break;
      if (s_.at(i_) != u',')
        return failure(QStringLiteral("expected ',' or ')' at column %1").arg(i_ + 1));
      ++i_;
    }
    result.call = call;
    return result;
  }

private:
  UrlCallParse failure(const QString& message) {
    UrlCallParse result;
    result.error = message;
    return result;
  }

  void skipSpace() {
    while (i_ < s_.size() && isSpace(s_.at(i_)))
      ++i_;
  }

  bool word(QLatin1String w) {
    if (QStringView(s_).mid(i_).startsWith(w)) {
      const qsizetype after = i_ + w.size();
      if (after < s_.size() && (s_.at(after).isLetterOrNumber() || s_.at(after) == u'_'))
        return false;
      i_ = after;
      return true;
    }
    return false;
  }

  std::optional<Value> literal(qsizetype end) {
    if (i_ >= end) {
      error_ = QStringLiteral("an argument is missing at column %1").arg(i_ + 1);
      return std::nullopt;
    }
    const QChar c = s_.at(i_);
    if (c == u'"' || c == u'\'') {
      const qsizetype close = s_.indexOf(c, i_ + 1);
      if (close < 0 || close >= end) {
        error_ = QStringLiteral("a string at column %1 is not closed").arg(i_ + 1);
        return std::nullopt;
      }
      const QString text = s_.mid(i_ + 1, close - i_ - 1);
      i_ = close + 1;
      return Value::string(text);
    }
    if (word(QLatin1String("true")))
      return Value::boolean(true);
    if (word(QLatin1String("false")))
      return Value::boolean(false);
    if (word(QLatin1String("invalid")))
      return Value::invalid();
    return number(end);
  }

  std::optional<Value> number(qsizetype end) {
    const qsizetype start = i_;
    if (i_ < end && (s_.at(i_) == u'+' || s_.at(i_) == u'-'))
      ++i_;
    const qsizetype digitsStart = i_;
    while (i_ < end && isDigit(s_.at(i_)))
      ++i_;
    bool isFloat = false;
    bool digits = i_ > digitsStart;
    if (i_ < end && s_.at(i_) == u'.') {
      isFloat = true;
      const qsizetype fraction = ++i_;
      while (i_ < end && isDigit(s_.at(i_)))
        ++i_;
      digits = digits || i_ > fraction;
    }
    if (digits && i_ < end && (s_.at(i_) == u'e' || s_.at(i_) == u'E')) {
      isFloat = true;
      ++i_;
      if (i_ < end && (s_.at(i_) == u'+' || s_.at(i_) == u'-'))
        ++i_;
      const qsizetype exponent = i_;
      while (i_ < end && isDigit(s_.at(i_)))
        ++i_;
      if (i_ == exponent)
        digits = false;
    }
    const QString text = s_.mid(start, i_ - start);
    if (!digits) {
      error_ = QStringLiteral("no literal at column %1").arg(start + 1);
      return std::nullopt;
    }
    if (isFloat) {
      const auto value = parseFloatText(text);
      if (!value || std::fabs(*value) > double(FLT_MAX)) {
        error_ = QStringLiteral("%1 is out of the float range").arg(text);
        return std::nullopt;
      }
      return Value::floating(*value);
    }
    const auto value = parseIntegerText(text);
    if (!value) {
      error_ = QStringLiteral("%1 is out of the integer range").arg(text);
      return std::nullopt;
    }
    return Value::integer(*value);
  }

  const QString& s_;
  qsizetype i_ = 0;
  QString error_;
};

} // namespace

UrlCallParse parseUrlCall(const QString& fragment) { return CallReader(fragment).read(); }

} // namespace tessera::wml::script
