#include "document/DocumentPieces.h"
#include "document/DocumentWriter.h"
#include "document/PieceEncoder.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using tessera::FileEncoding;
using tessera::LineBreakStyle;
using tessera::SourceEditor;
using tessera::TextEncoder;
using tessera::TextEncoding;

Q_DECLARE_METATYPE(tessera::FileEncoding)
Q_DECLARE_METATYPE(tessera::LineBreakStyle)

class DocumentWriterTest : public QObject {
  Q_OBJECT

private slots:
  void writesWhatTheWholeTextEncodesTo_data();
  void writesWhatTheWholeTextEncodesTo();
  void reportsAFailingDevice_data();
  void reportsAFailingDevice();
  void largeEditedDocumentWritesWhatItHolds();
  void editedDocumentsWriteWhatTheyHold_data();
  void editedDocumentsWriteWhatTheyHold();
  void surrogatePairSplitBetweenPieces();
  void stopsWhenTheVisitorStops();
  void encodesOnlyTheTextWhenReadingPastIt_data();
  void encodesOnlyTheTextWhenReadingPastIt();
};

namespace {
QByteArray written(const QTextDocument& document, const FileEncoding& encoding,
                   LineBreakStyle breaks = LineBreakStyle::CrLf,
                   TextEncoder::Unencodable unencodable = TextEncoder::Unencodable::Count) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!tessera::writeDocument(document, encoding, breaks, buffer, unencodable))
    return QByteArrayLiteral("<failed>");
  return buffer.data();
}

// What the text encoder writes for the whole text at once: the pieces must
// come to the same bytes.
QByteArray expectedBytes(const QString& text, const FileEncoding& encoding,
                         LineBreakStyle breaks = LineBreakStyle::CrLf,
                         TextEncoder::Unencodable unencodable = TextEncoder::Unencodable::Count) {
  return tessera::encodeText(text, encoding, breaks, unencodable);
}

const FileEncoding kUtf8 = FileEncoding::utf8();
const FileEncoding kLatin1 = FileEncoding::of(FileEncoding::Kind::Latin1);

// Takes the first `room` bytes, then fails every write.
class FillingDevice : public QIODevice {
public:
  explicit FillingDevice(qint64 room) : room_(room) { open(QIODevice::WriteOnly); }
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char*, qint64 size) override {
    if (size > room_)
      return -1;
    room_ -= size;
    return size;
  }

private:
  qint64 room_;
};

// Large enough to be written from a second thread.
QString largeText() {
  QString text;
  for (int i = 0; i < 60000; ++i)
    text += QStringLiteral("<p>line %1 caf\u00e9 \U0001F600 with some plain words</p>\r\n").arg(i);
  return text;
}

template <typename Document>
QString joinedPieces(const Document& document,
                     tessera::LineBreaks breaks = tessera::LineBreaks::Separator) {
  QString joined;
  tessera::forEachTextPiece(
      document,
      [&](QStringView piece, const QChar* readable) {
        if (readable < piece.data() + piece.size())
          joined += QStringLiteral("<past the readable end>");
        joined += piece;
        return true;
      },
      breaks);
  return joined;
}
} // namespace

