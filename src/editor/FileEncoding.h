#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringConverter>

#include <optional>

namespace tessera {

// A file's character encoding as the program reads and writes it: which
// converter, and whether the file starts with a byte-order mark.
struct FileEncoding {
  enum class Kind {
    Utf8,
    Utf16Le,
    Utf16Be,
    Utf32Le,
    Utf32Be,
    Latin1,      // ISO-8859-1 proper, chosen by name from the menus
    Windows1252, // also what every byte falls back to, and what "ISO-8859-1" labels mean
    Converter,   // any other charset, through the C library's iconv
  };

  Kind kind = Kind::Utf8;
  QByteArray converterName; // iconv's name of the charset when kind is Converter
  bool byteOrderMark = false;
  // The charset the file's declaration names when its bytes are read in
  // another ("ISO-8859-1" for a file holding windows-1252 bytes); empty
  // otherwise. Not part of the charset: a save writes `kind`.
  QByteArray declared;

  static FileEncoding utf8() { return {}; }
  static FileEncoding windows1252() { return {Kind::Windows1252, {}, false, {}}; }
  static FileEncoding of(Kind kind, bool byteOrderMark = false) {
    return {kind, {}, byteOrderMark, {}};
  }
  static FileEncoding converter(const QByteArray& name) {
    return {Kind::Converter, name, false, {}};
  }

  // The encoding a charset label (from an XML declaration or a menu) names,
  // or none when the label is empty. US-ASCII reads as windows-1252, as web
  // browsers do. Whether a
  // Converter label is known to the C library is not checked here.
  static FileEncoding fromLabel(const QByteArray& label, bool* known = nullptr);

  // The encodings the menus offer, in their order.
  static QList<FileEncoding> offered();

  // The charset's usual name ("UTF-8", "UTF-16 LE", "windows-1251").
  QString displayName() const;
  // The same with the declared charset when it differs:
  // "windows-1252 (declared ISO-8859-1)".
  QString shownName() const;
  // The name an XML declaration gives it ("UTF-8", "UTF-16", "Shift_JIS").
  QByteArray declarationName() const;
  // Qt's own converter for the Unicode forms; none for the other charsets.
  std::optional<QStringConverter::Encoding> unicodeForm() const;
  // Whether every Unicode character can be written in it.
  bool holdsEveryCharacter() const;
  // Whether ASCII text is written as ASCII bytes.
  bool asciiCompatible() const;

  // Same charset, byte-order mark aside.
  bool sameCharset(const FileEncoding& other) const;
  bool operator==(const FileEncoding& other) const {
    return sameCharset(other) && byteOrderMark == other.byteOrderMark;
  }
};

} // namespace tessera
