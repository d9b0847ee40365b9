#pragma once

// A WMLScript compilation unit as its bytecode spells it, read but not yet
// verified: the constant pool, the pragma pool and the functions with their
// code arrays. Only the verifier turns it into something the interpreter
// runs.

#include "wml/script/Opcodes.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tessera::wml::script {

struct BytecodeConstant {
  ConstantType type = ConstantType::EmptyString;
  qint32 integer = 0;      // the integer types
  float number = 0;        // Float32
  QString text;            // the string types, decoded
  QByteArray bytes;        // the string types as stored
  bool textDecoded = true; // false when the bytes are not valid in their charset
};

struct BytecodePragma {
  PragmaType type = PragmaType::AccessDomain;
  // Constant pool indices: one for the access pragmas, two or three for the
  // user agent properties (name, content, scheme).
  QList<int> constants;
};

struct BytecodeFunction {
  int arguments = 0;
  int locals = 0;
  QByteArray code;
  qsizetype codeOffset = 0; // where the code array starts in the file
  QString name;             // empty unless the function is extern
};

struct BytecodeUnit {
  quint8 version = bytecodeVersion;
  int characterSet = 0; // IANA MIBenum of the external-encoding strings
  QList<BytecodeConstant> constants;
  QList<BytecodePragma> pragmas;
  QList<BytecodeFunction> functions;
  // The function name table as stored: (function index, name) in file order.
  QList<QPair<int, QString>> functionNames;
};

} // namespace tessera::wml::script
