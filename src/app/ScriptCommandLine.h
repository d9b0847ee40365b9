#pragma once

#include <QByteArray>
#include <QString>
#include <QTextStream>

namespace tessera {

// The command line's WMLScript side (a file is a script by its name, as
// wml::script::isScriptFileName() says).

// "--check" of one script: prints each finding as a compiler does,
// "FILE:LINE:COLUMN: error: message [rule]"; returns whether any is an
// error.
bool checkScriptFile(const QString& name, const QByteArray& bytes, QTextStream& out);

// "--compile IN.wmls -o OUT.wmlsc": writes the bytecode and prints its
// size; when the unit does not compile, prints why and writes nothing.
// Returns the exit status (0, 1 when it does not compile, 2 when a file
// cannot be read or written).
int compileScriptFile(const QString& input, const QString& output, QTextStream& out,
                      QTextStream& err);

} // namespace tessera
