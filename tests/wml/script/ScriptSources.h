#pragma once

#include <QString>

// Sources too long to write out in a test table: units at the bytecode
// format's limits.
namespace scriptsources {

// `count` functions, the last one extern.
inline QString functions(int count) {
  QString s;
  for (int i = 0; i < count - 1; ++i)
    s += QStringLiteral("function f%1() {}\n").arg(i);
  return s + QStringLiteral("extern function last() {}\n");
}

// An extern function with `count` parameters.
inline QString parameters(int count) {
  QStringList names;
  for (int i = 0; i < count; ++i)
    names << QStringLiteral("p%1").arg(i);
  return QStringLiteral("extern function f(") + names.join(QStringLiteral(", ")) +
         QStringLiteral(") {}\n");
}

// An extern function declaring `count` variables, one per line from line 2.
inline QString locals(int count, int parameterCount = 0) {
  QStringList names;
  for (int i = 0; i < parameterCount; ++i)
    names << QStringLiteral("p%1").arg(i);
  QString s = QStringLiteral("extern function f(") + names.join(QStringLiteral(", ")) +
              QStringLiteral(") {\n");
  for (int i = 0; i < count; ++i)
    s += QStringLiteral("  var v%1;\n").arg(i);
  return s + QStringLiteral("}\n");
}

// Assigns `count` different strings, one per line from line 3.
inline QString constants(int count) {
  QString s = QStringLiteral("extern function f() {\n  var x;\n");
  for (int i = 0; i < count; ++i)
    s += QStringLiteral("  x = \"s%1\";\n").arg(i);
  return s + QStringLiteral("}\n");
}

// A loop (line 2) whose body of `statements` assignments of two bytes each
// the backward jump must cross.
inline QString longLoop(int statements) {
  QString s = QStringLiteral("extern function f(a) {\n  while (a) {\n");
  for (int i = 0; i < statements; ++i)
    s += QStringLiteral("    a = a;\n");
  return s + QStringLiteral("  }\n}\n");
}

} // namespace scriptsources
