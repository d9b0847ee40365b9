#pragma once

#include <QList>
#include <QString>

namespace tessera::serve {

struct FormField {
  QString name;
  QString value;
  bool operator==(const FormField&) const = default;
};

// The small deck a POST to a deck's address is answered with: the address
// and every field received, in order, so a form can be tried end to end.
QString postedFieldsDeck(const QString& path, const QList<FormField>& fields);

} // namespace tessera::serve
