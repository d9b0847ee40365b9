#include "app/ScriptRunCommandLine.h"

#include "app/CommandLine.h"
#include "document/FileReading.h"
#include "wml/script/BytecodeReader.h"
#include "wml/script/BytecodeVerifier.h"
#include "wml/script/Disassembler.h"
#include "wml/script/Interpreter.h"
#include "wml/script/LocalScriptHost.h"
#include "wml/script/UrlCall.h"

#include <QFileInfo>

namespace tessera {

using namespace wml::script;

namespace {

// A unit larger than this is not one for a phone.
constexpr qint64 kUnitLimit = 16 * 1024 * 1024;

std::optional<QByteArray> readUnit(const QString& path, QTextStream& err) {
  FileReadResult read = readAtMost(path, kUnitLimit);
  if (read.status == FileReadResult::Read)
    return std::move(read.bytes);
  err << QStringLiteral("%1: cannot read: %2\n")
             .arg(path, read.status == FileReadResult::TooLarge ? QStringLiteral("too large")
                                                                : read.reason);
  return std::nullopt;
}

struct RunOptions {
  QString unit;
  QString call;
  QList<QPair<QString, QString>> variables;
  QStringList answers;
};

// Nothing when the command line is wrong, after saying what is wrong.
std::optional<RunOptions> parseRun(const ModeContext& context, int* status) {
  const QStringList positional = context.operands();
  if (positional.size() != 2) {
    *status = context.usageError(
        QStringLiteral("--run: expected a UNIT and a call 'f(ARGS)', not %1 operands")
            .arg(positional.size()));
    return std::nullopt;
  }
  RunOptions options;
  options.unit = positional.at(0);
  options.call = positional.at(1);
  for (const QString& assignment : context.parser.values(QStringLiteral("var"))) {
    const qsizetype equals = assignment.indexOf(u'=');
    if (equals <= 0) {
      *status = context.usageError(QStringLiteral("--var %1: expected NAME=VALUE").arg(assignment));
      return std::nullopt;
    }
    options.variables.append({assignment.left(equals), assignment.mid(equals + 1)});
  }
  options.answers = context.parser.values(QStringLiteral("answer"));
  return options;
}

QString dialogKind(DialogRequest::Kind kind) {
  switch (kind) {
  case DialogRequest::Kind::Prompt: return QStringLiteral("prompt");
  case DialogRequest::Kind::Confirm: return QStringLiteral("confirm");
  case DialogRequest::Kind::Alert: return QStringLiteral("alert");
  }
  return {};
}

} // namespace

int runDisassembleMode(const ModeContext& context) {
  const QStringList operands = context.operands();
  if (operands.size() != 1)
    return context.usageError(operands.isEmpty()
                                  ? QStringLiteral("--disassemble: the input file is missing")
                                  : QStringLiteral("--disassemble %1: one input file at a time")
                                        .arg(operands.mid(1).join(u' ')));
  QTextStream& out = context.out;
  QTextStream& err = context.err;
  const QString path = operands.first();
  const auto bytes = readUnit(path, err);
  if (!bytes)
    return kExitUsage;
  const BytecodeReadResult read = readBytecode(*bytes);
  if (!read.unit) {
    err << QStringLiteral("%1: not WMLScript bytecode: %2 (at byte %3)\n")
               .arg(path, read.error)
               .arg(read.offset);
    return kExitFindings;
  }
  out << disassemble(*read.unit, bytes->size());
  const VerifyResult verified = verifyBytecode(*read.unit);
  if (!verified.unit) {
    err << QStringLiteral("%1: does not verify: %2\n").arg(path, verified.error);
    return kExitFindings;
  }
  return kExitClean;
}

int runScriptMode(const ModeContext& context) {
  int status = kExitUsage;
  const auto options = parseRun(context, &status);
  if (!options)
    return status;
  QTextStream& out = context.out;
  QTextStream& err = context.err;
  const UrlCallParse call = parseUrlCall(options->call);
  if (!call.call) {
    err << QStringLiteral("%1: not a call: %2\n").arg(options->call, call.error);
    return kExitUsage;
  }
  const auto bytes = readUnit(options->unit, err);
  if (!bytes)
    return kExitUsage;
  const bool isSource = options->unit.endsWith(QLatin1String(".wmls"), Qt::CaseInsensitive);
  const LoadedUnit loaded = loadScriptBytes(*bytes, isSource);
  if (!loaded.unit) {
    err << QStringLiteral("%1: %2\n").arg(options->unit, loaded.error);
    return kExitFindings;
  }
  const QFileInfo info(options->unit);
  LocalScriptHost host(info.absoluteDir());
  for (const auto& [name, value] : options->variables)
    host.variables().insert(name, value);
  Interpreter machine(host);
  machine.seedRandom(0); // a run on the command line repeats itself
  machine.start(loaded.unit, QUrl::fromLocalFile(info.absoluteFilePath()), call.call->function,
                call.call->arguments);
  QStringList answers = options->answers;
  while (machine.run() == Interpreter::State::WaitingForDialog) {
    const DialogRequest& dialog = machine.dialog();
    out << QStringLiteral("dialog %1 %2\n").arg(dialogKind(dialog.kind), quoteText(dialog.message));
    if (dialog.kind == DialogRequest::Kind::Alert) {
      machine.dismissAlert();
      continue;
    }
    const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
    if (dialog.kind == DialogRequest::Kind::Prompt) {
      machine.answerPrompt(answer);
    } else if (answer == QLatin1String("ok") || answer == QLatin1String("cancel") ||
               answer.isEmpty()) {
      machine.answerConfirm(answer == QLatin1String("ok"));
    } else {
      err << QStringLiteral("--answer %1: a confirm takes ok or cancel\n").arg(answer);
      return kExitUsage;
    }
  }
  const bool aborted = machine.state() == Interpreter::State::Failed &&
                       machine.error() == FatalError::ProgrammedAbort;
  if (machine.state() == Interpreter::State::Finished)
    out << QStringLiteral("ret %1\n").arg(describeValue(machine.result()));
  else if (aborted)
    out << QStringLiteral("abort %1\n").arg(quoteText(machine.errorMessage()));
  const auto& variables = host.variables();
  for (auto it = variables.cbegin(); it != variables.cend(); ++it)
    out << QStringLiteral("var %1=%2\n").arg(it.key(), quoteText(it.value()));
  const PendingNavigation navigation = machine.navigation();
  switch (navigation.kind) {
  case PendingNavigation::Kind::Go:
    out << QStringLiteral("nav go %1\n").arg(quoteText(navigation.url));
    break;
  case PendingNavigation::Kind::Prev: out << QStringLiteral("nav prev\n"); break;
  case PendingNavigation::Kind::None: out << QStringLiteral("nav none\n"); break;
  }
  if (machine.state() == Interpreter::State::Finished)
    return kExitClean;
  const QString where = machine.errorFunction().isEmpty()
                            ? options->unit
                            : options->unit + u'#' + machine.errorFunction();
  err << QStringLiteral("%1: %2: %3\n")
             .arg(where, fatalErrorName(machine.error()), machine.errorMessage());
  return kExitFindings;
}

} // namespace tessera
