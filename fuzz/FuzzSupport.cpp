#include "FuzzSupport.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

void ensureApplication() {
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)app;
}

void require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

QString utf16Of(const uint8_t* data, size_t size) {
  QString text;
  text.reserve(qsizetype(size / 2));
  for (size_t i = 0; i + 1 < size; i += 2)
    text.append(QChar(char16_t(data[i] | (data[i + 1] << 8))));
  return text;
}

} // namespace fuzzing
