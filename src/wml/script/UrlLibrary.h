#pragma once

#include "wml/script/Libraries.h"

namespace tessera::wml::script {

// The URL library's functions, by function number.
LibraryOutcome urlFunction(LibraryContext& context, int function, const Value* arguments);

// The shortest way to write `target` relative to `base` (URL.getReferer,
// WMLBrowser.getCurrentCard); `target` whole when scheme or host differ.
QString relativeUrl(const QUrl& base, const QUrl& target);

} // namespace tessera::wml::script
