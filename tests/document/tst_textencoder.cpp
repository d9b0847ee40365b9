#include "document/EncodingDetection.h"
#include "document/TextEncoder.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tessera;
using Kind = FileEncoding::Kind;
using Unencodable = TextEncoder::Unencodable;

Q_DECLARE_METATYPE(tessera::FileEncoding)
Q_DECLARE_METATYPE(tessera::LineBreakStyle)

namespace {

QByteArray declared(const char* charset, const QByteArray& body) {
  return QByteArray("<?xml version=\"1.0\" encoding=\"") + charset + "\"?>" + body;
}

// What saving an unedited file must write: the same bytes, but for breaks
// that were mixed or lone CRs, each of which becomes CR LF. The breaks are
// found in units of the encoding's width, so that a UTF-16 file's bytes are
// never read as single-byte breaks.
QByteArray withBreaksAsCrLf(const QByteArray& bytes, int markSize, int width, bool bigEndian) {
  const auto unitAt = [&](qsizetype at) -> uint {
    uint unit = 0;
    for (int i = 0; i < width; ++i) {
      const uint byte = uchar(bytes[at + (bigEndian ? i : width - 1 - i)]);
      unit = unit << 8 | byte;
    }
    return unit;
  };
  const auto unitBytes = [&](uint unit) {
    QByteArray out(width, '\0');
    out[bigEndian ? width - 1 : 0] = char(unit);
    return out;
  };
  QByteArray out = bytes.left(markSize);
  for (qsizetype at = markSize; at < bytes.size(); at += width) {
    const uint unit = unitAt(at);
    if (unit == '\r') {
      out += unitBytes('\r') + unitBytes('\n');
      if (at + width < bytes.size() && unitAt(at + width) == '\n')
        at += width;
    } else if (unit == '\n') {
      out += unitBytes('\r') + unitBytes('\n');
    } else {
      out += bytes.mid(at, width);
    }
  }
  return out;
}

int unitWidth(Kind kind) {
  return kind == Kind::Utf16Le || kind == Kind::Utf16Be   ? 2
         : kind == Kind::Utf32Le || kind == Kind::Utf32Be ? 4
                                                          : 1;
}

QByteArray savedUnedited(const DecodedFile& file) {
  return encodeText(file.text, file.encoding, file.lineBreaks);
}

QByteArray expectedSave(const QByteArray& bytes, const DecodedFile& file) {
  if (!file.mixedLineBreaks)
    return bytes;
  const Kind kind = file.encoding.kind;
  const int markSize =
      file.encoding.byteOrderMark ? (unitWidth(kind) == 1 ? 3 : unitWidth(kind)) : 0;
  return withBreaksAsCrLf(bytes, markSize, unitWidth(kind),
                          kind == Kind::Utf16Be || kind == Kind::Utf32Be);
}

} // namespace

class TextEncoderTest : public QObject {
  Q_OBJECT
private slots:
  void roundTrip_data();
  void roundTrip();
  void randomFilesRoundTrip_data();
  void randomFilesRoundTrip();
  void unencodable_data();
  void unencodable();
  void characterReferences_data();
  void characterReferences();
  void lineBreakStyle_data();
  void lineBreakStyle();
  void piecesEqualWhole();
};