void DocumentWriterTest::writesWhatTheWholeTextEncodesTo_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<FileEncoding>("encoding");
  QTest::addColumn<LineBreakStyle>("breaks");
  QTest::addColumn<int>("unencodable"); // characters the encoding cannot hold
  const QString longLine = QString(300000, QLatin1Char('w')) + QStringLiteral("\u00e9");
  QString manyLines;
  for (int i = 0; i < 40000; ++i)
    manyLines += QStringLiteral("<p>line %1 \u00e1rv\u00edzt\u0171r\u0151</p>\r\n").arg(i);
  const auto crLf = LineBreakStyle::CrLf;
  const auto lf = LineBreakStyle::Lf;
  QTest::newRow("empty") << QString() << kUtf8 << crLf << 0;
  QTest::newRow("one line") << QStringLiteral("<wml/>") << kUtf8 << crLf << 0;
  QTest::newRow("final break") << QStringLiteral("a\r\nb\r\n") << kUtf8 << crLf << 0;
  QTest::newRow("only breaks") << QStringLiteral("\r\n\r\n") << kUtf8 << crLf << 0;
  QTest::newRow("non-Latin") << QStringLiteral("\u65e5\u672c\r\n\u0151") << kUtf8 << crLf << 0;
  QTest::newRow("Latin-1 kept") << QStringLiteral("caf\u00e9\r\n\u00ff") << kLatin1 << crLf << 0;
  QTest::newRow("Latin-1 gained \u0151")
      << QStringLiteral("caf\u00e9\r\n\u0151") << kLatin1 << crLf << 1;
  QTest::newRow("NUL kept") << QStringLiteral("a") + QChar(0) + QStringLiteral("b\r\nc") << kLatin1
                            << crLf << 0;
  QTest::newRow("line longer than the buffer")
      << QStringLiteral("x\r\n") + longLine + "\r\ny" << kUtf8 << crLf << 0;
  QTest::newRow("lines filling the buffer many times") << manyLines << kUtf8 << crLf << 0;
  QTest::newRow("surrogate pair") << QStringLiteral("a\U0001F600b\r\n\U0001F600") << kUtf8 << crLf
                                  << 0;
  QTest::newRow("lone surrogates") << QStringLiteral("x") + QChar(0xD800) +
                                          QStringLiteral("y\r\n") + QChar(0xDC00) + QChar(0xD83D)
                                   << kUtf8 << crLf << 0;
  QTest::newRow("high surrogate ending a line")
      << QStringLiteral("a") + QChar(0xD83D) + QStringLiteral("\r\nb") << kUtf8 << crLf << 0;
  QTest::newRow("no-break space and line separator")
      << QStringLiteral("a\u00a0b\u2028c") << kUtf8 << crLf << 0;
  QTest::newRow("Latin-1 with a surrogate pair")
      << QStringLiteral("\u00e9\U0001F600") << kLatin1 << crLf << 1;
  // The file's own encodings and line-break styles.
  QTest::newRow("UTF-8, LF") << QStringLiteral("a\r\n\u00e9\r\n") << kUtf8 << lf << 0;
  QTest::newRow("UTF-8 with mark") << QStringLiteral("\u00e9\r\nb")
                                   << FileEncoding::of(FileEncoding::Kind::Utf8, true) << crLf << 0;
  QTest::newRow("UTF-8 with mark, LF, many lines")
      << manyLines << FileEncoding::of(FileEncoding::Kind::Utf8, true) << lf << 0;
  QTest::newRow("UTF-16 LE with mark, LF")
      << QStringLiteral("<p>\u20ac\U0001F600</p>\r\n")
      << FileEncoding::of(FileEncoding::Kind::Utf16Le, true) << lf << 0;
  QTest::newRow("windows-1252, many lines")
      << manyLines << FileEncoding::windows1252() << crLf << 80000;
  QTest::newRow("windows-1251, LF") << QStringLiteral("\u041f\u0440\u0438\r\n\u20ac\r\n")
                                    << FileEncoding::converter("windows-1251") << lf << 0;
  QTest::newRow("Shift_JIS, a character it lacks")
      << QStringLiteral("\u65e5\u672c\r\n\u0151") << FileEncoding::converter("Shift_JIS") << crLf
      << 1;
}

