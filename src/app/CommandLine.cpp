#include "app/CommandLine.h"

#include "platform/Product.h"

#include <QCoreApplication>

#include <cstdio>

namespace tessera {

namespace {

// Options the toolkit itself takes for the window (also with two dashes),
// which must still reach it.
bool isToolkitOption(const QString& argument) {
  static const QStringList known{
      "--platform", "--style",           "--stylesheet",   "--geometry", "--reverse",
      "--display",  "--qwindowgeometry", "--qwindowtitle", "--session",  "--platformtheme"};
  return known.contains(argument.section(QLatin1Char('='), 0, 0));
}

const CommandLineMode* modeOf(const QString& option) {
  for (const CommandLineMode& mode : commandLineModes())
    if (mode.option == option)
      return &mode;
  return nullptr;
}

} // namespace

QString usageText() {
  QString text = QStringLiteral("Usage: tessera [FILE]\n");
  for (const CommandLineMode& mode : commandLineModes())
    text += QStringLiteral("       tessera %1 %2\n").arg(mode.option, mode.operands);
  text += QStringLiteral("       tessera --version | --help\n\n"
                         "Without an option, opens FILE (or a new deck) in the editor.\n\n");
  for (const CommandLineMode& mode : commandLineModes())
    text += QStringLiteral("  %1 %2\n      %3\n").arg(mode.option, mode.operands, mode.description);
  text += QStringLiteral("  --version\n      Prints the program's version.\n"
                         "  --help\n      Prints this text.\n");
  return text;
}

std::optional<int> runCommandLine(int argc, char* argv[]) {
  if (argc < 2)
    return std::nullopt;
  const QString first = QString::fromLocal8Bit(argv[1]);
  if (!first.startsWith(QLatin1String("--")) || isToolkitOption(first))
    return std::nullopt;

  QCoreApplication application(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  QStringList operands = QCoreApplication::arguments().mid(2);
  if (first == QLatin1String("--version") && operands.isEmpty()) {
    out << kProgramVersionText << '\n';
    return kExitClean;
  }
  if (first == QLatin1String("--help") && operands.isEmpty()) {
    out << usageText();
    return kExitClean;
  }
  if (const CommandLineMode* mode = modeOf(first))
    return mode->run(operands, out, err);
  err << "tessera: unknown option " << first << "\n\n" << usageText();
  return kExitUsage;
}

} // namespace tessera
