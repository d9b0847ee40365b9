#include "wml/check/DeckRules.h"

#include "wml/check/VersionFeatures.h"
#include "wml/script/ScriptCall.h"
#include "wml/syntax/InputMask.h"
#include "wml/xml/DeckLinks.h"
#include "wml/xml/XmlNodes.h"

#include <libxml/tree.h>

#include <cstring>

#include <QByteArrayView>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

namespace tessera::wml::check {

namespace {

QByteArrayView nameOf(const xmlNode* node) {
  return QByteArrayView(reinterpret_cast<const char*>(node->name));
}

bool named(const xmlNode* node, const char* name) {
  return node && node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, BAD_CAST name);
}

// "xml:lang" for a prefixed attribute, else the plain name (no copy).
QByteArray attributeName(const xmlAttr* attribute) {
  if (attribute->ns && attribute->ns->prefix)
    return QByteArray(reinterpret_cast<const char*>(attribute->ns->prefix)) + ':' +
           reinterpret_cast<const char*>(attribute->name);
  return QByteArray::fromRawData(
      reinterpret_cast<const char*>(attribute->name),
      qsizetype(std::strlen(reinterpret_cast<const char*>(attribute->name))));
}

QByteArray valueOf(const xmlAttr* attribute) {
  const xmlNode* text = attribute->children;
  if (!text)
    return {};
  if (!text->next && text->type == XML_TEXT_NODE)
    return QByteArray(reinterpret_cast<const char*>(text->content));
  xmlChar* joined = xmlNodeListGetString(attribute->doc, text, 1);
  QByteArray value(reinterpret_cast<const char*>(joined));
  xmlFree(joined);
  return value;
}

std::optional<QByteArray> attributeValue(const xmlNode* element, const char* name) {
  for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next)
    if (!attribute->ns && xmlStrEqual(attribute->name, BAD_CAST name))
      return valueOf(attribute);
  return std::nullopt;
}

QString text(QByteArrayView bytes) { return QString::fromUtf8(bytes); }

// A link to a file beside the deck: no scheme, not from the server's root,
// no variable to be filled in at run time.
bool isLocalRelative(const QByteArray& link) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
  return !link.isEmpty() && !link.startsWith('#') && !link.startsWith('/') &&
         !link.startsWith('?') && !link.contains('$') && !scheme.match(text(link)).hasMatch();
}

struct Link {
  const xmlNode* element;
  QByteArray attribute;
  QByteArray value;
};

class TreeRules {
public:
  TreeRules(const ParsedDeck& deck, const CheckOptions& options, Explained& explained)
      : deck_(deck), options_(options), explained_(explained) {}

  QList<Finding> run() {
    const xmlNode* root = deck_.root();
    if (!root)
      return {};
    if (deck_.doctypeKind() != DoctypeKind::Wml && !named(root, "wml"))
      report(root, "wrong-root",
             QStringLiteral("The deck's root element must be <wml>, not <%1>.")
                 .arg(text(nameOf(root))));
    for (const xmlNode* child = root->children; child; child = child->next)
      if (named(child, "template"))
        templateHasOntimer_ = hasOntimerTarget(child);
    xml::forEachElement(root, [this](const xmlNode* element) { visit(element); });
    checkLinks();
    return std::move(findings_);
  }

private:
  void report(const xmlNode* element, const char* rule, const QString& message,
              Severity severity = Severity::Error) {
    findings_.append({deck_.position(element), severity, message, QString::fromLatin1(rule)});
  }

