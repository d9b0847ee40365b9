// A loaded file in the source editor: whatever the bytes, the editor holds
// exactly the decoded text, so saving writes back what was loaded.
#include "FuzzSupport.h"
#include "document/FileCodec.h"
#include "editor/SourceEditor.h"
#include "editor/TextDocument.h"

using namespace tessera;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzing::ensureApplication();
  static SourceEditor* editor = new SourceEditor;
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  const DecodedText decoded = decodeDocument(bytes);
  editor->textDocument().replaceWholeText(decoded.text);
  require(editor->textDocument().textLength() == decoded.text.size(),
          "length differs from the loaded text");
  require(editor->textDocument().holdsText(decoded.text),
          "the editor does not hold the loaded text");
  const QString held = editor->textDocument().wholeText();
  require(held == decoded.text, "whole text differs from the loaded text");
  require(decodeDocument(encodeDocument(held, decoded.encoding)).text == decoded.text,
          "saving the editor's text and loading it again changes it");
  require(editor->caretPosition().value == 0 && editor->selectionLength() == 0,
          "loading leaves the caret elsewhere");
  return 0;
}
