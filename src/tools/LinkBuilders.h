#pragma once

#include "editor/Insertion.h"

#include <optional>

// Links and images, built from field values exactly as typed: nothing is
// trimmed, escaped or checked, and no line break is added. The caret ends
// after the element.
namespace tessera {

// "<a href=...>text</a>"; with an access key (the switch on, even when the
// key is empty) the accesskey attribute comes first.
Insertion linkElement(const QString& url, const QString& text,
                      const std::optional<QString>& accessKey = std::nullopt);

// "<img src=... alt=.../>"; alt is always written, empty or not.
Insertion imageElement(const QString& url, const QString& alt);

// An image that is a link: no alt and no text besides the image.
Insertion imageLinkElement(const QString& imageUrl, const QString& linkUrl);

} // namespace tessera
