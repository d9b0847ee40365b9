#pragma once

#include <QByteArray>
#include <QString>

namespace tessera::serve {

// The media types of a WAP site.
inline constexpr char kDeckType[] = "text/vnd.wap.wml";
inline constexpr char kCompiledDeckType[] = "application/vnd.wap.wmlc";
inline constexpr char kScriptType[] = "text/vnd.wap.wmlscript";
inline constexpr char kCompiledScriptType[] = "application/vnd.wap.wmlscriptc";
inline constexpr char kWbmpType[] = "image/vnd.wap.wbmp";

// The media type a file is served as, from its name's suffix (any case):
// the WAP types, the usual picture types, else application/octet-stream.
QByteArray mediaTypeForFile(const QString& fileName);

// Whether a type is text, served with the charset of its bytes.
bool isTextType(const QByteArray& mediaType);

// The Content-Type header's value: the type, with "; charset=..." for text.
QByteArray contentTypeHeader(const QByteArray& mediaType, const QByteArray& charset);

} // namespace tessera::serve
