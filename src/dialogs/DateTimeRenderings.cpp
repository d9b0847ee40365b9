#include "dialogs/DateTimeRenderings.h"

#include <QRegularExpression>

namespace tessera {

namespace {

QString twoDigits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

// The locale's long time format without its time-zone part: a zone name
// has no place in a date pasted into a page.
QString longTimeFormatWithoutZone(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  QString out;
  bool quoted = false;
  for (QChar c : format) {
    if (c == QLatin1Char('\''))
      quoted = !quoted;
    if (!quoted && c == QLatin1Char('t'))
      continue;
    out += c;
  }
  return out.simplified();
}

} // namespace

QString timeSeparator(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::ShortFormat);
  const qsizetype hour = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
  if (hour < 0)
    return QStringLiteral(":");
  QString separator;
  for (qsizetype i = hour; i < format.size(); ++i) {
    const QChar c = format.at(i);
    if (c == QLatin1Char('h') || c == QLatin1Char('H'))
      continue;
    if (c == QLatin1Char('m'))
      break;
    if (c != QLatin1Char('\''))
      separator += c;
  }
  return separator.isEmpty() ? QStringLiteral(":") : separator;
}

QString renderDateTime(const QString& pattern, const QDateTime& when, const QLocale& locale) {
  const QDate date = when.date();
  const QTime time = when.time();
  const QString amPm = QStringLiteral("Am/Pm");
  const bool twelveHour = pattern.contains(amPm);
  QString out;
  bool afterHour = false; // "mm" right after an hour code means minutes
  qsizetype i = 0;
  const auto at = [&](const char* code) { return pattern.mid(i).startsWith(QLatin1String(code)); };
  while (i < pattern.size()) {
    if (at("Am/Pm")) {
      out += time.hour() < 12 ? QStringLiteral("Am") : QStringLiteral("Pm");
      i += amPm.size();
      afterHour = false;
    } else if (at("yyyy")) {
      out += QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
      i += 4;
      afterHour = false;
    } else if (at("yy")) {
      out += twoDigits(date.year() % 100);
      i += 2;
      afterHour = false;
    } else if (at("mmmm")) {
      out += locale.monthName(date.month(), QLocale::LongFormat);
      i += 4;
      afterHour = false;
    } else if (at("mmm")) {
      out += locale.monthName(date.month(), QLocale::ShortFormat);
      i += 3;
      afterHour = false;
    } else if (at("mm")) {
      out += twoDigits(afterHour ? time.minute() : date.month());
      i += 2;
      afterHour = false;
    } else if (at("dddd")) {
      out += locale.dayName(date.dayOfWeek(), QLocale::LongFormat);
      i += 4;
      afterHour = false;
    } else if (at("dd")) {
      out += twoDigits(date.day());
      i += 2;
      afterHour = false;
    } else if (at("hh")) {
      int hour = time.hour();
      if (twelveHour)
        hour = hour % 12 == 0 ? 12 : hour % 12;
      out += twoDigits(hour);
      i += 2;
      afterHour = true;
    } else if (at("ss")) {
      out += twoDigits(time.second());
      i += 2;
      afterHour = false;
    } else if (pattern.at(i) == QLatin1Char(':')) {
      out += timeSeparator(locale);
      ++i;
    } else {
      out += pattern.at(i);
      ++i;
    }
  }
  return out;
}

QString localeRendering(const QDateTime& when, const QLocale& locale) {
  QString text = locale.toString(when.date(), QLocale::ShortFormat);
  const QTime time = when.time();
  if (time.hour() != 0 || time.minute() != 0 || time.second() != 0)
    text += QLatin1Char(' ') + locale.toString(time, longTimeFormatWithoutZone(locale));
  return text;
}

QStringList dateTimeRenderings(const QDateTime& when, const QLocale& locale) {
  static const char* const patterns[] = {
      "dd/mm/yyyy",          "mm/dd/yyyy",   "yyyy/mm/dd",    "yyyy/dd/mm", "yyyy.mm.dd.",
      "yyyy. mm. dd.",       "yyyy.dd.mm.",  "yyyy. dd. mm.", "yy.mm.dd.",  "yy.dd.mm.",
      "dd.mm.yy.",           "mm.dd.yy.",    "yyyy-mm-dd",    "yy-mm-dd",   "dd-mmm-yy",
      "dddd, mmmm dd, yyyy", "mmm dd, yyyy", "dd mmmm, yyyy", "hh:mm:ss",   "hh:mm:ss Am/Pm",
  };
  QStringList list{localeRendering(when, locale)};
  for (const char* pattern : patterns)
    list << renderDateTime(QString::fromLatin1(pattern), when, locale);
  return list;
}

} // namespace tessera
