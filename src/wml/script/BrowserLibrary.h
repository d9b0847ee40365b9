#pragma once

#include "wml/script/Libraries.h"

namespace tessera::wml::script {

// The WMLBrowser library's functions, by function number.
LibraryOutcome browserFunction(LibraryContext& context, int function, const Value* arguments);

// The Dialogs library's functions, by function number.
LibraryOutcome dialogsFunction(int function, const Value* arguments);

} // namespace tessera::wml::script
