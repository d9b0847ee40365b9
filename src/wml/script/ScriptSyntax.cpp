#include "wml/script/ScriptSyntax.h"

namespace tessera::wml::script {

Finding findingAt(const SourceRange& range, Severity severity, const QString& rule,
                  const QString& message) {
  return {range.start, severity, message, rule, range.end};
}

namespace {

// Thrown to unwind to parseScript() at the first syntax error.
struct SyntaxError {
  Finding finding;
};

using ExpressionPtr = Expression*;
using StatementPtr = Statement*;

SourceRange spanning(const SourceRange& from, const SourceRange& to) {
  return {from.start, to.end};
}

bool isAssignmentOperator(const Token& t) {
  switch (t.symbol) {
  case Symbol::Assign:
  case Symbol::TimesAssign:
  case Symbol::DivideAssign:
  case Symbol::RemainderAssign:
  case Symbol::PlusAssign:
  case Symbol::MinusAssign:
  case Symbol::ShiftLeftAssign:
  case Symbol::ShiftRightAssign:
  case Symbol::ShiftRightZeroAssign:
  case Symbol::AndAssign:
  case Symbol::XorAssign:
  case Symbol::OrAssign:
  case Symbol::DivAssign: return true;
  default: return false;
  }
}

// How tightly a binary operator binds, from 0 (||, the loosest) to 9 (*, /,
// div, %); -1 for a token that is none.
int binaryLevel(const Token& t) {
  switch (t.symbol) {
  case Symbol::OrOr: return 0;
  case Symbol::AndAnd: return 1;
  case Symbol::Or: return 2;
  case Symbol::Xor: return 3;
  case Symbol::And: return 4;
  case Symbol::Equal:
  case Symbol::NotEqual: return 5;
  case Symbol::Less:
  case Symbol::Greater:
  case Symbol::LessEqual:
  case Symbol::GreaterEqual: return 6;
  case Symbol::ShiftLeft:
  case Symbol::ShiftRight:
  case Symbol::ShiftRightZero: return 7;
  case Symbol::Plus:
  case Symbol::Minus: return 8;
  case Symbol::Times:
  case Symbol::Divide:
  case Symbol::Div:
  case Symbol::Remainder: return 9;
  default: return -1;
  }
}

class Parser {
public:
  Parser(TokenStream& tokens, std::pmr::memory_resource& arena)
      : tokens(tokens), arena(arena), current_(tokens.next()) {}

  CompilationUnit unit;

  void parseUnit() {
    while (current().is(Symbol::Use))
      unit.pragmas.push_back(parsePragma());
    while (current().kind != TokenKind::End) {
      if (current().is(Symbol::Use))
        fail(current(), QStringLiteral("a \"use\" pragma must come before the first function"));
      unit.functions.push_back(parseFunction());
    }
  }

private:
  // The parser looks at most one token ahead and one back: the tokens are
  // read as it goes, and each accessor hands out a copy, so a token held
  // while parsing on stays valid.
  TokenStream& tokens;
  std::pmr::memory_resource& arena;
  // The lists being read (a block's statements, a call's arguments), nested
  // ones above the outer ones; each is copied into the arena when complete.
  std::vector<void*> pending;
  Token previous_;
  Token current_;
  Token ahead_;
  bool hasAhead = false;
  // How many tokens have been taken.
  qsizetype index = 0;
  // How deep the parser has recursed, and how long an operator chain has
  // grown: text typed into the editor is checked as it is, and a pasted
  // "((((..." or "1+1+1+..." a hundred thousand long must end in an error,
  // not in a stack overflow of the parser, the checks or the code
  // generator (which all walk the tree recursively).
  int nesting = 0;
  static constexpr int kMaxNesting = 200;
  static constexpr int kMaxChain = 2000;
  struct Nested {
    Parser& parser;
    explicit Nested(Parser& p) : parser(p) {
      if (++parser.nesting > kMaxNesting)
        parser.fail(parser.current(),
                    QStringLiteral("nested too deeply (more than %1 levels)").arg(kMaxNesting));
    }
    ~Nested() { --parser.nesting; }
  };
  int chain = 0;
  void lengthenChain(const Token& at) {
    if (++chain > kMaxChain)
      fail(at,
           QStringLiteral("expression too long (more than %1 operators in a row)").arg(kMaxChain));
  }

