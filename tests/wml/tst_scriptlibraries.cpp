#include "wml/script/Libraries.h"

#include <QtTest>

using namespace tessera::wml::script;

namespace {

// A browser context with variables and a current card, nothing loadable
// but `data.txt`.
class FakeHost : public ScriptHost {
public:
  QMap<QString, QString> vars;
  bool browser = true;
  std::optional<QUrl> card;
  int newContexts = 0;

  bool hasBrowser() const override { return browser; }
  QString variable(const QString& name) const override { return vars.value(name); }
  void setVariable(const QString& name, const QString& value) override { vars[name] = value; }
  void newContext() override {
    vars.clear();
    ++newContexts;
  }
  std::optional<QUrl> currentCard() const override { return card; }
  LoadedUnit loadUnit(const QUrl&) override { return {nullptr, QStringLiteral("none")}; }
  LoadedText loadText(const QUrl& url, const QString& type) override {
    if (url == QUrl(QStringLiteral("http://host/app/data.txt")) && type == "text/plain")
      return {QStringLiteral("hello"), 0};
    return {std::nullopt, 404};
  }
};

// "i:7", "f:7.2", "s:abc", "b:true", "invalid".
Value literal(const QString& text) {
  const QString body = text.mid(2);
  if (text.startsWith(QLatin1String("i:")))
    return Value::integer(body.toInt());
  if (text.startsWith(QLatin1String("f:")))
    return Value::floating(body.toDouble());
  if (text.startsWith(QLatin1String("s:")))
    return Value::string(body);
  if (text.startsWith(QLatin1String("b:")))
    return Value::boolean(body == QLatin1String("true"));
  return Value::invalid();
}

const QStringList libraries{"Lang", "Float", "String", "URL", "WMLBrowser", "Dialogs"};

// The function ids of the standard library tables, written out here so the
// test does not read them from the code under test.
int functionId(const QString& library, const QString& function) {
  static const QMap<QString, QStringList> names{
      {"Lang",
       {"abs", "min", "max", "parseInt", "parseFloat", "isInt", "isFloat", "maxInt", "minInt",
        "float", "exit", "abort", "random", "seed", "characterSet"}},
      {"Float", {"int", "floor", "ceil", "pow", "round", "sqrt", "maxFloat", "minFloat"}},
      {"String",
       {"length", "isEmpty", "charAt", "subString", "find", "replace", "elements", "elementAt",
        "removeAt", "replaceAt", "insertAt", "squeeze", "trim", "compare", "toString", "format"}},
      {"URL",
       {"isValid", "getScheme", "getHost", "getPort", "getPath", "getParameters", "getQuery",
        "getFragment", "getBase", "getReferer", "resolve", "escapeString", "unescapeString",
        "loadString"}},
      {"WMLBrowser", {"getVar", "setVar", "go", "prev", "newContext", "getCurrentCard", "refresh"}},
      {"Dialogs", {"prompt", "confirm", "alert"}}};
  return int(names.value(library).indexOf(function));
}

struct Call {
  LibraryOutcome outcome;
  PendingNavigation navigation;
  bool newContextCalled = false;
};

Call call(FakeHost& host, const QString& qualified, const QStringList& args, quint32 seed = 1) {
  std::mt19937 random(seed);
  Call result;
  bool refresh = false;
  LibraryContext context{host,
                         random,
                         QUrl(QStringLiteral("http://host/app/calc.wmls")),
                         QUrl(QStringLiteral("http://host/app/deck.wml#card2")),
                         result.navigation,
                         result.newContextCalled,
                         refresh};
  const QString library = qualified.section(u'.', 0, 0);
  const QString function = qualified.section(u'.', 1);
  std::vector<Value> values;
  for (const QString& arg : args)
    values.push_back(literal(arg));
  values.push_back(Value::invalid()); // never read: keeps data() valid for no arguments
  result.outcome = callLibraryFunction(context, int(libraries.indexOf(library)),
                                       functionId(library, function), values.data());
  return result;
}

} // namespace

