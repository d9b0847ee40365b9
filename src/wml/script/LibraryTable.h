#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace tessera::wml::script {

// One function of the WMLScript standard libraries: the names a script
// writes (`String.length`), the numbers the bytecode calls it by, and how
// many arguments it takes. The table is the one place these live; the
// compiler, the checker and the interpreter all read it.
struct LibraryFunction {
  QString library;
  int libraryId;
  QString name;
  int functionId;
  int argumentCount;
};

// Every standard library function, ordered by library id, then function id.
const QList<LibraryFunction>& libraryFunctions();

// The function a script calls as `library.function`, or nullptr. Names are
// case-sensitive, as they are in scripts.
const LibraryFunction* findLibraryFunction(QStringView library, QStringView function);

// The function a bytecode CALL_LIB names, or nullptr when the ids name none.
const LibraryFunction* libraryFunction(int libraryId, int functionId);

// Whether `name` is a standard library's name (Lang, Float, ...).
bool isLibraryName(QStringView name);

} // namespace tessera::wml::script
