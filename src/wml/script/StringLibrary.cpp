#include "wml/script/StringLibrary.h"

namespace tessera::wml::script {

namespace {

bool isSpace(QChar c) {
  const char16_t u = c.unicode();
  return u == u'\t' || u == 0x0B || u == 0x0C || u == u' ' || u == u'\n' || u == u'\r';
}

LibraryOutcome invalid() { return LibraryOutcome::of(Value::invalid()); }
LibraryOutcome text(QString s) { return LibraryOutcome::of(Value::string(std::move(s))); }

// The elements of `s` between separators; an empty string is one empty
// element.
QStringList elementsOf(const QString& s, QChar separator) {
  return s.split(separator, Qt::KeepEmptyParts);
}

int clampIndex(qint32 index, qsizetype count) {
  if (index < 0)
    return 0;
  return int(qMin(qsizetype(index), count - 1));
}

// The format specifier "%[width][.precision]type" at `i` (just after '%').
struct Specifier {
  int width = -1;
  int precision = -1;
  QChar type;
  qsizetype end = 0; // index after the type letter
};

std::optional<Specifier> readSpecifier(const QString& format, qsizetype i) {
  Specifier specifier;
  auto number = [&](int* out) {
    qint64 value = 0;
    const qsizetype start = i;
    while (i < format.size() && format.at(i).isDigit() && format.at(i).unicode() < 128) {
      value = qMin<qint64>(value * 10 + (format.at(i).unicode() - u'0'), 1 << 20);
      ++i;
    }
    *out = i > start ? int(value) : -1;
  };
  number(&specifier.width);
  if (i < format.size() && format.at(i) == u'.') {
    ++i;
    number(&specifier.precision);
    if (specifier.precision < 0)
      specifier.precision = 0; // a period without a number means 0
  }
  if (i >= format.size())
    return std::nullopt;
  specifier.type = format.at(i);
  if (specifier.type != u'd' && specifier.type != u'f' && specifier.type != u's')
    return std::nullopt;
  specifier.end = i + 1;
  return specifier;
}

std::optional<QString> formatValue(const Specifier& specifier, const Value& value) {
  QString out;
  if (specifier.type == u'd') {
    const auto integer = value.type() == ValueType::Float ? integerPart(value) : value.toInteger();
    if (!integer)
      return std::nullopt;
    const int precision = specifier.precision < 0 ? 1 : specifier.precision;
    if (!(precision == 0 && *integer == 0)) {
      QString digits = QString::number(qAbs(qint64(*integer)));
      if (digits.size() < precision)
        digits.prepend(QString(precision - digits.size(), u'0'));
      out = (*integer < 0 ? QStringLiteral("-") : QString()) + digits;
    }
  } else if (specifier.type == u'f') {
    const Value number = Value::floating(value.toFloat().value_or(0));
    if (!value.toFloat() || number.isInvalid())
      return std::nullopt;
    const int precision = specifier.precision < 0 ? 6 : specifier.precision;
    out = QString::number(double(number.floatValue()), 'f', precision);
  } else {
    const auto s = value.toText();
    if (!s)
      return std::nullopt;
    out = specifier.precision >= 0 ? s->left(specifier.precision) : *s;
    // A width above the precision is ignored for strings.
    if (specifier.precision >= 0 && specifier.width > specifier.precision)
      return out;
  }
  if (specifier.width > out.size())
    out.prepend(QString(specifier.width - out.size(), u' '));
  return out;
}

Value format(const QString& format, const Value& value) {
  QString out;
  bool used = false;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format.at(i);
    if (c != u'%') {
      out += c;
      ++i;
      continue;
    }
    if (i + 1 < format.size() && format.at(i + 1) == u'%') {
      out += u'%';
      i += 2;
      continue;
    }
    const auto specifier = readSpecifier(format, i + 1);
    if (!specifier)
      return Value::invalid();
    if (!used) {
      const auto piece = formatValue(*specifier, value);
      if (!piece)
        return Value::invalid();
      out += *piece;
      used = true;
    }
    // Later specifiers print nothing.
    i = specifier->end;
  }
  return Value::string(out);
}

} // namespace

