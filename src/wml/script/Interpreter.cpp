#include "wml/script/Interpreter.h"

#include "wml/script/Libraries.h"
#include "wml/script/Operators.h"

#include <limits>

namespace tessera::wml::script {

struct Interpreter::Frame {
  int script = 0;
  int function = 0;
  const VerifiedUnit* unit = nullptr;
  const Instruction* code = nullptr;
  int ip = 0;
  size_t variablesBase = 0;
  size_t stackBase = 0;
};

QString fatalErrorName(FatalError error) {
  switch (error) {
  case FatalError::VerificationFailed: return QStringLiteral("verification failed");
  case FatalError::LibraryError: return QStringLiteral("library function error");
  case FatalError::InvalidFunctionArguments: return QStringLiteral("invalid function arguments");
  case FatalError::ExternalFunctionNotFound: return QStringLiteral("external function not found");
  case FatalError::UnableToLoadUnit: return QStringLiteral("unable to load compilation unit");
  case FatalError::AccessViolation: return QStringLiteral("access violation");
  case FatalError::StackUnderflow: return QStringLiteral("stack underflow");
  case FatalError::ProgrammedAbort: return QStringLiteral("programmed abort");
  case FatalError::StackOverflow: return QStringLiteral("stack overflow");
  case FatalError::OutOfMemory: return QStringLiteral("out of memory");
  case FatalError::UserInitiated: return QStringLiteral("stopped by the user");
  case FatalError::SystemInitiated: return QStringLiteral("stopped by the system");
  }
  return QStringLiteral("fatal error");
}

Interpreter::Interpreter(ScriptHost& host, RunLimits limits) : host_(host), limits_(limits) {
  random_.seed(std::random_device{}());
}

Interpreter::~Interpreter() = default;

void Interpreter::seedRandom(quint32 seed) { random_.seed(seed); }

bool Interpreter::start(std::shared_ptr<const VerifiedUnit> unit, const QUrl& unitUrl,
                        const QString& name, const QList<Value>& arguments, const QUrl& referer) {
  scripts_.clear();
  frames_.clear();
  stack_.clear();
  variables_.clear();
  navigation_ = {};
  newContextCalled_ = false;
  refreshRequested_ = false;
  instructionsRun_ = 0;
  charactersUsed_ = 0;
  result_ = Value::invalid();
  state_ = State::Ready;
  QUrl base = unitUrl;
  base.setFragment(QString());
  scripts_.push_back({std::move(unit), base, referer});
  const int function = scripts_.front().unit->externFunction(name);
  if (function < 0) {
    fail(FatalError::ExternalFunctionNotFound,
         QStringLiteral("the unit has no extern function \"%1\"").arg(name));
    errorFunction_ = name;
    return false;
  }
  const VerifiedFunction& callee = scripts_.front().unit->functions()[function];
  if (callee.arguments != arguments.size()) {
    fail(FatalError::InvalidFunctionArguments,
         QStringLiteral("%1 takes %2 arguments, the call gives %3")
             .arg(name)
             .arg(callee.arguments)
             .arg(arguments.size()));
    errorFunction_ = name;
    return false;
  }
  for (const Value& argument : arguments)
    stack_.push_back(argument);
  return enterFunction(0, function, int(arguments.size()));
}

QString Interpreter::functionLabel(int script, int function) const {
  const VerifiedFunction& f = scripts_[script].unit->functions()[function];
  return f.name.isEmpty() ? QStringLiteral("function %1").arg(function) : f.name;
}

void Interpreter::fail(FatalError error, const QString& message) {
  state_ = State::Failed;
  error_ = error;
  errorMessage_ = message;
  errorFunction_ =
      frames_.empty() ? QString() : functionLabel(frames_.back().script, frames_.back().function);
}

bool Interpreter::enterFunction(int script, int function, int argumentCount) {
  if (int(frames_.size()) >= limits_.maxCallDepth) {
    fail(FatalError::StackOverflow,
         QStringLiteral("calls nested more than %1 deep").arg(limits_.maxCallDepth));
    return false;
  }
  const VerifiedUnit* unit = scripts_[script].unit.get();
  const VerifiedFunction& callee = unit->functions()[function];
  Frame frame;
  frame.script = script;
  frame.function = function;
  frame.unit = unit;
  frame.code = callee.code.constData();
  frame.variablesBase = variables_.size();
  // Arguments become the first variables, in the order they were pushed;
  // locals start as empty strings.
  const size_t first = stack_.size() - size_t(argumentCount);
  for (size_t i = first; i < stack_.size(); ++i)
    variables_.push_back(std::move(stack_[i]));
  stack_.resize(first);
  for (int i = 0; i < callee.locals; ++i)
    variables_.push_back(Value::string(QString()));
  frame.stackBase = stack_.size();
  frames_.push_back(frame);
  return true;
}

void Interpreter::finish(const Value& value) {
  result_ = value;
  state_ = State::Finished;
  frames_.clear();
  stack_.clear();
  variables_.clear();
}

void Interpreter::leaveFunction(const Value& value) {
  const Frame frame = frames_.back();
  frames_.pop_back();
  variables_.resize(frame.variablesBase);
  stack_.resize(frame.stackBase);
  if (frames_.empty()) {
    finish(value);
    return;
  }
  stack_.push_back(value);
}

bool Interpreter::chargeString(const Value& value) {
  if (value.type() != ValueType::String)
    return true;
  return chargeCharacters(value.stringValue().size(), value.stringValue().size());
}

bool Interpreter::chargeCharacters(qsizetype length, qsizetype added) {
  charactersUsed_ += added;
  if (length > limits_.maxStringLength) {
    fail(FatalError::OutOfMemory,
         QStringLiteral("a string grew past %1 characters").arg(limits_.maxStringLength));
    return false;
  }
  if (charactersUsed_ > limits_.characterBudget) {
    fail(FatalError::OutOfMemory,
         QStringLiteral("the script built more than %1 characters of strings")
             .arg(limits_.characterBudget));
    return false;
  }
  return true;
}

bool Interpreter::callLibrary(int library, int function, int argumentCount) {
  const size_t first = stack_.size() - size_t(argumentCount);
  std::vector<Value> arguments(std::make_move_iterator(stack_.begin() + qsizetype(first)),
                               std::make_move_iterator(stack_.end()));
  stack_.resize(first);
  const LoadedScript& script = scripts_[frames_.back().script];
  LibraryContext context{host_,       random_,           script.url,       script.referer,
                         navigation_, newContextCalled_, refreshRequested_};
  LibraryOutcome outcome = callLibraryFunction(context, library, function, arguments.data());
  switch (outcome.kind) {
  case LibraryOutcome::Kind::Return:
    if (!chargeString(outcome.value))
      return false;
    stack_.push_back(std::move(outcome.value));
    return true;
  case LibraryOutcome::Kind::Exit: finish(outcome.value); return false;
  case LibraryOutcome::Kind::Abort:
    fail(FatalError::ProgrammedAbort, outcome.message);
    return false;
  case LibraryOutcome::Kind::Dialog:
    dialog_ = outcome.dialog;
    state_ = State::WaitingForDialog;
    return false;
  }
  return true;
}

bool Interpreter::callUrl(int urlConstant, int nameConstant, int argumentCount) {
  const Frame& frame = frames_.back();
  const LoadedScript& caller = scripts_[frame.script];
  QUrl url = caller.url.resolved(QUrl(frame.unit->constantText(urlConstant)));
  url.setFragment(QString());
  const QString name = frame.unit->constantText(nameConstant);
  LoadedUnit loaded = host_.loadUnit(url);
  if (!loaded.unit) {
    fail(FatalError::UnableToLoadUnit,
         QStringLiteral("cannot load %1: %2").arg(url.toDisplayString(), loaded.error));
    return false;
  }
  if (!accessAllowed(*loaded.unit, url, caller.url)) {
    fail(FatalError::AccessViolation,
         QStringLiteral("%1 does not let %2 call it")
             .arg(url.toDisplayString(), caller.url.toDisplayString()));
    return false;
  }
  const int function = loaded.unit->externFunction(name);
  if (function < 0) {
    fail(FatalError::ExternalFunctionNotFound,
         QStringLiteral("%1 has no extern function \"%2\"").arg(url.toDisplayString(), name));
    return false;
  }
  if (loaded.unit->functions()[function].arguments != argumentCount) {
    fail(FatalError::InvalidFunctionArguments,
         QStringLiteral("%1#%2 takes %3 arguments, the call gives %4")
             .arg(url.toDisplayString(), name)
             .arg(loaded.unit->functions()[function].arguments)
             .arg(argumentCount));
    return false;
  }
  scripts_.push_back({std::move(loaded.unit), url, caller.url});
  return enterFunction(int(scripts_.size()) - 1, function, argumentCount);
}

Interpreter::State Interpreter::run(qint64 maxInstructions) {
  if (state_ == State::Ready)
    state_ = State::Running;
  if (state_ != State::Running)
    return state_;
  const qint64 sliceEnd =
      maxInstructions > 0 ? instructionsRun_ + maxInstructions : std::numeric_limits<qint64>::max();
  const auto maxStack = size_t(limits_.maxStackValues);

  while (state_ == State::Running) {
    if (instructionsRun_ >= limits_.instructionBudget) {
      fail(FatalError::SystemInitiated,
           QStringLiteral("the script ran %1 instructions without ending")
               .arg(limits_.instructionBudget));
      break;
    }
    if (instructionsRun_ >= sliceEnd)
      break;
    ++instructionsRun_;
    Frame& frame = frames_.back();
    const Instruction& in = frame.code[frame.ip++];
    Value* const locals = variables_.data() + frame.variablesBase;
    const size_t height = stack_.size() - frame.stackBase;

    // Operands this instruction pops, and whether it pushes one more than
    // it pops (then the stack must have room).
    int pops = 0;
    bool grows = false;
    switch (in.op) {
    case Opcode::LoadVar:
    case Opcode::LoadConst:
    case Opcode::Const0:
    case Opcode::Const1:
    case Opcode::ConstM1:
    case Opcode::ConstEs:
    case Opcode::ConstInvalid:
    case Opcode::ConstTrue:
    case Opcode::ConstFalse: grows = true; break;
    case Opcode::ScAnd:
    case Opcode::ScOr:
      pops = 1;
      grows = true;
      break;
    case Opcode::TJumpFw:
    case Opcode::StoreVar:
    case Opcode::AddAsg:
    case Opcode::SubAsg:
    case Opcode::Incr:
    case Opcode::Decr:
    case Opcode::UMinus:
    case Opcode::BNot:
    case Opcode::Not:
    case Opcode::ToBool:
    case Opcode::Pop:
    case Opcode::TypeOf:
    case Opcode::IsValid:
    case Opcode::Return: pops = 1; break;
    case Opcode::Call:
      pops = in.b;
      grows = in.b == 0;
      break;
    case Opcode::CallLib:
    case Opcode::CallUrl:
      pops = in.c;
      grows = in.c == 0;
      break;
    case Opcode::JumpFw:
    case Opcode::IncrVar:
    case Opcode::DecrVar:
    case Opcode::ReturnEs:
    case Opcode::Debug: break;
    default: // the binary operators
      pops = 2;
      break;
    }
    if (height < size_t(pops)) {
      fail(FatalError::StackUnderflow,
           QStringLiteral("%1 needs %2 operands, the stack holds %3")
               .arg(QLatin1String(mnemonic(in.op).data(), qsizetype(mnemonic(in.op).size())))
               .arg(pops)
               .arg(height));
      break;
    }
    if (grows && stack_.size() + 1 > maxStack) {
      fail(FatalError::StackOverflow,
           QStringLiteral("the operand stack grew past %1 values").arg(limits_.maxStackValues));
      break;
    }

    switch (in.op) {
    case Opcode::JumpFw: frame.ip = in.a; break;
    case Opcode::TJumpFw: {
      const auto condition = stack_.back().toBoolean();
      stack_.pop_back();
      if (!condition || !*condition)
        frame.ip = in.a;
      break;
    }
    case Opcode::Call: enterFunction(frame.script, in.a, in.b); break;
    case Opcode::CallLib: callLibrary(in.a, in.b, in.c); break;
    case Opcode::CallUrl: callUrl(in.a, in.b, in.c); break;
    case Opcode::LoadVar: stack_.push_back(locals[in.a]); break;
    case Opcode::StoreVar:
      locals[in.a] = std::move(stack_.back());
      stack_.pop_back();
      break;
    case Opcode::IncrVar: locals[in.a] = incremented(locals[in.a], 1); break;
    case Opcode::DecrVar: locals[in.a] = incremented(locals[in.a], -1); break;
    case Opcode::AddAsg: {
      Value& target = locals[in.a];
      const auto appended = stack_.back().toText();
      if (target.type() == ValueType::String && appended) {
        // Charged by what is added: the string itself grows in place.
        target.appendText(*appended);
        stack_.pop_back();
        chargeCharacters(target.stringValue().size(), appended->size());
        break;
      }
      target = addValues(target, stack_.back());
      stack_.pop_back();
      chargeString(target);
      break;
    }
    case Opcode::SubAsg:
      locals[in.a] = subtractValues(locals[in.a], stack_.back());
      stack_.pop_back();
      break;
    case Opcode::LoadConst: stack_.push_back(frame.unit->constants()[in.a]); break;
    case Opcode::Const0: stack_.push_back(Value::integer(0)); break;
    case Opcode::Const1: stack_.push_back(Value::integer(1)); break;
    case Opcode::ConstM1: stack_.push_back(Value::integer(-1)); break;
    case Opcode::ConstEs: stack_.push_back(Value::string(QString())); break;
    case Opcode::ConstInvalid: stack_.push_back(Value::invalid()); break;
    case Opcode::ConstTrue: stack_.push_back(Value::boolean(true)); break;
    case Opcode::ConstFalse: stack_.push_back(Value::boolean(false)); break;
    case Opcode::Incr: stack_.back() = incremented(stack_.back(), 1); break;
    case Opcode::Decr: stack_.back() = incremented(stack_.back(), -1); break;
    case Opcode::UMinus: stack_.back() = unaryMinus(stack_.back()); break;
    case Opcode::BNot: stack_.back() = bitwiseNot(stack_.back()); break;
    case Opcode::Not: stack_.back() = logicalNot(stack_.back()); break;
    case Opcode::ToBool: stack_.back() = toBooleanValue(stack_.back()); break;
    case Opcode::TypeOf: stack_.back() = Value::integer(int(stack_.back().type())); break;
    case Opcode::IsValid: stack_.back() = Value::boolean(!stack_.back().isInvalid()); break;
    case Opcode::Pop: stack_.pop_back(); break;
    case Opcode::ScAnd: {
      // False or invalid: that value stays as the result and a false makes
      // the following conditional jump skip the right operand.
      const auto value = stack_.back().toBoolean();
      stack_.pop_back();
      if (value && *value) {
        stack_.push_back(Value::boolean(true));
      } else {
        stack_.push_back(value ? Value::boolean(false) : Value::invalid());
        stack_.push_back(Value::boolean(false));
      }
      break;
    }
    case Opcode::ScOr: {
      const auto value = stack_.back().toBoolean();
      stack_.pop_back();
      if (value && !*value) {
        stack_.push_back(Value::boolean(true));
      } else {
        stack_.push_back(value ? Value::boolean(true) : Value::invalid());
        stack_.push_back(Value::boolean(false));
      }
      break;
    }
    case Opcode::Return: {
      const Value value = std::move(stack_.back());
      leaveFunction(value);
      break;
    }
    case Opcode::ReturnEs: leaveFunction(Value::string(QString())); break;
    case Opcode::Debug: break;
    default: {
      const Value b = std::move(stack_.back());
      stack_.pop_back();
      Value& a = stack_.back();
      switch (in.op) {
      case Opcode::Add:
        a = addValues(a, b);
        chargeString(a);
        break;
      case Opcode::Sub: a = subtractValues(a, b); break;
      case Opcode::Mul: a = multiplyValues(a, b); break;
      case Opcode::Div: a = divideValues(a, b); break;
      case Opcode::IDiv: a = integerDivide(a, b); break;
      case Opcode::Rem: a = remainderOf(a, b); break;
      case Opcode::BAnd: a = bitwiseAnd(a, b); break;
      case Opcode::BOr: a = bitwiseOr(a, b); break;
      case Opcode::BXor: a = bitwiseXor(a, b); break;
      case Opcode::BLShift: a = shiftLeft(a, b); break;
      case Opcode::BRsShift: a = shiftRightSigned(a, b); break;
      case Opcode::BRszShift: a = shiftRightZeroFill(a, b); break;
      case Opcode::Eq: a = compareValues(a, b, Comparison::Equal); break;
      case Opcode::Ne: a = compareValues(a, b, Comparison::NotEqual); break;
      case Opcode::Lt: a = compareValues(a, b, Comparison::Less); break;
      case Opcode::Le: a = compareValues(a, b, Comparison::LessOrEqual); break;
      case Opcode::Gt: a = compareValues(a, b, Comparison::Greater); break;
      case Opcode::Ge: a = compareValues(a, b, Comparison::GreaterOrEqual); break;
      default:
        // The verifier folds every other opcode into one handled above.
        fail(FatalError::VerificationFailed, QStringLiteral("unexpected instruction"));
        break;
      }
      break;
    }
    }
  }
  return state_;
}

void Interpreter::answerPrompt(const QString& text) {
  if (state_ != State::WaitingForDialog || dialog_.kind != DialogRequest::Kind::Prompt)
    return;
  state_ = State::Running;
  const Value value = Value::string(text);
  if (chargeString(value))
    stack_.push_back(value);
}

void Interpreter::answerConfirm(bool ok) {
  if (state_ != State::WaitingForDialog || dialog_.kind != DialogRequest::Kind::Confirm)
    return;
  state_ = State::Running;
  stack_.push_back(Value::boolean(ok));
}

void Interpreter::dismissAlert() {
  if (state_ != State::WaitingForDialog || dialog_.kind != DialogRequest::Kind::Alert)
    return;
  state_ = State::Running;
  stack_.push_back(Value::string(QString()));
}

void Interpreter::cancel() {
  if (state_ == State::Finished || state_ == State::Failed)
    return;
  fail(FatalError::UserInitiated, QStringLiteral("the script was stopped"));
}

PendingNavigation Interpreter::navigation() const {
  if (state_ == State::Failed)
    return {};
  if (newContextCalled_ && navigation_.kind == PendingNavigation::Kind::Prev)
    return {};
  return navigation_;
}

namespace {

QStringList labels(const QString& host) { return host.toLower().split(u'.', Qt::SkipEmptyParts); }

QStringList segments(const QString& path) { return path.split(u'/', Qt::SkipEmptyParts); }

} // namespace

bool accessAllowed(const VerifiedUnit& unit, const QUrl& unitUrl, const QUrl& referer) {
  return accessAllowed(unit.accessDomain(), unit.accessPath(), unitUrl, referer);
}

bool accessAllowed(const std::optional<QString>& accessDomain,
                   const std::optional<QString>& accessPath, const QUrl& unitUrl,
                   const QUrl& referer) {
  if (!accessDomain && !accessPath)
    return true;
  const QString domain = accessDomain.value_or(unitUrl.host());
  const QString path =
      accessPath ? unitUrl.resolved(QUrl(*accessPath)).path() : QStringLiteral("/");
  const QStringList wantedLabels = labels(domain);
  const QStringList refererLabels = labels(referer.host());
  if (wantedLabels.size() > refererLabels.size())
    return false;
  for (qsizetype i = 1; i <= wantedLabels.size(); ++i) {
    if (wantedLabels[wantedLabels.size() - i] != refererLabels[refererLabels.size() - i])
      return false;
  }
  const QStringList wantedSegments = segments(path);
  const QStringList refererSegments = segments(referer.path());
  if (wantedSegments.size() > refererSegments.size())
    return false;
  for (qsizetype i = 0; i < wantedSegments.size(); ++i) {
    if (wantedSegments[i] != refererSegments[i])
      return false;
  }
  return true;
}

} // namespace tessera::wml::script
