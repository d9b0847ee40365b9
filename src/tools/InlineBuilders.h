#pragma once

#include "editor/Insertion.h"

// The one-click tools: line breaks, paragraph alignment, text-style tags and
// character entities. The panel buttons, the editor keys, the tools window
// and the context menu all run these same builders.
namespace tessera {

enum class Wrap { Bold, Italic, Underline, Small, Big, Strong };
enum class Align { Left, Center, Right };
enum class Entity { Ampersand, LessThan, GreaterThan, Apostrophe, Nbsp, Quote, Dollar };

// "<br/>", caret after it.
Insertion lineBreak();
// "<br/><br/>", caret after it.
Insertion lineOmission();

// Wraps a selection of two or more characters in the tag pair; a shorter
// selection (or none) is replaced by the empty pair. The caret ends right
// before the closing tag and the change handling runs again.
Insertion wrapTool(Wrap kind, const QString& selected);
QString openingTag(Wrap kind);
// The same rule for any element name ("p", "refresh", "head", ...).
Insertion wrapElement(const QString& name, const QString& selected);
QString closingTag(Wrap kind);

// "<p align=...>" CR LF, the selection, CR LF, "</p>"; caret after "</p>".
Insertion alignParagraph(Align align, const QString& selected);

// The entity's text ("&amp;", ..., "$$"), caret after it.
Insertion characterEntity(Entity entity);

} // namespace tessera
