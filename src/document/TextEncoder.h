#pragma once

#include "editor/FileEncoding.h"
#include "editor/TextFormat.h"

#include <QByteArray>
#include <QList>
#include <QStringView>

#include <memory>

namespace tessera {

// The characters of a text that its encoding cannot hold.
struct UnencodableCharacters {
  qsizetype count = 0;
  QList<char32_t> first; // the first five, in text order

  void add(char32_t codePoint);
  // "€, ő, …" for a question to the user.
  QString firstAsText() const;
};

// Writes a document's text into its file's encoding and line-break style, a
// piece at a time, so that a large document is never copied whole: the byte
// order mark first, then the lines, each break as the style says.
class TextEncoder {
public:
  // What to write for a character the encoding cannot hold: nothing (and
  // count it), or a numeric character reference such as "&#8364;".
  enum class Unencodable { Count, CharacterReference };

  TextEncoder(const FileEncoding& encoding, LineBreakStyle breaks,
              Unencodable unencodable = Unencodable::Count);
  ~TextEncoder();
  TextEncoder(const TextEncoder&) = delete;
  TextEncoder& operator=(const TextEncoder&) = delete;

  // False when the charset has no converter on this system.
  bool isValid() const;

  // The byte-order mark, when the encoding has one; call once, first.
  void start(QByteArray& out);
  // Text without line breaks. A surrogate pair split between two calls is
  // still one character.
  void append(QStringView text, QByteArray& out);
  void appendLineBreak(QByteArray& out);
  // Text whose line breaks are CR LF or LF, each written in the style.
  void appendLines(QStringView text, QByteArray& out);
  void finish(QByteArray& out);

  const UnencodableCharacters& unencodable() const { return unencodable_; }

private:
  struct Engine;
  void encode(QStringView text, QByteArray& out);
  void encodeUnpairedSurrogates(QStringView text, QByteArray& out);
  void replace(char32_t codePoint, QByteArray& out);

  FileEncoding encoding_;
  LineBreakStyle breaks_;
  Unencodable policy_;
  UnencodableCharacters unencodable_;
  char16_t heldHighSurrogate_ = 0;
  std::unique_ptr<Engine> engine_;
};

// The whole text (CR LF or LF breaks) as the file's bytes.
QByteArray encodeText(QStringView text, const FileEncoding& encoding, LineBreakStyle breaks,
                      TextEncoder::Unencodable unencodable = TextEncoder::Unencodable::Count,
                      UnencodableCharacters* found = nullptr);

// The characters of `text` that `encoding` cannot hold.
UnencodableCharacters findUnencodable(QStringView text, const FileEncoding& encoding);

} // namespace tessera
