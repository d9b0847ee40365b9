#pragma once

#include "editor/Insertion.h"

#include <QStringList>

// Soft-key buttons (do elements) and the tools of the "Other" tab.
namespace tessera {

// Three lines: the do start tag (type, then label), the go element, "</do>".
Insertion doElement(const QString& type, const QString& label, const QString& url);

// The type list the "Button" tab starts with, in this order.
QStringList defaultDoTypes();
// Whether `type` is already in `types`, comparing whole texts without
// regard to letter case.
bool containsDoType(const QStringList& types, const QString& type);

// Five lines: a template whose do element goes back; caret after it.
Insertion backButtonTemplate();
// An empty template skeleton; the caret ends between the quotes of the
// empty type value.
Insertion templateSkeleton();

// Wrapping tools: "<p>", "<refresh>", "<head>" around a selection of two or
// more characters, else the empty pair; caret before the closing tag.
Insertion paragraphTool(const QString& selected);
Insertion refreshTool(const QString& selected);
Insertion headTool(const QString& selected);

} // namespace tessera
