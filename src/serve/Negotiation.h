#pragma once

#include <QByteArrayView>

namespace tessera::serve {

// How much a request's Accept header wants a media type, from 0 (refused)
// to 1: the most specific entry naming it counts (the type itself, then
// "major/*", then "*/*"); an empty or absent header accepts everything.
double acceptQuality(QByteArrayView accept, QByteArrayView mediaType);

// Which form of a deck or script a request gets: compiled only when the
// client prefers the compiled type strictly (a gateway compiles text
// itself), text while it takes text at all, else nothing.
enum class Form { Text, Compiled, Refused };
Form negotiateForm(QByteArrayView accept, QByteArrayView textType, QByteArrayView compiledType);

} // namespace tessera::serve
