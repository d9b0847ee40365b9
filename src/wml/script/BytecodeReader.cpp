#include "wml/script/BytecodeReader.h"

#include <QStringDecoder>

#include <cstring>

namespace tessera::wml::script {

namespace {

struct ReadFailure {
  QString message;
  qsizetype offset;
};

// A cursor over the bytes that throws nothing and never reads past the end:
// the first failure is kept and every later read answers zero.
class ByteCursor {
public:
  explicit ByteCursor(const QByteArray& bytes) : bytes_(bytes) {}

  qsizetype position() const { return position_; }
  qsizetype remaining() const { return bytes_.size() - position_; }
  bool failed() const { return failure_.has_value(); }
  const ReadFailure& failure() const { return *failure_; }

  void fail(const QString& message) {
    if (!failure_)
      failure_ = ReadFailure{message, position_};
  }

  quint8 byte(const char* what) {
    if (failed())
      return 0;
    if (remaining() < 1) {
      fail(QStringLiteral("the bytecode ends inside the %1").arg(QLatin1String(what)));
      return 0;
    }
    return quint8(bytes_.at(position_++));
  }

  quint32 bigEndian(int size, const char* what) {
    if (failed())
      return 0;
    if (remaining() < size) {
      fail(QStringLiteral("the bytecode ends inside the %1").arg(QLatin1String(what)));
      return 0;
    }
    quint32 value = 0;
    for (int i = 0; i < size; ++i)
      value = (value << 8) | quint8(bytes_.at(position_++));
    return value;
  }

  // mb_u_int16 / mb_u_int32: at most as many bytes as the value's bits need.
  quint32 multiByte(int bits, const char* what) {
    if (failed())
      return 0;
    const int maxBytes = (bits + 6) / 7;
    quint64 value = 0;
    for (int i = 0; i < maxBytes; ++i) {
      const quint8 b = byte(what);
      if (failed())
        return 0;
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) {
        if (value >> bits) {
          fail(QStringLiteral("the %1 is too large").arg(QLatin1String(what)));
          return 0;
        }
        return quint32(value);
      }
    }
    fail(QStringLiteral("the %1 is longer than a multi-byte integer can be")
             .arg(QLatin1String(what)));
    return 0;
  }

  QByteArray take(quint32 size, const char* what) {
    if (failed())
      return {};
    if (quint64(size) > quint64(remaining())) {
      fail(QStringLiteral("the %1 runs past the end of the bytecode").arg(QLatin1String(what)));
      return {};
    }
    const QByteArray part = bytes_.mid(position_, qsizetype(size));
    position_ += qsizetype(size);
    return part;
  }

private:
  const QByteArray& bytes_;
  qsizetype position_ = 0;
  std::optional<ReadFailure> failure_;
};

// Decodes a string constant; says whether every byte was valid.
QString decodeText(const QByteArray& bytes, const QString& charset, bool* valid) {
  if (charset.isEmpty()) {
    // An unknown charset: keep every byte as one character.
    *valid = true;
    return QString::fromLatin1(bytes);
  }
  QStringDecoder decoder(charset.toLatin1().constData(), QStringDecoder::Flag::Stateless);
  if (!decoder.isValid()) {
    *valid = true;
    return QString::fromLatin1(bytes);
  }
  QString text = decoder.decode(bytes);
  *valid = !decoder.hasError();
  return text;
}

void readConstant(ByteCursor& in, const QString& charset, BytecodeUnit& unit) {
  BytecodeConstant constant;
  const quint8 type = in.byte("constant type");
  if (in.failed())
    return;
  if (type > quint8(ConstantType::ExternalString)) {
    in.fail(QStringLiteral("constant %1 has the reserved type %2")
                .arg(unit.constants.size())
                .arg(type));
    return;
  }
  constant.type = ConstantType(type);
  switch (constant.type) {
  case ConstantType::Integer8:
    constant.integer = qint8(in.bigEndian(1, "8-bit integer constant"));
    break;
  case ConstantType::Integer16:
    constant.integer = qint16(in.bigEndian(2, "16-bit integer constant"));
    break;
  case ConstantType::Integer32:
    constant.integer = qint32(in.bigEndian(4, "32-bit integer constant"));
    break;
  case ConstantType::Float32: {
    const quint32 bits = in.bigEndian(4, "float constant");
    std::memcpy(&constant.number, &bits, sizeof bits);
    break;
  }
  case ConstantType::Utf8String:
  case ConstantType::ExternalString: {
    const quint32 size = in.multiByte(32, "string constant's size");
    constant.bytes = in.take(size, "string constant");
    const QString encoding =
        constant.type == ConstantType::Utf8String ? QStringLiteral("UTF-8") : charset;
    constant.text = decodeText(constant.bytes, encoding, &constant.textDecoded);
    break;
  }
  case ConstantType::EmptyString: break;
  }
  if (!in.failed())
    unit.constants.append(constant);
}

void readPragma(ByteCursor& in, BytecodeUnit& unit) {
  BytecodePragma pragma;
  const quint8 type = in.byte("pragma type");
  if (in.failed())
    return;
  if (type > quint8(PragmaType::UserAgentPropertyAndScheme)) {
    in.fail(
        QStringLiteral("pragma %1 has the reserved type %2").arg(unit.pragmas.size()).arg(type));
    return;
  }
  pragma.type = PragmaType(type);
  int count = 1;
  if (pragma.type == PragmaType::UserAgentProperty)
    count = 2;
  else if (pragma.type == PragmaType::UserAgentPropertyAndScheme)
    count = 3;
  for (int i = 0; i < count; ++i)
    pragma.constants.append(int(in.multiByte(16, "pragma's constant index")));
  if (!in.failed())
    unit.pragmas.append(pragma);
}

void readFunctionPool(ByteCursor& in, BytecodeUnit& unit) {
  const int functionCount = in.byte("number of functions");
  const int nameCount = in.byte("number of function names");
  for (int i = 0; i < nameCount && !in.failed(); ++i) {
    const int index = in.byte("function name's index");
    const int size = in.byte("function name's size");
    const QByteArray name = in.take(quint32(size), "function name");
    if (!in.failed())
      unit.functionNames.append({index, QString::fromUtf8(name)});
  }
  for (int i = 0; i < functionCount && !in.failed(); ++i) {
    BytecodeFunction function;
    function.arguments = in.byte("function's number of arguments");
    function.locals = in.byte("function's number of local variables");
    const quint32 size = in.multiByte(32, "function's size");
    function.codeOffset = in.position();
    function.code = in.take(size, "function's code");
    if (!in.failed())
      unit.functions.append(function);
  }
  if (in.failed())
    return;
  for (const auto& [index, name] : std::as_const(unit.functionNames)) {
    if (index < unit.functions.size() && unit.functions[index].name.isEmpty())
      unit.functions[index].name = name;
  }
}

} // namespace

