// WMLScript bytecode on hostile bytes: the reader, the disassembler, the
// verifier and, for what verifies, the interpreter with a small budget.
// No crash, no hang; every run ends finished or failed, and a run that
// verifies never fails with a verification error of its own.
#include "FuzzSupport.h"
#include "wml/script/BytecodeReader.h"
#include "wml/script/BytecodeVerifier.h"
#include "wml/script/Disassembler.h"
#include "wml/script/Interpreter.h"

#include <QMap>

using namespace tessera::wml::script;
using fuzzing::require;

namespace {

// A browser context that keeps variables and loads nothing.
class FuzzHost : public ScriptHost {
public:
  QString variable(const QString& name) const override { return vars.value(name); }
  void setVariable(const QString& name, const QString& value) override { vars[name] = value; }
  void newContext() override { vars.clear(); }
  std::optional<QUrl> currentCard() const override {
    return QUrl(QStringLiteral("http://localhost/deck.wml#c"));
  }
  LoadedUnit loadUnit(const QUrl&) override { return {nullptr, QStringLiteral("offline")}; }
  LoadedText loadText(const QUrl&, const QString&) override { return {std::nullopt, 404}; }
  QMap<QString, QString> vars;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const BytecodeReadResult read = readBytecode(bytes);
  if (!read.unit) {
    require(!read.error.isEmpty(), "a refused unit says why");
    return 0;
  }
  require(!disassemble(*read.unit, bytes.size()).isEmpty(), "a unit read disassembles");
  const VerifyResult verified = verifyBytecode(*read.unit);
  if (!verified.unit)
    return 0;
  RunLimits limits;
  limits.instructionBudget = 20000;
  limits.maxStringLength = 4096;
  limits.characterBudget = 1 << 16;
  int runs = 0;
  for (const VerifiedFunction& function : verified.unit->functions()) {
    if (function.name.isEmpty() || ++runs > 3)
      continue;
    FuzzHost host;
    Interpreter machine(host, limits);
    machine.seedRandom(1);
    QList<Value> args;
    for (int i = 0; i < function.arguments; ++i)
      args.append(i % 2 ? Value::string(QStringLiteral("7")) : Value::integer(i));
    require(machine.start(verified.unit, QUrl(QStringLiteral("http://localhost/u.wmlsc")),
                          function.name, args),
            "an extern function starts");
    for (int dialogs = 0; machine.run() == Interpreter::State::WaitingForDialog; ++dialogs) {
      if (dialogs > 50) {
        machine.cancel();
        break;
      }
      machine.answerPrompt(QStringLiteral("x"));
      machine.answerConfirm(dialogs % 2 == 0);
      machine.dismissAlert();
    }
    require(machine.state() == Interpreter::State::Finished ||
                machine.state() == Interpreter::State::Failed,
            "a run ends");
    require(machine.state() != Interpreter::State::Failed ||
                machine.error() != FatalError::VerificationFailed,
            "verified code runs without a verification error");
  }
  return 0;
}
