#include "wml/check/DtdValidation.h"

#include "wml/DtdFiles.h"
#include "wml/LibxmlErrors.h"

#include <libxml/parser.h>
#include <libxml/valid.h>
#include <libxml/xmlerror.h>

#include <QSet>
#include <QStringList>

#include <memory>

namespace tessera::wml::check {

namespace {

void collectReport(void* reports, xmlErrorPtr error) {
  if (error)
    static_cast<QList<LibxmlReport>*>(reports)->append(reportOf(*error));
}

// libxml2's structured handler is per thread; put the previous one back.
class ReportCollector {
public:
  ReportCollector() : handler_(xmlStructuredError), context_(xmlStructuredErrorContext) {
    xmlSetStructuredErrorFunc(&reports_, collectReport);
  }
  ~ReportCollector() { xmlSetStructuredErrorFunc(context_, handler_); }
  ReportCollector(const ReportCollector&) = delete;
  ReportCollector& operator=(const ReportCollector&) = delete;
  const QList<LibxmlReport>& reports() const { return reports_; }

private:
  xmlStructuredErrorFunc handler_;
  void* context_;
  QList<LibxmlReport> reports_;
};

xmlDtdPtr parseOwnDtd(WmlVersion version) {
  const QByteArray& text = dtdText(version);
  xmlParserInputBufferPtr input =
      xmlParserInputBufferCreateMem(text.constData(), int(text.size()), XML_CHAR_ENCODING_UTF8);
  return input ? xmlIOParseDTD(nullptr, input, XML_CHAR_ENCODING_UTF8) : nullptr;
}

QString name(const QByteArray& bytes) { return QString::fromUtf8(bytes); }

QString allowedValues(const xmlDtd* dtd, const QByteArray& element, const QByteArray& attribute) {
  if (!dtd)
    return {};
  const xmlAttribute* declaration = xmlGetDtdAttrDesc(
      const_cast<xmlDtd*>(dtd), BAD_CAST element.constData(), BAD_CAST attribute.constData());
  if (!declaration || !declaration->tree)
    return {};
  QStringList values;
  for (const xmlEnumeration* value = declaration->tree; value; value = value->next)
    values << QStringLiteral("\"%1\"").arg(
        QString::fromUtf8(reinterpret_cast<const char*>(value->name)));
  return values.join(QStringLiteral(", "));
}

QString wording(const LibxmlReport& report, WmlVersion version, const xmlDtd* dtd) {
  const QString wml = QStringLiteral("WML ") + versionName(version);
  switch (report.code) {
  case XML_DTD_UNKNOWN_ELEM:
    return QStringLiteral("The element <%1> does not exist in %2.").arg(name(report.str1), wml);
  case XML_DTD_UNKNOWN_ATTRIBUTE:
    return QStringLiteral("The element <%1> has no attribute \"%2\" in %3.")
        .arg(name(report.str2), name(report.str1), wml);
  case XML_DTD_MISSING_ATTRIBUTE:
    return QStringLiteral("The element <%1> needs the attribute \"%2\".")
        .arg(name(report.str1), name(report.str2));
  case XML_DTD_ATTRIBUTE_VALUE:
    if (!report.str3.isEmpty()) {
      const QString allowed = allowedValues(dtd, report.str3, report.str2);
      return QStringLiteral("The attribute \"%1\" of <%2> cannot be \"%3\"%4.")
          .arg(name(report.str2), name(report.str3), name(report.str1),
               allowed.isEmpty() ? QString() : QStringLiteral("; it may be ") + allowed);
    }
    return QStringLiteral("The value of the attribute \"%1\" of <%2> is not valid here.")
        .arg(name(report.str1), name(report.str2));
  case XML_DTD_CONTENT_MODEL:
    return QStringLiteral("The element <%1> may hold only %2, but holds %3.")
        .arg(name(report.str1), name(report.str2),
             report.str3.trimmed().isEmpty() ? QStringLiteral("nothing")
                                             : name(report.str3.trimmed()));
  case XML_DTD_INVALID_CHILD:
    return QStringLiteral("The element <%1> is not allowed inside <%2>.")
        .arg(name(report.str1), name(report.str2));
  case XML_DTD_NOT_EMPTY:
    return QStringLiteral("The element <%1> must be empty.").arg(name(report.str1));
  case XML_DTD_ID_REDEFINED:
    return QStringLiteral("The id \"%1\" is already used by another element.")
        .arg(name(report.str1));
  case XML_DTD_ROOT_NAME: return QStringLiteral("The deck's root element must be <wml>.");
  default: break;
  }
  return report.message;
}

bool isExplained(const LibxmlReport& report, const Explained& explained,
                 const QSet<const xmlNode*>& parentsOfUnknown) {
  switch (report.code) {
  case XML_DTD_UNKNOWN_ATTRIBUTE: return explained.attributes.contains({report.node, report.str1});
  case XML_DTD_UNKNOWN_ELEM: return explained.elements.contains(report.node);
  case XML_DTD_CONTENT_MODEL:
  case XML_DTD_INVALID_CHILD:
    return explained.contents.contains(report.node) || parentsOfUnknown.contains(report.node);
  case XML_DTD_ID_REDEFINED: return explained.ids.contains(report.node);
  default: return false;
  }
}

} // namespace

QList<Finding> validateAgainstDtd(const ParsedDeck& deck, const Explained& explained) {
  xmlDocPtr document = deck.document();
  if (!document)
    return {};
  QList<LibxmlReport> reports = deck.validityReports();
  const bool ownType = deck.doctypeKind() == DoctypeKind::Wml && document->extSubset;
  std::unique_ptr<xmlDtd, void (*)(xmlDtdPtr)> fallback(
      ownType ? nullptr : parseOwnDtd(WmlVersion::Wml11), xmlFreeDtd);
  {
    ReportCollector collector;
    xmlValidCtxtPtr validation = xmlNewValidCtxt();
    if (ownType)
      xmlValidateDocument(validation, document);
    else if (fallback)
      xmlValidateDtd(validation, document, fallback.get());
    xmlFreeValidCtxt(validation);
    reports += collector.reports();
  }

  const xmlDtd* dtd = ownType ? document->extSubset : fallback.get();
  // An element the document type does not know is one fault, not also one
  // of its parent's content.
  QSet<const xmlNode*> parentsOfUnknown;
  for (const LibxmlReport& report : reports)
    if (report.code == XML_DTD_UNKNOWN_ELEM && report.node)
      parentsOfUnknown.insert(report.node->parent);
  QList<Finding> findings;
  for (const LibxmlReport& report : reports) {
    if (isExplained(report, explained, parentsOfUnknown))
      continue;
    const TextPosition at =
        report.node ? deck.position(report.node) : TextPosition{std::max(report.line, 1), 1};
    findings.append({at.line, at.column,
                     report.level == XML_ERR_WARNING ? Severity::Warning : Severity::Error,
                     wording(report, deck.version(), dtd), QStringLiteral("not-valid")});
  }
  return findings;
}

} // namespace tessera::wml::check
