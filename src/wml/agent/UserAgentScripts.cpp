// The user agent's side of WMLScript: a go to a unit's function calls it,
// its dialogs become phone screens, and its navigation is taken when the
// call has ended, as a phone's browser does.
#include "wml/agent/UserAgent.h"

#include "wml/script/UrlCall.h"

#include <QFileInfo>

namespace tessera::wml::agent {

using script::Interpreter;

namespace {

bool waitsFor(const std::unique_ptr<ScriptRun>& run, script::DialogRequest::Kind kind) {
  return run && run->machine.state() == Interpreter::State::WaitingForDialog &&
         run->machine.dialog().kind == kind;
}

} // namespace

QDir UserAgent::siteRoot() const {
  return documentPath.isEmpty() ? QDir::current() : QFileInfo(documentPath).absoluteDir();
}

void UserAgent::callScript(const WmlTask& task, const Destination& destination) {
  const QString label = destination.path + u'#' + urlUnescape(destination.fragment);
  const auto fail = [this, &label](const QString& why) {
    showError({QStringLiteral("Script error"), label, why});
  };
  const script::UrlCallParse call = script::parseUrlCall(urlUnescape(destination.fragment));
  if (!call.call) {
    fail(QStringLiteral("not a call: ") + call.error);
    return;
  }
  const QString path = resolvedPath(destination.path);
  const QDir root = siteRoot();
  if (!QDir::cleanPath(path).startsWith(QDir::cleanPath(root.absolutePath()) + u'/')) {
    fail(QStringLiteral("only units in the deck's folder can be called"));
    return;
  }
  const script::LoadedUnit loaded = scripts ? scripts(path) : script::loadScriptFile(path);
  if (!loaded.unit) {
    fail(loaded.error);
    return;
  }
  const QString deckFile = deckPath.isEmpty() ? documentPath : deckPath;
  QUrl referer = siteUrl(root, deckFile);
  referer.setFragment(shownCardId);
  const QUrl unitUrl = siteUrl(root, path);
  if (!script::accessAllowed(*loaded.unit, unitUrl, referer)) {
    fail(QStringLiteral("access violation: the unit's access pragma does not let %1 call it")
             .arg(referer.toString(QUrl::RemoveFragment)));
    return;
  }
  // The go's own variables are set before the call, as for any go.
  applySetvars(task.setvars);
  scriptRun = std::make_unique<ScriptRun>(root, context, referer, scripts, [this] {
    // WMLBrowser.newContext: variables and history go, the card stays.
    context.clear();
    historyStack.clear();
    if (card)
      historyStack.push_back({deckPath, shownCardId, shownCardIndex});
  });
  scriptRun->label = label;
  if (!scriptRun->machine.start(loaded.unit, unitUrl, call.call->function, call.call->arguments,
                                referer)) {
    afterScriptStep();
    return;
  }
  continueScript();
}

bool UserAgent::scriptRunning() const {
  return scriptRun && scriptRun->machine.state() == Interpreter::State::Running;
}

void UserAgent::continueScript(qint64 instructions) {
  if (!scriptRun)
    return;
  const auto state = scriptRun->machine.state();
  if (state != Interpreter::State::Ready && state != Interpreter::State::Running)
    return;
  scriptRun->machine.run(instructions);
  afterScriptStep();
}

void UserAgent::afterScriptStep() {
  switch (scriptRun->machine.state()) {
  case Interpreter::State::Ready:
  case Interpreter::State::Running: return; // the next slice follows
  case Interpreter::State::WaitingForDialog: showDialog(); return;
  case Interpreter::State::Finished:
  case Interpreter::State::Failed: endScript(); return;
  }
}

void UserAgent::showDialog() {
  const script::DialogRequest& dialog = scriptRun->machine.dialog();
  screen = Screen();
  screen.kind = Screen::Kind::Dialog;
  for (const QString& line : dialog.message.split(u'\n'))
    screen.lines.push_back(plainLine(line));
  switch (dialog.kind) {
  case script::DialogRequest::Kind::Prompt: {
    promptInput = dialog.defaultInput;
    ScreenLine value;
    ScreenRun field;
    field.kind = ScreenRun::Kind::Input;
    field.text = promptInput;
    field.control = 0;
    value.runs.push_back(field);
    screen.lines.push_back(value);
    screen.leftKey = QStringLiteral("OK");
    break;
  }
  case script::DialogRequest::Kind::Confirm:
    screen.leftKey = dialog.okLabel.isEmpty() ? QStringLiteral("OK") : dialog.okLabel;
    screen.rightKey = dialog.cancelLabel.isEmpty() ? QStringLiteral("Cancel") : dialog.cancelLabel;
    break;
  case script::DialogRequest::Kind::Alert: screen.leftKey = QStringLiteral("OK"); break;
  }
}

void UserAgent::setPromptText(const QString& text) {
  if (!promptWaiting())
    return;
  promptInput = text;
  for (ScreenLine& line : screen.lines)
    for (ScreenRun& run : line.runs)
      if (run.kind == ScreenRun::Kind::Input)
        run.text = text;
}

bool UserAgent::promptWaiting() const {
  return waitsFor(scriptRun, script::DialogRequest::Kind::Prompt);
}

bool UserAgent::answerPrompt(const QString& text) {
  if (!waitsFor(scriptRun, script::DialogRequest::Kind::Prompt))
    return false;
  scriptRun->machine.answerPrompt(text);
  continueScript();
  return true;
}

bool UserAgent::answerConfirm(bool ok) {
  if (!waitsFor(scriptRun, script::DialogRequest::Kind::Confirm))
    return false;
  scriptRun->machine.answerConfirm(ok);
  continueScript();
  return true;
}

bool UserAgent::dismissAlert() {
  if (!waitsFor(scriptRun, script::DialogRequest::Kind::Alert))
    return false;
  scriptRun->machine.dismissAlert();
  continueScript();
  return true;
}

// The call is over: an error shows the phone's error screen; otherwise the
// last go or prev is taken, a refresh redraws, and with neither the card
// shows again with the variables as the script left them.
void UserAgent::endScript() {
  const std::unique_ptr<ScriptRun> run = std::move(scriptRun);
  promptInput.clear();
  const Interpreter& machine = run->machine;
  if (machine.state() == Interpreter::State::Failed) {
    const QString where = machine.errorFunction().isEmpty()
                              ? run->label
                              : run->label.section(u'#', 0, 0) + u'#' + machine.errorFunction();
    showError(
        {QStringLiteral("Script error"), where,
         script::fatalErrorName(machine.error()) + QStringLiteral(": ") + machine.errorMessage()});
    return;
  }
  const script::PendingNavigation navigation = machine.navigation();
  switch (navigation.kind) {
  case script::PendingNavigation::Kind::Go: {
    WmlTask go;
    go.kind = WmlTask::Kind::Go;
    go.href = navigation.url;
    runTask(go);
    return;
  }
  case script::PendingNavigation::Kind::Prev: prev({}); return;
  case script::PendingNavigation::Kind::None: break;
  }
  if (card)
    display();
}

} // namespace tessera::wml::agent
