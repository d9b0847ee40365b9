#pragma once

#include "editor/Insertion.h"

#include <optional>

// The input field and the source comment. Single lines; caret after them.
namespace tessera {

struct InputFieldValues {
  QString name;
  std::optional<QString> size;      // written only while its switch is on
  std::optional<QString> maxLength; // likewise
  QString type;                     // "text" or "password"
};

// Attributes always in the order name, size, maxlength, type.
Insertion inputElement(const InputFieldValues& values);

// "<!-- " + comment + " -->": one blank inside each delimiter.
Insertion commentElement(const QString& comment);

} // namespace tessera
