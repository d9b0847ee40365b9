#include "tools/CardBuilders.h"

namespace tessera {

static const QString kCardBody = QStringLiteral("\r\n\r\n\r\n\r\n</card>");

static QString cardStart(const QString& id, const QString& title, bool newContext) {
  return QStringLiteral("<card id=\"") + id + QStringLiteral("\" title=\"") + title +
         (newContext ? QStringLiteral("\" newcontext=\"true\">") : QStringLiteral("\">"));
}

Insertion plainCard(const QString& id, const QString& title) {
  return {cardStart(id, title, false) + kCardBody, 0, false};
}

std::optional<qint64> timerValue(const QString& waitingTime) {
  // Only digits can be typed into the field, but anything can be pasted.
  // Nine digits are far beyond any timer and keep the product in range.
  if (waitingTime.isEmpty() || waitingTime.size() > 9)
    return std::nullopt;
  qint64 seconds = 0;
  for (QChar c : waitingTime) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9'))
      return std::nullopt;
    seconds = seconds * 10 + (c.unicode() - '0');
  }
  return seconds * 10;
}

QString invalidIntegerMessage(const QString& text) {
  return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

CardOutcome cardWithSettings(const CardFields& fields) {
  const QString start = cardStart(fields.id, fields.title, fields.clearHistory);
  if (!fields.useTimer)
    return {{start + kCardBody, 0, false}, {}};
  // The conversion comes first: a bad waiting time inserts nothing.
  const std::optional<qint64> value = timerValue(fields.waitingTime);
  if (!value)
    return {{}, invalidIntegerMessage(fields.waitingTime)};
  const QString text = start + QStringLiteral("\r\n<onevent type=\"ontimer\">\r\n<go href=\"") +
                       fields.timerUrl + QStringLiteral("\"/>\r\n</onevent>\r\n<timer value=\"") +
                       QString::number(*value) + QStringLiteral("\"/>") + kCardBody;
  return {{text, 0, false}, {}};
}

} // namespace tessera