  Token current() const { return current_; }
  // The token after the current one (the current one at the end).
  Token peek() {
    if (current_.endsText())
      return current_;
    if (!hasAhead) {
      ahead_ = tokens.next();
      hasAhead = true;
    }
    return ahead_;
  }
  // The last token taken (the current one before the first).
  Token previous() const { return index > 0 ? previous_ : current_; }
  Token take() {
    const Token t = current_;
    if (t.endsText())
      return t;
    ++index;
    previous_ = t;
    current_ = hasAhead ? ahead_ : tokens.next();
    hasAhead = false;
    return t;
  }

  static QString describe(const Token& t) {
    switch (t.kind) {
    case TokenKind::End: return QStringLiteral("the end of the file");
    case TokenKind::String: return QStringLiteral("a string");
    case TokenKind::Integer:
    case TokenKind::Float: return QStringLiteral("the number %1").arg(t.text);
    default: return QStringLiteral("\"%1\"").arg(t.text);
    }
  }

  [[noreturn]] void fail(const Token& at, const QString& message,
                         const QString& rule = QStringLiteral("syntax-error"),
                         std::optional<SourceRange> where = std::nullopt) {
    if (at.kind == TokenKind::Error)
      throw SyntaxError{
          findingAt(at.range, Severity::Error, QStringLiteral("syntax-error"), tokens.error())};
    throw SyntaxError{findingAt(where.value_or(at.range), Severity::Error, rule, message)};
  }
  [[noreturn]] void expected(const QString& what) {
    const QString message =
        QStringLiteral("expected %1 but found %2").arg(what, describe(current()));
    if (current().kind == TokenKind::End && index > 0) {
      // At the end of the file: where the text stops, not on a line after.
      const SourceRange& end = previous().range;
      fail(current(), message, QStringLiteral("syntax-error"),
           SourceRange{end.end, {end.end.line, end.end.column + 1}});
    }
    fail(current(), message);
  }

  Token expectPunctuator(Symbol symbol, const QString& context = QString()) {
    if (current().is(symbol))
      return take();
    if (symbol == Symbol::Semicolon && index > 0 && current().kind != TokenKind::Error) {
      // A missing semicolon is missed where the statement ends, which is
      // usually the line before the next token.
      const SourceRange& end = previous().range;
      fail(current(),
           QStringLiteral("expected \";\"%1 but found %2").arg(context, describe(current())),
           QStringLiteral("syntax-error"),
           SourceRange{end.end, {end.end.line, end.end.column + 1}});
    }
    expected(QStringLiteral("\"%1\"%2").arg(symbolText(symbol), context));
  }
  Token expectKeyword(Symbol symbol) {
    if (!current().is(symbol))
      expected(QStringLiteral("\"%1\"").arg(symbolText(symbol)));
    return take();
  }
  // A name the program makes up: a reserved word there is reported as such,
  // because that is the mistake a reader makes.
  Token expectIdentifier(const QString& what) {
    const Token& t = current();
    if (t.kind == TokenKind::Keyword || t.kind == TokenKind::ReservedWord)
      fail(t, QStringLiteral("\"%1\" is a reserved word and cannot be %2").arg(t.text, what),
           QStringLiteral("reserved-word"));
    if (t.kind != TokenKind::Identifier)
      expected(what);
    return take();
  }
  QString expectString(const QString& what) {
    if (current().kind != TokenKind::String)
      expected(what);
    return take().value.toString();
  }