void TextEncoderTest::roundTrip_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("encoding");
  const auto row = [](const char* name, const QByteArray& bytes, const char* encoding) {
    QTest::newRow(name) << bytes << QString::fromLatin1(encoding);
  };
  row("UTF-8 mark", QByteArray("\xEF\xBB\xBF<wml>\r\n\xC3\xA9</wml>\r\n"), "UTF-8");
  row("UTF-16 LE mark", QByteArray("\xFF\xFE<\0\r\0\n\0\xAC\x20", 10), "UTF-16 LE");
  row("UTF-16 BE mark, LF", QByteArray("\xFE\xFF\0<\0\n\0\n\x20\xAC", 10), "UTF-16 BE");
  row("UTF-32 LE mark", QByteArray("\xFF\xFE\0\0\x00\xF6\x01\0\n\0\0\0", 12), "UTF-32 LE");
  row("UTF-32 BE mark", QByteArray("\0\0\xFE\xFF\0\0\0<", 8), "UTF-32 BE");
  row("UTF-16 LE, no mark", QByteArray("<\0?\0x\0m\0l\0\r\0\n\0", 14), "UTF-16 LE");
  row("UTF-16 BE, no mark, no final break", QByteArray("\0<\0?\0\n\0a", 8), "UTF-16 BE");
  row("ISO-8859-1 declared", declared("ISO-8859-1", "\r\n\x80\x93\xE9\x81\r\n"), "windows-1252");
  row("ISO-8859-2 declared", declared("ISO-8859-2", "\r\n\xB1\xE6\xF5\xFB\r\n"), "ISO-8859-2");
  row("ISO-8859-15 declared", declared("ISO-8859-15", "\n\xA4\n"), "ISO-8859-15");
  row("windows-1250 declared", declared("windows-1250", "\r\n\x8A\x9A\r\n"), "windows-1250");
  row("windows-1251 declared", declared("windows-1251", "\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n"),
      "windows-1251");
  row("KOI8-R declared", declared("KOI8-R", "\n\xF0\xD2\xC9\xD7\xC5\xD4\n"), "KOI8-R");
  row("Shift_JIS declared", declared("Shift_JIS", "\r\n\x93\xFA\x96\x7B\x8C\xEA\r\n\x82\xA0"),
      "Shift_JIS");
  row("windows-1252 bytes", QByteArray("N\xE6rme \x93q\x94\r\n"), "windows-1252");
  row(
      "every byte but breaks",
      [] {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
          if (b != '\r' && b != '\n')
            all.append(char(b));
        return all;
      }(),
      "windows-1252");
  row("invalid UTF-8 beside valid", QByteArray("\xC3\xA9 \xC3(\r\n"), "windows-1252");
  row("NULs", QByteArray("a\0\0b\r\n\0", 7), "UTF-8");
  row("LF", QByteArray("<wml>\n</wml>\n"), "UTF-8");
  row("CR LF", QByteArray("<wml>\r\n</wml>\r\n"), "UTF-8");
  row("no final break", QByteArray("<wml>\r\n</wml>"), "UTF-8");
  row("empty", QByteArray(), "UTF-8");
  row("mixed breaks", QByteArray("a\nb\r\nc\rd\n\re"), "UTF-8");
  row("mixed breaks in windows-1252", QByteArray("\xE9\r\xE9\n"), "windows-1252");
  row("mixed breaks in UTF-16",
      QByteArray("\xFF\xFE"
                 "a\0\r\0b\0\n\0",
                 10),
      "UTF-16 LE");
  row("U+2029 kept as bytes", QByteArray("a\xE2\x80\xA9\r\n"), "windows-1252");
}

void TextEncoderTest::roundTrip() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, encoding);
  const DecodedFile file = decodeFile(bytes);
  QCOMPARE(file.encoding.displayName(), encoding);
  // Every break in the editor's text is CR LF, whatever the file held.
  QCOMPARE(file.text.count(QLatin1Char('\r')), file.text.count(QStringLiteral("\r\n")));
  QCOMPARE(file.text.count(QLatin1Char('\n')), file.text.count(QStringLiteral("\r\n")));
  const QByteArray expected = expectedSave(bytes, file);
  QCOMPARE(savedUnedited(file), expected);
  if (file.mixedLineBreaks)
    QVERIFY(expected != bytes);
}

void TextEncoderTest::randomFilesRoundTrip_data() {
  QTest::addColumn<quint32>("seed");
  for (quint32 seed = 1; seed <= 8; ++seed)
    QTest::addRow("seed %u", seed) << seed;
}

