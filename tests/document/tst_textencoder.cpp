#include "EncodingCorpus.h"
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

using corpus::declared;
using corpus::expectedSave;

QByteArray savedUnedited(const DecodedFile& file) {
  return encodeText(file.text, file.encoding, file.lineBreaks);
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
  for (const corpus::File& file : corpus::files())
    QTest::newRow(file.name) << file.bytes << file.encoding;
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
  const QList<QByteArray> files = corpus::randomFiles(seed, 400);
  for (int file = 0; file < files.size(); ++file) {
    const QByteArray& bytes = files[file];
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
