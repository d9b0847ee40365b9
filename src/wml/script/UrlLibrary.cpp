#include "wml/script/UrlLibrary.h"

#include <QRegularExpression>

namespace tessera::wml::script {

namespace {

LibraryOutcome invalid() { return LibraryOutcome::of(Value::invalid()); }
LibraryOutcome text(QString s) { return LibraryOutcome::of(Value::string(std::move(s))); }

// A URL cut into the parts of its generic syntax, without resolving or
// normalising anything: the URL functions answer with the text as written.
struct UrlParts {
  QString scheme;
  bool hasAuthority = false;
  QString authority;
  QString path; // with the segments' parameters
  QString query;
  QString fragment;
};

bool isUnreservedOrReserved(char16_t c) {
  if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
    return true;
  return QStringView(u"-_.!~*'();/?:@&=+$,").contains(QChar(c));
}

bool isHex(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// Only URI characters and well-formed escapes; at most one '#'.
bool hasValidCharacters(const QString& url) {
  bool fragment = false;
  for (qsizetype i = 0; i < url.size(); ++i) {
    const QChar c = url.at(i);
    if (c == u'%') {
      if (i + 2 >= url.size() || !isHex(url.at(i + 1)) || !isHex(url.at(i + 2)))
        return false;
      i += 2;
    } else if (c == u'#') {
      if (fragment)
        return false;
      fragment = true;
    } else if (!isUnreservedOrReserved(c.unicode())) {
      return false;
    }
  }
  return true;
}

std::optional<UrlParts> splitUrl(const QString& url) {
  if (!hasValidCharacters(url))
    return std::nullopt;
  static const QRegularExpression pattern(
      QStringLiteral("^(?:([^:/?#]+):)?(?://([^/?#]*))?([^?#]*)(?:\\?([^#]*))?(?:#(.*))?$"));
  const auto match = pattern.match(url);
  if (!match.hasMatch())
    return std::nullopt;
  UrlParts parts;
  parts.scheme = match.captured(1);
  static const QRegularExpression schemePattern(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*$"));
  if (match.hasCaptured(1) && !schemePattern.match(parts.scheme).hasMatch())
    return std::nullopt;
  parts.hasAuthority = match.hasCaptured(2);
  parts.authority = match.captured(2);
  parts.path = match.captured(3);
  parts.query = match.captured(4);
  parts.fragment = match.captured(5);
  return parts;
}

// host[:port] of an authority, after any user information.
QString hostPort(const UrlParts& parts) {
  const qsizetype at = parts.authority.lastIndexOf(u'@');
  return at < 0 ? parts.authority : parts.authority.mid(at + 1);
}

std::optional<QString> portOf(const UrlParts& parts) {
  const QString hp = hostPort(parts);
  const qsizetype colon = hp.lastIndexOf(u':');
  if (colon < 0)
    return QString();
  const QString port = hp.mid(colon + 1);
  for (const QChar c : port) {
    if (c < u'0' || c > u'9')
      return std::nullopt;
  }
  return port;
}

QString pathWithoutParameters(const QString& path) {
  QStringList segments = path.split(u'/');
  for (QString& segment : segments) {
    const qsizetype semicolon = segment.indexOf(u';');
    if (semicolon >= 0)
      segment.truncate(semicolon);
  }
  return segments.join(u'/');
}

QString lastSegmentParameters(const QString& path) {
  const QString last = path.mid(path.lastIndexOf(u'/') + 1);
  const qsizetype semicolon = last.indexOf(u';');
  return semicolon < 0 ? QString() : last.mid(semicolon + 1);
}

// The characters escapeString turns into %xx.
bool mustEscape(char16_t c) {
  if (c < 0x20 || c == 0x7F || c == u' ')
    return true;
  return QStringView(u";/?:@&=+$,{}|\\^[]`<>#%\"").contains(QChar(c));
}

QString escapeString(const QString& s) {
  QString out;
  for (const QChar c : s) {
    if (c.unicode() < 0x80 && !mustEscape(c.unicode())) {
      out += c;
      continue;
    }
    // Non-ASCII characters go as the bytes of the interpreter's native
    // character set, UTF-8 (Lang.characterSet says 106).
    const QByteArray bytes = QString(c).toUtf8();
    for (const char b : bytes)
      out += QStringLiteral("%%1").arg(quint8(b), 2, 16, QLatin1Char('0'));
  }
  return out;
}

std::optional<QString> unescapeString(const QString& s) {
  QByteArray bytes;
  for (qsizetype i = 0; i < s.size(); ++i) {
    const QChar c = s.at(i);
    if (c.unicode() >= 0x80)
      return std::nullopt;
    if (c == u'%' && i + 2 < s.size() && isHex(s.at(i + 1)) && isHex(s.at(i + 2))) {
      bytes.append(char(s.mid(i + 1, 2).toInt(nullptr, 16)));
      i += 2;
    } else {
      bytes.append(char(c.unicode()));
    }
  }
  return QString::fromUtf8(bytes);
}

// The shortest way to write `target` relative to `base` (same scheme and
// authority), else `target` as it is.
QString relativeTo(const QUrl& base, const QUrl& target) {
  if (base.scheme() != target.scheme() || base.authority() != target.authority())
    return target.toString();
  const QStringList from = base.path().split(u'/');
  const QStringList to = target.path().split(u'/');
  qsizetype common = 0;
  while (common + 1 < from.size() && common + 1 < to.size() && from[common] == to[common])
    ++common;
  QString relative;
  for (qsizetype i = common; i + 1 < from.size(); ++i)
    relative += QStringLiteral("../");
  relative += to.mid(common).join(u'/');
  if (relative == from.last() && target.hasFragment() && !target.hasQuery())
    relative = QString(); // the unit itself: just the fragment
  if (target.hasQuery())
    relative += u'?' + target.query(QUrl::FullyEncoded);
  if (target.hasFragment())
    relative += u'#' + target.fragment(QUrl::FullyEncoded);
  return relative;
}

std::optional<QString> resolve(const QString& base, const QString& embedded) {
  const auto embeddedParts = splitUrl(embedded);
  const auto baseParts = splitUrl(base);
  if (!embeddedParts || !baseParts || baseParts->scheme.isEmpty())
    return std::nullopt;
  if (!embeddedParts->scheme.isEmpty())
    return embedded;
  QUrl baseUrl(base, QUrl::StrictMode);
  if (!baseUrl.isValid())
    return std::nullopt;
  if (baseUrl.path().isEmpty())
    baseUrl.setPath(QStringLiteral("/"));
  const QUrl resolved = baseUrl.resolved(QUrl(embedded, QUrl::StrictMode));
  if (!resolved.isValid())
    return std::nullopt;
  return resolved.toString(QUrl::FullyEncoded);
}

bool isTextContentType(const QString& type) {
  static const QRegularExpression pattern(QStringLiteral("^text/[A-Za-z0-9!#$&^_.+-]+$"));
  return pattern.match(type).hasMatch();
}

} // namespace

QString relativeUrl(const QUrl& base, const QUrl& target) { return relativeTo(base, target); }

LibraryOutcome urlFunction(LibraryContext& context, int function, const Value* args) {
  switch (function) {
  case 8: return text(context.base.toString(QUrl::FullyEncoded)); // getBase
  case 9:                                                         // getReferer
    return text(context.referer.isEmpty() ? QString() : relativeTo(context.base, context.referer));
  case 10: { // resolve
    const auto base = args[0].toText();
    const auto embedded = args[1].toText();
    if (!base || !embedded)
      return invalid();
    const auto resolved = resolve(*base, *embedded);
    return resolved ? text(*resolved) : invalid();
  }
  case 13: { // loadString
    const auto url = args[0].toText();
    const auto type = args[1].toText();
    if (!url || !type || !isTextContentType(*type) || !splitUrl(*url))
      return invalid();
    const LoadedText loaded = context.host.loadText(context.base.resolved(QUrl(*url)), *type);
    if (loaded.text)
      return text(*loaded.text);
    return LibraryOutcome::of(Value::integer(loaded.errorCode));
  }
  default: break;
  }
  const auto s = args[0].toText();
  if (!s)
    return invalid();
  if (function == 11) // escapeString
    return text(escapeString(*s));
  if (function == 12) { // unescapeString
    const auto unescaped = unescapeString(*s);
    return unescaped ? text(*unescaped) : invalid();
  }
  const auto parts = splitUrl(*s);
  if (function == 0) // isValid
    return LibraryOutcome::of(Value::boolean(parts.has_value()));
  if (!parts)
    return invalid();
  switch (function) {
  case 1: return text(parts->scheme);
  case 2: { // getHost
    const QString hp = hostPort(*parts);
    const qsizetype colon = hp.lastIndexOf(u':');
    return text(colon < 0 ? hp : hp.left(colon));
  }
  case 3: {
    const auto port = portOf(*parts);
    return port ? text(*port) : invalid();
  }
  case 4: return text(pathWithoutParameters(parts->path));
  case 5: return text(lastSegmentParameters(parts->path));
  case 6: return text(parts->query);
  case 7: return text(parts->fragment);
  }
  return invalid();
}

} // namespace tessera::wml::script
