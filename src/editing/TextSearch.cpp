#include "editing/TextSearch.h"

namespace tessera {

int findForward(const QString& text, const QString& needle, int from) {
  if (needle.isEmpty() || from < 0 || from >= text.size())
    return -1;
  return int(text.indexOf(needle, from, Qt::CaseSensitive));
}

int findForReplace(const QString& text, const QString& needle, int caret) {
  const int after = findForward(text, needle, std::max(caret, 0));
  if (after >= 0)
    return after;
  return findForward(text, needle, 0);
}

QList<int> allOccurrences(const QString& text, const QString& needle) {
  QList<int> hits;
  for (int hit = findForward(text, needle, 0); hit >= 0;
       hit = findForward(text, needle, hit + int(needle.size())))
    hits.append(hit);
  return hits;
}

QString asciiUpper(QString text) {
  for (QChar& c : text)
    if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
      c = QChar(c.unicode() - 'a' + 'A');
  return text;
}

QString asciiLower(QString text) {
  for (QChar& c : text)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
      c = QChar(c.unicode() - 'A' + 'a');
  return text;
}

} // namespace tessera