// Files of random bytes, some shaped like the kinds above, survive open and
// an unedited save.
void TextEncoderTest::randomFilesRoundTrip() {
  QFETCH(quint32, seed);
  QRandomGenerator random(seed);
  const QList<QByteArray> starts{
      {},
      QByteArray("\xEF\xBB\xBF"),
      QByteArray("\xFF\xFE"),
      QByteArray("\xFE\xFF"),
      QByteArray("\xFF\xFE\0\0", 4),
      QByteArray("<\0?\0", 4),
      QByteArray("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>"),
      QByteArray("<?xml version=\"1.0\" encoding=\"KOI8-R\"?>"),
      QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>"),
      QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"),
      QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>"),
  };
  // Bytes drawn from a small alphabet hit the breaks, NULs and valid
  // multi-byte sequences far more often than uniform bytes would.
  const QByteArray alphabet("\r\n\0a<\xC3\xA9\xE2\x80\xA9\x93\xFA\xFF\xFE\xD8", 16);
  for (int file = 0; file < 400; ++file) {
    QByteArray bytes = starts[random.bounded(int(starts.size()))];
    const int length = random.bounded(40);
    const bool uniform = random.bounded(2) == 0;
    for (int i = 0; i < length; ++i)
      bytes.append(uniform ? char(random.bounded(256))
                           : alphabet[random.bounded(int(alphabet.size()))]);
    const DecodedFile decoded = decodeFile(bytes);
    const QByteArray saved = savedUnedited(decoded);
    const QByteArray expected = expectedSave(bytes, decoded);
    if (saved != expected)
      QFAIL(qPrintable(QStringLiteral("file %1 (%2) as %3 saved as %4")
                           .arg(file)
                           .arg(QString::fromLatin1(bytes.toHex(' ')))
                           .arg(decoded.encoding.displayName())
                           .arg(QString::fromLatin1(saved.toHex(' ')))));
    // Reading the saved file again gives the same text in the same encoding
    // (breaks that were changed may change how the bytes read).
    if (decoded.mixedLineBreaks)
      continue;
    const DecodedFile again = decodeFile(saved);
    QCOMPARE(again.text, decoded.text);
    QVERIFY(again.encoding == decoded.encoding);
  }
}

void TextEncoderTest::unencodable_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<FileEncoding>("encoding");
  QTest::addColumn<int>("count");
  QTest::addColumn<QString>("first");
  const FileEncoding latin1 = FileEncoding::of(Kind::Latin1);
  QTest::newRow("UTF-8 holds all") << u"€ő😀"_qs << FileEncoding::utf8() << 0 << QString();
  QTest::newRow("UTF-16 holds all")
      << u"€ő😀"_qs << FileEncoding::of(Kind::Utf16Le, true) << 0 << QString();
  QTest::newRow("Latin-1: euro") << u"Nærme €"_qs << latin1 << 1 << u"€"_qs;
  QTest::newRow("windows-1252: euro fits, ő not")
      << u"€ő"_qs << FileEncoding::windows1252() << 1 << u"ő"_qs;
  QTest::newRow("windows-1252: other C1 controls")
      << u"\u0080\u0081"_qs << FileEncoding::windows1252() << 1 << u"\u0080"_qs;
  QTest::newRow("surrogate pair is one") << u"a😀b"_qs << latin1 << 1 << u"😀"_qs;
  QTest::newRow("first five of seven")
      << u"ĀāĂăĄąĆ"_qs << FileEncoding::converter("KOI8-R") << 7 << u"Ā, ā, Ă, ă, Ą"_qs;
  QTest::newRow("Shift_JIS: é") << u"日本é"_qs << FileEncoding::converter("Shift_JIS") << 1
                                << u"é"_qs;
}

void TextEncoderTest::unencodable() {
  QFETCH(QString, text);
  QFETCH(FileEncoding, encoding);
  QFETCH(int, count);
  QFETCH(QString, first);
  const UnencodableCharacters found = findUnencodable(text, encoding);
  QCOMPARE(found.count, count);
  QCOMPARE(found.firstAsText(), first);
}

