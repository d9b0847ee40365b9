#pragma once

#include "wml/script/Interpreter.h"
#include "wml/script/ScriptHost.h"
#include "wml/script/Value.h"

#include <QUrl>

#include <random>

namespace tessera::wml::script {

// What a library function may reach of the run that called it.
struct LibraryContext {
  ScriptHost& host;
  std::mt19937& random;
  QUrl base;    // the calling unit's address, without fragment
  QUrl referer; // what called that unit
  PendingNavigation& navigation;
  bool& newContextCalled;
  bool& refreshRequested;
};

// How a library function ended: with a value, or by ending the run
// (Lang.exit, Lang.abort), or waiting for the user (Dialogs).
struct LibraryOutcome {
  enum class Kind { Return, Exit, Abort, Dialog };
  Kind kind = Kind::Return;
  Value value;
  QString message; // Abort
  DialogRequest dialog;

  static LibraryOutcome of(Value v) { return {Kind::Return, std::move(v), {}, {}}; }
};

// Runs a library function on its arguments (already popped, in order). The
// verifier has checked the ids and the argument count.
LibraryOutcome callLibraryFunction(LibraryContext& context, int library, int function,
                                   const Value* arguments);

// Lang and Float are here; String, URL, WMLBrowser and Dialogs have files
// of their own (StringLibrary.h, UrlLibrary.h, BrowserLibrary.h).
LibraryOutcome langFunction(LibraryContext& context, int function, const Value* arguments);
LibraryOutcome floatFunction(int function, const Value* arguments);

// Float.int: the integer part of a number argument (strings converted),
// nothing when it is no number or does not fit 32 bits. Several String
// functions take their indices this way.
std::optional<qint32> integerPart(const Value& value);

} // namespace tessera::wml::script
