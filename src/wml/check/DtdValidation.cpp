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

QString tag(const QString& name) { return QStringLiteral("<%1>").arg(name); }

// What an element holds, as the rules below ask it: its child elements'
// names in order, and whether it holds text other than blanks.
struct Held {
  QStringList elements;
  bool text = false;
};

Held heldBy(const xmlNode* element) {
  Held held;
  for (const xmlNode* child = element ? element->children : nullptr; child; child = child->next) {
    if (child->type == XML_ELEMENT_NODE)
      held.elements << QString::fromUtf8(reinterpret_cast<const char*>(child->name));
    else if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) &&
             !QString::fromUtf8(reinterpret_cast<const char*>(child->content)).trimmed().isEmpty())
      held.text = true;
  }
  return held;
}

// The first of `held` that is not one of `allowed`, or an empty text.
QString firstOutside(const QStringList& held, const QStringList& allowed) {
  for (const QString& name : held)
    if (!allowed.contains(name))
      return name;
  return {};
}

const QStringList kDeckChildren{"head", "template", "card"};
const QStringList kCardChildren{"onevent", "timer", "do", "p", "pre"};

// Where the fault the document type found lies: the element that should not
// be where it is, rather than the one holding it, when that can be told.
const xmlNode* causeOf(const LibxmlReport& report) {
  const xmlNode* parent = report.node;
  if (!parent)
    return nullptr;
  const QString parentName = name(QByteArray(reinterpret_cast<const char*>(parent->name)));
  for (const xmlNode* child = parent->children; child; child = child->next) {
    if (child->type != XML_ELEMENT_NODE)
      continue;
    const QString childName = QString::fromUtf8(reinterpret_cast<const char*>(child->name));
    if (report.code == XML_DTD_INVALID_CHILD && childName == name(report.str1))
      return child;
    if (report.code == XML_DTD_CONTENT_MODEL &&
        ((parentName == QLatin1String("wml") && !kDeckChildren.contains(childName)) ||
         (parentName == QLatin1String("card") && !kCardChildren.contains(childName))))
      return child;
  }
  return parent;
}

// The author's words for an element whose content the document type
// refuses: what to do about it, in the terms of the deck rather than of the
// content model. Empty when no rule says more than the model.
QString authorsWords(const QString& element, const xmlNode* node) {
  const Held held = heldBy(node);
  const QString task = QStringLiteral("one task: <go>, <prev>, <noop> or <refresh>");
  if (element == QLatin1String("wml")) {
    if (held.text)
      return QStringLiteral("Text must be inside a <p> in a <card>.");
    const QString stray = firstOutside(held.elements, kDeckChildren);
    if (!stray.isEmpty())
      return QStringLiteral("%1 must be inside a <card>.").arg(tag(stray));
    if (!held.elements.contains(QLatin1String("card")))
      return QStringLiteral("A deck needs at least one <card>.");
    if (held.elements.indexOf(QLatin1String("head")) > 0)
      return QStringLiteral("<head> must come first in <wml>, before <template> and the cards.");
    if (held.elements.lastIndexOf(QLatin1String("template")) >
        held.elements.indexOf(QLatin1String("card")))
      return QStringLiteral("<template> must come before the cards.");
    return {};
  }
  if (element == QLatin1String("card")) {
    if (held.text)
      return QStringLiteral("Text must be inside a <p> in a <card>.");
    const QString stray = firstOutside(held.elements, kCardChildren);
    if (stray == QLatin1String("card"))
      return QStringLiteral("A <card> cannot hold another <card>; close the first with </card>.");
    if (!stray.isEmpty())
      return QStringLiteral("%1 must be inside a <p> in a <card>.").arg(tag(stray));
    if (held.elements.count(QLatin1String("timer")) > 1)
      return QStringLiteral("A <card> has at most one <timer>.");
    return QStringLiteral("In a <card>, <onevent> comes first, then the <timer>, then the <do> "
                          "and <p> elements.");
  }
  if (element == QLatin1String("select") || element == QLatin1String("optgroup"))
    return QStringLiteral("%1 needs at least one <option>.").arg(tag(element));
  if (element == QLatin1String("do") || element == QLatin1String("onevent"))
    return QStringLiteral("%1 needs exactly %2.").arg(tag(element), task);
  if (element == QLatin1String("anchor"))
    return QStringLiteral("<anchor> needs one task beside its text: <go>, <prev> or <refresh>.");
  if (element == QLatin1String("head"))
    return QStringLiteral("<head> needs at least one <access> or <meta>.");
  if (element == QLatin1String("template"))
    return QStringLiteral("<template> holds only <do> and <onevent>.");
  if (element == QLatin1String("table"))
    return QStringLiteral("<table> needs at least one <tr>.");
  if (element == QLatin1String("tr"))
    return QStringLiteral("<tr> needs at least one <td>.");
  if (element == QLatin1String("go"))
    return QStringLiteral("<go> holds only <postfield> and <setvar>.");
  if (element == QLatin1String("prev") || element == QLatin1String("refresh"))
    return QStringLiteral("%1 holds only <setvar>.").arg(tag(element));
  return {};
}

