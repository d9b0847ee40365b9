#include "document/DocumentWriter.h"
#include "editor/SourceEditor.h"

#include <QBuffer>
#include <QTest>

using tessera::SourceEditor;
using tessera::TextEncoding;

Q_DECLARE_METATYPE(tessera::TextEncoding)

class DocumentWriterTest : public QObject {
  Q_OBJECT

private slots:
  void writesWhatTheWholeTextEncodesTo_data();
  void writesWhatTheWholeTextEncodesTo();
  void reportsAFailingDevice();
};

void DocumentWriterTest::writesWhatTheWholeTextEncodesTo_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<TextEncoding>("loaded");
  QTest::addColumn<TextEncoding>("written");
  const QString longLine = QString(300000, QLatin1Char('w')) + QStringLiteral("\u00e9");
  QString manyLines;
  for (int i = 0; i < 40000; ++i)
    manyLines += QStringLiteral("<p>line %1 \u00e1rv\u00edzt\u0171r\u0151</p>\r\n").arg(i);
  const auto utf8 = TextEncoding::Utf8;
  const auto latin1 = TextEncoding::Latin1;
  QTest::newRow("empty") << QString() << utf8 << utf8;
  QTest::newRow("one line") << QStringLiteral("<wml/>") << utf8 << utf8;
  QTest::newRow("final break") << QStringLiteral("a\r\nb\r\n") << utf8 << utf8;
  QTest::newRow("only breaks") << QStringLiteral("\r\n\r\n") << utf8 << utf8;
  QTest::newRow("non-Latin") << QStringLiteral("\u65e5\u672c\r\n\u0151") << utf8 << utf8;
  QTest::newRow("Latin-1 kept") << QStringLiteral("caf\u00e9\r\n\u00ff") << latin1 << latin1;
  QTest::newRow("Latin-1 gained \u0151") << QStringLiteral("caf\u00e9\r\n\u0151") << latin1 << utf8;
  QTest::newRow("NUL kept") << QStringLiteral("a") + QChar(0) + QStringLiteral("b\r\nc") << latin1
                            << latin1;
  QTest::newRow("line longer than the buffer")
      << QStringLiteral("x\r\n") + longLine + "\r\ny" << utf8 << utf8;
  QTest::newRow("lines filling the buffer many times") << manyLines << utf8 << utf8;
}

void DocumentWriterTest::writesWhatTheWholeTextEncodesTo() {
  QFETCH(QString, text);
  QFETCH(TextEncoding, loaded);
  QFETCH(TextEncoding, written);
  SourceEditor editor;
  editor.replaceWholeText(text);
  const QTextDocument& document = *editor.document();
  QCOMPARE(tessera::encodingToWrite(document, loaded), written);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  QVERIFY(tessera::writeDocument(document, written, buffer));
  const QByteArray expected = tessera::encodeDocument(editor.wholeText(), loaded);
  QCOMPARE(buffer.data().size(), expected.size());
  QVERIFY(buffer.data() == expected);
}

void DocumentWriterTest::reportsAFailingDevice() {
  SourceEditor editor;
  editor.replaceWholeText(QStringLiteral("some text\r\nmore"));
  QBuffer closed; // never opened: every write fails
  QVERIFY(!tessera::writeDocument(*editor.document(), TextEncoding::Utf8, closed));
}

QTEST_MAIN(DocumentWriterTest)
#include "tst_documentwriter.moc"
