#pragma once

#include <QSize>
#include <QString>

#include <vector>

namespace tessera::wml::agent {

// The phone displays the preview draws and the site check fits pictures to,
// in device pixels, with the body font's pixel size.
struct PhoneDisplay {
  QString name; // "128x128", as the command line takes it
  QSize size;
  int fontPixels = 10;
  QString label() const; // "128 × 128", as the preview lists it
};

const std::vector<PhoneDisplay>& phoneDisplays();

// The preview's first choice.
inline constexpr int kDefaultPhoneDisplay = 1;

// The display named "128x128" (or "128 × 128"); -1 for none.
int phoneDisplayNamed(const QString& name);

} // namespace tessera::wml::agent
