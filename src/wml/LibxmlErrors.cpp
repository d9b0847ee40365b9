#include "wml/LibxmlErrors.h"

#include <libxml/xmlerror.h>

#include <algorithm>
#include <optional>

namespace tessera::wml {

namespace {

QByteArray bytesOf(const char* text) { return text ? QByteArray(text) : QByteArray(); }

// libxml2 places an entity error after the reference; the reader wants the
// "&" that starts it.
LineColumn entityReferencePosition(const QByteArray& name, LineColumn reported,
                                   const LineIndex& lines, const QByteArray& utf8) {
  if (reported.line < 1 || reported.line > lines.lineCount())
    return reported;
  const qsizetype lineStart = lines.lineStart(reported.line);
  const qsizetype at = lines.byteOfPosition(reported);
  const qsizetype found = utf8.lastIndexOf(QByteArray('&' + name + ';'), at);
  if (found < lineStart)
    return reported;
  return lines.positionOfByte(found);
}

// Where the start tag `<name` stands on `line`: the last one there, as
// the one left open is the innermost. Nothing when it cannot be found.
std::optional<LineColumn> startTagOnLine(const QByteArray& name, int line, const LineIndex& lines,
                                         const QByteArray& utf8) {
  if (name.isEmpty() || line < 1 || line > lines.lineCount())
    return std::nullopt;
  const qsizetype start = lines.lineStart(line);
  const qsizetype end = line < lines.lineCount() ? lines.lineStart(line + 1) : utf8.size();
  const QByteArray tag = '<' + name;
  for (qsizetype at = utf8.lastIndexOf(tag, end - 1); at >= start;
       at = at > 0 ? utf8.lastIndexOf(tag, at - 1) : -1) {
    const qsizetype after = at + tag.size();
    const char next = after < utf8.size() ? utf8.at(after) : '>';
    if (next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\r' || next == '\n')
      return lines.positionOfByte(at);
  }
  return std::nullopt;
}

// A start tag that is never closed is the cause; libxml2 reports the end
// tag (or the end of the text) where it noticed. The finding goes to the
// start tag, worded as the author sees it.
bool placeAtUnclosedTag(const LibxmlReport& report, const LineIndex& lines, const QByteArray& utf8,
                        Finding& finding) {
  const bool mismatch = report.code == XML_ERR_TAG_NAME_MISMATCH;
  if (!mismatch && report.code != XML_ERR_TAG_NOT_FINISHED)
    return false;
  const std::optional<LineColumn> opened = startTagOnLine(report.str1, report.number, lines, utf8);
  if (!opened)
    return false;
  const QString name = QString::fromUtf8(report.str1);
  finding.message = mismatch
                        ? QStringLiteral("<%1> opened here is not closed before </%2> on line %3.")
                              .arg(name, QString::fromUtf8(report.str2))
                              .arg(finding.start.line)
                        : QStringLiteral("<%1> opened here is never closed.").arg(name);
  finding.start = *opened;
  finding.rule = QStringLiteral("unclosed-tag");
  return true;
}

} // namespace

LibxmlReport reportOf(const _xmlError& error) {
  LibxmlReport report;
  report.domain = error.domain;
  report.code = error.code;
  report.level = error.level;
  if (error.node && static_cast<const xmlNode*>(error.node)->type == XML_ELEMENT_NODE)
    report.node = static_cast<const xmlNode*>(error.node);
  report.line = error.line;
  report.column = error.int2;
  report.number = error.int1;
  report.str1 = bytesOf(error.str1);
  report.str2 = bytesOf(error.str2);
  report.str3 = bytesOf(error.str3);
  report.message = QString::fromUtf8(error.message).trimmed();
  return report;
}

Finding findingOfParseReport(const LibxmlReport& report, const LineIndex& lines,
                             const QByteArray& utf8) {
  Finding finding;
  finding.start = {std::max(report.line, 1), std::max(report.column, 1)};
  finding.severity = report.level == XML_ERR_WARNING ? Severity::Warning : Severity::Error;
  finding.message = report.message;
  finding.rule = QStringLiteral("not-well-formed");
  if (placeAtUnclosedTag(report, lines, utf8, finding))
    return finding;
  if (report.code == XML_ERR_UNDECLARED_ENTITY || report.code == XML_WAR_UNDECLARED_ENTITY) {
    finding.start = entityReferencePosition(report.str1, finding.start, lines, utf8);
    finding.severity = Severity::Error;
    finding.message =
        QStringLiteral("The entity &%1; is not defined.").arg(QString::fromUtf8(report.str1));
    finding.rule = QStringLiteral("undefined-entity");
  }
  return finding;
}

} // namespace tessera::wml