  // A node in the arena: nodes own nothing, so the arena frees them all at
  // once without running destructors.
  template <typename Node> Node* make() {
    static_assert(std::is_trivially_destructible_v<Node>);
    return new (arena.allocate(sizeof(Node), alignof(Node))) Node();
  }
  // Room in the arena for a list of `count` nodes.
  template <typename Node> Node** room(size_t count) {
    return static_cast<Node**>(arena.allocate(count * sizeof(Node*), alignof(Node*)));
  }
  template <typename Node> NodeSpan<Node> list(std::initializer_list<Node*> nodes) {
    Node** items = room<Node>(nodes.size());
    std::copy(nodes.begin(), nodes.end(), items);
    return NodeSpan<Node>(items, nodes.size());
  }
  // The nodes pending since `start`, as a list in the arena.
  template <typename Node> NodeSpan<Node> listFrom(size_t start) {
    const size_t count = pending.size() - start;
    if (count == 0)
      return {};
    Node** items = room<Node>(count);
    for (size_t i = 0; i < count; ++i)
      items[i] = static_cast<Node*>(pending[start + i]);
    pending.resize(start);
    return NodeSpan<Node>(items, count);
  }

  Pragma parsePragma() {
    Pragma pragma;
    const Token& use = take();
    if (current().is(Symbol::Url)) {
      take();
      pragma.kind = Pragma::Kind::Url;
      const Token& name = expectIdentifier(QStringLiteral("the name of a use url pragma"));
      pragma.name = name.text.toString();
      pragma.nameRange = name.range;
      pragma.url = expectString(QStringLiteral("the unit's URL as a string"));
    } else if (current().is(Symbol::Access)) {
      take();
      pragma.kind = Pragma::Kind::Access;
      if (!current().is(Symbol::Domain) && !current().is(Symbol::Path))
        expected(QStringLiteral("\"domain\" or \"path\""));
      if (current().is(Symbol::Domain)) {
        take();
        pragma.domain = expectString(QStringLiteral("the access domain as a string"));
      }
      if (current().is(Symbol::Path)) {
        take();
        pragma.path = expectString(QStringLiteral("the access path as a string"));
      }
    } else if (current().is(Symbol::Meta)) {
      take();
      if (current().is(Symbol::Name)) {
        take();
        pragma.kind = Pragma::Kind::MetaName;
      } else if (current().is(Symbol::Http)) {
        take();
        expectKeyword(Symbol::Equiv);
        pragma.kind = Pragma::Kind::MetaHttpEquiv;
      } else if (current().is(Symbol::User)) {
        take();
        expectKeyword(Symbol::Agent);
        pragma.kind = Pragma::Kind::MetaUserAgent;
      } else {
        expected(QStringLiteral("\"name\", \"http equiv\" or \"user agent\""));
      }
      pragma.property = expectString(QStringLiteral("the property name as a string"));
      pragma.content = expectString(QStringLiteral("the property's content as a string"));
      if (current().kind == TokenKind::String)
        pragma.scheme = take().value.toString();
    } else {
      expected(QStringLiteral("\"url\", \"access\" or \"meta\" after \"use\""));
    }
    const Token& semicolon =
        expectPunctuator(Symbol::Semicolon, QStringLiteral(" after the pragma"));
    pragma.range = spanning(use.range, semicolon.range);
    return pragma;
  }

  FunctionDeclaration parseFunction() {
    FunctionDeclaration function;
    const Token& first = current();
    if (current().is(Symbol::Extern)) {
      take();
      function.isExtern = true;
    }
    if (!current().is(Symbol::Function))
      expected(function.isExtern ? QStringLiteral("\"function\"")
                                 : QStringLiteral("a function declaration"));
    take();
    const Token& name = expectIdentifier(QStringLiteral("a function name"));
    function.name = name.text;
    function.nameRange = name.range;
    expectPunctuator(Symbol::LeftParen, QStringLiteral(" after the function name"));
    if (!current().is(Symbol::RightParen)) {
      for (;;) {
        const Token& parameter = expectIdentifier(QStringLiteral("a parameter name"));
        function.parameters.push_back({parameter.text, parameter.range});
        if (!current().is(Symbol::Comma))
          break;
        take();
      }
    }
    expectPunctuator(Symbol::RightParen, QStringLiteral(" after the parameters"));
    if (!current().is(Symbol::LeftBrace))
      expected(QStringLiteral("\"{\" to open the function body"));
    StatementPtr body = parseBlock();
    function.body = body->children;
    function.range = spanning(first.range, body->range);
    if (current().is(Symbol::Semicolon))
      take();
    return function;
  }

