#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace tessera {

// An input element's format: A a N X x M m codes, \c literals, and one
// closing "*f" (any number) or "nf" (up to n, 1 to 9).
class InputMask {
public:
  // nullopt when the format is not a valid mask (the input then takes any
  // entry, as a phone ignores such a format).
  static std::optional<InputMask> parse(const QString& format);

  bool accepts(const QString& value) const;
  // The rule in words, for the input edit screen.
  QString describe() const;

  struct Position {
    QChar code;    // a format code, or 0 for a literal
    QChar literal; // the literal character
  };

private:
  std::vector<Position> fixed;
  QChar tailCode;   // code of the closing "*f"/"nf", or 0
  int tailMax = -1; // -1: any number
};

bool formatCodeAccepts(QChar code, QChar c);

} // namespace tessera
