#include "wml/script/LibraryTable.h"

#include <QTest>

using namespace tessera::wml::script;

// The standard library table as the library summary and each function's
// description give it: a wrong id calls another function on a phone, a
// wrong count makes a correct script fail to compile.
class LibraryTableTest : public QObject {
  Q_OBJECT

private slots:
  void lookUpByName_data() {
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("function");
    QTest::addColumn<int>("libraryId");
    QTest::addColumn<int>("functionId");
    QTest::addColumn<int>("argumentCount");
    QTest::newRow("Lang.abs") << "Lang"
                              << "abs" << 0 << 0 << 1;
    QTest::newRow("Lang.float") << "Lang"
                                << "float" << 0 << 9 << 0;
    QTest::newRow("Lang.abort") << "Lang"
                                << "abort" << 0 << 11 << 1;
    QTest::newRow("Lang.characterSet") << "Lang"
                                       << "characterSet" << 0 << 14 << 0;
    QTest::newRow("Float.int") << "Float"
                               << "int" << 1 << 0 << 1;
    QTest::newRow("Float.pow") << "Float"
                               << "pow" << 1 << 3 << 2;
    QTest::newRow("Float.minFloat") << "Float"
                                    << "minFloat" << 1 << 7 << 0;
    QTest::newRow("String.subString") << "String"
                                      << "subString" << 2 << 3 << 3;
    QTest::newRow("String.replaceAt") << "String"
                                      << "replaceAt" << 2 << 9 << 4;
    QTest::newRow("String.insertAt") << "String"
                                     << "insertAt" << 2 << 10 << 4;
    QTest::newRow("String.format") << "String"
                                   << "format" << 2 << 15 << 2;
    QTest::newRow("URL.getBase") << "URL"
                                 << "getBase" << 3 << 8 << 0;
    QTest::newRow("URL.unescapeString") << "URL"
                                        << "unescapeString" << 3 << 12 << 1;
    QTest::newRow("URL.loadString") << "URL"
                                    << "loadString" << 3 << 13 << 2;
    QTest::newRow("WMLBrowser.setVar") << "WMLBrowser"
                                       << "setVar" << 4 << 1 << 2;
    QTest::newRow("WMLBrowser.refresh") << "WMLBrowser"
                                        << "refresh" << 4 << 6 << 0;
    QTest::newRow("Dialogs.prompt") << "Dialogs"
                                    << "prompt" << 5 << 0 << 2;
    QTest::newRow("Dialogs.confirm") << "Dialogs"
                                     << "confirm" << 5 << 1 << 3;
    QTest::newRow("Dialogs.alert") << "Dialogs"
                                   << "alert" << 5 << 2 << 1;
  }
  void lookUpByName() {
    QFETCH(QString, library);
    QFETCH(QString, function);
    QFETCH(int, libraryId);
    QFETCH(int, functionId);
    QFETCH(int, argumentCount);
    const LibraryFunction* byName = findLibraryFunction(library, function);
    QVERIFY(byName);
    QCOMPARE(byName->libraryId, libraryId);
    QCOMPARE(byName->functionId, functionId);
    QCOMPARE(byName->argumentCount, argumentCount);
    QCOMPARE(libraryFunction(libraryId, functionId), byName);
    QVERIFY(isLibraryName(library));
  }

  void unknownNames_data() {
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("function");
    QTest::newRow("no such function") << "String"
                                      << "size";
    QTest::newRow("names are case-sensitive") << "string"
                                              << "length";
    QTest::newRow("function of another library") << "Lang"
                                                 << "length";
    QTest::newRow("the header's misspelling") << "URL"
                                              << "UnescapeString";
    QTest::newRow("no such library") << "Math"
                                     << "abs";
  }
  void unknownNames() {
    QFETCH(QString, library);
    QFETCH(QString, function);
    QCOMPARE(findLibraryFunction(library, function), nullptr);
  }

  void unknownIds_data() {
    QTest::addColumn<int>("libraryId");
    QTest::addColumn<int>("functionId");
    QTest::newRow("past Lang") << 0 << 15;
    QTest::newRow("past Float") << 1 << 8;
    QTest::newRow("past String") << 2 << 16;
    QTest::newRow("past URL") << 3 << 14;
    QTest::newRow("past WMLBrowser") << 4 << 7;
    QTest::newRow("past Dialogs") << 5 << 3;
    QTest::newRow("no library 6") << 6 << 0;
    QTest::newRow("negative") << -1 << 0;
  }
  void unknownIds() {
    QFETCH(int, libraryId);
    QFETCH(int, functionId);
    QCOMPARE(libraryFunction(libraryId, functionId), nullptr);
  }

  // Every id pair from 0 up to the last one is taken, with no gaps.
  void everyLibraryIsDense() {
    const int sizes[] = {15, 8, 16, 14, 7, 3};
    int total = 0;
    for (int library = 0; library < 6; ++library) {
      for (int function = 0; function < sizes[library]; ++function)
        QVERIFY2(libraryFunction(library, function), qPrintable(QString::number(function)));
      total += sizes[library];
    }
    QCOMPARE(libraryFunctions().size(), total);
  }
};

QTEST_APPLESS_MAIN(LibraryTableTest)
#include "tst_librarytable.moc"
