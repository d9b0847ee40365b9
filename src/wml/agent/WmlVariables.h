#pragma once

#include <QMap>
#include <QString>

namespace tessera::wml::agent {

// The browser context's variables. An undefined variable reads as empty.
class WmlVariables {
public:
  QString value(const QString& name) const { return values.value(name); }
  bool isSet(const QString& name) const { return values.contains(name); }
  void set(const QString& name, const QString& value) { values.insert(name, value); }
  void unset(const QString& name) { values.remove(name); }
  void clear() { values.clear(); }
  // Sorted by name, as the variables table lists them.
  const QMap<QString, QString>& all() const { return values; }

private:
  QMap<QString, QString> values;
};

// How a reference without a conversion is substituted: as it is in text,
// URL-escaped in an address.
enum class VariableContext { Text, Address };

bool isVariableName(const QString& name);

// Replaces $name, $(name) and $(name:conversion) (e, escape, u, unesc, n,
// noesc, in any case) and $$; a malformed reference stays as written.
QString substituteVariables(const QString& text, const WmlVariables& variables,
                            VariableContext context = VariableContext::Text);

// URL escaping of everything but the unreserved characters, as UTF-8.
QString urlEscape(const QString& text);
QString urlUnescape(const QString& text);

} // namespace tessera::wml::agent
