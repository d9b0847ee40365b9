#include "document/EncodingDetection.h"
#include "editor/FileEncoding.h"

#include <QTest>

using namespace tessera;
using Fallback = DecodedFile::Fallback;

Q_DECLARE_METATYPE(tessera::LineBreakStyle)
Q_DECLARE_METATYPE(tessera::DecodedFile::Fallback)

namespace {
QByteArray declared(const char* charset, const QByteArray& body) {
  return QByteArray("<?xml version=\"1.0\" encoding=\"") + charset + "\"?>" + body;
}
QString declaredText(const char* charset, const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>").arg(QLatin1String(charset)) +
         body;
}
} // namespace

class EncodingDetectionTest : public QObject {
  Q_OBJECT
private slots:
  void decode_data();
  void decode();
  void lineBreaks_data();
  void lineBreaks();
  void sourceText_data();
  void sourceText();
  void notice_data();
  void notice();
  void reopenAs_data();
  void reopenAs();
};

void EncodingDetectionTest::decode_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("encoding");
  QTest::addColumn<bool>("byteOrderMark");
  QTest::addColumn<Fallback>("fallback");

  const auto row = [](const char* name, const QByteArray& bytes, const QString& text,
                      const char* encoding, bool mark = false, Fallback why = Fallback::None) {
    QTest::newRow(name) << bytes << text << QString::fromLatin1(encoding) << mark << why;
  };
  row("empty", {}, {}, "UTF-8");
  row("UTF-8 mark", QByteArray("\xEF\xBB\xBF\xC3\xA9\n"), "é\r\n", "UTF-8", true);
  row("second mark is text", QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx"), u"\uFEFFx"_qs, "UTF-8", true);
  row("UTF-16 LE mark",
      QByteArray("\xFF\xFE"
                 "a\0\r\0\n\0",
                 8),
      "a\r\n", "UTF-16 LE", true);
  row("UTF-16 BE mark", QByteArray("\xFE\xFF\0a\0\n\x20\xAC", 8), u"a\r\n€"_qs, "UTF-16 BE", true);
  row("UTF-32 LE mark",
      QByteArray("\xFF\xFE\0\0"
                 "a\0\0\0",
                 8),
      "a", "UTF-32 LE", true);
  row("UTF-32 BE mark", QByteArray("\0\0\xFE\xFF\0\x01\xF6\x00", 8), u"\U0001F600"_qs, "UTF-32 BE",
      true);
  row("UTF-16 LE mark, then a NUL character",
      QByteArray("\xFF\xFE\0\0"
                 "a\0",
                 6),
      u"\0a"_qs, "UTF-16 LE", true);
  row("UTF-16 LE without a mark", QByteArray("<\0?\0x\0", 6), "<?x", "UTF-16 LE");
  row("UTF-16 BE without a mark", QByteArray("\0<\0?\0x", 6), "<?x", "UTF-16 BE");
  row("ISO-8859-1 declared with bytes 0x80-0x9F reads as windows-1252",
      declared("ISO-8859-1", "\x93q\x94 \x80 \xE6"), declaredText("ISO-8859-1", u"“q” € æ"_qs),
      "windows-1252 (declared ISO-8859-1)", false, Fallback::Windows1252Bytes);
  row("ISO-8859-1 declared, its own bytes only", declared("ISO-8859-1", "\xA0\xE6\xFF\x7F"),
      declaredText("ISO-8859-1", u"\u00A0æÿ\u007F"_qs), "ISO-8859-1");
  row("latin1 alias, one byte 0x9F", declared("latin1", "\xE9\x9F"),
      declaredText("latin1", u"éŸ"_qs), "windows-1252 (declared ISO-8859-1)", false,
      Fallback::Windows1252Bytes);
  row("windows-1252 declared is no fallback", declared("windows-1252", "\x80"),
      declaredText("windows-1252", u"€"_qs), "windows-1252");
  row("ISO-8859-2 declared", declared("iso-8859-2", "\xB1\xE6"),
      declaredText("iso-8859-2", u"ąć"_qs), "ISO-8859-2");
  row("windows-1251 declared", declared("windows-1251", "\xCF\xF0\xE8"),
      declaredText("windows-1251", u"При"_qs), "windows-1251");
  row("KOI8-R declared", declared("KOI8-R", "\xF0\xD2\xC9"), declaredText("KOI8-R", u"При"_qs),
      "KOI8-R");
  row("Shift_JIS declared", declared("Shift_JIS", "\x93\xFA\x96\x7B"),
      declaredText("Shift_JIS", u"日本"_qs), "Shift_JIS");
  row("UTF-8 declared", declared("utf-8", "\xC3\xA9"), declaredText("utf-8", u"é"_qs), "UTF-8");
  row("valid UTF-8", QByteArray("\xC5\x91 \xE2\x82\xAC"), u"ő €"_qs, "UTF-8");
  row("NULs kept", QByteArray("a\0b\0", 4), u"a\0b\0"_qs, "UTF-8");
  row("invalid UTF-8 falls back", QByteArray("\xC3("), u"Ã("_qs, "windows-1252", false,
      Fallback::InvalidUtf8);
  row("overlong UTF-8 falls back", QByteArray("\xC0\xAF"), u"À¯"_qs, "windows-1252", false,
      Fallback::InvalidUtf8);
  row("UTF-8 surrogate falls back", QByteArray("\xED\xA0\x80"), u"í\u00A0€"_qs, "windows-1252",
      false, Fallback::InvalidUtf8);
  row("unassigned bytes are C1 controls", QByteArray("\x81\x8D\x8F\x90\x9D\xE9"),
      u"\u0081\u008D\u008F\u0090\u009Dé"_qs, "windows-1252", false, Fallback::InvalidUtf8);
  row("UTF-8 declared, not UTF-8", declared("UTF-8", "\xE9"), declaredText("UTF-8", u"é"_qs),
      "windows-1252", false, Fallback::InvalidForDeclared);
  row("Shift_JIS declared, cut-off sequence", declared("Shift_JIS", "\x93"),
      declaredText("Shift_JIS", u"“"_qs), "windows-1252", false, Fallback::InvalidForDeclared);
  row("UTF-16 declared in single bytes", declared("UTF-16", "x"), declaredText("UTF-16", "x"),
      "windows-1252", false, Fallback::InvalidForDeclared);
  row("unknown charset, valid UTF-8", declared("x-no-such-charset", "\xC3\xA9"),
      declaredText("x-no-such-charset", u"é"_qs), "UTF-8", false, Fallback::UnknownDeclaration);
  row("unknown charset, not UTF-8", declared("x-no-such-charset", "\xE9"),
      declaredText("x-no-such-charset", u"é"_qs), "windows-1252", false,
      Fallback::UnknownDeclaration);
  row("UTF-16 mark, odd length",
      QByteArray("\xFF\xFE"
                 "a"),
      u"ÿþa"_qs, "windows-1252", false, Fallback::InvalidForSignature);
  row("UTF-16 mark, lone surrogate",
      QByteArray("\xFF\xFE\x00\xD8"
                 "a\0",
                 6),
      QString::fromLatin1("\xFF\xFE\0\xD8"
                          "a\0",
                          6),
      "windows-1252", false, Fallback::InvalidForSignature);
  row("UTF-8 holding U+2029",
      QByteArray("a\xE2\x80\xA9"
                 "b"),
      u"aâ€©b"_qs, "windows-1252", false, Fallback::ReservedCharacter);
  row("UTF-16 holding U+FDD0", QByteArray("\xFF\xFE\xD0\xFD", 4), u"ÿþÐý"_qs, "windows-1252", false,
      Fallback::ReservedCharacter);
  row("windows-1251 holding U+FDD1 cannot", declared("windows-1251", "\xEF\xB7\x91"),
      declaredText("windows-1251", u"п·‘"_qs), "windows-1251");
}