  StatementPtr makeStatement(Statement::Kind kind, const Token& first) {
    Statement* statement = make<Statement>();
    statement->kind = kind;
    statement->range = first.range;
    return statement;
  }
  void endAt(Statement& statement, const Token& last) {
    statement.range = spanning(statement.range, last.range);
  }

  StatementPtr parseBlock() {
    StatementPtr block = makeStatement(Statement::Kind::Block, take());
    const size_t start = pending.size();
    while (!current().is(Symbol::RightBrace)) {
      if (current().kind == TokenKind::End)
        expected(QStringLiteral("\"}\" to close the block opened on line %1")
                     .arg(block->range.start.line));
      if (current().is(Symbol::Function) || current().is(Symbol::Extern))
        fail(current(), QStringLiteral("functions cannot be declared inside a function (is a "
                                       "\"}\" missing?)"));
      pending.push_back(parseStatement());
    }
    block->children = listFrom<Statement>(start);
    endAt(*block, take());
    return block;
  }

  void parseDeclarations(Statement& statement) {
    const size_t start = pending.size();
    for (;;) {
      const Token& name = expectIdentifier(QStringLiteral("a variable name"));
      auto* declaration = make<VariableDeclaration>();
      declaration->name = name.text;
      declaration->range = name.range;
      if (current().is(Symbol::Assign)) {
        take();
        declaration->initializer = parseConditional();
      }
      pending.push_back(declaration);
      if (!current().is(Symbol::Comma))
        break;
      take();
    }
    statement.declarations = listFrom<VariableDeclaration>(start);
  }

  StatementPtr parseStatement() {
    const Nested guard(*this);
    chain = 0;
    const Token& first = current();
    if (first.is(Symbol::LeftBrace))
      return parseBlock();
    if (first.is(Symbol::Semicolon)) {
      StatementPtr empty = makeStatement(Statement::Kind::Empty, take());
      return empty;
    }
    if (first.is(Symbol::Var)) {
      StatementPtr statement = makeStatement(Statement::Kind::Var, take());
      parseDeclarations(*statement);
      endAt(*statement,
            expectPunctuator(Symbol::Semicolon, QStringLiteral(" after the declaration")));
      return statement;
    }
    if (first.is(Symbol::If)) {
      StatementPtr statement = makeStatement(Statement::Kind::If, take());
      expectPunctuator(Symbol::LeftParen, QStringLiteral(" after \"if\""));
      statement->expression = parseExpression();
      expectPunctuator(Symbol::RightParen, QStringLiteral(" after the condition"));
      StatementPtr then = parseStatement();
      if (current().is(Symbol::Else)) {
        take();
        statement->children = list<Statement>({then, parseStatement()});
      } else {
        statement->children = list<Statement>({then});
      }
      statement->range = spanning(statement->range, statement->children.back()->range);
      return statement;
    }
    if (first.is(Symbol::While)) {
      StatementPtr statement = makeStatement(Statement::Kind::While, take());
      expectPunctuator(Symbol::LeftParen, QStringLiteral(" after \"while\""));
      statement->expression = parseExpression();
      expectPunctuator(Symbol::RightParen, QStringLiteral(" after the condition"));
      statement->children = list<Statement>({parseStatement()});
      statement->range = spanning(statement->range, statement->children.back()->range);
      return statement;
    }
    if (first.is(Symbol::For))
      return parseFor();
    if (first.is(Symbol::Break) || first.is(Symbol::Continue)) {
      StatementPtr statement = makeStatement(
          first.is(Symbol::Break) ? Statement::Kind::Break : Statement::Kind::Continue, take());
      endAt(*statement, expectPunctuator(Symbol::Semicolon,
                                         QStringLiteral(" after \"%1\"").arg(previous().text)));
      return statement;
    }
    if (first.is(Symbol::Return)) {
      StatementPtr statement = makeStatement(Statement::Kind::Return, take());
      if (!current().is(Symbol::Semicolon))
        statement->expression = parseExpression();
      endAt(*statement,
            expectPunctuator(Symbol::Semicolon, QStringLiteral(" after the return value")));
      return statement;
    }
    StatementPtr statement = makeStatement(Statement::Kind::Expression, first);
    statement->expression = parseExpression();
    endAt(*statement, expectPunctuator(Symbol::Semicolon, QStringLiteral(" after the statement")));
    return statement;
  }

