// WMLScript source on hostile text, as the editor checks it while it is
// typed: the lexer, the parser, the checks and the code generator. No crash,
// no hang; every finding lies within the text; a unit that compiles gives
// the same bytes twice, and our own reader and verifier accept them (but for
// a call through a use url pragma whose URL is none).
#include "FuzzSupport.h"
#include "wml/script/BytecodeReader.h"
#include "wml/script/BytecodeVerifier.h"
#include "wml/script/ScriptCompiler.h"

using namespace tessera::wml::script;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString source = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const ScriptCompileResult result = compileScript(source);
  // A line ends at LF, CR LF or a lone CR; a finding may sit just past the
  // last character (a missing "}" at the end).
  const int lines =
      int(source.count(u'\n') + source.count(u'\r') - source.count(QStringLiteral("\r\n")) + 1);
  for (const auto& finding : result.findings) {
    require(finding.start.line >= 1 && finding.start.line <= lines, "a finding is on a line");
    require(finding.start.column >= 1, "a finding has a column");
  }
  if (!result.ok())
    return 0;
  require(compileScript(source).bytecode == result.bytecode, "the same text, the same bytes");
  const BytecodeReadResult read = readBytecode(result.bytecode);
  require(read.unit.has_value(), "what we write reads back");
  // The compiler does not check a use url pragma's URL (the language
  // leaves that to the verifier when the call is made); all else verifies.
  const VerifyResult verified = verifyBytecode(*read.unit);
  require(verified.unit || verified.error.endsWith(QLatin1String("is not a valid url")),
          "what we write verifies");
  return 0;
}