void TextEncoderTest::characterReferences_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QByteArray>("saved");
  QTest::newRow("euro in ISO-8859-2") << declared("ISO-8859-2", "\r\nN\xB1rme\r\n") << u"€"_qs
                                      << declared("ISO-8859-2", "\r\nN\xB1rme\r\n&#8364;");
  QTest::newRow("ő in windows-1252 bytes, the rest kept")
      << QByteArray("N\xE6rme \x93\x81\r\n") << u"ő"_qs
      << QByteArray("N\xE6rme \x93\x81\r\n&#337;");
  QTest::newRow("emoji in KOI8-R")
      << declared("KOI8-R", "\n\xF0\n") << u"😀x"_qs << declared("KOI8-R", "\n\xF0\n&#128512;x");
  QTest::newRow("é in Shift_JIS") << declared("Shift_JIS", "\r\n\x93\xFA\r\n") << u"é日"_qs
                                  << declared("Shift_JIS", "\r\n\x93\xFA\r\n&#233;\x93\xFA");
}

void TextEncoderTest::characterReferences() {
  QFETCH(QByteArray, file);
  QFETCH(QString, typed);
  QFETCH(QByteArray, saved);
  const DecodedFile decoded = decodeFile(file);
  UnencodableCharacters found;
  const QByteArray bytes = encodeText(decoded.text + typed, decoded.encoding, decoded.lineBreaks,
                                      Unencodable::CharacterReference, &found);
  QCOMPARE(bytes, saved);
  QVERIFY(found.count > 0);
}

void TextEncoderTest::lineBreakStyle_data() {
  QTest::addColumn<LineBreakStyle>("style");
  QTest::addColumn<FileEncoding>("encoding");
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("CR LF") << LineBreakStyle::CrLf << FileEncoding::utf8()
                         << QByteArray("a\r\nb\r\n");
  QTest::newRow("LF") << LineBreakStyle::Lf << FileEncoding::utf8() << QByteArray("a\nb\n");
  QTest::newRow("LF, UTF-16 BE") << LineBreakStyle::Lf << FileEncoding::of(Kind::Utf16Be, true)
                                 << QByteArray("\xFE\xFF\0a\0\n\0b\0\n", 10);
}

void TextEncoderTest::lineBreakStyle() {
  QFETCH(LineBreakStyle, style);
  QFETCH(FileEncoding, encoding);
  QFETCH(QByteArray, bytes);
  // The editor's text has CR LF breaks; a snapshot's have LF alone.
  QCOMPARE(encodeText(u"a\r\nb\r\n", encoding, style), bytes);
  QCOMPARE(encodeText(u"a\nb\n", encoding, style), bytes);
}

// A document written line by line, as a large save does, gives the same
// bytes as the whole text at once.
void TextEncoderTest::piecesEqualWhole() {
  const QString text = u"<?xml?>\r\nПривет ő €\r\n日本 😀\r\n\r\nend"_qs;
  for (const FileEncoding& encoding : FileEncoding::offered()) {
    TextEncoder encoder(encoding, LineBreakStyle::Lf, Unencodable::CharacterReference);
    QVERIFY(encoder.isValid());
    QByteArray pieces;
    encoder.start(pieces);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
      if (i > 0)
        encoder.appendLineBreak(pieces);
      encoder.append(lines[i], pieces);
    }
    encoder.finish(pieces);
    const QByteArray whole =
        encodeText(text, encoding, LineBreakStyle::Lf, Unencodable::CharacterReference);
    QCOMPARE(pieces, whole);
    // One UTF-16 unit at a time: a surrogate pair split between two pieces
    // is still one character (one reference where it cannot be held).
    TextEncoder unitByUnit(encoding, LineBreakStyle::Lf, Unencodable::CharacterReference);
    QByteArray units;
    unitByUnit.start(units);
    for (qsizetype i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r')
        continue;
      if (text[i] == u'\n')
        unitByUnit.appendLineBreak(units);
      else
        unitByUnit.append(QStringView(text).sliced(i, 1), units);
    }
    unitByUnit.finish(units);
    QCOMPARE(units, whole);
  }
}

QTEST_MAIN(TextEncoderTest)
#include "tst_textencoder.moc"
