#include "wml/script/ScriptAssembler.h"

#include "wml/script/ScriptSyntax.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <numeric>

namespace tessera::wml::script {

namespace {

bool isJump(const CodeInstruction& i) {
  return !i.isLabel && (i.op == Opcode::JumpFw || i.op == Opcode::TJumpFw);
}
bool isUnconditionalJump(const CodeInstruction& i) { return !i.isLabel && i.op == Opcode::JumpFw; }
bool endsFlow(const CodeInstruction& i) {
  return !i.isLabel &&
         (i.op == Opcode::JumpFw || i.op == Opcode::Return || i.op == Opcode::ReturnEs);
}

// Where each label is placed, by label number (labels are small numbers
// counted from 0 per function, so a table beats hashing them).
class LabelPlaces {
public:
  explicit LabelPlaces(const QList<CodeInstruction>& code) : end(code.size()) {
    for (qsizetype i = 0; i < code.size(); ++i) {
      const int label = code[i].label;
      if (!code[i].isLabel || label < 0)
        continue;
      if (label >= int(places.size()))
        places.resize(label + 1, -1);
      places[label] = i;
    }
  }
  // The label's index in the code (the end of the function when the label
  // is not placed).
  qsizetype of(int label) const {
    return label >= 0 && label < int(places.size()) && places[label] >= 0 ? places[label] : end;
  }

private:
  std::vector<qsizetype> places;
  qsizetype end;
};

// Index of the first instruction at or after a label (code.size() when the
// label ends the function).
qsizetype resolve(const QList<CodeInstruction>& code, const LabelPlaces& labels, int label) {
  qsizetype i = labels.of(label);
  while (i < code.size() && code[i].isLabel)
    ++i;
  return i;
}

bool threadJumps(QList<CodeInstruction>& list) {
  bool changed = false;
  const LabelPlaces labels(list);
  // Read through a const view: the list's non-const access checks for
  // sharing on every call.
  const QList<CodeInstruction>& code = list;
  for (CodeInstruction& jump : list) {
    if (!isJump(jump))
      continue;
    // A jump to a jump goes straight to the second one's target (bounded:
    // a loop of jumps has no end).
    for (int hop = 0; hop < 8; ++hop) {
      const qsizetype target = resolve(code, labels, jump.label);
      if (target >= code.size() || !isUnconditionalJump(code[target]) ||
          code[target].label == jump.label)
        break;
      jump.label = code[target].label;
      changed = true;
    }
    // A jump to a return is that return (the same byte, and what follows
    // the jump may then be dropped).
    const qsizetype target = resolve(code, labels, jump.label);
    if (jump.op == Opcode::JumpFw && target < code.size() &&
        (code[target].op == Opcode::ReturnEs || code[target].op == Opcode::Return) &&
        !code[target].isLabel) {
      jump.op = code[target].op;
      jump.label = -1;
      changed = true;
    }
  }
  return changed;
}

// Keeps the instructions `keep` says yes to (asked once each, in order),
// moving them up in place.
template <typename Keep> bool keepOnly(QList<CodeInstruction>& code, Keep keep) {
  CodeInstruction* const instructions = code.data();
  qsizetype kept = 0;
  for (qsizetype i = 0; i < code.size(); ++i)
    if (keep(instructions[i]))
      instructions[kept++] = instructions[i];
  if (kept == code.size())
    return false;
  code.resize(kept);
  return true;
}

// Removes every unconditional jump to the instruction after it. Removing
// one never changes whether another goes to its next instruction, so all
// are found first and removed at once.
bool dropJumpsToNext(QList<CodeInstruction>& list) {
  const QList<CodeInstruction>& code = list;
  const LabelPlaces labels(code);
  std::vector<bool> drop(code.size());
  bool any = false;
  for (qsizetype i = 0; i < code.size(); ++i) {
    if (!isUnconditionalJump(code[i]))
      continue;
    qsizetype next = i + 1;
    while (next < code.size() && code[next].isLabel)
      ++next;
    if (resolve(code, labels, code[i].label) == next)
      drop[i] = any = true;
  }
  if (!any)
    return false;
  qsizetype at = 0;
  return keepOnly(list, [&](const CodeInstruction&) { return !drop[at++]; });
}

// Removes what no jump and no fall-through reaches, and labels no jump
// names.
bool dropUnreachable(QList<CodeInstruction>& code) {
  std::vector<bool> used;
  for (const CodeInstruction& i : std::as_const(code))
    if (isJump(i) && i.label >= 0) {
      if (i.label >= int(used.size()))
        used.resize(i.label + 1);
      used[i.label] = true;
    }
  bool reachable = true;
  return keepOnly(code, [&](const CodeInstruction& i) {
    if (i.isLabel) {
      if (i.label < 0 || i.label >= int(used.size()) || !used[i.label])
        return false;
      reachable = true;
      return true;
    }
    if (!reachable)
      return false;
    if (endsFlow(i))
      reachable = false;
    return true;
  });
}

} // namespace

void optimiseFunction(FunctionCode& function) {
  QList<CodeInstruction>& code = function.code;
  for (int round = 0; round < 64; ++round) {
    bool changed = threadJumps(code);
    while (dropJumpsToNext(code))
      changed = true;
    changed = dropUnreachable(code) || changed;
    if (!changed)
      break;
  }
  // The interpreter returns "" at the end of a function by itself, so a
  // RETURN_ES with only labels after it says nothing, and neither does one
  // that removing it leaves last ("if (x) return; }").
  for (;;) {
    qsizetype last = code.size() - 1;
    while (last >= 0 && code[last].isLabel)
      --last;
    if (last < 0 || code[last].op != Opcode::ReturnEs)
      break;
    code.removeAt(last);
  }
}

namespace {

void appendBigEndian(QByteArray& out, quint32 value, int bytes) {
  for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8)
    out.append(char((value >> shift) & 0xFF));
}

int jumpSize(const CodeInstruction& jump, bool backward, int offsetFor1, int offsetFor2,
             int offsetFor3) {
  const bool conditional = jump.op == Opcode::TJumpFw;
  if (!(conditional && backward) && offsetFor1 <= maxShortJump)
    return 1;
  if (offsetFor2 <= maxJump)
    return 2;
  if (offsetFor3 <= maxWideJump)
    return 3;
  return 0; // too far
}

class Assembler {
public:
  Assembler(UnitCode& unit, QList<Finding>& findings) : unit(unit), findings(findings) {}