LibraryOutcome stringFunction(int function, const Value* args) {
  if (function == 14) { // toString
    return text(args[0].toText().value_or(QStringLiteral("invalid")));
  }
  const auto s = args[0].toText();
  if (!s)
    return invalid();
  switch (function) {
  case 0: return LibraryOutcome::of(Value::integer(qint32(s->size()))); // length
  case 1: return LibraryOutcome::of(Value::boolean(s->isEmpty()));      // isEmpty
  case 2: {                                                             // charAt
    const auto index = integerPart(args[1]);
    if (!index)
      return invalid();
    return text(*index >= 0 && *index < s->size() ? QString(s->at(*index)) : QString());
  }
  case 3: { // subString
    const auto start = integerPart(args[1]);
    const auto length = integerPart(args[2]);
    if (!start || !length)
      return invalid();
    const qsizetype from = qMax(*start, 0);
    if (from >= s->size() || *length <= 0)
      return text(QString());
    return text(s->mid(from, qMin(qsizetype(*length), s->size() - from)));
  }
  case 4: { // find
    const auto sub = args[1].toText();
    if (!sub || sub->isEmpty())
      return invalid();
    return LibraryOutcome::of(Value::integer(qint32(s->indexOf(*sub))));
  }
  case 5: { // replace
    const auto from = args[1].toText();
    const auto to = args[2].toText();
    if (!from || !to || from->isEmpty())
      return invalid();
    QString result = *s;
    return text(result.replace(*from, *to));
  }
  case 6: { // elements
    const auto separator = args[1].toText();
    if (!separator || separator->isEmpty())
      return invalid();
    return LibraryOutcome::of(Value::integer(qint32(s->count(separator->at(0)) + 1)));
  }
  case 7: { // elementAt
    const auto index = integerPart(args[1]);
    const auto separator = args[2].toText();
    if (!index || !separator || separator->isEmpty())
      return invalid();
    const QStringList parts = elementsOf(*s, separator->at(0));
    return text(parts.at(clampIndex(*index, parts.size())));
  }
  case 8: { // removeAt
    const auto index = integerPart(args[1]);
    const auto separator = args[2].toText();
    if (!index || !separator || separator->isEmpty())
      return invalid();
    QStringList parts = elementsOf(*s, separator->at(0));
    // Removing an element takes one separator with it: the one after it,
    // or before it for the last element.
    parts.removeAt(clampIndex(*index, parts.size()));
    return text(parts.join(separator->at(0)));
  }
  case 9: { // replaceAt
    const auto element = args[1].toText();
    const auto index = integerPart(args[2]);
    const auto separator = args[3].toText();
    if (!element || !index || !separator || separator->isEmpty())
      return invalid();
    if (s->isEmpty())
      return text(*element);
    QStringList parts = elementsOf(*s, separator->at(0));
    parts[clampIndex(*index, parts.size())] = *element;
    return text(parts.join(separator->at(0)));
  }
  case 10: { // insertAt
    const auto element = args[1].toText();
    const auto index = integerPart(args[2]);
    const auto separator = args[3].toText();
    if (!element || !index || !separator || separator->isEmpty())
      return invalid();
    if (s->isEmpty())
      return text(*element);
    QStringList parts = elementsOf(*s, separator->at(0));
    const qsizetype at = qBound(qsizetype(0), qsizetype(*index), parts.size());
    parts.insert(at, *element);
    return text(parts.join(separator->at(0)));
  }
  case 11: { // squeeze
    QString out;
    out.reserve(s->size());
    bool inSpace = false;
    for (const QChar c : *s) {
      if (isSpace(c)) {
        if (!inSpace)
          out += u' ';
        inSpace = true;
      } else {
        out += c;
        inSpace = false;
      }
    }
    return text(out);
  }
  case 12: { // trim
    qsizetype begin = 0;
    qsizetype end = s->size();
    while (begin < end && isSpace(s->at(begin)))
      ++begin;
    while (end > begin && isSpace(s->at(end - 1)))
      --end;
    return text(s->mid(begin, end - begin));
  }
  case 13: { // compare
    const auto other = args[1].toText();
    if (!other)
      return invalid();
    const int c = s->compare(*other);
    return LibraryOutcome::of(Value::integer(c < 0 ? -1 : (c > 0 ? 1 : 0)));
  }
  case 15: return LibraryOutcome::of(format(*s, args[1])); // format
  }
  return invalid();
}

} // namespace tessera::wml::script