void EncodingDetectionTest::decode() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QFETCH(QString, encoding);
  QFETCH(bool, byteOrderMark);
  QFETCH(Fallback, fallback);
  const DecodedFile file = decodeFile(bytes);
  QCOMPARE(file.text, text);
  QCOMPARE(file.encoding.shownName(), encoding);
  QCOMPARE(file.encoding.byteOrderMark, byteOrderMark);
  QCOMPARE(file.fallback, fallback);
}

void EncodingDetectionTest::lineBreaks_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::addColumn<LineBreakStyle>("style");
  QTest::addColumn<bool>("mixed");
  QTest::newRow("none") << QByteArray("a") << "a" << LineBreakStyle::CrLf << false;
  QTest::newRow("LF") << QByteArray("a\nb\n") << "a\r\nb\r\n" << LineBreakStyle::Lf << false;
  QTest::newRow("CR LF") << QByteArray("a\r\nb") << "a\r\nb" << LineBreakStyle::CrLf << false;
  QTest::newRow("lone CR") << QByteArray("a\rb") << "a\r\nb" << LineBreakStyle::CrLf << true;
  QTest::newRow("CR at the end") << QByteArray("a\r\nb\r") << "a\r\nb\r\n"
                                 << LineBreakStyle::CrLf << true;
  QTest::newRow("LF and CR LF") << QByteArray("a\nb\r\n") << "a\r\nb\r\n"
                                << LineBreakStyle::CrLf << true;
  QTest::newRow("LF CR is two") << QByteArray("\n\r") << "\r\n\r\n" << LineBreakStyle::CrLf << true;
  QTest::newRow("UTF-16 LF") << QByteArray("\xFF\xFE\n\0\n\0", 6) << "\r\n\r\n"
                             << LineBreakStyle::Lf << false;
}

void EncodingDetectionTest::lineBreaks() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QFETCH(LineBreakStyle, style);
  QFETCH(bool, mixed);
  const DecodedFile file = decodeFile(bytes);
  QCOMPARE(file.text, text);
  QCOMPARE(file.lineBreaks, style);
  QCOMPARE(file.mixedLineBreaks, mixed);
}

