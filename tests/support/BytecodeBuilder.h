#pragma once

#include "wml/script/Opcodes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtEndian>

#include <cstring>

// Lays out WMLScript bytecode by hand for tests: the constant pool entries,
// pragmas and functions are given as their bytes, so a test can also write
// what no compiler would.
namespace bytecode {

using tessera::wml::script::appendMultiByte;

inline QByteArray mb(quint32 v) {
  QByteArray out;
  appendMultiByte(out, v);
  return out;
}

inline QByteArray int8(qint8 v) { return QByteArray(1, char(0)) + char(v); }
inline QByteArray int16(qint16 v) {
  return QByteArray(1, char(1)) + char(quint16(v) >> 8) + char(quint16(v) & 0xFF);
}
inline QByteArray int32(qint32 v) {
  QByteArray out(1, char(2));
  for (int shift = 24; shift >= 0; shift -= 8)
    out += char((quint32(v) >> shift) & 0xFF);
  return out;
}
inline QByteArray float32(float v) {
  quint32 bits;
  std::memcpy(&bits, &v, 4);
  QByteArray out(1, char(3));
  for (int shift = 24; shift >= 0; shift -= 8)
    out += char((bits >> shift) & 0xFF);
  return out;
}
inline QByteArray utf8(const QString& s) {
  const QByteArray bytes = s.toUtf8();
  return QByteArray(1, char(4)) + mb(quint32(bytes.size())) + bytes;
}
inline QByteArray emptyString() { return QByteArray(1, char(5)); }
inline QByteArray external(const QByteArray& bytes) {
  return QByteArray(1, char(6)) + mb(quint32(bytes.size())) + bytes;
}

// Pragmas: type byte and constant indices.
inline QByteArray accessDomain(int constant) { return QByteArray(1, char(0)) + mb(constant); }
inline QByteArray accessPath(int constant) { return QByteArray(1, char(1)) + mb(constant); }

struct Function {
  QString name; // empty: not extern
  int arguments = 0;
  int locals = 0;
  QByteArray code;
};

inline QByteArray unit(const QList<QByteArray>& constants, const QList<Function>& functions,
                       const QList<QByteArray>& pragmas = {}, int charset = 106) {
  QByteArray body;
  body += mb(quint32(constants.size()));
  body += mb(quint32(charset));
  for (const QByteArray& c : constants)
    body += c;
  body += mb(quint32(pragmas.size()));
  for (const QByteArray& p : pragmas)
    body += p;
  body += char(functions.size());
  int names = 0;
  for (const Function& f : functions)
    names += f.name.isEmpty() ? 0 : 1;
  body += char(names);
  for (int i = 0; i < functions.size(); ++i) {
    if (functions[i].name.isEmpty())
      continue;
    const QByteArray name = functions[i].name.toUtf8();
    body += char(i);
    body += char(name.size());
    body += name;
  }
  for (const Function& f : functions) {
    body += char(f.arguments);
    body += char(f.locals);
    body += mb(quint32(f.code.size()));
    body += f.code;
  }
  return QByteArray(1, char(0x01)) + mb(quint32(body.size())) + body;
}

// Code from hex text with spaces ("e0 e1 20 3a").
inline QByteArray code(const char* hex) { return QByteArray::fromHex(QByteArray(hex)); }

} // namespace bytecode
