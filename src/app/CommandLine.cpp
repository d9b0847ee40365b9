#include "app/CommandLine.h"
#include "app/CommandLineModes.h"

#include "platform/Product.h"

#include <QCoreApplication>

namespace tessera {

namespace {

const QString kProgram = QStringLiteral("tessera");

const QCommandLineOption& helpOption() {
  static const QCommandLineOption option({QStringLiteral("h"), QStringLiteral("help")},
                                         QStringLiteral("Prints this text."));
  return option;
}

// Where the editor puts the caret in the file it opens.
const QCommandLineOption& lineOption() {
  static const QCommandLineOption option(QStringLiteral("line"),
                                         QStringLiteral("The editor: the line the caret goes to."),
                                         QStringLiteral("N"));
  return option;
}

const QCommandLineOption& columnOption() {
  static const QCommandLineOption option(
      QStringLiteral("column"),
      QStringLiteral("The editor: the column (character) the caret goes to in that line."),
      QStringLiteral("N"));
  return option;
}

const QCommandLineOption& versionOption() {
  static const QCommandLineOption option(QStringLiteral("version"),
                                         QStringLiteral("Prints the program's version."));
  return option;
}

QString synopsis() {
  QString text = QStringLiteral("Usage: tessera [FILE]\n");
  for (const CommandLineMode& mode : commandLineModes())
    text += QStringLiteral("       tessera --%1 %2\n").arg(mode.name, mode.operands);
  text += QStringLiteral("       tessera --version | --help\n\n"
                         "Without a mode, opens FILE (or a new deck) in the editor; the "
                         "toolkit's own\noptions (-style, -platform, ...) are taken then.");
  return text;
}

// Every option the program knows, so that a misspelt one is refused by
// name. Words with one dash are read whole (-style, not -s -t -y ...).
void describe(QCommandLineParser& parser) {
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(synopsis());
  for (const CommandLineMode& mode : commandLineModes())
    parser.addOption(QCommandLineOption(mode.name, mode.description));
  for (const QCommandLineOption& option : modeOptions())
    parser.addOption(option);
  parser.addOption(lineOption());
  parser.addOption(columnOption());
  parser.addOption(helpOption());
  parser.addOption(versionOption());
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The deck the editor opens."),
                               QStringLiteral("[FILE]"));
}

QString usageLine(const CommandLineMode* mode) {
  if (mode)
    return QStringLiteral("Usage: tessera --%1 %2").arg(mode->name, mode->operands);
  return QStringLiteral("Usage: tessera [FILE] (tessera --help lists the modes and options)");
}

// The parser names an unknown option without its dashes; the person wants
// to see it as typed.
QString asTyped(const QStringList& arguments, const QString& name) {
  for (const QString& argument : arguments.mid(1)) {
    if (argument == QLatin1String("--"))
      break;
    QString word = argument.section(u'=', 0, 0);
    if (word.startsWith(u'-') && QStringView(word).sliced(word.startsWith(u"--") ? 2 : 1) == name)
      return word;
  }
  return QStringLiteral("--") + name;
}

QString dashed(const QCommandLineOption& option) {
  const QString& name = option.names().constFirst();
  return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

// The modes an option belongs to, as "--compile or --wbmp".
QString modesTaking(const QString& name) {
  QStringList modes;
  for (const CommandLineMode& mode : commandLineModes())
    if (mode.options.contains(name))
      modes.append(QStringLiteral("--") + mode.name);
  return modes.join(QStringLiteral(" or "));
}

// The parser's words for an option given last without its value are its
// own; these name the value the option wants.
std::optional<QString> missingValue(const QString& lastArgument) {
  for (const QCommandLineOption& option : modeOptions())
    for (const QString& name : option.names())
      if (!option.valueName().isEmpty() &&
          (lastArgument == u'-' + name || lastArgument == QStringLiteral("--") + name))
        return QStringLiteral("%1: expected %2 after it").arg(lastArgument, option.valueName());
  return std::nullopt;
}

struct Reading {
  const CommandLineMode* mode = nullptr;
  QString error; // empty when the command line makes sense
};

Reading read(QCommandLineParser& parser, const QStringList& arguments) {
  Reading reading;
  for (const CommandLineMode& mode : commandLineModes()) {
    if (!parser.isSet(mode.name))
      continue;
    if (reading.mode) {
      reading.error =
          QStringLiteral("--%1 and --%2: one mode at a time").arg(reading.mode->name, mode.name);
      return reading;
    }
    reading.mode = &mode;
  }
  if (!parser.unknownOptionNames().isEmpty()) {
    reading.error = QStringLiteral("unknown option %1")
                        .arg(asTyped(arguments, parser.unknownOptionNames().constFirst()));
    return reading;
  }
  if (!parser.errorText().isEmpty()) {
    reading.error = missingValue(arguments.constLast()).value_or(parser.errorText());
    return reading;
  }
  if (reading.mode && (parser.isSet(lineOption()) || parser.isSet(columnOption()))) {
    reading.error = QStringLiteral("--line and --column: only when the editor opens FILE");
    return reading;
  }
  for (const QCommandLineOption& option : modeOptions()) {
    const QString& name = option.names().constLast();
    if (!parser.isSet(name) || (reading.mode && reading.mode->options.contains(name)))
      continue;
    reading.error = QStringLiteral("%1: only with %2").arg(dashed(option), modesTaking(name));
    return reading;
  }
  return reading;
}

bool wantsNoWindow(const QCommandLineParser& parser) {
  if (parser.isSet(helpOption()) || parser.isSet(versionOption()))
    return true;
  for (const CommandLineMode& mode : commandLineModes())
    if (parser.isSet(mode.name))
      return true;
  return false;
}

QStringList withProgram(const QStringList& arguments) { return QStringList{kProgram} + arguments; }

} // namespace

int ModeContext::usageError(const QString& message) const {
  err << kProgram << ": " << message << '\n' << usageLine(&mode) << '\n';
  return kExitUsage;
}

QString helpText() {
  QCommandLineParser parser;
  describe(parser);
  // The parser's own first line names the executable as it was started and
  // says little; the synopsis after it says it all.
  const QString text = parser.helpText();
  return text.mid(text.indexOf(u'\n') + 1);
}

std::optional<int> runCommandLine(int argc, char* argv[],
                                  ModeRunner (*moduleModes)(const QString& name)) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments.append(QString::fromLocal8Bit(argv[i]));
  QCommandLineParser parser;
  describe(parser);
  parser.parse(arguments);
  if (!wantsNoWindow(parser))
    return std::nullopt;
  // A mode of the program module is left to it whole, usage errors
  // included, so that it reads the command line exactly as here.
  if (!moduleModes)
    for (const CommandLineMode& mode : commandLineModes())
      if (parser.isSet(mode.name) && !mode.run)
        return std::nullopt;
  QCoreApplication application(argc, argv);
  QTextStream out(stdout);
  QTextStream err(stderr);
  return runWindowless(QCoreApplication::arguments().mid(1), out, err, moduleModes);
}