  QByteArray run() {
    orderConstants();
    if (poolOrder.size() > maxConstants)
      error(firstBeyondLimit(), QStringLiteral("too-many-constants"),
            QStringLiteral("the unit needs %1 constants; the bytecode holds at most %2")
                .arg(poolOrder.size())
                .arg(maxConstants));
    QByteArray rest;
    writeConstantPool(rest);
    writePragmaPool(rest);
    writeFunctionPool(rest);
    if (failed)
      return QByteArray();
    QByteArray bytecode;
    bytecode.append(char(bytecodeVersion));
    appendMultiByte(bytecode, quint32(rest.size()));
    bytecode.append(rest);
    return bytecode;
  }

private:
  UnitCode& unit;
  QList<Finding>& findings;
  bool failed = false;
  QList<int> poolOrder; // pool index -> constant number
  QList<int> poolIndex; // constant number -> pool index

  void error(const SourceRange& where, const QString& rule, const QString& message) {
    findings.append(findingAt(where, Severity::Error, rule, message));
    failed = true;
  }

  // Where the first constant the pool has no room for is used.
  SourceRange firstBeyondLimit() const {
    QList<int> used = poolOrder;
    std::sort(used.begin(), used.end());
    return unit.constants[used[maxConstants]].where;
  }

  // Most used first, ties in order of first use: the constants most
  // instructions name get the one-byte LOAD_CONST_S.
  void orderConstants() {
    QList<int> uses(unit.constants.size(), 0);
    for (const PragmaCode& pragma : unit.pragmas)
      for (int c : pragma.constants)
        ++uses[c];
    for (const FunctionCode& function : unit.functions)
      for (const CodeInstruction& i : function.code) {
        if (i.isLabel)
          continue;
        if (i.op == Opcode::LoadConst)
          ++uses[i.a];
        else if (i.op == Opcode::CallUrl) {
          ++uses[i.a];
          ++uses[i.b];
        }
      }
    for (int c = 0; c < uses.size(); ++c)
      if (uses[c] > 0)
        poolOrder.append(c);
    std::stable_sort(poolOrder.begin(), poolOrder.end(),
                     [&](int a, int b) { return uses[a] > uses[b]; });
    poolIndex.fill(0, unit.constants.size());
    for (int i = 0; i < poolOrder.size(); ++i)
      poolIndex[poolOrder[i]] = i;
  }

