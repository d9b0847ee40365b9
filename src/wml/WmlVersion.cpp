#include "wml/WmlVersion.h"

#include <array>

namespace tessera::wml {
namespace {

constexpr std::array<DocumentType, 3> kTypes{{
    {WmlVersion::Wml11, "1.1", "-//WAPFORUM//DTD WML 1.1//EN",
     "http://www.wapforum.org/DTD/wml_1.1.xml", 0x04, 0x01},
    {WmlVersion::Wml12, "1.2", "-//WAPFORUM//DTD WML 1.2//EN",
     "http://www.wapforum.org/DTD/wml12.dtd", 0x09, 0x03},
    {WmlVersion::Wml13, "1.3", "-//WAPFORUM//DTD WML 1.3//EN",
     "http://www.wapforum.org/DTD/wml13.dtd", 0x0A, 0x03},
}};

QLatin1String latin1(std::string_view text) {
  return QLatin1String(text.data(), qsizetype(text.size()));
}

} // namespace

std::span<const DocumentType> documentTypes() { return kTypes; }

const DocumentType& documentType(WmlVersion version) {
  return kTypes[static_cast<std::size_t>(version)];
}

QByteArray publicIdentifier(WmlVersion version) {
  const std::string_view id = documentType(version).publicId;
  return QByteArray(id.data(), qsizetype(id.size()));
}

std::optional<WmlVersion> versionOfPublicIdentifier(std::string_view publicId) {
  for (const DocumentType& type : kTypes)
    if (type.publicId == publicId)
      return type.version;
  return std::nullopt;
}

std::optional<WmlVersion> versionOfWbxmlPublicId(std::uint32_t token) {
  for (const DocumentType& type : kTypes)
    if (type.wbxmlPublicId == token)
      return type.version;
  return std::nullopt;
}

QString versionName(WmlVersion version) { return latin1(documentType(version).name); }

QString doctypeDeclaration(WmlVersion version) {
  const DocumentType& type = documentType(version);
  return QStringLiteral("<!DOCTYPE wml PUBLIC \"") + latin1(type.publicId) +
         QStringLiteral("\" \"") + latin1(type.systemId) + QStringLiteral("\">");
}

} // namespace tessera::wml
