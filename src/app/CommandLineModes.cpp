#include "app/CommandLineModes.h"
#include "app/CheckMode.h"
#include "app/DeckCommandLine.h"
#include "app/ScriptRunCommandLine.h"

namespace tessera {

const QList<CommandLineMode>& commandLineModes() {
  static const QList<CommandLineMode> modes{
      {QStringLiteral("check"),
       QStringLiteral("FILE|DIR... [--budget N] [--profile NAME] [--entry FILE] "
                      "[--format text|sarif]"),
       QStringLiteral("Checks each WML deck or WMLScript unit (.wmls), and each folder as one "
                      "site (its decks, scripts and pictures and the links between them), and "
                      "prints FILE:LINE:COLUMN: error: message [rule] (or warning:, note:) for "
                      "every finding, or a SARIF log; exits 1 when any finding is an error, 2 "
                      "when a file or folder cannot be read."),
       {QStringLiteral("budget"), QStringLiteral("profile"), QStringLiteral("entry"),
        QStringLiteral("format")},
       runCheckMode},
      {QStringLiteral("compile"),
       QStringLiteral("IN.wml|IN.wmls [-o OUT] [--budget N] [--force] [--no-string-table]"),
       QStringLiteral("Checks a deck, printing the findings on standard error, and compiles it "
                      "to WBXML as a WAP gateway would, or a WMLScript unit to its bytecode "
                      "(beside it, IN.wmlc or IN.wmlsc, unless -o says otherwise), printing its "
                      "size; exits 1 and writes nothing when the deck is not well-formed, the "
                      "unit does not compile or the checks find an error (unless --force)."),
       {QStringLiteral("output"), QStringLiteral("no-string-table"), QStringLiteral("budget"),
        QStringLiteral("force")},
       runCompileMode},
      {QStringLiteral("decompile"),
       QStringLiteral("IN.wmlc"),
       QStringLiteral("Prints the WML source of a compiled deck; exits 1 when it cannot be "
                      "decoded."),
       {},
       runDecompileMode},
      {QStringLiteral("wbmp"),
       QStringLiteral("IN.png -o OUT.wbmp [--dither threshold|ordered|diffusion] "
                      "[--threshold 0-255]"),
       QStringLiteral("Converts a picture (PNG, JPEG, GIF, BMP) to a one-bit WBMP, error "
                      "diffusion by default, and prints its size; exits 1 when it is not a "
                      "picture."),
       {QStringLiteral("output"), QStringLiteral("dither"), QStringLiteral("threshold")},
       nullptr},
      {QStringLiteral("serve"),
       QStringLiteral("DIR [--port N] [--bind ADDRESS]"),
       QStringLiteral("Serves the folder to a phone (decks compiled when the phone prefers "
                      "them so), on 127.0.0.1 port 8080 unless told otherwise, printing one line "
                      "per request, until interrupted; exits 2 when the port cannot be taken."),
       {QStringLiteral("port"), QStringLiteral("bind")},
       nullptr},
      {QStringLiteral("disassemble"),
       QStringLiteral("IN.wmlsc"),
       QStringLiteral("Prints the constants, pragmas and functions with their instructions of "
                      "WMLScript bytecode; exits 1 when it is not bytecode or does not verify."),
       {},
       runDisassembleMode},
      {QStringLiteral("run"),
       QStringLiteral("UNIT 'f(ARGS)' [--var NAME=VALUE]... [--answer TEXT]..."),
       QStringLiteral("Runs the extern function f of a WMLScript unit (.wmls or .wmlsc) with the "
                      "given browser variables and dialog answers; prints the dialogs, ret, the "
                      "variables and the navigation; exits 1 when the unit does not compile or "
                      "verify or the run ends in a fatal error."),
       {QStringLiteral("var"), QStringLiteral("answer")},
       runScriptMode},
      {QStringLiteral("inspect"),
       QStringLiteral("FILE..."),
       QStringLiteral("Prints what each compiled deck, compiled script or picture holds as one "
                      "JSON line (the site check decodes them this way, in a process of their "
                      "own)."),
       {},
       nullptr},
  };
  return modes;
}

// The options that qualify a mode; the last name of each is the one the
// modes' lists above use.
const QList<QCommandLineOption>& modeOptions() {
  static const QList<QCommandLineOption> options{
      {{QStringLiteral("o"), QStringLiteral("output")},
       QStringLiteral("The file --compile or --wbmp writes."),
       QStringLiteral("OUT")},
      {QStringLiteral("budget"),
       QStringLiteral("--check, --compile: a compiled deck over N bytes is an error."),
       QStringLiteral("N")},
      {QStringLiteral("profile"),
       QStringLiteral("--check: the phone whose screen a site's pictures must fit (96x65, "
                      "128x128 or 176x208; the preview's 128x128 unless told)."),
       QStringLiteral("NAME")},
      {QStringLiteral("entry"),
       QStringLiteral("--check: the deck a site is entered by, for what nothing reaches "
                      "(index.wml unless told)."),
       QStringLiteral("FILE")},
      {QStringLiteral("format"),
       QStringLiteral("--check: text (the default) or sarif, a SARIF 2.1.0 log for "
                      "code-scanning services."),
       QStringLiteral("FORMAT")},
      {QStringLiteral("force"),
       QStringLiteral("--compile: writes the deck even when the checks find errors (exit 0).")},
      {QStringLiteral("no-string-table"),
       QStringLiteral("--compile: every string inline, without the string table.")},
      {QStringLiteral("dither"),
       QStringLiteral("--wbmp: threshold, ordered or diffusion (the default)."),
       QStringLiteral("METHOD")},
      {QStringLiteral("threshold"),
       QStringLiteral("--wbmp: the grey level (0-255) from which a pixel is white; 128 unless "
                      "told."),
       QStringLiteral("LEVEL")},
      {QStringLiteral("port"),
       QStringLiteral("--serve: the port to listen on, 8080 unless told; 0 takes a free one."),
       QStringLiteral("N")},
      {QStringLiteral("bind"),
       QStringLiteral("--serve: the address to listen on, 127.0.0.1 unless told."),
       QStringLiteral("ADDRESS")},
      {QStringLiteral("var"),
       QStringLiteral("--run: a browser variable the unit sees; as often as needed."),
       QStringLiteral("NAME=VALUE")},
      {QStringLiteral("answer"),
       QStringLiteral("--run: the answer to the next dialog (ok or cancel for a confirm); as "
                      "often as needed."),
       QStringLiteral("TEXT")},
  };
  return options;
}

} // namespace tessera
