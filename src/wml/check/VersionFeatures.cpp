#include "wml/check/VersionFeatures.h"

#include <array>

namespace tessera::wml::check {

namespace {

struct Feature {
  const char* element;
  const char* attribute; // "" for the element itself
  WmlVersion version;
};

constexpr std::array kFeatures{
    Feature{"pre", "", WmlVersion::Wml12},
    Feature{"a", "accesskey", WmlVersion::Wml12},
    Feature{"anchor", "accesskey", WmlVersion::Wml12},
    Feature{"input", "accesskey", WmlVersion::Wml12},
    Feature{"go", "enctype", WmlVersion::Wml12},
    Feature{"go", "cache-control", WmlVersion::Wml13},
};

} // namespace

std::optional<WmlVersion> introducedIn(QByteArrayView element, QByteArrayView attribute) {
  for (const Feature& feature : kFeatures)
    if (element == QByteArrayView(feature.element) &&
        attribute == QByteArrayView(feature.attribute))
      return feature.version;
  return std::nullopt;
}

} // namespace tessera::wml::check
