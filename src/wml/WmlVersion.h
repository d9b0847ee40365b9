#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tessera::wml {

enum class WmlVersion { Wml11, Wml12, Wml13 };

// One WML version's document type as decks name it and as WBXML carries it.
// The checker, the document types we load, the compiler and decompiler and
// the new-document text all read these facts from this one table.
struct DocumentType {
  WmlVersion version;
  std::string_view name;       // "1.1"
  std::string_view publicId;   // "-//WAPFORUM//DTD WML 1.1//EN"
  std::string_view systemId;   // where the WAP Forum published the DTD
  std::uint32_t wbxmlPublicId; // the well-known public identifier token
  std::uint8_t wbxmlVersion;   // 0x01 for WBXML 1.1, 0x03 for 1.3
};

std::span<const DocumentType> documentTypes();
const DocumentType& documentType(WmlVersion version);

QByteArray publicIdentifier(WmlVersion version);
std::optional<WmlVersion> versionOfPublicIdentifier(std::string_view publicId);
inline std::optional<WmlVersion> versionOfPublicIdentifier(const QByteArray& publicId) {
  return versionOfPublicIdentifier(std::string_view(publicId.constData(), publicId.size()));
}
std::optional<WmlVersion> versionOfWbxmlPublicId(std::uint32_t token);
// "1.1", "1.2", "1.3".
QString versionName(WmlVersion version);
// <!DOCTYPE wml PUBLIC "..." "..."> for a deck of `version`.
QString doctypeDeclaration(WmlVersion version);

} // namespace tessera::wml
