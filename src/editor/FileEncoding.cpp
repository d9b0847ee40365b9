#include "editor/FileEncoding.h"

#include <array>
#include <utility>

namespace tessera {

namespace {

using Kind = FileEncoding::Kind;

// Labels a deck may carry for the encodings decoded without a converter.
// Latin-1's labels mean ISO-8859-1; the file reader takes windows-1252 for a
// file whose bytes say so (WML written on Windows declares ISO-8859-1 and
// holds curly quotes and the euro sign).
struct BuiltInLabel {
  const char* label;
  Kind kind;
};
constexpr std::array kBuiltInLabels{
    BuiltInLabel{"utf-8", Kind::Utf8},
    BuiltInLabel{"utf8", Kind::Utf8},
    BuiltInLabel{"unicode-1-1-utf-8", Kind::Utf8},
    BuiltInLabel{"utf-16", Kind::Utf16Be},
    BuiltInLabel{"utf-16be", Kind::Utf16Be},
    BuiltInLabel{"utf-16le", Kind::Utf16Le},
    BuiltInLabel{"ucs-2", Kind::Utf16Be},
    BuiltInLabel{"iso-10646-ucs-2", Kind::Utf16Be},
    BuiltInLabel{"utf-32", Kind::Utf32Be},
    BuiltInLabel{"utf-32be", Kind::Utf32Be},
    BuiltInLabel{"utf-32le", Kind::Utf32Le},
    BuiltInLabel{"iso-8859-1", Kind::Latin1},
    BuiltInLabel{"iso8859-1", Kind::Latin1},
    BuiltInLabel{"iso_8859-1", Kind::Latin1},
    BuiltInLabel{"iso_8859-1:1987", Kind::Latin1},
    BuiltInLabel{"iso-ir-100", Kind::Latin1},
    BuiltInLabel{"latin1", Kind::Latin1},
    BuiltInLabel{"latin-1", Kind::Latin1},
    BuiltInLabel{"l1", Kind::Latin1},
    BuiltInLabel{"csisolatin1", Kind::Latin1},
    BuiltInLabel{"cp819", Kind::Latin1},
    BuiltInLabel{"ibm819", Kind::Latin1},
    BuiltInLabel{"us-ascii", Kind::Windows1252},
    BuiltInLabel{"ascii", Kind::Windows1252},
    BuiltInLabel{"windows-1252", Kind::Windows1252},
    BuiltInLabel{"cp1252", Kind::Windows1252},
    BuiltInLabel{"x-cp1252", Kind::Windows1252},
};

// The usual spelling of the converter charsets the menus offer, and of a few
// common aliases, keyed by their lower-case label.
constexpr std::array<std::pair<const char*, const char*>, 16> kConverterSpellings{{
    {"iso-8859-2", "ISO-8859-2"},
    {"iso8859-2", "ISO-8859-2"},
    {"latin2", "ISO-8859-2"},
    {"iso-8859-15", "ISO-8859-15"},
    {"iso8859-15", "ISO-8859-15"},
    {"latin-9", "ISO-8859-15"},
    {"windows-1250", "windows-1250"},
    {"cp1250", "windows-1250"},
    {"windows-1251", "windows-1251"},
    {"cp1251", "windows-1251"},
    {"koi8-r", "KOI8-R"},
    {"shift_jis", "Shift_JIS"},
    {"shift-jis", "Shift_JIS"},
    {"sjis", "Shift_JIS"},
    {"x-sjis", "Shift_JIS"},
    {"ms_kanji", "Shift_JIS"},
}};

} // namespace

FileEncoding FileEncoding::fromLabel(const QByteArray& label, bool* known) {
  const QByteArray key = label.trimmed().toLower();
  if (known)
    *known = !key.isEmpty();
  if (key.isEmpty())
    return utf8();
  for (const BuiltInLabel& entry : kBuiltInLabels)
    if (key == entry.label)
      return of(entry.kind);
  for (const auto& [alias, spelling] : kConverterSpellings)
    if (key == alias)
      return converter(spelling);
  return converter(label.trimmed());
}

std::optional<QStringConverter::Encoding> FileEncoding::unicodeForm() const {
  switch (kind) {
  case Kind::Utf8: return QStringConverter::Utf8;
  case Kind::Utf16Le: return QStringConverter::Utf16LE;
  case Kind::Utf16Be: return QStringConverter::Utf16BE;
  case Kind::Utf32Le: return QStringConverter::Utf32LE;
  case Kind::Utf32Be: return QStringConverter::Utf32BE;
  default: return std::nullopt;
  }
}

QList<FileEncoding> FileEncoding::offered() {
  return {utf8(),
          of(Kind::Utf16Le, true),
          of(Kind::Utf16Be, true),
          of(Kind::Latin1),
          converter("ISO-8859-2"),
          converter("ISO-8859-15"),
          converter("windows-1250"),
          converter("windows-1251"),
          windows1252(),
          converter("KOI8-R"),
          converter("Shift_JIS")};
}

QString FileEncoding::displayName() const {
  switch (kind) {
  case Kind::Utf8: return QStringLiteral("UTF-8");
  case Kind::Utf16Le: return QStringLiteral("UTF-16 LE");
  case Kind::Utf16Be: return QStringLiteral("UTF-16 BE");
  case Kind::Utf32Le: return QStringLiteral("UTF-32 LE");
  case Kind::Utf32Be: return QStringLiteral("UTF-32 BE");
  case Kind::Latin1: return QStringLiteral("ISO-8859-1");
  case Kind::Windows1252: return QStringLiteral("windows-1252");
  case Kind::Converter: return QString::fromLatin1(converterName);
  }
  return {};
}

QString FileEncoding::shownName() const {
  if (declared.isEmpty())
    return displayName();
  return QStringLiteral("%1 (declared %2)").arg(displayName(), QString::fromLatin1(declared));
}

QByteArray FileEncoding::declarationName() const {
  switch (kind) {
  case Kind::Utf8: return "UTF-8";
  case Kind::Utf16Le:
  case Kind::Utf16Be: return "UTF-16";
  case Kind::Utf32Le:
  case Kind::Utf32Be: return "UTF-32";
  case Kind::Latin1: return "ISO-8859-1";
  case Kind::Windows1252: return "windows-1252";
  case Kind::Converter: return converterName;
  }
  return {};
}

bool FileEncoding::holdsEveryCharacter() const {
  return kind == Kind::Utf8 || kind == Kind::Utf16Le || kind == Kind::Utf16Be ||
         kind == Kind::Utf32Le || kind == Kind::Utf32Be;
}

bool FileEncoding::asciiCompatible() const {
  return kind == Kind::Utf8 || kind == Kind::Latin1 || kind == Kind::Windows1252 ||
         kind == Kind::Converter;
}

bool FileEncoding::sameCharset(const FileEncoding& other) const {
  if (kind != other.kind)
    return false;
  return kind != Kind::Converter ||
         converterName.compare(other.converterName, Qt::CaseInsensitive) == 0;
}

} // namespace tessera
