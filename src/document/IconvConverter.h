#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

namespace tessera {

// The C library's charset converters (iconv), between a named charset and
// the program's UTF-16 text.

// The text `bytes` decode to, or none when the charset is unknown or the
// bytes are not valid in it (an invalid or cut-off sequence).
std::optional<QString> decodeWithConverter(const QByteArray& charset, QByteArrayView bytes);

// Whether the C library can convert to and from `charset`.
bool converterKnows(const QByteArray& charset);

// Encodes text into one charset a piece at a time, keeping the converter's
// shift state from one piece to the next.
class ConverterEncoder {
public:
  explicit ConverterEncoder(const QByteArray& charset);
  ~ConverterEncoder();
  ConverterEncoder(const ConverterEncoder&) = delete;
  ConverterEncoder& operator=(const ConverterEncoder&) = delete;

  bool isOpen() const;
  // Appends the bytes of `text` to `out`. For each character the charset
  // cannot hold, `unencodable` gets its code point and appends what to write
  // instead (possibly nothing).
  void encode(QStringView text, QByteArray& out,
              const std::function<void(char32_t, QByteArray&)>& unencodable);
  // Appends what returns a stateful charset to its initial state.
  void finish(QByteArray& out);

private:
  void* converter_; // iconv_t
};

} // namespace tessera
