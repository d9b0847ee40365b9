#include "document/DefaultDocument.h"

#include "platform/Product.h"
#include "wml/WmlVersion.h"

namespace tessera {

QString pageHeader() {
  return QStringLiteral("<?xml version=\"1.0\"?>\r\n") + QStringLiteral("<!-- Created by ") +
         kProgramTitle + QStringLiteral(" (") + kProductWebAddress + QStringLiteral(") -->\r\n") +
         wml::doctypeDeclaration(wml::WmlVersion::Wml11) + QStringLiteral("\r\n");
}

QString defaultDocument() {
  return pageHeader() + QStringLiteral("<wml>\r\n"
                                       "\r\n"
                                       "<card title=\"Card Title\" id=\"first\">\r\n"
                                       "<p align=\"center\">\r\n"
                                       "Sample text...\r\n"
                                       "</p>\r\n"
                                       "\r\n"
                                       "</card>\r\n"
                                       "</wml>\r\n");
}

} // namespace tessera
