#include "wml/script/LibraryTable.h"

#include <algorithm>

namespace tessera::wml::script {

namespace {

struct Library {
  const char* name;
  int id;
  // Function names in function-id order with their argument counts.
  std::initializer_list<std::pair<const char*, int>> functions;
};

QList<LibraryFunction> buildTable() {
  const Library libraries[] = {
      {"Lang",
       0,
       {{"abs", 1},
        {"min", 2},
        {"max", 2},
        {"parseInt", 1},
        {"parseFloat", 1},
        {"isInt", 1},
        {"isFloat", 1},
        {"maxInt", 0},
        {"minInt", 0},
        {"float", 0},
        {"exit", 1},
        {"abort", 1},
        {"random", 1},
        {"seed", 1},
        {"characterSet", 0}}},
      {"Float",
       1,
       {{"int", 1},
        {"floor", 1},
        {"ceil", 1},
        {"pow", 2},
        {"round", 1},
        {"sqrt", 1},
        {"maxFloat", 0},
        {"minFloat", 0}}},
      {"String",
       2,
       {{"length", 1},
        {"isEmpty", 1},
        {"charAt", 2},
        {"subString", 3},
        {"find", 2},
        {"replace", 3},
        {"elements", 2},
        {"elementAt", 3},
        {"removeAt", 3},
        {"replaceAt", 4},
        {"insertAt", 4},
        {"squeeze", 1},
        {"trim", 1},
        {"compare", 2},
        {"toString", 1},
        {"format", 2}}},
      {"URL",
       3,
       {{"isValid", 1},
        {"getScheme", 1},
        {"getHost", 1},
        {"getPort", 1},
        {"getPath", 1},
        {"getParameters", 1},
        {"getQuery", 1},
        {"getFragment", 1},
        {"getBase", 0},
        {"getReferer", 0},
        {"resolve", 2},
        {"escapeString", 1},
        {"unescapeString", 1},
        {"loadString", 2}}},
      {"WMLBrowser",
       4,
       {{"getVar", 1},
        {"setVar", 2},
        {"go", 1},
        {"prev", 0},
        {"newContext", 0},
        {"getCurrentCard", 0},
        {"refresh", 0}}},
      {"Dialogs", 5, {{"prompt", 2}, {"confirm", 3}, {"alert", 1}}},
  };
  QList<LibraryFunction> table;
  for (const Library& library : libraries) {
    int functionId = 0;
    for (const auto& [name, argumentCount] : library.functions) {
      table.append({QString::fromLatin1(library.name), library.id, QString::fromLatin1(name),
                    functionId++, argumentCount});
    }
  }
  return table;
}

} // namespace

const QList<LibraryFunction>& libraryFunctions() {
  static const QList<LibraryFunction> table = buildTable();
  return table;
}

const LibraryFunction* findLibraryFunction(QStringView library, QStringView function) {
  const QList<LibraryFunction>& table = libraryFunctions();
  const auto found = std::find_if(table.begin(), table.end(), [&](const LibraryFunction& f) {
    return f.library == library && f.name == function;
  });
  return found == table.end() ? nullptr : &*found;
}

const LibraryFunction* libraryFunction(int libraryId, int functionId) {
  const QList<LibraryFunction>& table = libraryFunctions();
  const auto found = std::find_if(table.begin(), table.end(), [&](const LibraryFunction& f) {
    return f.libraryId == libraryId && f.functionId == functionId;
  });
  return found == table.end() ? nullptr : &*found;
}

bool isLibraryName(QStringView name) {
  const QList<LibraryFunction>& table = libraryFunctions();
  return std::any_of(table.begin(), table.end(),
                     [&](const LibraryFunction& f) { return f.library == name; });
}

} // namespace tessera::wml::script
