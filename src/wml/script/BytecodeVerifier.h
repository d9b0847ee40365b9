#pragma once

#include "wml/script/BytecodeUnit.h"
#include "wml/script/Opcodes.h"
#include "wml/script/Value.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace tessera::wml::script {

// One instruction of a verified function, in the form the interpreter
// runs: short and wide forms folded into one opcode (JumpFw for every
// unconditional jump, TJumpFw for every conditional one, Call, CallLib,
// CallUrl, LoadVar, StoreVar, IncrVar, LoadConst), jump targets as
// instruction indices, every index checked.
struct Instruction {
  Opcode op = Opcode::Debug;
  int a = 0; // jump target; function; library function's library; variable; constant
  int b = 0; // callee's argument count (Call); library function id; url call's name constant
  int c = 0; // library function's argument count; url call's argument count
};

struct VerifiedFunction {
  int arguments = 0;
  int locals = 0;
  QString name; // empty unless extern
  // Ends with a RETURN_ES that stands for the end of the code array, so a
  // function that runs off its end, or jumps there, returns "".
  QList<Instruction> code;
};

// A unit that passed every check: the interpreter runs it without checking
// an index again. Made only by verifyBytecode().
class VerifiedUnit {
public:
  const QList<Value>& constants() const { return constants_; }
  const QList<VerifiedFunction>& functions() const { return functions_; }
  // The access pragma's values; nothing when the unit has none.
  const std::optional<QString>& accessDomain() const { return accessDomain_; }
  const std::optional<QString>& accessPath() const { return accessPath_; }
  // The index of the extern function of that name, or -1.
  int externFunction(const QString& name) const;
  // The text of a string constant (CALL_URL's url and function name).
  const QString& constantText(int index) const { return constants_.at(index).stringValue(); }

private:
  friend struct VerifierAccess;
  QList<Value> constants_;
  QList<VerifiedFunction> functions_;
  std::optional<QString> accessDomain_;
  std::optional<QString> accessPath_;
};

struct VerifyResult {
  std::shared_ptr<const VerifiedUnit> unit; // null when the unit failed
  QString error;
};

// The integrity checks and the instruction checks a unit must pass before
// it runs: pragmas naming string constants (one domain and one path at
// most), a function name table with at least one valid, unique name, at
// most 256 variables per function, only defined instructions, variable,
// constant, function and library indices in range, url and function name
// constants of the right types, jumps onto an instruction of the same
// function, no instruction cut by the function's end.
VerifyResult verifyBytecode(const BytecodeUnit& unit);

// Reads and verifies in one step.
VerifyResult loadBytecode(const QByteArray& bytes);

// Whether a name follows the function name syntax (a letter or '_', then
// letters, digits or '_').
bool isFunctionName(const QString& name);

} // namespace tessera::wml::script