// Every library function with the examples of the libraries' standard and
// the edge cases around them (conversions, invalid arguments, indices out of
// range, empty strings, float formatting).
class ScriptLibrariesTest : public QObject {
  Q_OBJECT
private slots:
  void returnsValues_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("result");
    auto row = [](const char* name, const char* function, QStringList args, const char* result) {
      QTest::newRow(name) << function << args << result;
    };
    // Lang
    row("abs int", "Lang.abs", {"i:-3"}, "integer 3");
    row("abs float", "Lang.abs", {"f:-2.5"}, "float 2.5");
    row("abs string", "Lang.abs", {"s:-4"}, "integer 4");
    row("abs min int", "Lang.abs", {"i:-2147483648"}, "invalid");
    row("abs invalid", "Lang.abs", {"s:x"}, "invalid");
    row("min", "Lang.min", {"i:-3", "i:3"}, "integer -3");
    row("min mixed", "Lang.min", {"i:45", "f:76.3"}, "integer 45");
    row("min equal keeps first", "Lang.min", {"i:45", "f:45.0"}, "integer 45");
    row("max mixed", "Lang.max", {"f:45.5", "i:76"}, "integer 76");
    row("max equal keeps first", "Lang.max", {"f:45.0", "i:45"}, "float 45.0");
    row("max invalid", "Lang.max", {"i:1", "invalid"}, "invalid");
    row("parseInt", "Lang.parseInt", {"s:1234"}, "integer 1234");
    row("parseInt stops", "Lang.parseInt", {"s: 100 m/s"}, "integer 100");
    row("parseInt no digits", "Lang.parseInt", {"s:m100"}, "invalid");
    row("parseInt overflow", "Lang.parseInt", {"s:99999999999"}, "invalid");
    row("parseFloat", "Lang.parseFloat", {"s:123.7"}, "float 123.7");
    row("parseFloat exponent", "Lang.parseFloat", {"s: +7.34e2 Hz"}, "float 734.0");
    row("parseFloat negative exponent", "Lang.parseFloat", {"s: 70e-2 F"}, "float 0.7");
    row("parseFloat leading point", "Lang.parseFloat", {"s:-.1 C"}, "float -0.1");
    row("parseFloat integer", "Lang.parseFloat", {"s: 100 "}, "float 100.0");
    row("parseFloat words first", "Lang.parseFloat", {"s:Number: 5.5"}, "invalid");
    row("parseFloat bare exponent", "Lang.parseFloat", {"s:7.3e meters"}, "invalid");
    row("parseFloat signed bare exponent", "Lang.parseFloat", {"s:7.3e- m/s"}, "invalid");
    row("isInt negative", "Lang.isInt", {"s: -123"}, "boolean true");
    row("isInt fraction", "Lang.isInt", {"s: 123.33"}, "boolean true");
    row("isInt word", "Lang.isInt", {"s:string"}, "boolean false");
    row("isInt hash", "Lang.isInt", {"s:#123"}, "boolean false");
    row("isInt invalid", "Lang.isInt", {"invalid"}, "invalid");
    row("isFloat", "Lang.isFloat", {"s: 123.33"}, "boolean true");
    row("isFloat hash", "Lang.isFloat", {"s:#123.33"}, "boolean false");
    row("isFloat invalid", "Lang.isFloat", {"invalid"}, "invalid");
    row("maxInt", "Lang.maxInt", {}, "integer 2147483647");
    row("minInt", "Lang.minInt", {}, "integer -2147483648");
    row("float", "Lang.float", {}, "boolean true");
    row("random zero", "Lang.random", {"i:0"}, "integer 0");
    row("random negative", "Lang.random", {"i:-1"}, "invalid");
    row("random string", "Lang.random", {"s:string"}, "invalid");
    row("seed", "Lang.seed", {"i:123"}, "string \"\"");
    row("seed string", "Lang.seed", {"s:seed"}, "invalid");
    row("characterSet", "Lang.characterSet", {}, "integer 106");
    // Float
    row("int", "Float.int", {"f:3.14"}, "integer 3");
    row("int negative", "Float.int", {"f:-2.8"}, "integer -2");
    row("int of int", "Float.int", {"i:7"}, "integer 7");
    row("int too large", "Float.int", {"f:3e9"}, "invalid");
    row("floor", "Float.floor", {"f:3.14"}, "integer 3");
    row("floor negative", "Float.floor", {"f:-2.8"}, "integer -3");
    row("ceil", "Float.ceil", {"f:3.14"}, "integer 4");
    row("ceil negative", "Float.ceil", {"f:-2.8"}, "integer -2");
    row("pow", "Float.pow", {"i:3", "i:2"}, "float 9.0");
    row("pow zero negative", "Float.pow", {"i:0", "i:-1"}, "invalid");
    row("pow negative fraction", "Float.pow", {"i:-8", "f:0.5"}, "invalid");
    row("pow negative integer", "Float.pow", {"i:-2", "i:3"}, "float -8.0");
    row("pow overflow", "Float.pow", {"i:10", "i:39"}, "invalid");
    row("round half up", "Float.round", {"f:3.5"}, "integer 4");
    row("round negative half", "Float.round", {"f:-3.5"}, "integer -3");
    row("round half", "Float.round", {"f:0.5"}, "integer 1");
    row("round negative small half", "Float.round", {"f:-0.5"}, "integer 0");
    row("sqrt", "Float.sqrt", {"i:4"}, "float 2.0");
    row("sqrt five", "Float.sqrt", {"i:5"}, "float 2.236068");
    row("sqrt negative", "Float.sqrt", {"i:-4"}, "invalid");
    row("maxFloat", "Float.maxFloat", {}, "float 3.4028235e38");
    row("minFloat", "Float.minFloat", {}, "float 1.1754944e-38");
    // String
    row("length", "String.length", {"s:ABC"}, "integer 3");
    row("length empty", "String.length", {"s:"}, "integer 0");
    row("length number", "String.length", {"i:342"}, "integer 3");
    row("length invalid", "String.length", {"invalid"}, "invalid");
    row("isEmpty", "String.isEmpty", {"s:Hello"}, "boolean false");
    row("isEmpty empty", "String.isEmpty", {"s:"}, "boolean true");
    row("isEmpty boolean", "String.isEmpty", {"b:true"}, "boolean false");
    row("charAt", "String.charAt", {"s:My name is Joe", "i:0"}, "string \"M\"");
    row("charAt out of range", "String.charAt", {"s:My name is Joe", "i:100"}, "string \"\"");
    row("charAt negative", "String.charAt", {"s:abc", "i:-1"}, "string \"\"");
    row("charAt number", "String.charAt", {"i:34", "i:0"}, "string \"3\"");
    row("charAt float index", "String.charAt", {"s:abc", "f:1.9"}, "string \"b\"");
    row("charAt word index", "String.charAt", {"s:abc", "s:first"}, "invalid");
    row("subString", "String.subString", {"s:ABCD", "i:1", "i:2"}, "string \"BC\"");
    row("subString clipped", "String.subString", {"s:ABCD", "i:2", "i:5"}, "string \"CD\"");
    row("subString number", "String.subString", {"i:1234", "i:0", "i:2"}, "string \"12\"");
    row("subString negative start", "String.subString", {"s:ABCD", "i:-2", "i:2"}, "string \"AB\"");
    row("subString past end", "String.subString", {"s:ABCD", "i:4", "i:1"}, "string \"\"");
    row("subString no length", "String.subString", {"s:ABCD", "i:1", "i:0"}, "string \"\"");
    row("find", "String.find", {"s:abcde", "s:cd"}, "integer 2");
    row("find float", "String.find", {"f:34.2", "s:de"}, "integer -1");
    row("find none", "String.find", {"s:abcde", "s:qz"}, "integer -1");
    row("find in number", "String.find", {"i:34", "s:3"}, "integer 0");
    row("find empty", "String.find", {"s:abcde", "s:"}, "invalid");
    row("replace", "String.replace", {"s:Hello Joe. What is up Joe?", "s:Joe", "s:Don"},
        "string \"Hello Don. What is up Don?\"");
    row("replace none", "String.replace", {"s:Hello Joe.", "s:Don", "s:Joe"},
        "string \"Hello Joe.\"");
    row("replace empty", "String.replace", {"s:abc", "s:", "s:x"}, "invalid");
    row("elements words", "String.elements", {"s:My name is Joe; Age 50;", "s: "}, "integer 6");
    row("elements semicolons", "String.elements", {"s:My name is Joe; Age 50;", "s:;"},
        "integer 3");
    row("elements empty", "String.elements", {"s:", "s:;"}, "integer 1");
    row("elements one", "String.elements", {"s:a", "s:;"}, "integer 1");
    row("elements separator only", "String.elements", {"s:;", "s:;"}, "integer 2");
    row("elements first separator char", "String.elements", {"s:;;,;", "s:;,"}, "integer 4");
    row("elements no separator", "String.elements", {"s:a", "s:"}, "invalid");
    row("elementAt", "String.elementAt", {"s:My name is Joe; Age 50;", "i:0", "s: "},
        "string \"My\"");
    row("elementAt past end", "String.elementAt", {"s:My name is Joe; Age 50;", "i:14", "s:;"},
        "string \"\"");
    row("elementAt second", "String.elementAt", {"s:My name is Joe; Age 50;", "i:1", "s:;"},
        "string \" Age 50\"");
    row("elementAt negative", "String.elementAt", {"s:a;b", "i:-3", "s:;"}, "string \"a\"");
    row("elementAt empty", "String.elementAt", {"s:", "i:0", "s:;"}, "string \"\"");
    row("removeAt", "String.removeAt", {"s:A A; B C D", "i:1", "s: "}, "string \"A B C D\"");
    row("removeAt first", "String.removeAt", {"s:A A; B C D", "i:0", "s:;"}, "string \" B C D\"");
    row("removeAt past end", "String.removeAt", {"s:A A; B C D", "i:14", "s:;"}, "string \"A A\"");
    row("removeAt empty", "String.removeAt", {"s:", "i:0", "s:;"}, "string \"\"");
    row("removeAt no separator", "String.removeAt", {"s:a", "i:0", "s:"}, "invalid");
    row("replaceAt", "String.replaceAt", {"s:B C; E", "s:A", "i:0", "s: "}, "string \"A C; E\"");
    row("replaceAt past end", "String.replaceAt", {"s:B C; E", "s:F", "i:5", "s:;"},
        "string \"B C;F\"");
    row("replaceAt empty", "String.replaceAt", {"s:", "s:F", "i:3", "s:;"}, "string \"F\"");
    row("insertAt front", "String.insertAt", {"s:B C; E", "s:A", "i:0", "s: "},
        "string \"A B C; E\"");
    row("insertAt end", "String.insertAt", {"s:B C; E", "s:X", "i:3", "s: "},
        "string \"B C; E X\"");
    row("insertAt middle", "String.insertAt", {"s:B C; E", "s:D", "i:1", "s:;"},
        "string \"B C;D; E\"");
    row("insertAt past end", "String.insertAt", {"s:B C; E", "s:F", "i:5", "s:;"},
        "string \"B C; E;F\"");
    row("insertAt empty", "String.insertAt", {"s:", "s:F", "i:2", "s:;"}, "string \"F\"");
    row("squeeze", "String.squeeze", {"s: Bye    Jon . \r\n See you! "},
        "string \" Bye Jon . See you! \"");
    row("squeeze plain", "String.squeeze", {"s:Hello"}, "string \"Hello\"");
    row("trim", "String.trim", {"s: Bye    Jon . See you! "}, "string \"Bye    Jon . See you!\"");
    row("trim controls", "String.trim", {"s:\t\x0b\x0cx\r\n"}, "string \"x\"");
    row("compare equal", "String.compare", {"s:Hello", "s:Hello"}, "integer 0");
    row("compare less", "String.compare", {"s:Bye", "s:Jon"}, "integer -1");
    row("compare greater", "String.compare", {"s:Jon", "s:Bye"}, "integer 1");
    row("toString", "String.toString", {"i:12"}, "string \"12\"");
    row("toString boolean", "String.toString", {"b:true"}, "string \"true\"");
    row("toString invalid", "String.toString", {"invalid"}, "string \"invalid\"");
    row("toString float", "String.toString", {"f:0.5"}, "string \"0.5\"");
    row("format width", "String.format", {"s:e: %6d", "i:45"}, "string \"e:     45\"");
    row("format negative", "String.format", {"s:%6d", "i:-45"}, "string \"   -45\"");
    // The libraries' own example prints " 0045" here, one blank short of the
    // width of 6 its text asks for; the width wins.
    row("format precision", "String.format", {"s:%6.4d", "i:45"}, "string \"  0045\"");
    row("format negative precision", "String.format", {"s:%6.4d", "i:-45"}, "string \" -0045\"");
    row("format string", "String.format", {"s:Do it %s", "s:now"}, "string \"Do it now\"");
    row("format float", "String.format", {"s:%3f", "f:1.2345678"}, "string \"1.234568\"");
    row("format percent", "String.format", {"s:%10.2f%%", "f:1.2345678"}, "string \"      1.23%\"");
    row("format second specifier empty", "String.format", {"s:%3f %2f.", "f:1.2345678"},
        "string \"1.234568 .\"");
    row("format zero precision zero", "String.format", {"s:%.0d", "i:0"}, "string \"\"");
    row("format word as integer", "String.format", {"s:%7d", "s:Int"}, "invalid");
    row("format boolean", "String.format", {"s:%s", "b:true"}, "string \"true\"");
    row("format float padded", "String.format", {"s:%2.3f", "f:1.2"}, "string \"1.200\"");
    row("format float as integer", "String.format", {"s:%d", "f:-3.9"}, "string \"-3\"");
    row("format no decimals", "String.format", {"s:%.0f", "f:2.7"}, "string \"3\"");
    row("format string precision", "String.format", {"s:%.2s", "s:abcdef"}, "string \"ab\"");
    row("format string width ignored", "String.format", {"s:%6.2s", "s:abcdef"}, "string \"ab\"");
    row("format string width", "String.format", {"s:%5s", "s:ab"}, "string \"   ab\"");
    row("format bad type", "String.format", {"s:%x", "i:1"}, "invalid");
    row("format lone percent", "String.format", {"s:50%", "i:1"}, "invalid");
    row("format no specifier", "String.format", {"s:plain", "i:1"}, "string \"plain\"");
    row("format invalid", "String.format", {"s:%d", "invalid"}, "invalid");
    // URL
    row("isValid", "URL.isValid", {"s:http://w.hst.com/script#func()"}, "boolean true");
    row("isValid relative", "URL.isValid", {"s:../common#test()"}, "boolean true");
    row("isValid bad", "URL.isValid", {"s:experimental?://www.host.com/cont>"}, "boolean false");
    row("isValid space", "URL.isValid", {"s:a b"}, "boolean false");
    row("getScheme", "URL.getScheme", {"s:http://w.h.com/path#frag"}, "string \"http\"");
    row("getScheme relative", "URL.getScheme", {"s:w.h.com/path#frag"}, "string \"\"");
    row("getScheme bad", "URL.getScheme", {"s:a b"}, "invalid");
    row("getHost", "URL.getHost", {"s:http://w.h.com/path#frag"}, "string \"w.h.com\"");
    row("getHost relative", "URL.getHost", {"s:path#frag"}, "string \"\"");
    row("getHost user", "URL.getHost", {"s:zyx://me@ismo.k.oksa#fab"}, "string \"ismo.k.oksa\"");
    row("getPort", "URL.getPort", {"s:http://w.h.com:80/path#frag"}, "string \"80\"");
    row("getPort none", "URL.getPort", {"s:http://w.h.com/path#frag"}, "string \"\"");
    row("getPath", "URL.getPath", {"s:http://w.h.com/home/sub/comp#frag"},
        "string \"/home/sub/comp\"");
    row("getPath relative", "URL.getPath", {"s:../home/sub/comp#frag"},
        "string \"../home/sub/comp\"");
    row("getPath parameters", "URL.getPath", {"s:http://w.a.p/a;x/b;y=1/c;fg#a"},
        "string \"/a/b/c\"");
    row("getParameters", "URL.getParameters", {"s:http://w.h.com/script;3;2?x=1&y=3"},
        "string \"3;2\"");
    row("getParameters relative", "URL.getParameters", {"s:../script;3;2?x=1&y=3"},
        "string \"3;2\"");
    row("getParameters last", "URL.getParameters", {"s:http://w.a.p/a;x/b;y=1/c;fg"},
        "string \"fg\"");
    row("getParameters none", "URL.getParameters", {"s:http://w.a.p/a;x/b;y=1/c"}, "string \"\"");
    row("getQuery", "URL.getQuery", {"s:http://w.h.com/home;3;2?x=1&y=3"}, "string \"x=1&y=3\"");
    row("getFragment", "URL.getFragment", {"s:http://w.h.com/cont#frag"}, "string \"frag\"");
    row("getBase", "URL.getBase", {}, "string \"http://host/app/calc.wmls\"");
    row("getReferer", "URL.getReferer", {}, "string \"deck.wml#card2\"");
    row("resolve", "URL.resolve", {"s:http://foo.com/", "s:foo.vcf"},
        "string \"http://foo.com/foo.vcf\"");
    row("resolve no path", "URL.resolve", {"s:http://foo.com", "s:c"},
        "string \"http://foo.com/c\"");
    row("resolve absolute path", "URL.resolve", {"s:http://foo.com", "s:/c"},
        "string \"http://foo.com/c\"");
    row("resolve query", "URL.resolve", {"s:http://foo.com", "s:?q"},
        "string \"http://foo.com/?q\"");
    row("resolve absolute", "URL.resolve", {"s:http://foo.com/a", "s:ftp://x/y"},
        "string \"ftp://x/y\"");
    row("resolve dots", "URL.resolve", {"s:http://a/b/c/d", "s:../g"}, "string \"http://a/b/g\"");
    row("escapeString", "URL.escapeString", {"s:http://w.h.com/dck?x=\x7f#crd"},
        "string \"http%3a%2f%2fw.h.com%2fdck%3fx%3d%7f%23crd\"");
    row("escapeString backslash", "URL.escapeString", {"s:x=\\u007f"}, "string \"x%3d%5cu007f\"");
    row("escapeString non-ASCII", "URL.escapeString", {"s:é"}, "string \"%c3%a9\"");
    row("unescapeString", "URL.unescapeString", {"s:http%3a%2f%2fw.h.com%2fdck%3fx%3d12%23crd"},
        "string \"http://w.h.com/dck?x=12#crd\"");
    row("unescapeString non-ASCII", "URL.unescapeString", {"s:é"}, "invalid");
    row("unescapeString broken escape", "URL.unescapeString", {"s:%zz%4"}, "string \"%zz%4\"");
    row("loadString", "URL.loadString", {"s:data.txt", "s:text/plain"}, "string \"hello\"");
    row("loadString missing", "URL.loadString", {"s:none.txt", "s:text/plain"}, "integer 404");
    row("loadString not text", "URL.loadString", {"s:data.txt", "s:image/png"}, "invalid");
    row("loadString two types", "URL.loadString", {"s:data.txt", "s:text/plain, text/html"},
        "invalid");
    row("loadString spaces", "URL.loadString", {"s:data.txt", "s: text/plain"}, "invalid");
    // WMLBrowser
    row("getVar", "WMLBrowser.getVar", {"s:name"}, "string \"Jon\"");
    row("getVar unset", "WMLBrowser.getVar", {"s:other"}, "string \"\"");
    row("getVar bad name", "WMLBrowser.getVar", {"s:1x"}, "invalid");
    row("setVar", "WMLBrowser.setVar", {"s:name", "s:Mary"}, "boolean true");
    row("setVar bad name", "WMLBrowser.setVar", {"s:a-b", "s:Mary"}, "invalid");
    row("setVar not XML", "WMLBrowser.setVar", {"s:name", "s:a\x01"}, "invalid");
    row("go", "WMLBrowser.go", {"s:#next"}, "string \"\"");
    row("prev", "WMLBrowser.prev", {}, "string \"\"");
    row("newContext", "WMLBrowser.newContext", {}, "string \"\"");
    row("getCurrentCard", "WMLBrowser.getCurrentCard", {}, "string \"deck.wml#input\"");
    row("refresh", "WMLBrowser.refresh", {}, "invalid");
  }
  void returnsValues() {
    QFETCH(QString, function);
    QFETCH(QStringList, args);
    QFETCH(QString, result);
    FakeHost host;
    host.vars.insert(QStringLiteral("name"), QStringLiteral("Jon"));
    host.card = QUrl(QStringLiteral("http://host/app/deck.wml#input"));
    const Call done = call(host, function, args);
    QCOMPARE(int(done.outcome.kind), int(LibraryOutcome::Kind::Return));
    QCOMPARE(describeValue(done.outcome.value), result);
  }

  // Without a browser behind the script every WMLBrowser function answers
  // invalid and changes nothing.
  void browserlessContext() {
    FakeHost host;
    host.browser = false;
    QCOMPARE(describeValue(call(host, "WMLBrowser.setVar", {"s:a", "s:b"}).outcome.value),
             QStringLiteral("invalid"));
    QVERIFY(host.vars.isEmpty());
    QCOMPARE(int(call(host, "WMLBrowser.go", {"s:x.wml"}).navigation.kind),
             int(PendingNavigation::Kind::None));
  }

  void browserEffects() {
    FakeHost host;
    host.vars.insert(QStringLiteral("a"), QStringLiteral("1"));
    call(host, "WMLBrowser.setVar", {"s:b", "s:two"});
    QCOMPARE(host.vars.value("b"), QStringLiteral("two"));
    const Call go = call(host, "WMLBrowser.go", {"s:next.wml#c"});
    QCOMPARE(int(go.navigation.kind), int(PendingNavigation::Kind::Go));
    QCOMPARE(go.navigation.url, QStringLiteral("next.wml#c"));
    QCOMPARE(int(call(host, "WMLBrowser.go", {"s:"}).navigation.kind),
             int(PendingNavigation::Kind::None));
    QCOMPARE(int(call(host, "WMLBrowser.prev", {}).navigation.kind),
             int(PendingNavigation::Kind::Prev));
    const Call fresh = call(host, "WMLBrowser.newContext", {});
    QVERIFY(fresh.newContextCalled);
    QVERIFY(host.vars.isEmpty());
    host.card.reset();
    QCOMPARE(describeValue(call(host, "WMLBrowser.getCurrentCard", {}).outcome.value),
             QStringLiteral("invalid"));
  }

  // Exit, abort and the dialogs end or pause the run instead of returning.
  void endingsAndDialogs_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text"); // value, abort message or dialog message
    QTest::newRow("exit") << "Lang.exit" << QStringList{"s:Value: 3"}
                          << int(LibraryOutcome::Kind::Exit) << "string \"Value: 3\"";
    QTest::newRow("exit invalid") << "Lang.exit" << QStringList{"invalid"}
                                  << int(LibraryOutcome::Kind::Exit) << "invalid";
    QTest::newRow("abort") << "Lang.abort" << QStringList{"s:Error: 4"}
                           << int(LibraryOutcome::Kind::Abort) << "Error: 4";
    QTest::newRow("abort invalid")
        << "Lang.abort" << QStringList{"invalid"} << int(LibraryOutcome::Kind::Abort) << "invalid";
    QTest::newRow("prompt") << "Dialogs.prompt" << QStringList{"s:Phone number: ", "s:09-555"}
                            << int(LibraryOutcome::Kind::Dialog) << "Phone number: ";
    QTest::newRow("confirm") << "Dialogs.confirm" << QStringList{"s:Sure?", "s:Yes", "s:No"}
                             << int(LibraryOutcome::Kind::Dialog) << "Sure?";
    QTest::newRow("alert") << "Dialogs.alert" << QStringList{"i:8"}
                           << int(LibraryOutcome::Kind::Dialog) << "8";
    QTest::newRow("alert invalid") << "Dialogs.alert" << QStringList{"invalid"}
                                   << int(LibraryOutcome::Kind::Return) << "invalid";
  }
  void endingsAndDialogs() {
    QFETCH(QString, function);
    QFETCH(QStringList, args);
    QFETCH(int, kind);
    QFETCH(QString, text);
    FakeHost host;
    const LibraryOutcome outcome = call(host, function, args).outcome;
    QCOMPARE(int(outcome.kind), kind);
    switch (outcome.kind) {
    case LibraryOutcome::Kind::Exit:
    case LibraryOutcome::Kind::Return: QCOMPARE(describeValue(outcome.value), text); break;
    case LibraryOutcome::Kind::Abort: QCOMPARE(outcome.message, text); break;
    case LibraryOutcome::Kind::Dialog: QCOMPARE(outcome.dialog.message, text); break;
    }
  }

  // Lang.random stays in 0..n, and a seed of zero or more repeats the
  // sequence.
  void randomNumbers() {
    FakeHost host;
    QSet<int> seen;
    for (quint32 seed = 0; seed < 200; ++seed) {
      const Value v = call(host, "Lang.random", {"f:5.9"}, seed).outcome.value;
      QCOMPARE(v.type(), ValueType::Integer);
      QVERIFY(v.integerValue() >= 0 && v.integerValue() <= 5);
      seen.insert(v.integerValue());
    }
    QCOMPARE(seen.size(), 6);
    QCOMPARE(call(host, "Lang.random", {"i:1000000"}, 7).outcome.value,
             call(host, "Lang.random", {"i:1000000"}, 7).outcome.value);
  }
};

QTEST_APPLESS_MAIN(ScriptLibrariesTest)
#include "tst_scriptlibraries.moc"
