#include "app/CheckMode.h"
#include "app/CommandLine.h"
#include "app/DeckCommandLine.h"
#include "app/ScriptRunCommandLine.h"
#include "app/ServeCommandLine.h"

namespace tessera {

const QList<CommandLineMode>& commandLineModes() {
  static const QList<CommandLineMode> modes{
      {QStringLiteral("--check"), QStringLiteral("FILE..."),
       QStringLiteral("Checks each WML deck or WMLScript unit (.wmls) and prints "
                      "FILE:LINE:COLUMN: error: message (or warning:) for every finding; exits 1 "
                      "when any file has an error, 2 when a file cannot be read."),
       runCheckMode},
      {QStringLiteral("--compile"),
       QStringLiteral("IN.wml -o OUT.wmlc [--no-string-table] | IN.wmls -o OUT.wmlsc"),
       QStringLiteral("Compiles a deck to WBXML as a WAP gateway would, or a WMLScript unit to "
                      "its bytecode, and prints its size; exits 1 when the deck is not "
                      "well-formed or the unit does not compile (nothing is written then)."),
       runCompileMode},
      {QStringLiteral("--decompile"), QStringLiteral("IN.wmlc"),
       QStringLiteral("Prints the WML source of a compiled deck; exits 1 when it cannot be "
                      "decoded."),
       runDecompileMode},
      {QStringLiteral("--wbmp"),
       QStringLiteral("IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion] "
                      "[--threshold 0-255]"),
       QStringLiteral("Converts a picture (PNG, JPEG, GIF, BMP) to a one-bit WBMP, error "
                      "diffusion by default, and prints its size; exits 1 when it is not a "
                      "picture."),
       runWbmpMode},
      {QStringLiteral("--serve"), QStringLiteral("DIR [--port N] [--bind ADDRESS]"),
       QStringLiteral("Serves the folder to a phone (decks compiled when the phone prefers "
                      "them so), on 127.0.0.1 port 8080 unless told otherwise, printing one line "
                      "per request, until interrupted; exits 2 when the port cannot be taken."),
       runServeMode},
      {QStringLiteral("--disassemble"), QStringLiteral("IN.wmlsc"),
       QStringLiteral("Prints the constants, pragmas and functions with their instructions of "
                      "WMLScript bytecode; exits 1 when it is not bytecode or does not verify."),
       runDisassembleMode},
      {QStringLiteral("--run"),
       QStringLiteral("UNIT 'f(ARGS)' [--var NAME=VALUE]... [--answer TEXT]..."),
       QStringLiteral("Runs the extern function f of a WMLScript unit (.wmls or .wmlsc) with the "
                      "given browser variables and dialog answers; prints the dialogs, ret, the "
                      "variables and the navigation; exits 1 when the unit does not compile or "
                      "verify or the run ends in a fatal error."),
       runScriptMode},
  };
  return modes;
}

} // namespace tessera
