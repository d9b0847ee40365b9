#include "wml/agent/WmlTask.h"

#include "wml/xml/XmlNodes.h"

#include <QRegularExpression>

namespace tessera::wml::agent {

namespace {

NameValueList pairsOf(const xmlNode* task, const char* element, const WmlVariables& variables) {
  NameValueList pairs;
  for (const xmlNode* child : xml::childElements(task, element))
    pairs.append({substituteVariables(xml::attribute(child, "name"), variables),
                  substituteVariables(xml::attribute(child, "value"), variables)});
  return pairs;
}

// "scheme:" at the start, before any '/', '?' or '#'.
QString schemeOf(const QString& href) {
  static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
  const auto match = scheme.match(href);
  return match.hasMatch() ? match.captured(1).toLower() : QString();
}

} // namespace

WmlTask taskFromElement(const xmlNode* task, const WmlVariables& variables) {
  WmlTask result;
  if (xml::isElement(task, "go")) {
    result.kind = WmlTask::Kind::Go;
    result.href =
        substituteVariables(xml::attribute(task, "href"), variables, VariableContext::Address)
            .trimmed();
    result.post = xml::attribute(task, "method").trimmed().toLower() == QLatin1String("post");
    result.postfields = pairsOf(task, "postfield", variables);
  } else if (xml::isElement(task, "prev")) {
    result.kind = WmlTask::Kind::Prev;
  } else if (xml::isElement(task, "refresh")) {
    result.kind = WmlTask::Kind::Refresh;
  } else if (xml::isElement(task, "noop")) {
    result.kind = WmlTask::Kind::Noop;
    return result;
  } else {
    return result;
  }
  result.setvars = pairsOf(task, "setvar", variables);
  return result;
}

WmlTask taskInside(const xmlNode* holder, const WmlVariables& variables) {
  for (const xmlNode* child : xml::childElements(holder)) {
    WmlTask task = taskFromElement(child, variables);
    if (task.kind != WmlTask::Kind::None)
      return task;
  }
  return {};
}

WmlTask goTo(const QString& rawHref, const WmlVariables& variables) {
  WmlTask task;
  task.kind = WmlTask::Kind::Go;
  task.href = substituteVariables(rawHref, variables, VariableContext::Address).trimmed();
  return task;
}

Destination destinationOf(const QString& href) {
  Destination destination;
  if (href.isEmpty() || href.startsWith(u'#')) {
    destination.fragment = href.mid(1);
    return destination;
  }
  destination.kind = Destination::Kind::Outside;
  if (!schemeOf(href).isEmpty())
    return destination;
  const qsizetype hash = href.indexOf(u'#');
  const QString withoutFragment = hash < 0 ? href : href.left(hash);
  const qsizetype question = withoutFragment.indexOf(u'?');
  const QString path = question < 0 ? withoutFragment : withoutFragment.left(question);
  const QString lower = path.toLower();
  const bool script =
      lower.endsWith(QLatin1String(".wmls")) || lower.endsWith(QLatin1String(".wmlsc"));
  if (script || lower.endsWith(QLatin1String(".wml")) || lower.endsWith(QLatin1String(".wmlc"))) {
    destination.kind = script ? Destination::Kind::Script : Destination::Kind::LocalDeck;
    destination.path = QString::fromUtf8(QByteArray::fromPercentEncoding(path.toUtf8()));
    destination.fragment = hash < 0 ? QString() : href.mid(hash + 1);
  }
  return destination;
}

QString formQuery(const NameValueList& fields) {
  QStringList parts;
  for (const auto& field : fields)
    parts << urlEscape(field.first) + u'=' + urlEscape(field.second);
  return parts.join(u'&');
}

QStringList outsideTaskLines(const WmlTask& task) {
  const QString scheme = schemeOf(task.href);
  if (scheme == QLatin1String("wtai")) {
    const QString rest = task.href.mid(task.href.indexOf(u':') + 1);
    const QString call = QStringLiteral("//wp/mc;");
    const QString add = QStringLiteral("//wp/ap;");
    if (rest.startsWith(call, Qt::CaseInsensitive))
      return {QStringLiteral("Call ") + urlUnescape(rest.mid(call.size()))};
    if (rest.startsWith(add, Qt::CaseInsensitive)) {
      const QStringList parts = rest.mid(add.size()).split(u';');
      QStringList words;
      for (const QString& part : parts)
        if (!part.isEmpty())
          words << urlUnescape(part);
      return {QStringLiteral("Add to phonebook: ") + words.join(u' ')};
    }
  }
  const bool web =
      scheme.isEmpty() || scheme == QLatin1String("http") || scheme == QLatin1String("https");
  if (!web)
    return {QStringLiteral("Open ") + task.href};
  const QString query = formQuery(task.postfields);
  if (task.post) {
    QStringList lines{QStringLiteral("POST ") + task.href};
    if (!query.isEmpty())
      lines << query;
    return lines;
  }
  if (query.isEmpty())
    return {QStringLiteral("GET ") + task.href};
  const qsizetype hash = task.href.indexOf(u'#');
  const QString base = hash < 0 ? task.href : task.href.left(hash);
  const QString fragment = hash < 0 ? QString() : task.href.mid(hash);
  return {QStringLiteral("GET ") + base + (base.contains(u'?') ? u'&' : u'?') + query + fragment};
}

} // namespace tessera::wml::agent