void DocumentWriterTest::writesWhatTheWholeTextEncodesTo() {
  QFETCH(QString, text);
  QFETCH(FileEncoding, encoding);
  QFETCH(LineBreakStyle, breaks);
  QFETCH(int, unencodable);
  SourceEditor editor;
  editor.textDocument().replaceWholeText(text);
  const QTextDocument& document = *editor.document();
  // Read out with CR LF breaks, the pieces join to the text as loaded.
  QString joined;
  tessera::forEachTextPiece(
      document,
      [&](QStringView piece, const QChar*) {
        joined += piece;
        return true;
      },
      tessera::LineBreaks::CrLf);
  QCOMPARE(joined, text);
  QCOMPARE(tessera::findUnencodable(document, encoding).count, unencodable);
  // Either way of writing what the encoding cannot hold, the pieces come to
  // what the whole text does.
  for (const auto policy :
       {TextEncoder::Unencodable::Count, TextEncoder::Unencodable::CharacterReference}) {
    const QByteArray bytes = written(document, encoding, breaks, policy);
    const QByteArray expected =
        expectedBytes(editor.textDocument().wholeText(), encoding, breaks, policy);
    QCOMPARE(bytes.size(), expected.size());
    QVERIFY(bytes == expected);
  }
  // The same from the copy the model holds after a snapshot (breaks as
  // '\n', read back as separators or CR LF): not one byte differs.
  const tessera::TextDocument& model = editor.textDocument();
  model.snapshot();
  QVERIFY(!model.heldText().isNull());
  QCOMPARE(joinedPieces(model, tessera::LineBreaks::CrLf), text);
  QCOMPARE(joinedPieces(model), document.toRawText());
  QCOMPARE(tessera::findUnencodable(model, encoding).count, unencodable);
  for (const auto policy :
       {TextEncoder::Unencodable::Count, TextEncoder::Unencodable::CharacterReference}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(tessera::writeDocument(model, encoding, breaks, buffer, policy));
    QVERIFY(buffer.data() == written(document, encoding, breaks, policy));
  }
}

void DocumentWriterTest::reportsAFailingDevice_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<qint64>("room");
  QTest::addColumn<FileEncoding>("encoding");
  QTest::newRow("small, device never opened")
      << QStringLiteral("some text\r\nmore") << qint64(-1) << kUtf8;
  const QString large = largeText();
  QTest::newRow("large, device never opened") << large << qint64(-1) << kUtf8;
  QTest::newRow("large, device full after a megabyte") << large << (qint64(1) << 20) << kUtf8;
  QTest::newRow("large, device full before the tail") << large << qint64(large.size()) << kUtf8;
  // Every encoding but UTF-8 is written through the text encoder.
  QTest::newRow("UTF-16, device never opened") << QStringLiteral("some text\r\nmore") << qint64(-1)
                                               << FileEncoding::of(FileEncoding::Kind::Utf16Le);
  QTest::newRow("UTF-16, device full after a megabyte")
      << large << (qint64(1) << 20) << FileEncoding::of(FileEncoding::Kind::Utf16Le);
  QTest::newRow("windows-1252, device full half way")
      << large << qint64(large.size() / 2) << FileEncoding::windows1252();
}

void DocumentWriterTest::reportsAFailingDevice() {
  QFETCH(QString, text);
  QFETCH(qint64, room);
  QFETCH(FileEncoding, encoding);
  SourceEditor editor;
  editor.textDocument().replaceWholeText(text);
  QBuffer closed; // never opened: every write fails
  FillingDevice filling(room);
  QIODevice& device = room < 0 ? static_cast<QIODevice&>(closed) : filling;
  QVERIFY(!tessera::writeDocument(*editor.document(), encoding, LineBreakStyle::CrLf, device));
}

// A large document is written from a second thread; edits leave its lines
// in pieces whose line breaks are not where the loaded text had them.
void DocumentWriterTest::largeEditedDocumentWritesWhatItHolds() {
  SourceEditor editor;
  editor.textDocument().replaceWholeText(largeText());
  QTextDocument& document = *editor.document();
  QTextCursor cursor(&document);
  QRandomGenerator random(7);
  for (int step = 0; step < 300; ++step) {
    cursor.setPosition(int(random.bounded(document.characterCount() - 1)));
    if (step % 3 == 0) {
      cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, 5);
      cursor.removeSelectedText(); // joins lines now and then
    } else {
      cursor.insertText(step % 2 ? QStringLiteral("\n\u0151") : QStringLiteral("x\r\ny"));
    }
  }
  const QByteArray expected = expectedBytes(editor.textDocument().wholeText(), kUtf8);
  QCOMPARE(written(document, kUtf8), expected);
  // From the model's copy, many pieces long, in both line-break styles.
  const tessera::TextDocument& model = editor.textDocument();
  model.snapshot();
  for (const LineBreakStyle breaks : {LineBreakStyle::CrLf, LineBreakStyle::Lf}) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(tessera::writeDocument(model, kUtf8, breaks, buffer));
    QVERIFY(buffer.data() == expectedBytes(editor.textDocument().wholeText(), kUtf8, breaks));
  }
}