int runWindowless(const QStringList& arguments, QTextStream& out, QTextStream& err,
                  ModeRunner (*moduleModes)(const QString& name)) {
  QCommandLineParser parser;
  describe(parser);
  parser.parse(withProgram(arguments));
  if (parser.isSet(helpOption())) {
    out << helpText();
    return kExitClean;
  }
  Reading reading;
  if (!parser.isSet(versionOption()))
    reading = read(parser, withProgram(arguments));
  else if (arguments.size() == 1) {
    out << kProgramVersionText << '\n';
    return kExitClean;
  } else
    reading.error = QStringLiteral("--version: takes nothing else");
  if (reading.error.isEmpty() && !reading.mode)
    reading.error = QStringLiteral("no mode given");
  if (!reading.error.isEmpty()) {
    err << kProgram << ": " << reading.error << '\n' << usageLine(reading.mode) << '\n';
    return kExitUsage;
  }
  ModeRunner run = reading.mode->run;
  if (!run && moduleModes)
    run = moduleModes(reading.mode->name);
  if (!run) {
    err << kProgram << ": --" << reading.mode->name << ": not part of this build\n";
    return kExitUsage;
  }
  return run(ModeContext{parser, *reading.mode, out, err});
}

std::optional<QString> editorFile(const QStringList& arguments, QTextStream& err) {
  QCommandLineParser parser;
  describe(parser);
  parser.parse(arguments);
  Reading reading = read(parser, arguments);
  const QStringList files = parser.positionalArguments();
  if (reading.error.isEmpty() && files.size() > 1)
    reading.error = QStringLiteral("%1: the editor opens one FILE at a time").arg(files.at(1));
  if (reading.error.isEmpty())
    return files.value(0);
  err << kProgram << ": " << reading.error << '\n' << usageLine(nullptr) << '\n';
  return std::nullopt;
}

std::optional<StartupRequest> startupRequest(const QStringList& arguments, QTextStream& err) {
  const std::optional<QString> file = editorFile(arguments, err);
  if (!file)
    return std::nullopt;
  QCommandLineParser parser;
  describe(parser);
  parser.parse(arguments);
  StartupRequest request{*file};
  for (const auto& [option, place] : {std::pair{&lineOption(), &request.place.line},
                                      std::pair{&columnOption(), &request.place.column}}) {
    if (!parser.isSet(*option))
      continue;
    bool number = false;
    const QString word = parser.value(*option);
    *place = word.toInt(&number);
    if (!number || *place < 1) {
      err << kProgram << ": " << dashed(*option) << ' ' << word << ": expected a number above 0\n"
          << usageLine(nullptr) << '\n';
      return std::nullopt;
    }
  }
  return request;
}

} // namespace tessera
