#pragma once

#include "editor/Insertion.h"

#include <QStringList>
#include <optional>

// The elements the link and image windows insert. Field values go in
// exactly as typed: nothing is trimmed, escaped or checked.
namespace tessera {

// "<a href=...>content</a>", or with an access key
// "<a accesskey=... href=...>content</a>"; caret after "</a>".
Insertion linkElement(const QString& url, const std::optional<QString>& accessKey,
                      const QString& content);

// "<img src=... alt=.../>"; caret after "/>".
Insertion imageElement(const QString& source, const QString& name);

// An image with its alt text inside a link: "<a href=...><img .../></a>".
Insertion imageLinkElement(const QString& linkUrl, const QString& source, const QString& name);

// Whether `history` already holds `url`, ignoring letter case.
bool historyHolds(const QStringList& history, const QString& url);

} // namespace tessera