  void writeConstantPool(QByteArray& out) {
    // Strings go out as UTF-8 unless every character fits ISO-8859-1 and
    // some are beyond ASCII: then those strings are written in that
    // character set, one byte each.
    bool beyondAscii = false, beyondLatin1 = false;
    for (int c : poolOrder) {
      const CodeConstant& constant = unit.constants[c];
      if (constant.type != CodeConstant::Type::String)
        continue;
      for (QChar ch : constant.string) {
        beyondAscii = beyondAscii || ch.unicode() > 0x7F;
        beyondLatin1 = beyondLatin1 || ch.unicode() > 0xFF;
      }
    }
    const bool latin1 = beyondAscii && !beyondLatin1;
    appendMultiByte(out, quint32(poolOrder.size()));
    appendMultiByte(out, latin1 ? 4u : 106u); // IANA MIBenum: ISO-8859-1, UTF-8
    for (int c : poolOrder) {
      const CodeConstant& constant = unit.constants[c];
      switch (constant.type) {
      case CodeConstant::Type::Integer:
        if (constant.integer >= -128 && constant.integer <= 127) {
          out.append(char(ConstantType::Integer8));
          appendBigEndian(out, quint32(constant.integer), 1);
        } else if (constant.integer >= -32768 && constant.integer <= 32767) {
          out.append(char(ConstantType::Integer16));
          appendBigEndian(out, quint32(constant.integer), 2);
        } else {
          out.append(char(ConstantType::Integer32));
          appendBigEndian(out, quint32(constant.integer), 4);
        }
        break;
      case CodeConstant::Type::Float:
        out.append(char(ConstantType::Float32));
        appendBigEndian(out, std::bit_cast<quint32>(constant.floating), 4);
        break;
      case CodeConstant::Type::String: {
        if (constant.string.isEmpty()) {
          out.append(char(ConstantType::EmptyString));
          break;
        }
        const bool ascii = std::all_of(constant.string.begin(), constant.string.end(),
                                       [](QChar ch) { return ch.unicode() <= 0x7F; });
        const QByteArray bytes =
            latin1 && !ascii ? constant.string.toLatin1() : constant.string.toUtf8();
        out.append(
            char(latin1 && !ascii ? ConstantType::ExternalString : ConstantType::Utf8String));
        appendMultiByte(out, quint32(bytes.size()));
        out.append(bytes);
        break;
      }
      }
    }
  }

  void writePragmaPool(QByteArray& out) {
    appendMultiByte(out, quint32(unit.pragmas.size()));
    for (const PragmaCode& pragma : unit.pragmas) {
      out.append(char(pragma.type));
      for (int c : pragma.constants)
        appendMultiByte(out, quint32(poolIndex.at(c)));
    }
  }

