#include "serve/Negotiation.h"

#include <QByteArray>
#include <QList>

#include <optional>

namespace tessera::serve {
namespace {

// How specific an Accept entry is for a type: 3 the type itself, 2 its
// "major/*", 1 "*/*", 0 not about it.
int specificity(QByteArrayView range, QByteArrayView type) {
  if (range.compare(type, Qt::CaseInsensitive) == 0)
    return 3;
  if (range == "*/*")
    return 1;
  const qsizetype slash = type.indexOf('/');
  if (range.endsWith("/*") && slash > 0 &&
      range.first(range.size() - 1).compare(type.first(slash + 1), Qt::CaseInsensitive) == 0)
    return 2;
  return 0;
}

// An entry's q parameter; 1 when it has none, nothing when it is not a
// number from 0 to 1 (then the entry is ignored).
std::optional<double> qualityOf(const QList<QByteArray>& parameters) {
  for (const QByteArray& parameter : parameters) {
    const QByteArray trimmed = parameter.trimmed();
    const qsizetype equals = trimmed.indexOf('=');
    if (equals < 0 || trimmed.left(equals).trimmed().toLower() != "q")
      continue;
    bool number = false;
    const double q = trimmed.mid(equals + 1).trimmed().toDouble(&number);
    if (!number || q < 0 || q > 1)
      return std::nullopt;
    return q;
  }
  return 1.0;
}

} // namespace

double acceptQuality(QByteArrayView accept, QByteArrayView mediaType) {
  const QByteArray header = accept.toByteArray().trimmed();
  if (header.isEmpty())
    return 1.0;
  int best = 0;
  double quality = 0.0;
  for (const QByteArray& entry : header.split(',')) {
    QList<QByteArray> parts = entry.split(';');
    const QByteArray range = parts.takeFirst().trimmed();
    const int level = specificity(range, mediaType);
    if (level == 0 || level < best)
      continue;
    const std::optional<double> q = qualityOf(parts);
    if (!q)
      continue;
    // Of two entries equally specific, the higher q wins.
    if (level > best || *q > quality)
      quality = *q;
    best = level;
  }
  return quality;
}

Form negotiateForm(QByteArrayView accept, QByteArrayView textType, QByteArrayView compiledType) {
  const double text = acceptQuality(accept, textType);
  const double compiled = acceptQuality(accept, compiledType);
  if (compiled > text)
    return Form::Compiled;
  return text > 0 ? Form::Text : Form::Refused;
}

} // namespace tessera::serve
