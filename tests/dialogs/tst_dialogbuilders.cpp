#include "dialogs/DateTimeRenderings.h"
#include "dialogs/EdgeSnap.h"
#include "dialogs/EditorContextMenu.h"
#include "dialogs/ElementBuilders.h"
#include "tools/LinkBuilders.h"

#include <QTest>

using namespace tessera;

// The pure pieces of the element windows: date renderings, the link and
// image texts, the link-safe test and the edge snapping.
class DialogBuildersTest : public QObject {
  Q_OBJECT
private slots:
  void renderings_data();
  void renderings();
  void twelveHourClock_data();
  void twelveHourClock();
  void localeNamesAndSeparator();
  void firstItemLeavesOutMidnight();
  void links_data();
  void links();
  void images();
  void history();
  void linkSafe_data();
  void linkSafe();
  void snapping_data();
  void snapping();
};

static QDateTime at(int y, int mo, int d, int h, int mi, int s) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

static const QLocale english(QLocale::English, QLocale::UnitedStates);

void DialogBuildersTest::renderings_data() {
  QTest::addColumn<int>("item"); // counted from 1, as listed
  QTest::addColumn<QString>("text");
  const char* expected[] = {nullptr,
                            "05/03/2007",
                            "03/05/2007",
                            "2007/03/05",
                            "2007/05/03",
                            "2007.03.05.",
                            "2007. 03. 05.",
                            "2007.05.03.",
                            "2007. 05. 03.",
                            "07.03.05.",
                            "07.05.03.",
                            "05.03.07.",
                            "03.05.07.",
                            "2007-03-05",
                            "07-03-05",
                            "05-Mar-07",
                            "Monday, March 05, 2007",
                            "Mar 05, 2007",
                            "05 March, 2007",
                            "14:07:09",
                            "02:07:09 Pm"};
  for (int i = 2; i <= kDateTimeRenderingCount; ++i)
    QTest::newRow(qPrintable(QStringLiteral("item %1").arg(i))) << i << expected[i - 1];
}

void DialogBuildersTest::renderings() {
  QFETCH(int, item);
  QFETCH(QString, text);
  const QStringList list = dateTimeRenderings(at(2007, 3, 5, 14, 7, 9), english);
  QCOMPARE(list.size(), kDateTimeRenderingCount);
  QCOMPARE(list.at(item - 1), text);
}

void DialogBuildersTest::twelveHourClock_data() {
  QTest::addColumn<QTime>("time");
  QTest::addColumn<QString>("twentyFour");
  QTest::addColumn<QString>("twelve");
  QTest::newRow("half past midnight") << QTime(0, 30, 0) << "00:30:00"
                                      << "12:30:00 Am";
  QTest::newRow("just after noon") << QTime(12, 5, 0) << "12:05:00"
                                   << "12:05:00 Pm";
  QTest::newRow("last morning second") << QTime(11, 59, 59) << "11:59:59"
                                       << "11:59:59 Am";
  QTest::newRow("late evening") << QTime(23, 0, 1) << "23:00:01"
                                << "11:00:01 Pm";
}

void DialogBuildersTest::twelveHourClock() {
  QFETCH(QTime, time);
  QFETCH(QString, twentyFour);
  QFETCH(QString, twelve);
  const QStringList list = dateTimeRenderings(QDateTime(QDate(2020, 1, 1), time), english);
  QCOMPARE(list.at(19), twentyFour);
  QCOMPARE(list.at(20), twelve);
}

void DialogBuildersTest::localeNamesAndSeparator() {
  const QDateTime when = at(2007, 3, 5, 14, 7, 9);
  const QLocale hungarian(QLocale::Hungarian, QLocale::Hungary);
  const QStringList hu = dateTimeRenderings(when, hungarian);
  QCOMPARE(hu.at(16), hungarian.dayName(1) + QStringLiteral(", ") + hungarian.monthName(3) +
                          QStringLiteral(" 05, 2007"));
  QCOMPARE(hu.at(15), QStringLiteral("05-") + hungarian.monthName(3, QLocale::ShortFormat) +
                          QStringLiteral("-07"));
  QVERIFY(hu.at(18).contains(hungarian.monthName(3)));
  // "mm" after an hour is the minute; a locale with dots between hours and
  // minutes puts its own separator where the pattern has a colon.
  const QLocale finnish(QLocale::Finnish, QLocale::Finland);
  QCOMPARE(timeSeparator(finnish), QStringLiteral("."));
  QCOMPARE(dateTimeRenderings(when, finnish).at(19), QStringLiteral("14.07.09"));
  QCOMPARE(dateTimeRenderings(when, finnish).at(1), QStringLiteral("05/03/2007"));
  QCOMPARE(timeSeparator(english), QStringLiteral(":"));
  QCOMPARE(renderDateTime(QStringLiteral("mm hh mm ss mm"), when, english),
           QStringLiteral("03 14 07 09 03"));
}