  void writeFunctionPool(QByteArray& out) {
    out.append(char(quint8(unit.functions.size())));
    int externs = 0;
    for (const FunctionCode& function : unit.functions)
      externs += function.isExtern ? 1 : 0;
    out.append(char(quint8(externs)));
    for (int f = 0; f < unit.functions.size(); ++f) {
      const FunctionCode& function = unit.functions[f];
      if (!function.isExtern)
        continue;
      const QByteArray name = function.name.toUtf8();
      out.append(char(quint8(f)));
      out.append(char(quint8(name.size())));
      out.append(name);
    }
    for (const FunctionCode& function : unit.functions) {
      const QByteArray code = encodeFunction(function);
      out.append(char(quint8(function.parameterCount)));
      out.append(char(quint8(function.localCount)));
      appendMultiByte(out, quint32(code.size()));
      out.append(code);
    }
  }

  // The bytes of every instruction but jumps, whose form depends on the
  // distances.
  // Writes bytes into room made for them beforehand.
  struct ByteWriter {
    char* at;
    void bytes(std::initializer_list<int> values) {
      for (int b : values)
        *at++ = char(b);
    }
    void bigEndian(quint32 value, int count) {
      for (int shift = (count - 1) * 8; shift >= 0; shift -= 8)
        *at++ = char((value >> shift) & 0xFF);
    }
  };
  // The most bytes an instruction takes (CALL_URL_W).
  static constexpr int maxInstructionBytes = 6;

  void encodeInstruction(ByteWriter& out, const CodeInstruction& i) {
    switch (i.op) {
    case Opcode::LoadVar:
      if (i.a <= shortParameterMax(Opcode::LoadVarS))
        out.bytes({shortForm(Opcode::LoadVarS, i.a)});
      else
        out.bytes({int(Opcode::LoadVar), int(i.a)});
      break;
    case Opcode::StoreVar:
      if (i.a <= shortParameterMax(Opcode::StoreVarS))
        out.bytes({shortForm(Opcode::StoreVarS, i.a)});
      else
        out.bytes({int(Opcode::StoreVar), int(i.a)});
      break;
    case Opcode::IncrVar:
      if (i.a <= shortParameterMax(Opcode::IncrVarS))
        out.bytes({shortForm(Opcode::IncrVarS, i.a)});
      else
        out.bytes({int(Opcode::IncrVar), int(i.a)});
      break;
    case Opcode::DecrVar:
    case Opcode::AddAsg:
    case Opcode::SubAsg: out.bytes({int(i.op), int(i.a)}); break;
    case Opcode::LoadConst: {
      const int index = poolIndex.at(i.a);
      if (index <= shortParameterMax(Opcode::LoadConstS))
        out.bytes({shortForm(Opcode::LoadConstS, index)});
      else if (index <= 0xFF)
        out.bytes({int(Opcode::LoadConst), int(index)});
      else {
        out.bytes({int(Opcode::LoadConstW)});
        out.bigEndian(quint32(index), 2);
      }
      break;
    }
    case Opcode::Call:
      if (i.a <= shortParameterMax(Opcode::CallS))
        out.bytes({shortForm(Opcode::CallS, i.a)});
      else
        out.bytes({int(Opcode::Call), int(i.a)});
      break;
    case Opcode::CallLib:
      if (i.a <= shortParameterMax(Opcode::CallLibS))
        out.bytes({shortForm(Opcode::CallLibS, i.a), int(i.b)});
      else
        out.bytes({int(Opcode::CallLib), int(i.a), int(i.b)});
      break;
    case Opcode::CallUrl: {
      const int url = poolIndex.at(i.a), name = poolIndex.at(i.b);
      if (url <= 0xFF && name <= 0xFF) {
        out.bytes({int(Opcode::CallUrl), int(url), int(name), int(i.argumentCount)});
      } else {
        out.bytes({int(Opcode::CallUrlW)});
        out.bigEndian(quint32(url), 2);
        out.bigEndian(quint32(name), 2);
        out.bytes({int(i.argumentCount)});
      }
      break;
    }
    default: out.bytes({int(i.op)}); break;
    }
  }

