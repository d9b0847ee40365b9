#include "tools/InputBuilders.h"

namespace tessera {

static QString attribute(const char* name, const QString& value) {
  return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + value + QLatin1Char('"');
}

Insertion inputElement(const InputFieldValues& values) {
  QString text = QStringLiteral("<input") + attribute("name", values.name);
  if (values.size)
    text += attribute("size", *values.size);
  if (values.maxLength)
    text += attribute("maxlength", *values.maxLength);
  text += attribute("type", values.type) + QStringLiteral("/>");
  return {text, 0, false};
}

Insertion commentElement(const QString& comment) {
  return {QStringLiteral("<!-- ") + comment + QStringLiteral(" -->"), 0, false};
}

} // namespace tessera