  void visit(const xmlNode* element) {
    const QByteArrayView name = nameOf(element);
    if (const auto version = introducedIn(name); version && *version > deck_.version()) {
      report(element, "newer-element",
             QStringLiteral("The element <%1> is WML %2; this deck is WML %3.")
                 .arg(text(name), versionName(*version), versionName(deck_.version())));
      explained_.elements.insert(element);
      explained_.contents.insert(element->parent);
    }
    for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next)
      visitAttribute(element, name, attribute);
    if (name == "anchor")
      checkAnchorTask(element);
    // Only these may hold <onevent> (elsewhere the document type objects).
    if (name == "card" || name == "template" || name == "option")
      checkDuplicateEvents(element);
    if (name == "card")
      visitCard(element);
    else if (name == "do")
      checkSoftKeyName(element);
    else if (name == "input")
      checkFormat(element);
  }

  void visitAttribute(const xmlNode* element, QByteArrayView name, const xmlAttr* attribute) {
    const QByteArray attributeKey = attributeName(attribute);
    if (const auto version = introducedIn(name, attributeKey);
        version && *version > deck_.version()) {
      report(element, "newer-attribute",
             QStringLiteral("The attribute \"%1\" of <%2> is WML %3; this deck is WML %4.")
                 .arg(text(attributeKey), text(name), versionName(*version),
                      versionName(deck_.version())));
      explained_.attributes.insert(
          {element, QByteArray(attributeKey.constData(), attributeKey.size())});
    }
    if (!xml::isLinkAttribute(name, attributeKey))
      return;
    const QByteArray value = valueOf(attribute);
    if (value.isEmpty() && attributeKey == "href")
      report(element, "empty-href", QStringLiteral("The href of <%1> is empty.").arg(text(name)));
    else
      links_.append({element, QByteArray(attributeKey.constData(), attributeKey.size()), value});
  }

  void visitCard(const xmlNode* card) {
    if (const auto id = attributeValue(card, "id")) {
      if (const xmlNode* first = cardIds_.value(*id)) {
        report(card, "duplicate-card-id",
               QStringLiteral("The id \"%1\" of this <card> is already used by the card on "
                              "line %2.")
                   .arg(text(*id))
                   .arg(deck_.position(first).line));
        explained_.ids.insert(card);
      } else {
        cardIds_.insert(*id, card);
      }
    }
    const xmlNode* firstTimer = nullptr;
    for (const xmlNode* child = card->children; child; child = child->next) {
      if (!named(child, "timer"))
        continue;
      if (firstTimer) {
        report(child, "second-timer",
               QStringLiteral("The <card> already has a <timer> (line %1); a card may "
                              "hold only one.")
                   .arg(deck_.position(firstTimer).line));
        explained_.contents.insert(card);
      } else {
        firstTimer = child;
        if (!templateHasOntimer_ && !hasOntimerTarget(card))
          report(child, "timer-without-target",
                 QStringLiteral("The <timer> has no target: neither the card nor the template "
                                "has an \"ontimer\" attribute or an <onevent type=\"ontimer\">."),
                 Severity::Warning);
      }
    }
  }

  static bool hasOntimerTarget(const xmlNode* element) {
    if (attributeValue(element, "ontimer"))
      return true;
    for (const xmlNode* child = element->children; child; child = child->next)
      if (named(child, "onevent") && attributeValue(child, "type") == QByteArray("ontimer"))
        return true;
    return false;
  }

  // A do element's name is its name attribute, else its type; it must be
  // unique in its card (wherever in the card it stands) and in the template.
  void checkSoftKeyName(const xmlNode* element) {
    const xmlNode* owner = element->parent;
    while (owner && !named(owner, "card") && !named(owner, "template"))
      owner = owner->parent;
    if (!owner)
      return;
    const QByteArray key = attributeValue(element, "name")
                               .value_or(attributeValue(element, "type").value_or(QByteArray()));
    QHash<QByteArray, const xmlNode*>& seen = softKeys_[owner];
    if (const xmlNode* first = seen.value(key)) {
      report(element, "duplicate-do-name",
             QStringLiteral("Another <do> in %1 (line %2) already has the name \"%3\" "
                            "(a <do> without a name is named by its type).")
                 .arg(named(owner, "card") ? QStringLiteral("this card")
                                           : QStringLiteral("the template"))
                 .arg(deck_.position(first).line)
                 .arg(text(key)));
    } else {
      seen.insert(key, element);
    }
  }

  void checkDuplicateEvents(const xmlNode* element) {
    QHash<QByteArray, const xmlNode*> seen;
    for (const xmlNode* child = element->children; child; child = child->next) {
      if (child->type != XML_ELEMENT_NODE || !named(child, "onevent"))
        continue;
      const QByteArray type = attributeValue(child, "type").value_or(QByteArray());
      if (seen.contains(type))
        report(child, "duplicate-onevent",
               QStringLiteral("The <%1> already has an <onevent> of type \"%2\" (line %3).")
                   .arg(text(nameOf(element)), text(type))
                   .arg(deck_.position(seen.value(type)).line));
      else
        seen.insert(type, child);
    }
  }

  // Its content model lets an <anchor> hold text alone, but a phone has
  // nowhere to go from one: it needs exactly one task.
  void checkAnchorTask(const xmlNode* anchor) {
    int tasks = 0;
    for (const xmlNode* child = anchor->children; child; child = child->next)
      if (named(child, "go") || named(child, "prev") || named(child, "refresh"))
        ++tasks;
    if (tasks == 0)
      report(anchor, "anchor-without-task",
             QStringLiteral("<anchor> needs one task beside its text: <go>, <prev> or "
                            "<refresh>."));
    else if (tasks > 1)
      report(anchor, "anchor-without-task",
             QStringLiteral("<anchor> takes one task, not %1: keep one of its <go>, <prev> and "
                            "<refresh>.")
                 .arg(tasks));
  }

  void checkFormat(const xmlNode* input) {
    const auto format = attributeValue(input, "format");
    if (!format)
      return;
    const QString mask = text(*format);
    const QString problem = syntax::InputMask::read(mask, deck_.version()).problem;
    if (!problem.isEmpty())
      report(input, "bad-input-mask",
             QStringLiteral("The format \"%1\" of <input> is not a valid input mask: %2.")
                 .arg(mask, problem));
  }

  void checkLinks() {
    const QDir beside =
        options_.documentPath.isEmpty() ? QDir() : QFileInfo(options_.documentPath).absoluteDir();
    for (const Link& link : links_) {
      const QString element = text(nameOf(link.element));
      if (link.value.startsWith('#') && link.attribute != "src") {
        const QByteArray card = link.value.mid(1);
        if (!card.isEmpty() && !card.contains('$') && !cardIds_.contains(card))
          report(link.element, "dangling-card-link",
                 QStringLiteral("The %1 \"%2\" of <%3> points to a card that does "
                                "not exist: no card has the id \"%4\".")
                     .arg(text(link.attribute), text(link.value), element, text(card)));
        continue;
      }
      if (options_.documentPath.isEmpty() || !isLocalRelative(link.value))
        continue;
      QByteArray path = link.value;
      path.truncate(std::min(path.indexOf('#') < 0 ? path.size() : path.indexOf('#'),
                             path.indexOf('?') < 0 ? path.size() : path.indexOf('?')));
      const QString file = QUrl::fromPercentEncoding(path);
      if (!file.isEmpty() && !QFileInfo::exists(beside.filePath(file))) {
        report(link.element, "missing-file",
               QStringLiteral("The %1 \"%2\" of <%3> names a file that does not exist beside "
                              "the deck.")
                   .arg(text(link.attribute), text(link.value), element),
               Severity::Warning);
        continue;
      }
      // A call of a WMLScript unit beside the deck: the unit must compile
      // and have the function, taking as many arguments as the call passes.
      if (options_.checkScriptCalls &&
          (file.endsWith(QLatin1String(".wmls"), Qt::CaseInsensitive) ||
           file.endsWith(QLatin1String(".wmlsc"), Qt::CaseInsensitive))) {
        const qsizetype hash = link.value.indexOf('#');
        const QString fragment = hash < 0 ? QString() : text(link.value.mid(hash + 1));
        if (const auto problem = script::checkScriptCall(beside.filePath(file), fragment)) {
          const QByteArray rule = problem->rule.toLatin1();
          report(link.element, rule.constData(), problem->message, problem->severity);
        }
      }
    }
  }

  const ParsedDeck& deck_;
  const CheckOptions& options_;
  Explained& explained_;
  QList<Finding> findings_;
  QHash<QByteArray, const xmlNode*> cardIds_;
  QList<Link> links_;
  QHash<const xmlNode*, QHash<QByteArray, const xmlNode*>> softKeys_;
  bool templateHasOntimer_ = false;
};

} // namespace

QList<Finding> checkTreeRules(const ParsedDeck& deck, const CheckOptions& options,
                              Explained& explained) {
  return TreeRules(deck, options, explained).run();
}

} // namespace tessera::wml::check
