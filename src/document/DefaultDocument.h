#pragma once

#include <QString>

namespace tessera {

// The three lines that open every document and every generated page: the
// XML prolog, the generator comment and the WML 1.1 document type; each
// ends with CR LF.
QString pageHeader();

// The 12-line skeleton the editor holds at start and after New.
QString defaultDocument();

} // namespace tessera
