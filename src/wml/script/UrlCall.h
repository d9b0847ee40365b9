#pragma once

#include "wml/script/Value.h"

#include <QList>
#include <QString>

#include <optional>

namespace tessera::wml::script {

// A call written as a URL fragment, `total(1,-3,'hello')`: the function
// name and its literal arguments (integers, floats, quoted strings, true,
// false, invalid; white space around each). The fragment is taken after
// unescaping.
struct UrlCall {
  QString function;
  QList<Value> arguments;
};

struct UrlCallParse {
  std::optional<UrlCall> call;
  QString error; // what is wrong, when `call` is empty
};

UrlCallParse parseUrlCall(const QString& fragment);

} // namespace tessera::wml::script
