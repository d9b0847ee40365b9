// Benchmark program: measures editor operations on large generated
// documents, each as a ratio to the toolkit's own cost in the same run.
#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  std::printf("no figures yet\n");
  return 0;
}
