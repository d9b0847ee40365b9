#include "tools/InlineBuilders.h"

namespace tessera {

Insertion lineBreak() { return {QStringLiteral("<br/>"), 0, false}; }

Insertion lineOmission() { return {QStringLiteral("<br/><br/>"), 0, false}; }

static QString tagName(Wrap kind) {
  switch (kind) {
  case Wrap::Bold: return QStringLiteral("b");
  case Wrap::Italic: return QStringLiteral("i");
  case Wrap::Underline: return QStringLiteral("u");
  case Wrap::Small: return QStringLiteral("small");
  case Wrap::Big: return QStringLiteral("big");
  case Wrap::Strong: return QStringLiteral("strong");
  }
  return {};
}

QString openingTag(Wrap kind) { return QLatin1Char('<') + tagName(kind) + QLatin1Char('>'); }

QString closingTag(Wrap kind) { return QStringLiteral("</") + tagName(kind) + QLatin1Char('>'); }

Insertion wrapElement(const QString& name, const QString& selected) {
  const QString close = QStringLiteral("</") + name + QLatin1Char('>');
  // A single selected character is replaced by the empty pair, not wrapped.
  const QString inner = selected.size() < 2 ? QString() : selected;
  return {QLatin1Char('<') + name + QLatin1Char('>') + inner + close, int(close.size()), true};
}

Insertion wrapTool(Wrap kind, const QString& selected) {
  return wrapElement(tagName(kind), selected);
}

Insertion alignParagraph(Align align, const QString& selected) {
  const char* value = align == Align::Left ? "left" : align == Align::Center ? "center" : "right";
  return {QStringLiteral("<p align=\"") + QLatin1String(value) + QStringLiteral("\">\r\n") +
              selected + QStringLiteral("\r\n</p>"),
          0, false};
}

Insertion characterEntity(Entity entity) {
  const char* text = "";
  switch (entity) {
  case Entity::Ampersand: text = "&amp;"; break;
  case Entity::LessThan: text = "&lt;"; break;
  case Entity::GreaterThan: text = "&gt;"; break;
  case Entity::Apostrophe: text = "&apos;"; break;
  case Entity::Nbsp: text = "&nbsp;"; break;
  case Entity::Quote: text = "&quot;"; break;
  case Entity::Dollar: text = "$$"; break; // WML's escaped dollar sign
  }
  return {QString::fromLatin1(text), 0, false};
}

} // namespace tessera
