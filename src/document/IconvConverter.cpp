#include "document/IconvConverter.h"

#include <QSysInfo>

#include <array>
#include <cerrno>
#include <iconv.h>

namespace tessera {

namespace {

// QString's own layout, so text goes to the converter without a copy.
constexpr const char* kHostUtf16 =
    QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

constexpr size_t kChunk = 1 << 16;

// Closes the converter on every way out.
struct Converter {
  iconv_t handle;
  Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
  ~Converter() {
    if (handle != kNoConverter)
      iconv_close(handle);
  }
};

} // namespace

bool converterKnows(const QByteArray& charset) {
  if (charset.isEmpty())
    return false;
  const Converter in(kHostUtf16, charset.constData());
  const Converter out(charset.constData(), kHostUtf16);
  return in.handle != kNoConverter && out.handle != kNoConverter;
}

std::optional<QString> decodeWithConverter(const QByteArray& charset, QByteArrayView bytes) {
  if (charset.isEmpty())
    return std::nullopt;
  const Converter converter(kHostUtf16, charset.constData());
  if (converter.handle == kNoConverter)
    return std::nullopt;
  QString text;
  text.reserve(bytes.size());
  std::array<char, kChunk> buffer;
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = size_t(bytes.size());
  // After the bytes, one call without input ends a stateful charset's
  // shift state; a full buffer repeats whichever call ran out of room.
  for (;;) {
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    const bool ending = inLeft == 0;
    const size_t done = ending ? iconv(converter.handle, nullptr, nullptr, &out, &outLeft)
                               : iconv(converter.handle, &in, &inLeft, &out, &outLeft);
    const int error = done == size_t(-1) ? errno : 0;
    text.append(reinterpret_cast<const QChar*>(buffer.data()),
                qsizetype((buffer.size() - outLeft) / 2));
    if (error == E2BIG)
      continue;
    if (error != 0)
      return std::nullopt; // EILSEQ or EINVAL: not valid in this charset
    if (ending)
      return text;
  }
}

ConverterEncoder::ConverterEncoder(const QByteArray& charset)
    : converter_(charset.isEmpty() ? kNoConverter : iconv_open(charset.constData(), kHostUtf16)) {}

ConverterEncoder::~ConverterEncoder() {
  if (converter_ != kNoConverter)
    iconv_close(static_cast<iconv_t>(converter_));
}

bool ConverterEncoder::isOpen() const { return converter_ != kNoConverter; }

void ConverterEncoder::encode(QStringView text, QByteArray& out,
                              const std::function<void(char32_t, QByteArray&)>& unencodable) {
  if (!isOpen() || text.isEmpty())
    return;
  std::array<char, kChunk> buffer;
  char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.data()));
  size_t inLeft = size_t(text.size()) * 2;
  while (inLeft > 0) {
    char* to = buffer.data();
    size_t outLeft = buffer.size();
    const size_t done = iconv(static_cast<iconv_t>(converter_), &in, &inLeft, &to, &outLeft);
    const int error = done == size_t(-1) ? errno : 0;
    out.append(buffer.data(), qsizetype(buffer.size() - outLeft));
    if (error == EILSEQ || error == EINVAL) {
      // The character at `in` has no bytes in this charset (or is half of
      // a surrogate pair): hand it over and go on after it.
      const auto* unit = reinterpret_cast<const char16_t*>(in);
      char32_t codePoint = unit[0];
      size_t width = 2;
      if (QChar::isHighSurrogate(unit[0]) && inLeft >= 4 && QChar::isLowSurrogate(unit[1])) {
        codePoint = QChar::surrogateToUcs4(unit[0], unit[1]);
        width = 4;
      }
      in += width;
      inLeft -= width;
      unencodable(codePoint, out);
    } else if (error != 0 && error != E2BIG) {
      return;
    }
  }
}

void ConverterEncoder::finish(QByteArray& out) {
  if (!isOpen())
    return;
  std::array<char, 64> buffer;
  char* to = buffer.data();
  size_t outLeft = buffer.size();
  iconv(static_cast<iconv_t>(converter_), nullptr, nullptr, &to, &outLeft);
  out.append(buffer.data(), qsizetype(buffer.size() - outLeft));
}

} // namespace tessera