// Edits leave the document's characters in many pieces, out of order in its
// buffer, with removed text still kept for undo: what is written must still
// be exactly the text the editor shows.
void DocumentWriterTest::editedDocumentsWriteWhatTheyHold_data() {
  QTest::addColumn<quint32>("seed");
  QTest::addColumn<FileEncoding>("encoding");
  QTest::addColumn<LineBreakStyle>("breaks");
  const FileEncoding encodings[] = {kUtf8, kLatin1, FileEncoding::converter("windows-1251")};
  for (quint32 seed = 1; seed <= 6; ++seed)
    QTest::addRow("seed %u", seed)
        << seed << encodings[seed % 3] << (seed % 2 ? LineBreakStyle::CrLf : LineBreakStyle::Lf);
}

void DocumentWriterTest::editedDocumentsWriteWhatTheyHold() {
  QFETCH(quint32, seed);
  QFETCH(FileEncoding, encoding);
  QFETCH(LineBreakStyle, breaks);
  const QString pieces[] = {QStringLiteral("<p>"),        QStringLiteral("\n"),
                            QStringLiteral("caf\u00e9 "), QStringLiteral("plain ascii text "),
                            QStringLiteral("\n\n"),       QStringLiteral("\u0151\U0001F600")};
  const int kinds = 6;
  QRandomGenerator random(seed);
  SourceEditor editor;
  editor.textDocument().replaceWholeText(
      QStringLiteral("<wml>\r\n<card>\r\n</card>\r\n</wml>\r\n"));
  QTextDocument& document = *editor.document();
  QTextCursor cursor(&document);
  for (int step = 0; step < 400; ++step) {
    const int length = document.characterCount() - 1;
    const int at = int(random.bounded(length + 1));
    cursor.setPosition(at);
    switch (random.bounded(5)) {
    case 0:
    case 1:
    case 2: cursor.insertText(pieces[random.bounded(kinds)]); break;
    case 3:
      cursor.setPosition(std::min(length, at + int(random.bounded(12))), QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
      break;
    default:
      if (random.bounded(2))
        document.undo();
      else
        document.redo();
    }
    if (step % 50 == 49) {
      QCOMPARE(joinedPieces(document), document.toRawText());
      const QString text = editor.textDocument().wholeText();
      QCOMPARE(joinedPieces(document, tessera::LineBreaks::CrLf), text);
      const tessera::UnencodableCharacters found = tessera::findUnencodable(document, encoding);
      QCOMPARE(found.count, tessera::findUnencodable(text, encoding).count);
      const auto references = TextEncoder::Unencodable::CharacterReference;
      QCOMPARE(written(document, encoding, breaks, references),
               expectedBytes(text, encoding, breaks, references));
    }
  }
}

void DocumentWriterTest::surrogatePairSplitBetweenPieces() {
  SourceEditor editor;
  QTextDocument& document = *editor.document();
  QTextCursor cursor(&document);
  cursor.insertText(QStringLiteral("a") + QChar(0xD83D));
  cursor.setPosition(0);
  cursor.insertText(QStringLiteral("x")); // the high half now ends a piece of its own
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(QString(QChar(0xDE00)) + QStringLiteral("b"));
  QCOMPARE(written(document, kUtf8), QByteArray("xa\xF0\x9F\x98\x80"
                                                "b"));
  // Through the text encoder: still one character, one reference.
  QCOMPARE(written(document, kLatin1, LineBreakStyle::CrLf,
                   TextEncoder::Unencodable::CharacterReference),
           QByteArray("xa&#128512;b"));
  QCOMPARE(written(document, FileEncoding::of(FileEncoding::Kind::Utf16Be)),
           QByteArray("\0x\0a\xD8\x3D\xDE\0\0b", 10));
  // A high half at the very end has no partner: written as the toolkit would.
  cursor.insertText(QString(QChar(0xD83D)));
  QCOMPARE(written(document, kUtf8), editor.textDocument().wholeText().toUtf8());
}

void DocumentWriterTest::stopsWhenTheVisitorStops() {
  SourceEditor editor;
  QTextDocument& document = *editor.document();
  QTextCursor cursor(&document);
  cursor.insertText(QStringLiteral("one"));
  cursor.setPosition(0);
  cursor.insertText(QStringLiteral("two")); // two pieces, "two" after "one" in the buffer
  int visits = 0;
  QVERIFY(!tessera::forEachTextPiece(document,
                                     [&](QStringView, const QChar*) { return ++visits > 1; }));
  QCOMPARE(visits, 1);
  SourceEditor empty;
  QVERIFY(tessera::forEachTextPiece(*empty.document(),
                                    [](QStringView, const QChar*) { return false; }));
}

// The encoder may read past a short text to take sixteen characters at a
// time; what follows the text must never reach the output.
void DocumentWriterTest::encodesOnlyTheTextWhenReadingPastIt_data() {
  QTest::addColumn<QString>("buffer");
  QTest::addColumn<int>("from");
  QTest::addColumn<int>("length");
  QTest::addColumn<QByteArray>("expected");
  QTest::addColumn<LineBreakStyle>("breaks");
  const QString tail = QStringLiteral("\u0151\u2029xyz0123456789abcdefghij");
  QTest::newRow("ASCII followed by non-ASCII")
      << QStringLiteral("ab") + tail << 0 << 2 << QByteArray("ab") << LineBreakStyle::CrLf;
  QTest::newRow("ends on a break") << QStringLiteral("ab\u2029") + tail << 0 << 3
                                   << QByteArray("ab\r\n") << LineBreakStyle::CrLf;
  QTest::newRow("ends on a break, LF")
      << QStringLiteral("ab\u2029") + tail << 0 << 3 << QByteArray("ab\n") << LineBreakStyle::Lf;
  QTest::newRow("breaks among sixteen, LF")
      << QStringLiteral("0123\u20294567\u202989abcdefgh") + tail << 0 << 20
      << QByteArray("0123\n4567\n89abcdefgh") << LineBreakStyle::Lf;
  QTest::newRow("sixteen ASCII then more")
      << QStringLiteral("0123456789abcdefXYZ") + tail << 0 << 16 << QByteArray("0123456789abcdef")
      << LineBreakStyle::CrLf;
  QTest::newRow("in the middle") << QStringLiteral("0123456789abcdefghijklmnop") + tail << 3 << 20
                                 << QByteArray("3456789abcdefghijklm") << LineBreakStyle::CrLf;
  QTest::newRow("empty") << tail << 0 << 0 << QByteArray() << LineBreakStyle::CrLf;
}

void DocumentWriterTest::encodesOnlyTheTextWhenReadingPastIt() {
  QFETCH(QString, buffer);
  QFETCH(int, from);
  QFETCH(int, length);
  QFETCH(QByteArray, expected);
  QFETCH(LineBreakStyle, breaks);
  QByteArray out(tessera::PieceEncoder::maxBytes(length), '\0');
  tessera::PieceEncoder encoder(TextEncoding::Utf8, breaks);
  char* end = encoder.encode(QStringView(buffer).sliced(from, length), out.data(),
                             buffer.constData() + buffer.size());
  end = encoder.finish(end);
  QCOMPARE(QByteArray(out.data(), end - out.data()), expected);
}

QTEST_MAIN(DocumentWriterTest)
#include "tst_documentwriter.moc"