  StatementPtr parseFor() {
    StatementPtr statement = makeStatement(Statement::Kind::For, take());
    expectPunctuator(Symbol::LeftParen, QStringLiteral(" after \"for\""));
    if (current().is(Symbol::Var)) {
      take();
      parseDeclarations(*statement);
    } else if (!current().is(Symbol::Semicolon)) {
      statement->initializer = parseExpression();
    }
    expectPunctuator(Symbol::Semicolon, QStringLiteral(" after the loop's initialiser"));
    if (!current().is(Symbol::Semicolon))
      statement->expression = parseExpression();
    expectPunctuator(Symbol::Semicolon, QStringLiteral(" after the loop's condition"));
    if (!current().is(Symbol::RightParen))
      statement->update = parseExpression();
    expectPunctuator(Symbol::RightParen, QStringLiteral(" after the loop's update"));
    statement->children = list<Statement>({parseStatement()});
    statement->range = spanning(statement->range, statement->children.back()->range);
    return statement;
  }

  ExpressionPtr makeExpression(Expression::Kind kind, const SourceRange& range) {
    Expression* expression = make<Expression>();
    expression->kind = kind;
    expression->range = range;
    return expression;
  }

  ExpressionPtr parseExpression() {
    const Nested guard(*this);
    ExpressionPtr left = parseAssignment();
    while (current().is(Symbol::Comma)) {
      lengthenChain(take());
      ExpressionPtr right = parseAssignment();
      ExpressionPtr comma =
          makeExpression(Expression::Kind::Comma, spanning(left->range, right->range));
      comma->operands = list<Expression>({left, right});
      left = comma;
    }
    return left;
  }

  ExpressionPtr parseAssignment() {
    const Nested guard(*this);
    if (current().kind == TokenKind::Identifier && isAssignmentOperator(peek())) {
      const Token& name = take();
      const Token& op = take();
      ExpressionPtr value = parseAssignment();
      ExpressionPtr assign =
          makeExpression(Expression::Kind::Assign, spanning(name.range, value->range));
      assign->name = name.text;
      assign->nameRange = name.range;
      assign->op = op.symbol;
      assign->operands = list<Expression>({value});
      return assign;
    }
    const Token& start = current();
    ExpressionPtr expression = parseConditional();
    if (isAssignmentOperator(current()))
      fail(current(),
           start.kind == TokenKind::Keyword || start.kind == TokenKind::ReservedWord
               ? QStringLiteral("\"%1\" is a reserved word and cannot be assigned").arg(start.text)
               : QStringLiteral("only a variable can be assigned with \"%1\"").arg(current().text));
    return expression;
  }

  ExpressionPtr parseConditional() {
    ExpressionPtr condition = parseBinary(0);
    if (!current().is(Symbol::Question))
      return condition;
    take();
    ExpressionPtr then = parseAssignment();
    expectPunctuator(Symbol::Colon, QStringLiteral(" in the conditional expression"));
    ExpressionPtr otherwise = parseAssignment();
    ExpressionPtr conditional =
        makeExpression(Expression::Kind::Conditional, spanning(condition->range, otherwise->range));
    conditional->operands = list<Expression>({condition, then, otherwise});
    return conditional;
  }

