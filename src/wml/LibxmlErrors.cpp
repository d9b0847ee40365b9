#include "wml/LibxmlErrors.h"

#include <libxml/xmlerror.h>

#include <algorithm>

namespace tessera::wml {

namespace {

QByteArray bytesOf(const char* text) { return text ? QByteArray(text) : QByteArray(); }

// libxml2 places an entity error after the reference; the reader wants the
// "&" that starts it.
TextPosition entityReferencePosition(const QByteArray& name, TextPosition reported,
                                     const LineIndex& lines, const QByteArray& utf8) {
  if (reported.line < 1 || reported.line > lines.lineCount())
    return reported;
  const qsizetype lineStart = lines.lineStart(reported.line);
  const qsizetype at = lines.byteOfPosition(reported.line, reported.column);
  const qsizetype found = utf8.lastIndexOf(QByteArray('&' + name + ';'), at);
  if (found < lineStart)
    return reported;
  return lines.positionOfByte(found);
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
  report.str1 = bytesOf(error.str1);
  report.str2 = bytesOf(error.str2);
  report.str3 = bytesOf(error.str3);
  report.message = QString::fromUtf8(error.message).trimmed();
  return report;
}

Finding findingOfParseReport(const LibxmlReport& report, const LineIndex& lines,
                             const QByteArray& utf8) {
  Finding finding;
  finding.line = std::max(report.line, 1);
  finding.column = std::max(report.column, 1);
  finding.severity = report.level == XML_ERR_WARNING ? Severity::Warning : Severity::Error;
  finding.message = report.message;
  finding.rule = QStringLiteral("not-well-formed");
  if (report.code == XML_ERR_UNDECLARED_ENTITY || report.code == XML_WAR_UNDECLARED_ENTITY) {
    const TextPosition at =
        entityReferencePosition(report.str1, {finding.line, finding.column}, lines, utf8);
    finding.line = at.line;
    finding.column = at.column;
    finding.severity = Severity::Error;
    finding.message =
        QStringLiteral("The entity &%1; is not defined.").arg(QString::fromUtf8(report.str1));
    finding.rule = QStringLiteral("undefined-entity");
  }
  return finding;
}

} // namespace tessera::wml
