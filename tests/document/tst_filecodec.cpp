#include "document/DefaultDocument.h"
#include "document/FileCodec.h"

#include <QTest>

using namespace tessera;

Q_DECLARE_METATYPE(tessera::TextEncoding)

class FileCodecTest : public QObject {
  Q_OBJECT
private slots:
  void decode_data();
  void decode();
  void encodeRoundTrip_data();
  void encodeRoundTrip();
  void defaultDocumentLines();
};

void FileCodecTest::decode_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::addColumn<TextEncoding>("encoding");
  QTest::newRow("empty") << QByteArray() << QString() << TextEncoding::Utf8;
  QTest::newRow("CR LF kept") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n" << TextEncoding::Utf8;
  QTest::newRow("LF only") << QByteArray("a\nb\n") << "a\r\nb\r\n" << TextEncoding::Utf8;
  QTest::newRow("CR only") << QByteArray("a\rb\r") << "a\r\nb\r\n" << TextEncoding::Utf8;
  QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd\n\re") << "a\r\nb\r\nc\r\nd\r\n\r\ne"
                         << TextEncoding::Utf8;
  QTest::newRow("LF CR is two breaks") << QByteArray("\n\r") << "\r\n\r\n" << TextEncoding::Utf8;
  QTest::newRow("NUL kept whole") << QByteArray("ab\0cd\nef", 8)
                                  << QString::fromLatin1("ab\0cd\r\nef", 9) << TextEncoding::Utf8;
  QTest::newRow("UTF-8") << QByteArray("\xc3\xa1rv\xc3\xadz \xe2\x82\xac") << "árvíz €"
                         << TextEncoding::Utf8;
  QTest::newRow("Latin-1") << QByteArray("\xe1rv\xedz\n") << "árvíz\r\n" << TextEncoding::Latin1;
  QTest::newRow("broken UTF-8 is Latin-1") << QByteArray("\xc3(") << "Ã(" << TextEncoding::Latin1;
  QTest::newRow("byte-order mark kept")
      << QByteArray("\xef\xbb\xbfx") << (QString(QChar(0xFEFF)) + QLatin1Char('x'))
      << TextEncoding::Utf8;
}

void FileCodecTest::decode() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QFETCH(TextEncoding, encoding);
  const DecodedText decoded = decodeDocument(bytes);
  QCOMPARE(decoded.text, text);
  QCOMPARE(decoded.encoding, encoding);
}

void FileCodecTest::encodeRoundTrip_data() {
  QTest::addColumn<QByteArray>("bytes");
  // Files that already use CR LF come back byte for byte, whatever their encoding.
  QTest::newRow("ascii") << QByteArray("<wml>\r\n</wml>\r\n");
  QTest::newRow("utf-8") << QByteArray("\xc5\x91\xc5\xb1\r\n");
  QTest::newRow("latin-1") << QByteArray("\xf5\xfb\xff\r\n");
  QTest::newRow("every byte but breaks") << [] {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
      if (b != '\r' && b != '\n')
        all.append(char(b));
    return all;
  }();
  QTest::newRow("nul") << QByteArray("a\0b", 3);
  QTest::newRow("bom") << QByteArray("\xef\xbb\xbf<wml/>\r\n");
}

void FileCodecTest::encodeRoundTrip() {
  QFETCH(QByteArray, bytes);
  const DecodedText decoded = decodeDocument(bytes);
  QCOMPARE(encodeDocument(decoded.text, decoded.encoding), bytes);
}

void FileCodecTest::defaultDocumentLines() {
  const QString doc = defaultDocument();
  QVERIFY(doc.endsWith(QLatin1String("</wml>\r\n")));
  const QStringList lines = doc.split(QStringLiteral("\r\n"));
  QCOMPARE(lines.size(), 13); // 12 lines, each ended by CR LF
  QCOMPARE(lines[0], QStringLiteral("<?xml version=\"1.0\"?>"));
  QVERIFY(lines[1].startsWith(QLatin1String("<!-- Created by WML Tessera 1.0 (http")));
  QVERIFY(lines[1].endsWith(QLatin1String(") -->")));
  QCOMPARE(lines[2], QStringLiteral("<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                                    "\"http://www.wapforum.org/DTD/wml_1.1.xml\">"));
  QCOMPARE(lines.mid(3, 9), (QStringList{"<wml>", "", "<card title=\"Card Title\" id=\"first\">",
                                         "<p align=\"center\">", "Sample text...", "</p>", "",
                                         "</card>", "</wml>"}));
  QVERIFY(doc.startsWith(pageHeader()));
  // A Latin-1 document that gains a character beyond Latin-1 is saved as UTF-8, losing nothing.
  QCOMPARE(encodeDocument(QStringLiteral("\u00e9\u0151"), TextEncoding::Latin1),
           QByteArray("\xc3\xa9\xc5\x91"));
}

QTEST_MAIN(FileCodecTest)
#include "tst_filecodec.moc"
