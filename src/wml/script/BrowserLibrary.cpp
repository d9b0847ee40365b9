#include "wml/script/BrowserLibrary.h"

#include "wml/script/UrlLibrary.h"

#include <QRegularExpression>

namespace tessera::wml::script {

namespace {

LibraryOutcome invalid() { return LibraryOutcome::of(Value::invalid()); }
LibraryOutcome emptyString() { return LibraryOutcome::of(Value::string(QString())); }

bool isVariableName(const QString& name) {
  static const QRegularExpression pattern(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
  return pattern.match(name).hasMatch();
}

// A value WML can hold: characters XML allows.
bool isXmlText(const QString& value) {
  for (const QChar c : value) {
    const char16_t u = c.unicode();
    if (u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r')
      return false;
    if (u == 0xFFFE || u == 0xFFFF)
      return false;
  }
  return true;
}

} // namespace

LibraryOutcome browserFunction(LibraryContext& context, int function, const Value* args) {
  ScriptHost& host = context.host;
  if (!host.hasBrowser())
    return invalid();
  switch (function) {
  case 0: { // getVar
    const auto name = args[0].toText();
    if (!name || !isVariableName(*name))
      return invalid();
    return LibraryOutcome::of(Value::string(host.variable(*name)));
  }
  case 1: { // setVar
    const auto name = args[0].toText();
    const auto value = args[1].toText();
    if (!name || !value || !isVariableName(*name) || !isXmlText(*value))
      return invalid();
    host.setVariable(*name, *value);
    return LibraryOutcome::of(Value::boolean(true));
  }
  case 2: { // go
    const auto url = args[0].toText();
    if (!url)
      return invalid();
    // The last go or prev wins; go("") cancels both.
    context.navigation =
        url->isEmpty() ? PendingNavigation{} : PendingNavigation{PendingNavigation::Kind::Go, *url};
    return emptyString();
  }
  case 3: // prev
    context.navigation = PendingNavigation{PendingNavigation::Kind::Prev, QString()};
    return emptyString();
  case 4: // newContext
    host.newContext();
    context.newContextCalled = true;
    return emptyString();
  case 5: { // getCurrentCard
    const auto card = host.currentCard();
    if (!card)
      return invalid();
    return LibraryOutcome::of(Value::string(relativeUrl(context.base, *card)));
  }
  case 6: { // refresh
    context.refreshRequested = true;
    const auto outcome = host.refresh();
    return outcome ? LibraryOutcome::of(Value::string(*outcome)) : invalid();
  }
  }
  return invalid();
}

LibraryOutcome dialogsFunction(int function, const Value* args) {
  LibraryOutcome outcome;
  outcome.kind = LibraryOutcome::Kind::Dialog;
  const auto message = args[0].toText();
  if (!message)
    return invalid();
  outcome.dialog.message = *message;
  switch (function) {
  case 0: { // prompt
    const auto input = args[1].toText();
    if (!input)
      return invalid();
    outcome.dialog.kind = DialogRequest::Kind::Prompt;
    outcome.dialog.defaultInput = *input;
    return outcome;
  }
  case 1: { // confirm
    const auto ok = args[1].toText();
    const auto cancel = args[2].toText();
    if (!ok || !cancel)
      return invalid();
    outcome.dialog.kind = DialogRequest::Kind::Confirm;
    outcome.dialog.okLabel = *ok;
    outcome.dialog.cancelLabel = *cancel;
    return outcome;
  }
  case 2: // alert
    outcome.dialog.kind = DialogRequest::Kind::Alert;
    return outcome;
  }
  return invalid();
}

} // namespace tessera::wml::script