// The language tools read a file as the editor would, but keep its line
// breaks and the characters the editor has to fall back for.
void EncodingDetectionTest::sourceText_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("LF kept") << QByteArray("a\nb\n") << "a\nb\n";
  QTest::newRow("lone CR kept") << QByteArray("a\rb\r\nc") << "a\rb\r\nc";
  QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF\xC3\xA9\n") << u"é\n"_qs;
  QTest::newRow("UTF-8 paragraph separator is no fallback")
      << QByteArray("\"\xE2\x80\xA9\"") << u"\"\u2029\""_qs;
  QTest::newRow("declared ISO-8859-1")
      << declared("iso-8859-1", "\xE9") << declaredText("iso-8859-1", u"é"_qs);
  QTest::newRow("invalid UTF-8") << QByteArray("\x80") << u"€"_qs;
}

void EncodingDetectionTest::sourceText() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QCOMPARE(decodeSourceText(bytes), text);
}

void EncodingDetectionTest::notice_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("notice");
  QTest::newRow("UTF-8, nothing to say") << QByteArray("<wml/>\n") << QString();
  QTest::newRow("declared, nothing to say") << declared("KOI8-R", "\xF0") << QString();
  QTest::newRow("not UTF-8")
      << QByteArray("\xE9\r\n")
      << "This file is not valid UTF-8 and does not name its encoding, so it was opened as "
         "windows-1252. Saving writes every byte back as it was.";
  QTest::newRow("not UTF-8, mixed breaks")
      << QByteArray("\xE9\r\n\n")
      << "This file is not valid UTF-8 and does not name its encoding, so it was opened as "
         "windows-1252. Saving writes every byte back as it was, except that its line breaks are "
         "mixed or lone CRs and are written as CR LF.";
  QTest::newRow("mixed breaks alone")
      << QByteArray("a\rb\n")
      << "This file's line breaks are mixed or lone CRs: saving writes each as CR LF.";
  QTest::newRow("declared, not valid")
      << declared("Shift_JIS", "\x93")
      << "This file declares the encoding \"Shift_JIS\" but is not valid Shift_JIS, so it was "
         "opened as windows-1252. Saving writes every byte back as it was.";
  QTest::newRow("unknown charset")
      << declared("x-none", "a")
      << "This file declares the encoding \"x-none\", which this system cannot convert, so it "
         "was opened as UTF-8.";
  QTest::newRow("bad mark")
      << QByteArray("\xFE\xFF"
                    "a")
      << "This file begins like UTF-16 BE but is not valid UTF-16 BE, so it was opened as "
         "windows-1252. Saving writes every byte back as it was.";
  QTest::newRow("declared ISO-8859-1, windows-1252 bytes")
      << declared("ISO-8859-1", "\x80")
      << "This file declares ISO-8859-1 but holds bytes that only windows-1252 gives characters "
         "to (such as € and curly quotes), so it was opened as windows-1252. Saving writes every "
         "byte back as it was.";
  QTest::newRow("declared ISO-8859-1, nothing to say")
      << declared("ISO-8859-1", "\xE9") << QString();
  QTest::newRow("reserved character")
      << QByteArray("\xEF\xB7\x90")
      << "This file holds the character U+FDD0, which the editor would turn into a line break, "
         "so it was opened as windows-1252. Saving writes every byte back as it was.";
}

void EncodingDetectionTest::notice() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, notice);
  QCOMPARE(decodeFile(bytes).notice(), notice);
}

void EncodingDetectionTest::reopenAs_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QByteArray>("chosen");
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("byteOrderMark");
  QTest::addColumn<Fallback>("fallback");
  QTest::newRow("windows-1251 bytes as KOI8-R")
      << QByteArray("\xCF\xF0\xE8") << QByteArray("KOI8-R") << u"оПХ"_qs << false << Fallback::None;
  QTest::newRow("UTF-8 bytes as ISO-8859-1, not windows-1252")
      << QByteArray("\xE2\x80\x99") << QByteArray("ISO-8859-1-proper") << u"â\u0080\u0099"_qs
      << false << Fallback::None;
  QTest::newRow("mark taken as one")
      << QByteArray("\xFF\xFEx\0", 4) << QByteArray("UTF-16LE") << "x" << true << Fallback::None;
  QTest::newRow("not valid in the chosen one") << QByteArray("abc") << QByteArray("UTF-16LE")
                                               << "abc" << false << Fallback::InvalidForChosen;
}

void EncodingDetectionTest::reopenAs() {
  QFETCH(QByteArray, bytes);
  QFETCH(QByteArray, chosen);
  QFETCH(QString, text);
  QFETCH(bool, byteOrderMark);
  QFETCH(Fallback, fallback);
  const FileEncoding encoding = chosen == "ISO-8859-1-proper"
                                    ? FileEncoding::of(FileEncoding::Kind::Latin1)
                                    : FileEncoding::fromLabel(chosen);
  const DecodedFile file = decodeFileAs(bytes, encoding);
  QCOMPARE(file.text, text);
  QCOMPARE(file.encoding.byteOrderMark, byteOrderMark);
  QCOMPARE(file.fallback, fallback);
  if (fallback == Fallback::None)
    QVERIFY(file.encoding.sameCharset(encoding));
}

QTEST_MAIN(EncodingDetectionTest)
#include "tst_encodingdetection.moc"
