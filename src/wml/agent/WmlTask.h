#pragma once

#include "wml/agent/WmlVariables.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <libxml/tree.h>

namespace tessera::wml::agent {

using NameValueList = QList<QPair<QString, QString>>;

// A task with its variables already substituted, as it is when it runs.
struct WmlTask {
  enum class Kind { None, Go, Prev, Refresh, Noop };
  Kind kind = Kind::None;
  QString href;
  bool post = false;
  NameValueList postfields;
  NameValueList setvars;
};

// The task element's (go, prev, refresh, noop) task, or Kind::None.
WmlTask taskFromElement(const xmlNode* task, const WmlVariables& variables);
// The task inside an element holding one (do, anchor, onevent), or Kind::None.
WmlTask taskInside(const xmlNode* holder, const WmlVariables& variables);
// A go to an address written in an attribute (a href, onpick, ontimer, ...).
WmlTask goTo(const QString& rawHref, const WmlVariables& variables);

// Where a go leads: a card of this deck, a deck file beside it, or the
// outside world the preview only describes.
struct Destination {
  enum class Kind { ThisDeck, LocalDeck, Script, Outside };
  Kind kind = Kind::ThisDeck;
  QString path;     // a local deck's or script's path, unescaped, without the fragment
  QString fragment; // the card's id, empty for the first card; a script's call, still escaped
};
Destination destinationOf(const QString& href);

// The lines a phone would show for a go that leaves the preview: "GET url",
// "POST url" and its body, "Call n", "Add to phonebook: n name", "Open url".
QStringList outsideTaskLines(const WmlTask& task);

// name=value pairs URL-escaped and joined by '&'.
QString formQuery(const NameValueList& fields);

} // namespace tessera::wml::agent
