#include "wml/VariableReferences.h"

#include "wml/Positions.h"
#include "wml/syntax/VariableReference.h"

#include <QList>

#include <atomic>

namespace tessera::wml {

namespace {

// Walks the markup of a well-formed text just closely enough to tell
// character data and attribute values (where variables live) from the rest.
class VariableScanner {
public:
  VariableScanner(const QByteArray& utf8, const LineIndex& lines) : bytes_(utf8), lines_(lines) {}

  QList<Finding> run() {
    const qsizetype size = bytes_.size();
    qsizetype at = 0;
    while (at < size) {
      const char c = bytes_[at];
      if (c == '$') {
        at = checkReference(at, {});
      } else if (c == '<') {
        at = skipMarkup(at);
      } else {
        const qsizetype next = nextSpecial(at);
        at = next;
      }
    }
    return std::move(findings_);
  }

private:
  // Where a reference stands, for the message: an attribute of an element,
  // else the text of the innermost open element.
  struct Where {
    QByteArrayView attribute;
    QByteArrayView element;
  };

  QString describe(const Where& where) const {
    if (!where.attribute.isEmpty())
      return QStringLiteral("the attribute \"%1\" of <%2>")
          .arg(QString::fromUtf8(where.attribute), QString::fromUtf8(where.element));
    if (open_.isEmpty())
      return QStringLiteral("the deck");
    return QStringLiteral("the text of <%1>").arg(QString::fromUtf8(open_.last()));
  }

  qsizetype nextSpecial(qsizetype at) const {
    const char* data = bytes_.constData();
    const qsizetype size = bytes_.size();
    while (at < size && data[at] != '$' && data[at] != '<')
      ++at;
    return at;
  }

  qsizetype checkReference(qsizetype at, const Where& where, qsizetype end = -1) {
    if (end < 0)
      end = bytes_.size();
    const syntax::VariableReference scan = syntax::scanVariableReference(
        std::string_view(bytes_.constData() + at, std::size_t(end - at)));
    if (scan.malformed()) {
      const LineColumn place = lines_.positionOfByte(at);
      const LineColumn past = lines_.positionOfByte(at + std::max<qsizetype>(1, scan.length));
      findings_.append({place, Severity::Error,
                        QStringLiteral("Malformed variable reference in %1: %2.")
                            .arg(describe(where), scan.problem),
                        QStringLiteral("bad-variable"), past});
    }
    return at + scan.length;
  }

  qsizetype find(const char* what, qsizetype from) const {
    const qsizetype found = bytes_.indexOf(what, from);
    return found < 0 ? bytes_.size() : found;
  }

  qsizetype skipMarkup(qsizetype at) {
    const QByteArrayView rest = QByteArrayView(bytes_).sliced(at);
    if (rest.startsWith("<!--"))
      return find("-->", at + 4) + 3;
    if (rest.startsWith("<?"))
      return find("?>", at + 2) + 2;
    if (rest.startsWith("<![CDATA[")) {
      const qsizetype end = find("]]>", at + 9);
      for (qsizetype i = at + 9; i < end;)
        i = bytes_[i] == '$' ? checkReference(i, {}, end) : i + 1;
      return end + 3;
    }
    if (rest.startsWith("<!"))
      return skipDeclaration(at);
    if (rest.startsWith("</")) {
      if (!open_.isEmpty())
        open_.removeLast();
      return find(">", at) + 1;
    }
    return scanStartTag(at);
  }

  // A DOCTYPE with its internal subset: quoted strings and brackets nest.
  qsizetype skipDeclaration(qsizetype at) {
    int depth = 0;
    for (qsizetype i = at + 2; i < bytes_.size(); ++i) {
      const char c = bytes_[i];
      if (c == '"' || c == '\'') {
        i = bytes_.indexOf(c, i + 1);
        if (i < 0)
          return bytes_.size();
      } else if (c == '[') {
        ++depth;
      } else if (c == ']') {
        --depth;
      } else if (c == '>' && depth <= 0) {
        return i + 1;
      }
    }
    return bytes_.size();
  }

  static bool isNameByte(char c) {
    return c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '/' && c != '>' && c != '=';
  }

  qsizetype scanStartTag(qsizetype at) {
    const qsizetype size = bytes_.size();
    qsizetype i = at + 1;
    while (i < size && isNameByte(bytes_[i]))
      ++i;
    const QByteArrayView element = QByteArrayView(bytes_).sliced(at + 1, i - at - 1);
    QByteArrayView attribute;
    while (i < size && bytes_[i] != '>') {
      const char c = bytes_[i];
      if (c == '"' || c == '\'') {
        const qsizetype end = std::max(bytes_.indexOf(c, i + 1), i + 1);
        for (qsizetype v = i + 1; v < end;)
          v = bytes_[v] == '$' ? checkReference(v, {attribute, element}, end) : v + 1;
        i = end + 1;
      } else if (isNameByte(c)) {
        const qsizetype start = i;
        while (i < size && isNameByte(bytes_[i]))
          ++i;
        attribute = QByteArrayView(bytes_).sliced(start, i - start);
      } else {
        ++i;
      }
    }
    if (i > at && bytes_[i - 1] != '/')
      open_.append(element);
    return i + 1;
  }

  const QByteArray& bytes_;
  const LineIndex& lines_;
  QList<QByteArrayView> open_;
  QList<Finding> findings_;
};

std::atomic<quint64> scans{0};

} // namespace

QList<Finding> findMalformedVariables(const QByteArray& utf8, const LineIndex& lines) {
  ++scans;
  return VariableScanner(utf8, lines).run();
}

quint64 variableScansSoFar() { return scans.load(); }

} // namespace tessera::wml
