#pragma once

#include <QString>

#include <optional>

namespace tessera::wml::script {

// The five types of WMLScript, numbered as `typeof` answers.
enum class ValueType : quint8 { Integer = 0, Float = 1, String = 2, Boolean = 3, Invalid = 4 };

// One WMLScript value. Floats are single precision: a result that is not a
// finite float is invalid and one below the smallest normal float is 0.0,
// so no NaN, infinity or denormal ever lives in a value.
class Value {
public:
  Value() = default; // invalid
  static Value integer(qint32 v);
  static Value floating(double v);
  static Value string(QString v);
  static Value boolean(bool v);
  static Value invalid() { return {}; }

  ValueType type() const { return type_; }
  bool isInvalid() const { return type_ == ValueType::Invalid; }
  qint32 integerValue() const { return integer_; }
  float floatValue() const { return float_; }
  bool booleanValue() const { return boolean_; }
  const QString& stringValue() const { return string_; }

  // The conversions of the language's automatic conversion rules; nothing
  // when the conversion is illegal.
  std::optional<bool> toBoolean() const;
  std::optional<qint32> toInteger() const;
  std::optional<double> toFloat() const;
  std::optional<QString> toText() const;

  // Appends to a string value in place (a `+=` on a variable), so a loop
  // building a string grows one buffer instead of copying it every turn.
  void appendText(const QString& text) { string_ += text; }

  // Same type and value (what the tests compare).
  bool operator==(const Value& other) const;

private:
  ValueType type_ = ValueType::Invalid;
  qint32 integer_ = 0;
  float float_ = 0;
  bool boolean_ = false;
  QString string_;
};

// How a float is written as a string: the shortest decimal that reads back
// as the same float, always with a '.' or an exponent ("3.0", "0.5",
// "1.0e-5").
QString floatToText(float value);

// The numeric string grammar: a whole string (white space around allowed)
// read as a decimal integer or a float; nothing when it is not one or, for
// the integer, when it does not fit 32 bits.
std::optional<qint32> parseIntegerText(const QString& text);
std::optional<double> parseFloatText(const QString& text);

// A value as the command line and the tests show it: `integer 3`,
// `float 0.5`, `string "a\"b"`, `boolean true`, `invalid`.
QString describeValue(const Value& value);

// A string in WMLScript's literal syntax: quoted, with `\"`, `\\` and
// control characters escaped.
QString quoteText(const QString& text);

} // namespace tessera::wml::script