  // Operators of `lowest` level and tighter, left to right: each operator
  // takes as its right side what binds tighter than itself, so every level
  // groups from the left.
  ExpressionPtr parseBinary(int lowest) {
    ExpressionPtr left = parseUnary();
    for (;;) {
      const int level = binaryLevel(current());
      if (level < lowest)
        break;
      lengthenChain(current());
      const Symbol op = take().symbol;
      ExpressionPtr right = parseBinary(level + 1);
      Expression::Kind kind = op == Symbol::AndAnd ? Expression::Kind::LogicalAnd
                              : op == Symbol::OrOr ? Expression::Kind::LogicalOr
                                                   : Expression::Kind::Binary;
      ExpressionPtr binary = makeExpression(kind, spanning(left->range, right->range));
      binary->op = op;
      binary->operands = list<Expression>({left, right});
      left = binary;
    }
    return left;
  }

  ExpressionPtr parseUnary() {
    const Nested guard(*this);
    const Token& t = current();
    if (t.is(Symbol::PlusPlus) || t.is(Symbol::MinusMinus)) {
      take();
      const Token& name = expectIdentifier(QStringLiteral("a variable after \"%1\"").arg(t.text));
      ExpressionPtr increment =
          makeExpression(Expression::Kind::PreIncrement, spanning(t.range, name.range));
      increment->op = t.symbol;
      increment->name = name.text;
      increment->nameRange = name.range;
      return increment;
    }
    const bool isUnary = t.is(Symbol::Plus) || t.is(Symbol::Minus) || t.is(Symbol::Tilde) ||
                         t.is(Symbol::Not) || t.is(Symbol::TypeOf) || t.is(Symbol::IsValid);
    if (isUnary) {
      take();
      ExpressionPtr operand = parseUnary();
      ExpressionPtr unary =
          makeExpression(Expression::Kind::Unary, spanning(t.range, operand->range));
      unary->op = t.symbol;
      unary->operands = list<Expression>({operand});
      return unary;
    }
    return parsePostfix();
  }

  ExpressionPtr parsePostfix() {
    const Token& t = current();
    if (t.kind == TokenKind::Identifier &&
        (peek().is(Symbol::PlusPlus) || peek().is(Symbol::MinusMinus))) {
      take();
      const Token& op = take();
      ExpressionPtr increment =
          makeExpression(Expression::Kind::PostIncrement, spanning(t.range, op.range));
      increment->op = op.symbol;
      increment->name = t.text;
      increment->nameRange = t.range;
      return increment;
    }
    ExpressionPtr primary = parsePrimary();
    if (current().is(Symbol::PlusPlus) || current().is(Symbol::MinusMinus))
      fail(current(), QStringLiteral("\"%1\" needs a variable").arg(current().text));
    return primary;
  }

  void parseArguments(Expression& call) {
    expectPunctuator(Symbol::LeftParen, QStringLiteral(" to open the argument list"));
    const size_t start = pending.size();
    if (!current().is(Symbol::RightParen)) {
      for (;;) {
        pending.push_back(parseAssignment());
        if (!current().is(Symbol::Comma))
          break;
        take();
      }
    }
    call.operands = listFrom<Expression>(start);
    call.range = spanning(
        call.range,
        expectPunctuator(Symbol::RightParen, QStringLiteral(" after the arguments")).range);
  }

