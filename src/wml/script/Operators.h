#pragma once

#include "wml/script/Value.h"

namespace tessera::wml::script {

// WMLScript's operators on values, with the automatic conversions each
// operator's rule asks for; every failed conversion, integer overflow,
// division by zero or float result outside the single-precision range gives
// invalid, as the language's non-fatal errors do.

Value addValues(const Value& a, const Value& b); // numbers or strings
Value subtractValues(const Value& a, const Value& b);
Value multiplyValues(const Value& a, const Value& b);
Value divideValues(const Value& a, const Value& b); // always a float
Value integerDivide(const Value& a, const Value& b);
Value remainderOf(const Value& a, const Value& b); // sign of the dividend
Value bitwiseAnd(const Value& a, const Value& b);
Value bitwiseOr(const Value& a, const Value& b);
Value bitwiseXor(const Value& a, const Value& b);
Value bitwiseNot(const Value& a);
// Shift amounts are taken modulo 32, as in the language's ECMAScript roots.
Value shiftLeft(const Value& a, const Value& b);
Value shiftRightSigned(const Value& a, const Value& b);
Value shiftRightZeroFill(const Value& a, const Value& b);
Value unaryMinus(const Value& a);
Value unaryPlus(const Value& a);
Value incremented(const Value& a, int delta); // ++ and --

enum class Comparison { Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual };
Value compareValues(const Value& a, const Value& b, Comparison comparison);

Value logicalNot(const Value& a);
Value toBooleanValue(const Value& a); // TOBOOL: invalid stays invalid

} // namespace tessera::wml::script