QString characterSetName(int mibEnum) {
  switch (mibEnum) {
  case 3: return QStringLiteral("US-ASCII");
  case 4: return QStringLiteral("ISO-8859-1");
  case 5: return QStringLiteral("ISO-8859-2");
  case 6: return QStringLiteral("ISO-8859-3");
  case 7: return QStringLiteral("ISO-8859-4");
  case 8: return QStringLiteral("ISO-8859-5");
  case 9: return QStringLiteral("ISO-8859-6");
  case 10: return QStringLiteral("ISO-8859-7");
  case 11: return QStringLiteral("ISO-8859-8");
  case 12: return QStringLiteral("ISO-8859-9");
  case 17: return QStringLiteral("Shift_JIS");
  case 18: return QStringLiteral("EUC-JP");
  case 38: return QStringLiteral("EUC-KR");
  case 106: return QStringLiteral("UTF-8");
  case 109: return QStringLiteral("ISO-8859-13");
  case 111: return QStringLiteral("ISO-8859-15");
  case 113: return QStringLiteral("GBK");
  case 1013: return QStringLiteral("UTF-16BE");
  case 1014: return QStringLiteral("UTF-16LE");
  case 1015: return QStringLiteral("UTF-16");
  case 2025: return QStringLiteral("GB2312");
  case 2026: return QStringLiteral("Big5");
  case 2084: return QStringLiteral("KOI8-R");
  default:
    if (mibEnum >= 2250 && mibEnum <= 2258)
      return QStringLiteral("windows-%1").arg(1250 + mibEnum - 2250);
    return {};
  }
}

bool hasCompiledScriptHeader(const QByteArray& bytes) {
  ByteCursor in(bytes);
  const int version = in.byte("version number");
  const quint32 size = in.multiByte(32, "code size");
  return !in.failed() && (version >> 4) == (bytecodeVersion >> 4) && size > 0 &&
         quint64(size) == quint64(in.remaining());
}

BytecodeReadResult readBytecode(const QByteArray& bytes) {
  ByteCursor in(bytes);
  BytecodeUnit unit;
  unit.version = in.byte("version number");
  if (!in.failed() && (unit.version >> 4) != (bytecodeVersion >> 4))
    in.fail(QStringLiteral("bytecode version %1.%2 is not 1.x")
                .arg((unit.version >> 4) + 1)
                .arg(unit.version & 0x0F));
  else if (!in.failed() && (unit.version & 0x0F) > (bytecodeVersion & 0x0F))
    in.fail(QStringLiteral("bytecode version 1.%1 is newer than 1.1").arg(unit.version & 0x0F));
  const quint32 size = in.multiByte(32, "code size");
  if (!in.failed() && quint64(size) != quint64(in.remaining()))
    in.fail(QStringLiteral("the header gives %1 bytes of code, the file holds %2")
                .arg(size)
                .arg(in.remaining()));

  const int constantCount = int(in.multiByte(16, "number of constants"));
  unit.characterSet = int(in.multiByte(16, "character set"));
  const QString charset = characterSetName(unit.characterSet);
  // Each constant takes at least one byte: a count above what is left is
  // refused before anything is reserved for it.
  if (!in.failed() && constantCount > in.remaining())
    in.fail(QStringLiteral("%1 constants cannot fit in %2 bytes")
                .arg(constantCount)
                .arg(in.remaining()));
  for (int i = 0; i < constantCount && !in.failed(); ++i)
    readConstant(in, charset, unit);

  const int pragmaCount = int(in.multiByte(16, "number of pragmas"));
  if (!in.failed() && pragmaCount > in.remaining())
    in.fail(
        QStringLiteral("%1 pragmas cannot fit in %2 bytes").arg(pragmaCount).arg(in.remaining()));
  for (int i = 0; i < pragmaCount && !in.failed(); ++i)
    readPragma(in, unit);

  readFunctionPool(in, unit);
  if (!in.failed() && in.remaining() > 0)
    in.fail(QStringLiteral("%1 bytes follow the last function").arg(in.remaining()));

  BytecodeReadResult result;
  if (in.failed()) {
    result.error = in.failure().message;
    result.offset = in.failure().offset;
  } else {
    result.unit = std::move(unit);
  }
  return result;
}

} // namespace tessera::wml::script
