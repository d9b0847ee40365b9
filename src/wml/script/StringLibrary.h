#pragma once

#include "wml/script/Libraries.h"

namespace tessera::wml::script {

// The String library's functions, by function number.
LibraryOutcome stringFunction(int function, const Value* arguments);

} // namespace tessera::wml::script
