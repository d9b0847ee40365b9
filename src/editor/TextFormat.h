#pragma once

namespace tessera {

// The character encoding a document's file is written in.
enum class TextEncoding { Utf8, Latin1 };

// How a document's file separates its lines.
enum class LineBreakStyle { CrLf, Lf, Cr };

} // namespace tessera