  QByteArray encodeFunction(const FunctionCode& function) {
    const QList<CodeInstruction>& code = function.code;
    // Every non-jump instruction's bytes (instruction k's are
    // fixed[start[k], start[k + 1])), and each jump's size, grown until
    // every jump reaches its target (sizes only grow, so this ends).
    QByteArray fixed(code.size() * maxInstructionBytes, Qt::Uninitialized);
    ByteWriter writer{fixed.data()};
    std::vector<int> start(code.size() + 1, 0);
    std::vector<int> jumpSizes(code.size(), 1);
    for (qsizetype k = 0; k < code.size(); ++k) {
      start[k] = int(writer.at - fixed.constData());
      if (code[k].isLabel)
        jumpSizes[k] = 0;
      else if (!isJump(code[k]))
        encodeInstruction(writer, code[k]);
    }
    start[code.size()] = int(writer.at - fixed.constData());
    const LabelPlaces labels(code);
    std::vector<int> address(code.size() + 1, 0);
    bool tooFar = false;
    for (bool grew = true; grew;) {
      grew = false;
      for (qsizetype k = 0; k < code.size(); ++k)
        address[k + 1] = address[k] + (isJump(code[k]) ? jumpSizes[k] : start[k + 1] - start[k]);
      for (qsizetype k = 0; k < code.size(); ++k) {
        if (!isJump(code[k]))
          continue;
        const int target = address[labels.of(code[k].label)];
        const bool backward = target <= address[k];
        const auto offset = [&](int size) {
          return backward ? address[k] - target : target - address[k] - size;
        };
        int size = jumpSize(code[k], backward, offset(1), offset(2), offset(3));
        if (size == 0) {
          if (!tooFar)
            error(function.jumpSources.value(code[k].a), QStringLiteral("jump-too-far"),
                  QStringLiteral("this statement's code is longer than a jump can cross (65535 "
                                 "bytes)"));
          tooFar = true;
          size = 3;
        }
        if (size > jumpSizes[k]) {
          jumpSizes[k] = size;
          grew = true;
        }
      }
    }
    QByteArray out(address[code.size()], Qt::Uninitialized);
    ByteWriter bytes{out.data()};
    for (qsizetype k = 0; k < code.size(); ++k) {
      if (!isJump(code[k])) {
        std::memcpy(bytes.at, fixed.constData() + start[k], start[k + 1] - start[k]);
        bytes.at += start[k + 1] - start[k];
        continue;
      }
      const int target = address[labels.of(code[k].label)];
      const bool backward = target <= address[k];
      const int size = jumpSizes[k];
      const int offset = backward ? address[k] - target : target - address[k] - size;
      const bool conditional = code[k].op == Opcode::TJumpFw;
      if (size == 1) {
        const Opcode family = backward      ? Opcode::JumpBwS
                              : conditional ? Opcode::TJumpFwS
                                            : Opcode::JumpFwS;
        bytes.bytes({shortForm(family, offset)});
      } else {
        Opcode op;
        if (conditional)
          op = backward ? (size == 2 ? Opcode::TJumpBw : Opcode::TJumpBwW)
                        : (size == 2 ? Opcode::TJumpFw : Opcode::TJumpFwW);
        else
          op = backward ? (size == 2 ? Opcode::JumpBw : Opcode::JumpBwW)
                        : (size == 2 ? Opcode::JumpFw : Opcode::JumpFwW);
        bytes.bytes({int(op)});
        bytes.bigEndian(quint32(offset), size - 1);
      }
    }
    return out;
  }
};

} // namespace

QByteArray assembleUnit(UnitCode& unit, QList<Finding>& findings) {
  return Assembler(unit, findings).run();
}

} // namespace tessera::wml::script
