// Commits one deliberate fault, chosen by the first argument, from inside
// the event loop of a widget application, the way a fault in the program
// would happen. The sanitizer build runs it to prove that such a fault is
// reported and fails the run: that the suppressions do not swallow a leak
// whose stack passes through the toolkit's libraries, that a memory error
// stops the process, and that undefined behaviour is not only logged.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

// Kept out of line so each fault has a frame of its own in the report.
[[gnu::noinline]] void leakFromHandler() {
  char* lost = new char[48];
  std::memset(lost, 'x', 48);
  // Only the heap block keeps the value; the pointer itself is forgotten.
  std::printf("leaked block starts with %c\n", lost[0]);
}

[[gnu::noinline]] int readPastEnd(int count) {
  int* values = new int[8]();
  const int value = values[count]; // count is 8: one past the end
  delete[] values;
  return value;
}

[[gnu::noinline]] int overflowInt(int value) { return value + 1; }

// A widget whose show handler commits the fault, so the stack runs through
// the widget library's event delivery as well as the event loop.
class FaultyWidget : public QWidget {
public:
  explicit FaultyWidget(QString mode) : mode_(std::move(mode)) {}

protected:
  void showEvent(QShowEvent*) override {
    volatile int eight = 8;
    volatile int largest = INT_MAX;
    if (mode_ == QLatin1String("leak"))
      leakFromHandler();
    else if (mode_ == QLatin1String("overflow"))
      std::printf("read %d\n", readPastEnd(eight));
    else if (mode_ == QLatin1String("ub"))
      std::printf("sum %d\n", overflowInt(largest));
    else
      return;
    if (mode_ != QLatin1String("leak"))
      std::puts("canary survived its fault");
    std::fflush(stdout);
  }

private:
  QString mode_;
};

} // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fputs("usage: sanitizer_canary leak|overflow|ub\n", stderr);
    return 2;
  }
  FaultyWidget widget{QString::fromLocal8Bit(argv[1])};
  QTimer::singleShot(0, &widget, [&widget] { widget.show(); });
  QTimer::singleShot(50, &app, &QApplication::quit);
  return app.exec();
}
