#include "wml/wbxml/StringTable.h"

#include <QTest>

using namespace tessera::wml::wbxml;

// Which pieces the string table takes and how each string is then written:
// "[n]" is a reference to offset n, anything else an inline run.
class StringTableTest : public QObject {
  Q_OBJECT
private slots:
  void choices_data();
  void choices();
};

namespace {

QStringList split(const char* joined) {
  return QString::fromUtf8(joined).split(u'|', Qt::SkipEmptyParts);
}

} // namespace

void StringTableTest::choices_data() {
  QTest::addColumn<QStringList>("strings");
  QTest::addColumn<QStringList>("names");
  QTest::addColumn<QByteArray>("table");
  QTest::addColumn<QStringList>("written"); // each string, its parts joined by '+'
  const auto row = [](const char* name, const char* strings, const char* names,
                      const QByteArray& table, const char* written) {
    QTest::newRow(name) << split(strings) << split(names) << table << split(written);
  };
  row("used once: inline", "menu news", "", {}, "menu news");
  row("a whole string twice", "Hello world|Hello world", "", QByteArray("Hello world\0", 12),
      "[0]|[0]");
  row("a word inside texts", "red apple|green apple|big apple", "", QByteArray("apple\0", 6),
      "red +[0]|green +[0]|big +[0]");
  row("a word with its blank", "news today|news now", "", {}, "news today|news now");
  row("three times with its blank", "news a|news b|news c|news d", "", QByteArray("news \0", 6),
      "[0]+a|[0]+b|[0]+c|[0]+d");
  row("an address piece", "#catalogue|shop/catalogue|x#catalogue", "",
      QByteArray("catalogue\0", 10), "#+[0]|shop/+[0]|x#+[0]");
  row("too short to gain", "a|a|a", "", {}, "a|a|a");
  row("a variable's name twice", "", "username|username", QByteArray("username\0", 9), "");
  row("a name once stays inline", "", "username", {}, "");
  row("the most used piece first", "tea cup|tea cup|cake pot|cake pot|cake pot", "",
      QByteArray("cake pot\0tea cup\0", 17), "[9]|[9]|[0]|[0]|[0]");
}

void StringTableTest::choices() {
  QFETCH(QStringList, strings);
  QFETCH(QStringList, names);
  QFETCH(QByteArray, table);
  QFETCH(QStringList, written);
  std::vector<std::string> stringBytes, nameBytes;
  for (const QString& s : strings)
    stringBytes.push_back(s.toStdString());
  for (const QString& n : names)
    nameBytes.push_back(n.toStdString());
  const std::vector<std::string_view> stringViews(stringBytes.begin(), stringBytes.end());
  const std::vector<std::string_view> nameViews(nameBytes.begin(), nameBytes.end());
  const StringTable chosen(stringViews, nameViews, {}, true);
  QCOMPARE(QByteArray::fromStdString(chosen.bytes()), table);
  QStringList shown;
  for (std::string_view text : stringViews) {
    QStringList parts;
    for (const StringTable::Part& part : chosen.write(text))
      parts << (part.fromTable ? QStringLiteral("[%1]").arg(part.offset)
                               : QString::fromUtf8(part.text.data(), qsizetype(part.text.size())));
    shown << parts.join(u'+');
  }
  QCOMPARE(shown, written);
  // Without the table every string is one inline run.
  const StringTable none(stringViews, nameViews, {}, false);
  QVERIFY(none.bytes().empty());
  for (std::string_view text : stringViews)
    QCOMPARE(none.write(text).size(), std::size_t(1));
}

QTEST_MAIN(StringTableTest)
#include "tst_stringtable.moc"
