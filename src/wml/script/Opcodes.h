#pragma once

// The WMLScript bytecode's instruction set and the encoding rules the
// compiler, the reader and the disassembler share: one place for every
// opcode value, its operand bytes and the ranges of the short forms, so the
// writer and the reader of a unit cannot drift apart.

#include <QByteArray>
#include <QtGlobal>

#include <optional>
#include <string_view>

namespace tessera::wml::script {

// The only bytecode version there is (1.1: major minus one in the high
// nibble).
inline constexpr quint8 bytecodeVersion = 0x01;

// Every instruction. The short forms carry a parameter in their low bits;
// their enumerator is the family's first byte (parameter 0).
enum class Opcode : quint8 {
  // Control flow: forward offsets count from the byte after the
  // instruction, backward ones from the instruction itself.
  JumpFw = 0x01,   // u8 offset
  JumpFwW = 0x02,  // u16 offset
  JumpBw = 0x03,   // u8 offset
  JumpBwW = 0x04,  // u16 offset
  TJumpFw = 0x05,  // u8 offset, jumps when false or invalid
  TJumpFwW = 0x06, // u16 offset
  TJumpBw = 0x07,  // u8 offset
  TJumpBwW = 0x08, // u16 offset
  // Calls.
  Call = 0x09,     // u8 function index
  CallLib = 0x0A,  // u8 function, u8 library
  CallLibW = 0x0B, // u8 function, u16 library
  CallUrl = 0x0C,  // u8 url constant, u8 name constant, u8 argument count
  CallUrlW = 0x0D, // u16 url constant, u16 name constant, u8 argument count
  // Variables.
  LoadVar = 0x0E,  // u8 variable
  StoreVar = 0x0F, // u8 variable
  IncrVar = 0x10,  // u8 variable
  DecrVar = 0x11,  // u8 variable
  // Constants.
  LoadConst = 0x12,  // u8 constant
  LoadConstW = 0x13, // u16 constant
  Const0 = 0x14,
  Const1 = 0x15,
  ConstM1 = 0x16,
  ConstEs = 0x17,
  ConstInvalid = 0x18,
  ConstTrue = 0x19,
  ConstFalse = 0x1A,
  // Arithmetic.
  Incr = 0x1B,
  Decr = 0x1C,
  AddAsg = 0x1D, // u8 variable
  SubAsg = 0x1E, // u8 variable
  UMinus = 0x1F,
  Add = 0x20,
  Sub = 0x21,
  Mul = 0x22,
  Div = 0x23,
  IDiv = 0x24,
  Rem = 0x25,
  // Bitwise.
  BAnd = 0x26,
  BOr = 0x27,
  BXor = 0x28,
  BNot = 0x29,
  BLShift = 0x2A,
  BRsShift = 0x2B,
  BRszShift = 0x2C,
  // Comparison.
  Eq = 0x2D,
  Le = 0x2E,
  Lt = 0x2F,
  Ge = 0x30,
  Gt = 0x31,
  Ne = 0x32,
  // Logical.
  Not = 0x33,
  ScAnd = 0x34,
  ScOr = 0x35,
  ToBool = 0x36,
  // Stack, types, return, debugging.
  Pop = 0x37,
  TypeOf = 0x38,
  IsValid = 0x39,
  Return = 0x3A,
  ReturnEs = 0x3B,
  Debug = 0x3C,
  // Short forms (family base values).
  StoreVarS = 0x40,  // 0100iiii variable 0..15
  LoadConstS = 0x50, // 0101iiii constant 0..15
  CallS = 0x60,      // 01100iii function 0..7
  CallLibS = 0x68,   // 01101iii function 0..7, then u8 library
  IncrVarS = 0x70,   // 01110iii variable 0..7
  JumpFwS = 0x80,    // 100iiiii offset 0..31
  JumpBwS = 0xA0,    // 101iiiii offset 0..31
  TJumpFwS = 0xC0,   // 110iiiii offset 0..31
  LoadVarS = 0xE0,   // 111iiiii variable 0..31
};

// The largest parameter each short form can hold.
inline constexpr int shortParameterMax(Opcode op) {
  switch (op) {
  case Opcode::StoreVarS:
  case Opcode::LoadConstS: return 15;
  case Opcode::CallS:
  case Opcode::CallLibS:
  case Opcode::IncrVarS: return 7;
  case Opcode::JumpFwS:
  case Opcode::JumpBwS:
  case Opcode::TJumpFwS:
  case Opcode::LoadVarS: return 31;
  default: return -1;
  }
}

inline constexpr bool isShortForm(Opcode op) { return shortParameterMax(op) >= 0; }

// The byte of a short form with its parameter; the caller keeps the
// parameter within shortParameterMax().
inline constexpr quint8 shortForm(Opcode family, int parameter) {
  return quint8(quint8(family) | quint8(parameter & shortParameterMax(family)));
}

// One byte read as an instruction: its opcode and the parameter a short
// form carries (0 for the others).
struct DecodedOpcode {
  Opcode op;
  int implicitParameter = 0;
};

// The opcode a byte stands for, or nothing for an unassigned byte (0x00,
// 0x3D-0x3F, 0x78-0x7F).
inline constexpr std::optional<DecodedOpcode> decodeOpcode(quint8 byte) {
  if (byte >= 0x80) {
    const quint8 family = byte & 0xE0;
    return DecodedOpcode{Opcode(family), byte & 0x1F};
  }
  if (byte >= 0x78)
    return std::nullopt;
  if (byte >= 0x60) {
    const quint8 family = byte & 0xF8;
    return DecodedOpcode{Opcode(family), byte & 0x07};
  }
  if (byte >= 0x40) {
    const quint8 family = byte & 0xF0;
    return DecodedOpcode{Opcode(family), byte & 0x0F};
  }
  if (byte == 0x00 || byte > quint8(Opcode::Debug))
    return std::nullopt;
  return DecodedOpcode{Opcode(byte), 0};
}

// How many bytes follow the opcode byte in the code array.
inline constexpr int operandBytes(Opcode op) {
  switch (op) {
  case Opcode::JumpFw:
  case Opcode::JumpBw:
  case Opcode::TJumpFw:
  case Opcode::TJumpBw:
  case Opcode::Call:
  case Opcode::LoadVar:
  case Opcode::StoreVar:
  case Opcode::IncrVar:
  case Opcode::DecrVar:
  case Opcode::LoadConst:
  case Opcode::AddAsg:
  case Opcode::SubAsg:
  case Opcode::CallLibS: return 1;
  case Opcode::JumpFwW:
  case Opcode::JumpBwW:
  case Opcode::TJumpFwW:
  case Opcode::TJumpBwW:
  case Opcode::CallLib:
  case Opcode::LoadConstW: return 2;
  case Opcode::CallLibW:
  case Opcode::CallUrl: return 3;
  case Opcode::CallUrlW: return 5;
  default: return 0;
  }
}

// The instruction's whole length in bytes.
inline constexpr int instructionLength(Opcode op) { return 1 + operandBytes(op); }

// The mnemonic the disassembler prints (the standard's instruction names).
inline constexpr std::string_view mnemonic(Opcode op) {
  switch (op) {
  case Opcode::JumpFw: return "JUMP_FW";
  case Opcode::JumpFwW: return "JUMP_FW_W";
  case Opcode::JumpBw: return "JUMP_BW";
  case Opcode::JumpBwW: return "JUMP_BW_W";
  case Opcode::TJumpFw: return "TJUMP_FW";
  case Opcode::TJumpFwW: return "TJUMP_FW_W";
  case Opcode::TJumpBw: return "TJUMP_BW";
  case Opcode::TJumpBwW: return "TJUMP_BW_W";
  case Opcode::Call: return "CALL";
  case Opcode::CallLib: return "CALL_LIB";
  case Opcode::CallLibW: return "CALL_LIB_W";
  case Opcode::CallUrl: return "CALL_URL";
  case Opcode::CallUrlW: return "CALL_URL_W";
  case Opcode::LoadVar: return "LOAD_VAR";
  case Opcode::StoreVar: return "STORE_VAR";
  case Opcode::IncrVar: return "INCR_VAR";
  case Opcode::DecrVar: return "DECR_VAR";
  case Opcode::LoadConst: return "LOAD_CONST";
  case Opcode::LoadConstW: return "LOAD_CONST_W";
  case Opcode::Const0: return "CONST_0";
  case Opcode::Const1: return "CONST_1";
  case Opcode::ConstM1: return "CONST_M1";
  case Opcode::ConstEs: return "CONST_ES";
  case Opcode::ConstInvalid: return "CONST_INVALID";
  case Opcode::ConstTrue: return "CONST_TRUE";
  case Opcode::ConstFalse: return "CONST_FALSE";
  case Opcode::Incr: return "INCR";
  case Opcode::Decr: return "DECR";
  case Opcode::AddAsg: return "ADD_ASG";
  case Opcode::SubAsg: return "SUB_ASG";
  case Opcode::UMinus: return "UMINUS";
  case Opcode::Add: return "ADD";
  case Opcode::Sub: return "SUB";
  case Opcode::Mul: return "MUL";
  case Opcode::Div: return "DIV";
  case Opcode::IDiv: return "IDIV";
  case Opcode::Rem: return "REM";
  case Opcode::BAnd: return "B_AND";
  case Opcode::BOr: return "B_OR";
  case Opcode::BXor: return "B_XOR";
  case Opcode::BNot: return "B_NOT";
  case Opcode::BLShift: return "B_LSHIFT";
  case Opcode::BRsShift: return "B_RSSHIFT";
  case Opcode::BRszShift: return "B_RSZSHIFT";
  case Opcode::Eq: return "EQ";
  case Opcode::Le: return "LE";
  case Opcode::Lt: return "LT";
  case Opcode::Ge: return "GE";
  case Opcode::Gt: return "GT";
  case Opcode::Ne: return "NE";
  case Opcode::Not: return "NOT";
  case Opcode::ScAnd: return "SCAND";
  case Opcode::ScOr: return "SCOR";
  case Opcode::ToBool: return "TOBOOL";
  case Opcode::Pop: return "POP";
  case Opcode::TypeOf: return "TYPEOF";
  case Opcode::IsValid: return "ISVALID";
  case Opcode::Return: return "RETURN";
  case Opcode::ReturnEs: return "RETURN_ES";
  case Opcode::Debug: return "DEBUG";
  case Opcode::StoreVarS: return "STORE_VAR_S";
  case Opcode::LoadConstS: return "LOAD_CONST_S";
  case Opcode::CallS: return "CALL_S";
  case Opcode::CallLibS: return "CALL_LIB_S";
  case Opcode::IncrVarS: return "INCR_VAR_S";
  case Opcode::JumpFwS: return "JUMP_FW_S";
  case Opcode::JumpBwS: return "JUMP_BW_S";
  case Opcode::TJumpFwS: return "TJUMP_FW_S";
  case Opcode::LoadVarS: return "LOAD_VAR_S";
  }
  return "?";
}

// Constant pool entry types.
enum class ConstantType : quint8 {
  Integer8 = 0,
  Integer16 = 1,
  Integer32 = 2,
  Float32 = 3,
  Utf8String = 4,
  EmptyString = 5,
  ExternalString = 6, // in the pool's character set
};

// Pragma pool entry types.
enum class PragmaType : quint8 {
  AccessDomain = 0,
  AccessPath = 1,
  UserAgentProperty = 2,
  UserAgentPropertyAndScheme = 3,
};

// The format's limits: counts held in one byte, indices in two.
inline constexpr int maxFunctions = 255;
inline constexpr int maxParameters = 255;
inline constexpr int maxLocalVariables = 255;
inline constexpr int maxVariablesPerFunction = 256; // parameters plus locals
inline constexpr int maxFunctionNameLength = 255;
inline constexpr int maxConstants = 65535;
inline constexpr int maxShortJump = 31;
inline constexpr int maxJump = 255;
inline constexpr int maxWideJump = 65535;

// The multi-byte integer format (mb_u_int16/mb_u_int32): seven bits per
// byte, most significant first, the high bit set on all but the last.
inline void appendMultiByte(QByteArray& out, quint32 value) {
  char bytes[5];
  int count = 0;
  do {
    bytes[count++] = char(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1)
    out.append(char(bytes[--count] | 0x80));
  out.append(bytes[0]);
}

// The number of bytes appendMultiByte() writes for a value.
inline constexpr int multiByteLength(quint32 value) {
  int length = 1;
  while (value >= 0x80) {
    value >>= 7;
    ++length;
  }
  return length;
}

} // namespace tessera::wml::script
