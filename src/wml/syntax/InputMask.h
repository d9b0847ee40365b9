#pragma once

#include "wml/WmlVersion.h"

#include <QString>

#include <optional>
#include <vector>

namespace tessera::wml::syntax {

// An input element's format: A a N X x M m codes (and n from WML 1.2 on),
// \c literals, and one closing "*f" (any number) or "nf" (up to n, 1 to 9).
// The one reading of a format: the checker reports why one is not valid, the
// preview ignores such a format, as a phone must.
class InputMask {
public:
  struct Reading;
  static Reading read(QStringView format, WmlVersion version);
  // The mask, or nullopt when the format is not valid.
  static std::optional<InputMask> parse(QStringView format, WmlVersion version);

  bool accepts(const QString& value) const;
  // Why a phone's entry refuses `next` typed after `entered` (which the mask
  // took so far), as the person is told under the field; empty when the
  // character is taken.
  QString refusalOfNext(QStringView entered, QChar next) const;
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

struct InputMask::Reading {
  std::optional<InputMask> mask;
  QString problem; // why the format is not a valid mask; empty when it is
};

// The format codes of a WML version ("AaNXxMm", and "n" from 1.2 on).
QString formatCodes(WmlVersion version);
bool formatCodeAccepts(QChar code, QChar c);

} // namespace tessera::wml::syntax
