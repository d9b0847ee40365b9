#pragma once

#include "editor/Insertion.h"

#include <QStringList>

// The pieces of the link and image windows that the tools panel does not
// build itself (its links and plain images come from tools/LinkBuilders.h).
namespace tessera {

// An image with its alt text inside a link:
// "<a href=...><img src=... alt=.../></a>"; caret after "</a>".
Insertion imageWithAltLinkElement(const QString& linkUrl, const QString& source,
                                  const QString& name);

// Whether `history` already holds `url`, ignoring letter case.
bool historyHolds(const QStringList& history, const QString& url);

} // namespace tessera