void DialogBuildersTest::firstItemLeavesOutMidnight() {
  const QString date = english.toString(QDate(2007, 3, 5), QLocale::ShortFormat);
  QCOMPARE(localeRendering(at(2007, 3, 5, 0, 0, 0), english), date);
  const QString withTime = localeRendering(at(2007, 3, 5, 0, 0, 1), english);
  QVERIFY2(withTime.startsWith(date + QLatin1Char(' ')), qPrintable(withTime));
  QVERIFY2(withTime.contains(QStringLiteral("12:00:01")), qPrintable(withTime));
  // No time-zone name is pasted into a page.
  QCOMPARE(withTime.count(QLatin1Char(' ')), 2);
  QCOMPARE(dateTimeRenderings(at(2007, 3, 5, 0, 0, 0), english).first(), date);
}

void DialogBuildersTest::links_data() {
  QTest::addColumn<QString>("url");
  QTest::addColumn<bool>("keyOn");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QString>("content");
  QTest::addColumn<QString>("text");
  QTest::newRow("no key") << "http://a.b/" << false << "5"
                          << "word"
                          << "<a href=\"http://a.b/\">word</a>";
  QTest::newRow("key comes before href") << "x.wml" << true << "5"
                                         << "word"
                                         << "<a accesskey=\"5\" href=\"x.wml\">word</a>";
  QTest::newRow("empty key still written") << "http://" << true << ""
                                           << ""
                                           << "<a accesskey=\"\" href=\"http://\"></a>";
  QTest::newRow("lines and quotes unchanged") << "u\"&" << false << ""
                                              << "one\r\ntwo"
                                              << "<a href=\"u\"&\">one\r\ntwo</a>";
}

void DialogBuildersTest::links() {
  QFETCH(QString, url);
  QFETCH(bool, keyOn);
  QFETCH(QString, key);
  QFETCH(QString, content);
  QFETCH(QString, text);
  const Insertion made = linkElement(url, content, keyOn ? std::optional(key) : std::nullopt);
  QCOMPARE(made, (Insertion{text, 0, false}));
}

void DialogBuildersTest::images() {
  QCOMPARE(imageElement(QStringLiteral("http://"), QStringLiteral("picture")).text,
           QStringLiteral("<img src=\"http://\" alt=\"picture\"/>"));
  QCOMPARE(imageElement(QStringLiteral("/home/me/a b.png"), QString()).text,
           QStringLiteral("<img src=\"/home/me/a b.png\" alt=\"\"/>"));
  QCOMPARE(imageWithAltLinkElement(QStringLiteral("next.wml"), QStringLiteral("i.wbmp"),
                                   QStringLiteral("Next")),
           (Insertion{QStringLiteral("<a href=\"next.wml\"><img src=\"i.wbmp\" alt=\"Next\"/></a>"),
                      0, false}));
}

void DialogBuildersTest::history() {
  const QStringList list{QStringLiteral("http://Example.com/"), QStringLiteral("x.wml")};
  QVERIFY(historyHolds(list, QStringLiteral("HTTP://EXAMPLE.COM/")));
  QVERIFY(historyHolds(list, QStringLiteral("x.wml")));
  QVERIFY(!historyHolds(list, QStringLiteral("x.wml ")));
  QVERIFY(!historyHolds({}, QString()));
}

void DialogBuildersTest::linkSafe_data() {
  QTest::addColumn<QString>("selected");
  QTest::addColumn<bool>("safe");
  QTest::newRow("word") << "word" << true;
  QTest::newRow("blanks and ampersand") << "a & b" << true;
  QTest::newRow("line break") << "a\r\nb" << false;
  QTest::newRow("bare line feed") << "a\nb" << true;
  QTest::newRow("quote") << "say \"hi\"" << false;
  QTest::newRow("tag") << "<b>x" << false;
  QTest::newRow("closing bracket") << "x>" << false;
}

void DialogBuildersTest::linkSafe() {
  QFETCH(QString, selected);
  QFETCH(bool, safe);
  QCOMPARE(isLinkSafe(selected), safe);
}

void DialogBuildersTest::snapping_data() {
  QTest::addColumn<QRect>("frame");
  QTest::addColumn<QPoint>("snapped");
  // Work area 0,0 1000x800; a 100x80 window.
  QTest::newRow("far from edges") << QRect(300, 300, 100, 80) << QPoint(300, 300);
  QTest::newRow("10 px from left and top") << QRect(10, 10, 100, 80) << QPoint(0, 0);
  QTest::newRow("11 px stays") << QRect(11, 11, 100, 80) << QPoint(11, 11);
  QTest::newRow("past the left edge") << QRect(-7, 400, 100, 80) << QPoint(0, 400);
  QTest::newRow("near right and bottom") << QRect(895, 715, 100, 80) << QPoint(900, 720);
  QTest::newRow("over the right edge") << QRect(908, 200, 100, 80) << QPoint(900, 200);
}

void DialogBuildersTest::snapping() {
  QFETCH(QRect, frame);
  QFETCH(QPoint, snapped);
  QCOMPARE(snappedTopLeft(frame, QRect(0, 0, 1000, 800), 10), snapped);
}

QTEST_GUILESS_MAIN(DialogBuildersTest)
#include "tst_dialogbuilders.moc"