  ExpressionPtr parsePrimary() {
    const Token& t = current();
    switch (t.kind) {
    case TokenKind::Integer:
    case TokenKind::Float: {
      take();
      ExpressionPtr number = makeExpression(t.kind == TokenKind::Integer ? Expression::Kind::Integer
                                                                         : Expression::Kind::Float,
                                            t.range);
      if (t.kind == TokenKind::Integer)
        number->integerValue = t.integerValue;
      else
        number->floatValue = t.floatValue;
      number->floatUnderflow = t.underflow;
      return number;
    }
    case TokenKind::String: {
      take();
      ExpressionPtr string = makeExpression(Expression::Kind::String, t.range);
      string->stringValue = t.value;
      return string;
    }
    case TokenKind::Keyword:
      if (t.is(Symbol::True) || t.is(Symbol::False)) {
        take();
        ExpressionPtr boolean = makeExpression(Expression::Kind::Boolean, t.range);
        boolean->booleanValue = t.is(Symbol::True);
        return boolean;
      }
      if (t.is(Symbol::Invalid)) {
        take();
        return makeExpression(Expression::Kind::Invalid, t.range);
      }
      break;
    case TokenKind::Punctuator:
      if (t.is(Symbol::LeftParen)) {
        take();
        ExpressionPtr inner = parseExpression();
        expectPunctuator(Symbol::RightParen, QStringLiteral(" to close the parenthesis"));
        return inner;
      }
      break;
    case TokenKind::Identifier: return parseNameOrCall();
    default: break;
    }
    if ((t.kind == TokenKind::Keyword && !isStatementKeyword(t.symbol)) ||
        t.kind == TokenKind::ReservedWord)
      fail(t, QStringLiteral("\"%1\" is a reserved word and cannot be used as a name").arg(t.text),
           QStringLiteral("reserved-word"));
    expected(QStringLiteral("an expression"));
  }

  static bool isStatementKeyword(Symbol word) {
    switch (word) {
    case Symbol::Break:
    case Symbol::Continue:
    case Symbol::Else:
    case Symbol::For:
    case Symbol::Function:
    case Symbol::If:
    case Symbol::Return:
    case Symbol::Var:
    case Symbol::While:
    case Symbol::Extern:
    case Symbol::Use:
    case Symbol::Div:
    case Symbol::DivAssign: return true;
    default: return false;
    }
  }

  ExpressionPtr parseNameOrCall() {
    const Token& name = take();
    if (current().is(Symbol::LeftParen)) {
      ExpressionPtr call = makeExpression(Expression::Kind::LocalCall, name.range);
      call->name = name.text;
      call->nameRange = name.range;
      parseArguments(*call);
      return call;
    }
    if (current().is(Symbol::Hash) || current().is(Symbol::Dot)) {
      const bool external = current().is(Symbol::Hash);
      take();
      const Token& function = expectIdentifier(
          QStringLiteral("a function name after \"%1\"").arg(external ? u'#' : u'.'));
      ExpressionPtr call = makeExpression(
          external ? Expression::Kind::ExternalCall : Expression::Kind::LibraryCall, name.range);
      call->qualifier = name.text;
      call->name = function.text;
      call->nameRange = function.range;
      parseArguments(*call);
      return call;
    }
    ExpressionPtr variable = makeExpression(Expression::Kind::Variable, name.range);
    variable->name = name.text;
    variable->nameRange = name.range;
    return variable;
  }
};

} // namespace

ParseResult parseScript(const QString& source) {
  ParseResult result;
  TokenStream tokens(source);
  // The first block holds four bytes for each character of the source;
  // real units need about four times that, so the arena adds a few blocks,
  // each twice the last, and pages left unused are never touched.
  auto arena = std::make_unique<std::pmr::monotonic_buffer_resource>(
      std::max<size_t>(4096, size_t(source.size()) * 4));
  Parser parser(tokens, *arena);
  QList<Finding> failure;
  try {
    parser.parseUnit();
    result.complete = true;
  } catch (const SyntaxError& error) {
    failure.append(error.finding);
    // The warnings of the whole text are reported, also past the error.
    while (!tokens.next().endsText()) {
    }
  }
  for (const LexNote& note : tokens.warnings())
    result.findings.append(findingAt(note.range, Severity::Warning, note.rule, note.message));
  result.findings += failure;
  parser.unit.arena = std::move(arena);
  parser.unit.decodedStrings = tokens.takeDecodedStrings();
  result.unit = std::move(parser.unit);
  return result;
}

} // namespace tessera::wml::script
