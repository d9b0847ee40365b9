#include "editing/TextSearch.h"

#include <QTest>

using namespace tessera;

class TextSearchTest : public QObject {
  Q_OBJECT

private slots:
  void findForward_data();
  void findForward();
  void findForReplace_data();
  void findForReplace();
  void replaceAll_data();
  void replaceAll();
  void caseConversion_data();
  void caseConversion();
};

void TextSearchTest::findForward_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("needle");
  QTest::addColumn<int>("from");
  QTest::addColumn<int>("hit");
  QTest::newRow("at the start") << "abc"
                                << "a" << 0 << 0;
  QTest::newRow("overlap: from one past the last hit") << "aaaa"
                                                       << "aa" << 1 << 1;
  QTest::newRow("overlap: last possible") << "aaaa"
                                          << "aa" << 3 << -1;
  QTest::newRow("case differs") << "the Word"
                                << "word" << 0 << -1;
  QTest::newRow("partial at the end does not count") << "abc"
                                                     << "cd" << 0 << -1;
  QTest::newRow("across a line break") << "ab\r\ncd"
                                       << "b\r\nc" << 0 << 1;
  QTest::newRow("empty needle finds nothing") << "abc"
                                              << "" << 0 << -1;
  QTest::newRow("start past the end") << "abc"
                                      << "c" << 3 << -1;
  QTest::newRow("negative start") << "abc"
                                  << "a" << -1 << -1;
  QTest::newRow("accented letters compared exactly")
      << QStringLiteral("\u00e1rv\u00edz") << QStringLiteral("\u00cd") << 0 << -1;
}

void TextSearchTest::findForward() {
  QFETCH(QString, text);
  QFETCH(QString, needle);
  QFETCH(int, from);
  QFETCH(int, hit);
  QCOMPARE(tessera::findForward(text, needle, from), hit);
}

void TextSearchTest::findForReplace_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("needle");
  QTest::addColumn<int>("caret");
  QTest::addColumn<int>("hit");
  QTest::newRow("at the caret") << "a a a"
                                << "a" << 2 << 2;
  QTest::newRow("after the caret") << "a a a"
                                   << "a" << 3 << 4;
  QTest::newRow("wraps to the top once") << "a a a"
                                         << "a" << 5 << 0;
  QTest::newRow("only before the caret") << "xa..."
                                         << "a" << 3 << 1;
  QTest::newRow("none at all") << "bbb"
                               << "a" << 1 << -1;
  QTest::newRow("empty text") << ""
                              << "a" << 0 << -1;
}

void TextSearchTest::findForReplace() {
  QFETCH(QString, text);
  QFETCH(QString, needle);
  QFETCH(int, caret);
  QFETCH(int, hit);
  QCOMPARE(tessera::findForReplace(text, needle, caret), hit);
}

void TextSearchTest::replaceAll_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("needle");
  QTest::addColumn<QString>("replacement");
  QTest::addColumn<QString>("result");
  QTest::addColumn<QList<int>>("hits");
  QTest::newRow("three occurrences") << "x1 x2 x3"
                                     << "x"
                                     << "yy"
                                     << "yy1 yy2 yy3" << QList<int>{0, 3, 6};
  QTest::newRow("replacement holds the needle") << "a a"
                                                << "a"
                                                << "ab"
                                                << "ab ab" << QList<int>{0, 2};
  QTest::newRow("no overlaps, left to right") << "aaaa"
                                              << "aa"
                                              << "b"
                                              << "bb" << QList<int>{0, 2};
  QTest::newRow("odd run leaves the rest") << "aaa"
                                           << "aa"
                                           << "b"
                                           << "ba" << QList<int>{0};
  QTest::newRow("to empty") << "<b>x</b>"
                            << "b>"
                            << ""
                            << "<x</" << QList<int>{1, 6};
  QTest::newRow("none") << "abc"
                        << "z"
                        << "y"
                        << "abc" << QList<int>{};
  QTest::newRow("empty needle") << "abc"
                                << ""
                                << "y"
                                << "abc" << QList<int>{};
  QTest::newRow("line breaks kept") << "a\r\nb a"
                                    << "a"
                                    << "c"
                                    << "c\r\nb c" << QList<int>{0, 5};
}

void TextSearchTest::replaceAll() {
  QFETCH(QString, text);
  QFETCH(QString, needle);
  QFETCH(QString, replacement);
  QFETCH(QString, result);
  QFETCH(QList<int>, hits);
  QCOMPARE(allOccurrences(text, needle), hits);
  QString applied = text;
  for (qsizetype i = hits.size() - 1; i >= 0; --i)
    applied.replace(hits[i], needle.size(), replacement);
  QCOMPARE(applied, result);
}

void TextSearchTest::caseConversion_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("upper");
  QTest::addColumn<QString>("lower");
  QTest::newRow("paragraph tag") << "<p align=\"center\">"
                                 << "<P ALIGN=\"CENTER\">"
                                 << "<p align=\"center\">";
  QTest::newRow("accents stay") << QStringLiteral("\u00e1rv\u00edzt\u0171r\u0151 \u00c9")
                                << QStringLiteral("\u00e1RV\u00edZT\u0171R\u0151 \u00c9")
                                << QStringLiteral("\u00e1rv\u00edzt\u0171r\u0151 \u00c9");
  QTest::newRow("digits, breaks, punctuation") << "Ab1\r\n_z!"
                                               << "AB1\r\n_Z!"
                                               << "ab1\r\n_z!";
  QTest::newRow("sharp s and dotless i stay")
      << QStringLiteral("\u00df\u0131I") << QStringLiteral("\u00df\u0131I")
      << QStringLiteral("\u00df\u0131i");
}

void TextSearchTest::caseConversion() {
  QFETCH(QString, text);
  QFETCH(QString, upper);
  QFETCH(QString, lower);
  QCOMPARE(asciiUpper(text), upper);
  QCOMPARE(asciiLower(text), lower);
  QCOMPARE(asciiUpper(text).size(), text.size());
}

QTEST_APPLESS_MAIN(TextSearchTest)
#include "tst_textsearch.moc"
