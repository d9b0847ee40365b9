#pragma once

// The child's side of a site check's look into binary files (see
// BinaryInspection.h): the decoding itself, kept apart because pictures
// need the toolkit's image readers, which only the program module loads.

#include "wml/site/SiteModel.h"

#include <QByteArray>
#include <QJsonObject>

namespace tessera {

// In the child: decodes one file of the given kind. The object holds "file",
// and either "error" or what was found: "source" (a compiled deck's WML),
// "externs" and "access" (a compiled script), "width" and "height" (a picture).
QJsonObject inspectBinary(const QString& file, wml::site::FileKind kind, const QByteArray& bytes);

} // namespace tessera