// An element inside one whose mixed content does not allow it.
QString misplacedWords(const QString& child, const QString& parent) {
  if (child == parent && (child == QLatin1String("p") || child == QLatin1String("a") ||
                          child == QLatin1String("anchor")))
    return QStringLiteral("%1 cannot be inside another %1; close the first with </%2>.")
        .arg(tag(child), child);
  if (child == QLatin1String("p"))
    return QStringLiteral("<p> must be directly inside a <card>, not inside %1.").arg(tag(parent));
  if (child == QLatin1String("card"))
    return QStringLiteral("<card> must be directly inside <wml>, not inside %1.").arg(tag(parent));
  if (child == QLatin1String("option"))
    return QStringLiteral("<option> must be inside a <select> or <optgroup>.");
  return {};
}

// "(head?,template?,card+)", as the document type declares the element.
QString declaredModel(const xmlDtd* dtd, const QByteArray& element) {
  if (!dtd)
    return {};
  const xmlElement* declaration =
      xmlGetDtdElementDesc(const_cast<xmlDtd*>(dtd), BAD_CAST element.constData());
  if (!declaration || !declaration->content)
    return {};
  char model[5000] = {};
  xmlSnprintfElementContent(model, sizeof model, declaration->content, 1);
  return QString::fromUtf8(model);
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
  case XML_DTD_CONTENT_MODEL: {
    // The author's words first; the document type's model stays as the
    // second sentence for whoever reads DTDs.
    const QString model = QStringLiteral("The element <%1> may hold only %2, but holds %3.")
                              .arg(name(report.str1), name(report.str2),
                                   report.str3.trimmed().isEmpty() ? QStringLiteral("nothing")
                                                                   : name(report.str3.trimmed()));
    const QString words = authorsWords(name(report.str1), report.node);
    return words.isEmpty() ? model : words + u' ' + model;
  }
  case XML_DTD_INVALID_CHILD: {
    const QString words = misplacedWords(name(report.str1), name(report.str2));
    const QString model = declaredModel(dtd, report.str2);
    if (words.isEmpty())
      return QStringLiteral("The element <%1> is not allowed inside <%2>.")
          .arg(name(report.str1), name(report.str2));
    return model.isEmpty() ? words
                           : words + QStringLiteral(" The element <%1> may hold only %2.")
                                         .arg(name(report.str2), model);
  }
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
    const xmlNode* cause = causeOf(report);
    const LineColumn at = cause ? deck.position(cause) : LineColumn{std::max(report.line, 1), 1};
    findings.append({at, report.level == XML_ERR_WARNING ? Severity::Warning : Severity::Error,
                     wording(report, deck.version(), dtd), QStringLiteral("not-valid")});
  }
  return findings;
}

} // namespace tessera::wml::check
