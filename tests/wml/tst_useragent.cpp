#include "AgentScript.h"

#include "wml/agent/PhoneScreens.h"
#include "wml/agent/UserAgent.h"

#include <QTest>

using namespace tessera;
using namespace tessera::wml::agent;

// The user agent followed through decks, one table per rule: each row is a
// deck, what the user does, and the exact screen, variables and history
// that must result.
class UserAgentTest : public QObject {
  Q_OBJECT
private slots:
  void variables_data();
  void variables() { runScenario(); }
  void layout_data();
  void layout() { runScenario(); }
  void templateShadowing_data();
  void templateShadowing() { runScenario(); }
  void history_data();
  void history() { runScenario(); }
  void timers_data();
  void timers() { runScenario(); }
  void inputs_data();
  void inputs() { runScenario(); }
  void lists_data();
  void lists() { runScenario(); }
  void newContext_data();
  void newContext() { runScenario(); }
  void outsideTasks_data();
  void outsideTasks() { runScenario(); }
  void chainedEventsStop();
  void localDecks();
  void notWellFormed();
  void editsKeepTheContext();
  void brokenDeckForgetsTheCard();
  void deckInfo();
  void threeCardDeck();
  void refusals_data();
  void refusals();
  void phoneScreens_data();
  void phoneScreens();
  void caretCard_data();
  void caretCard();

private:
  void addColumns();
  void runScenario();
};

void UserAgentTest::addColumns() {
  QTest::addColumn<QString>("body");
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("variables");
  QTest::addColumn<QString>("history");
}

void UserAgentTest::runScenario() {
  QFETCH(QString, body);
  QFETCH(QStringList, steps);
  QFETCH(QString, text);
  QFETCH(QString, variables);
  QFETCH(QString, history);
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(wmlDeck(body), QStringLiteral("/site/index.wml"));
  QCOMPARE(runSteps(agent, clock, steps, body), QString());
  QCOMPARE(agent.renderedText(), text);
  QCOMPARE(variablesText(agent), variables);
  QCOMPARE(agent.historyLabels().join(QStringLiteral(" > ")), history);
}

// Sets variables on entering the card, so a row needs no extra steps.
static QString entered(const QString& setvars) {
  return QStringLiteral("<onevent type=\"onenterforward\"><refresh>") + setvars +
         QStringLiteral("</refresh></onevent>");
}

void UserAgentTest::variables_data() {
  addColumns();
  QTest::newRow("every form of reference")
      << QString(R"w(<card id="c" title="T $(t)">)w" +
                 entered(R"w(<setvar name="a" value="x y"/><setvar name="t" value="1"/>)w") +
                 R"w(<p>$a-$(a)-$(a:e)-$(a:escape)-$(a:n)-$(a:noesc)-$$-[$nothing]</p></card>)w")
      << QStringList() << "T 1\nx y-x y-x%20y-x%20y-x y-x y-$-[]\n | "
      << "a=x y|t=1"
      << "#c";
  QTest::newRow("unescape in any case")
      << QString(R"w(<card id="c">)w" + entered(R"w(<setvar name="u" value="a%20b%2Fc"/>)w") +
                 R"w(<p>$(u:u) $(u:unesc) $(u:U) $(u:E)</p></card>)w")
      << QStringList() << "\na b/c a b/c a b/c a%2520b%252Fc\n | "
      << "u=a%20b%2Fc"
      << "#c";
  QTest::newRow("an address escapes unless told not to")
      << QString(R"w(<card id="c">)w" + entered(R"w(<setvar name="a" value="x y&amp;z"/>)w") +
                 R"w(<p><a href="http://h/p?q=$(a)&amp;r=$(a:n)">go</a></p></card>)w")
      << QStringList{"link 0"} << "GET http://h/p?q=x%20y%26z&r=x y&z\n | Back"
      << "a=x y&z"
      << "#c";
  // A gateway cannot encode such a deck; the phone shows the error.
  QTest::newRow("a malformed reference is the phone's error")
      << QString(R"w(<card id="c"><p>cost $ 5, $(bad name), $(a:zz), $(a, $$(a)</p></card>)w")
      << QStringList()
      << "Cannot be shown\nLine 3: Malformed variable reference in the text of <p>: a lone "
         "\"$\" must be written \"$$\".\n | "
      << ""
      << "";
  QTest::newRow("setvar values are substituted before they are set")
      << QString(R"w(<card id="c">)w" + entered(R"w(<setvar name="a" value="1"/>)w") +
                 R"w(<p><anchor>next<go href="#d"><setvar name="a" value="$(a)2"/>)w"
                 R"w(<setvar name="b" value="$a"/></go></anchor></p></card>)w"
                 R"w(<card id="d"><p>$a $b</p></card>)w")
      << QStringList{"link 0"} << "\n12 1\n | "
      << "a=12|b=1"
      << "#c > #d";
}

void UserAgentTest::layout_data() {
  addColumns();
  QTest::newRow("a line per paragraph and br")
      << QString(R"w(<card id="c" title="T"><p>one</p><p>two<br/>three<br/><br/>four<br/></p>)w"
                 R"w(<p/><p>five</p></card>)w")
      << QStringList() << "T\none\ntwo\nthree\n\nfour\nfive\n | "
      << ""
      << "#c";
  QTest::newRow("white space collapses across styles")
      << QString(R"w(<card id="c"><p>  a  <b>bold</b>  <i> it </i>c <big>B</big><small>s</small>)w"
                 R"w(<u>u</u><em>e</em><strong>s</strong>&nbsp;!</p></card>)w")
      << QStringList() << QString("\na bold it c Bsuesd\u00a0!\n | ").replace("sd", "s") << ""
      << "#c";
  QTest::newRow("links, images and inputs")
      << QString(
             R"w(<card id="c"><p>Go <a href="#c">to   there</a> now <anchor> <img src="a.png" )w"
             R"w(alt="Logo"/> <go href="#c"/></anchor></p><p>Name: <input name="n" )w"
             R"w(value="Bob"/> Pin: <input name="p" type="password" value="1234"/></p></card>)w")
      << QStringList()
      << "\nGo [to there] now [[img: Logo]]\nName: [input: Bob] Pin: [input: ****]\n | "
      << "n=Bob|p=1234"
      << "#c";
  QTest::newRow("a table row per line, cells joined")
      << QString(R"w(<card id="c"><p>Top<table columns="2"><tr><td>a</td><td> b  c </td></tr>)w"
                 R"w(<tr><td/><td>d</td></tr></table>End</p></card>)w")
      << QStringList() << "\nTop\na | b c\n | d\nEnd\n | "
      << ""
      << "#c";
  QTest::newRow("an image's alt takes variables")
      << QString(R"w(<card id="c">)w" + entered(R"w(<setvar name="w" value="Sun"/>)w") +
                 R"w(<p><img src="$(w).png" alt="$w"/></p></card>)w")
      << QStringList() << "\n[img: Sun]\n | "
      << "w=Sun"
      << "#c";
}

void UserAgentTest::templateShadowing_data() {
  addColumns();
  const QString deckTemplate = R"w(<template><do type="accept" label="Next"><go href="#b"/></do>)w"
                               R"w(<do type="prev"><prev/></do></template>)w";
  QTest::newRow("a card without do elements gets the template's")
      << deckTemplate + R"w(<card id="a"><p>A</p></card><card id="b"><p>B</p></card>)w"
      << QStringList() << "\nA\nNext | Back"
      << ""
      << "#a";
  QTest::newRow("a card's do shadows the template's of the same name")
      << deckTemplate +
             R"w(<card id="a"><do type="accept" label="Mine"><go href="#c"/></do>)w"
             R"w(<p>A</p></card><card id="b"><p>B</p></card><card id="c"><p>C</p></card>)w"
      << QStringList{"key 1"} << "\nC\nNext | Back"
      << ""
      << "#a > #c";
  QTest::newRow("noop takes a template do away")
      << deckTemplate + R"w(<card id="a"><do type="prev"><noop/></do><p>A</p></card>)w"
                        R"w(<card id="b"><p>B</p></card>)w"
      << QStringList{"key 1"} << "\nB\nNext | Back"
      << ""
      << "#a > #b";
  QTest::newRow("another name does not shadow: three keys make a menu")
      << deckTemplate + R"w(<card id="a"><do type="accept" name="own" label="Mine">)w"
                        R"w(<go href="#b"/></do><p>A</p></card><card id="b"><p>B</p></card>)w"
      << QStringList{"key 2"} << "Menu\n[Next]\n[Back]\n | Back"
      << ""
      << "#a";
  QTest::newRow("a menu entry runs its task")
      << deckTemplate + R"w(<card id="a"><do type="accept" name="own" label="Mine">)w"
                        R"w(<go href="#a"/></do><p>A</p></card><card id="b"><p>B</p></card>)w"
      << QStringList{"key 2", "link 0"} << "\nB\nNext | Back"
      << ""
      << "#a > #b";
  QTest::newRow("leaving the menu shows the card again")
      << deckTemplate + R"w(<card id="a"><do type="help"><go href="#b"/></do><p>A</p></card>)w"
                        R"w(<card id="b"><p>B</p></card>)w"
      << QStringList{"key 2", "back"} << "\nA\nNext | Menu"
      << ""
      << "#a";
  QTest::newRow("the left key takes the first accept")
      << QString(R"w(<card id="a"><do type="options" label="Opt"><go href="#a"/></do>)w"
                 R"w(<do type="accept" label="Go"><go href="#b"/></do><p>A</p></card>)w"
                 R"w(<card id="b"><p>B</p></card>)w")
      << QStringList() << "\nA\nGo | Opt"
      << ""
      << "#a";
  QTest::newRow("labels by type") << QString(
                                         R"w(<card id="a"><do type="options"><go href="#a"/></do>)w"
                                         R"w(<do type="help"><go href="#a"/></do><p>A</p></card>)w")
                                  << QStringList() << "\nA\nOptions | help"
                                  << ""
                                  << "#a";
  QTest::newRow("a do inside a paragraph is a key, a label takes variables")
      << QString(R"w(<card id="a">)w" + entered(R"w(<setvar name="w" value="Buy"/>)w") +
                 R"w(<p>A<do type="accept" label="$w now"><go href="#a"/></do></p></card>)w")
      << QStringList() << "\nA\nBuy now | "
      << "w=Buy"
      << "#a";
  QTest::newRow("the template's onenterforward applies to every card")
      << QString(
             R"w(<template onenterforward="#c"/><card id="a"><p>A</p></card>)w"
             R"w(<card id="c"><onevent type="onenterforward"><noop/></onevent><p>C</p></card>)w")
      << QStringList() << "\nC\n | "
      << ""
      << "#a > #c";
  QTest::newRow("a card's onevent shadows the template's")
      << QString(
             R"w(<template><onevent type="onenterforward"><go href="#c"/></onevent></template>)w"
             R"w(<card id="a"><onevent type="onenterforward"><noop/></onevent><p>A</p></card>)w"
             R"w(<card id="c"><p>C</p></card>)w")
      << QStringList() << "\nA\n | "
      << ""
      << "#a";
}

void UserAgentTest::history_data() {
  addColumns();
  const QString deck =
      R"w(<card id="a"><p>x=$x <anchor>on<go href="#b"><setvar name="x" value="1"/></go>)w"
      R"w(</anchor></p></card><card id="b"><p>x=$x <anchor>back<prev><setvar name="x" )w"
      R"w(value="2"/></prev></anchor> <anchor>again<refresh><setvar name="x" value="5"/>)w"
      R"w(</refresh></anchor></p></card>)w";
  QTest::newRow("go with setvar") << deck << QStringList{"link 0"} << "\nx=1 [back] [again]\n | "
                                  << "x=1"
                                  << "#a > #b";
  QTest::newRow("prev with setvar") << deck << QStringList{"link 0", "link 0"} << "\nx=2 [on]\n | "
                                    << "x=2"
                                    << "#a";
  QTest::newRow("refresh with setvar redisplays")
      << deck << QStringList{"link 0", "link 1"} << "\nx=5 [back] [again]\n | "
      << "x=5"
      << "#a > #b";
  QTest::newRow("the Back key walks the history")
      << deck << QStringList{"link 0", "back"} << "\nx=1 [on]\n | "
      << "x=1"
      << "#a";
  QTest::newRow("Back on the first card does nothing")
      << deck << QStringList{"back", "back"} << "\nx= [on]\n | "
      << ""
      << "#a";
  QTest::newRow("onenterbackward runs on the way back")
      << QString(R"w(<card id="a"><onevent type="onenterbackward"><go href="#c"/></onevent>)w"
                 R"w(<p><a href="#b">b</a></p></card><card id="b" onenterbackward="#a">)w"
                 R"w(<p>B</p></card><card id="c"><p>C</p></card>)w")
      << QStringList{"link 0", "back"} << "\nC\n | "
      << ""
      << "#a > #c";
  QTest::newRow("onenterforward refresh sets before the card shows")
      << QString(R"w(<card id="a"><p><a href="#b">b</a></p></card><card id="b">)w" +
                 entered(R"w(<setvar name="n" value="7"/>)w") + R"w(<p>n=$n</p></card>)w")
      << QStringList{"link 0"} << "\nn=7\n | "
      << "n=7"
      << "#a > #b";
  QTest::newRow("a missing card is an error, Back returns")
      << QString(R"w(<card id="a"><p><a href="#zz">zz</a></p></card>)w") << QStringList{"link 0"}
      << "No card \"zz\" in the deck\n | Back"
      << ""
      << "#a";
  const QString splash =
      R"w(<card id="splash" ontimer="#main"><timer value="10"/><p>Hi</p></card>)w"
      R"w(<card id="main"><p><a href="#b">b</a></p></card><card id="b"><p>B</p></card>)w";
  QTest::newRow("edits in a card whose timer moves on start the history afresh")
      << splash << QStringList{"fire", "edit splash", "fire", "edit splash", "fire"} << "\n[b]\n | "
      << ""
      << "#splash > #main";
  QTest::newRow("an edit in another card starts from it")
      << splash << QStringList{"fire", "link 0", "edit main"} << "\n[b]\n | "
      << ""
      << "#main";
  QTest::newRow("the caret's card shown starts from it")
      << splash << QStringList{"fire", "link 0", "show main", "link 0"} << "\nB\n | "
      << ""
      << "#main > #b";
  QTest::newRow("back from the error screen")
      << QString(R"w(<card id="a"><p><a href="#zz">zz</a></p></card>)w")
      << QStringList{"link 0", "key 2"} << "\n[zz]\n | "
      << ""
      << "#a";
}

void UserAgentTest::timers_data() {
  addColumns();
  const QString deck =
      R"w(<card id="t" title="T" ontimer="#next"><timer name="tv" value="50"/><p>wait )w"
      R"w(<a href="#other">other</a> <anchor>again<refresh/></anchor></p></card>)w"
      R"w(<card id="other"><p>tv=$tv</p><do type="prev"><prev/></do></card>)w"
      R"w(<card id="next" title="N"><p>left $tv</p></card>)w";
  QTest::newRow("runs its ontimer when due")
      << deck << QStringList{"wait 49"} << "T\nwait [other] [again]\n | "
      << "tv=50"
      << "#t";
  QTest::newRow("expiry sets the variable to zero")
      << deck << QStringList{"wait 49", "wait 1"} << "N\nleft 0\n | "
      << "tv=0"
      << "#t > #next";
  QTest::newRow("leaving keeps the time left")
      << deck << QStringList{"wait 20", "link 0"} << "\ntv=30\nBack | "
      << "tv=30"
      << "#t > #other";
  QTest::newRow("coming back resumes from the variable")
      << deck << QStringList{"wait 20", "link 0", "wait 100", "key 1", "wait 29"}
      << "T\nwait [other] [again]\n | "
      << "tv=30"
      << "#t";
  QTest::newRow("and expires after the rest")
      << deck << QStringList{"wait 20", "link 0", "key 1", "wait 29", "wait 1"} << "N\nleft 0\n | "
      << "tv=0"
      << "#t > #next";
  QTest::newRow("refresh goes on from the time left")
      << deck << QStringList{"wait 10", "link 1", "wait 39"} << "T\nwait [other] [again]\n | "
      << "tv=40"
      << "#t";
  QTest::newRow("fireTimer expires at once") << deck << QStringList{"fire"} << "N\nleft 0\n | "
                                             << "tv=0"
                                             << "#t > #next";
  QTest::newRow("a timer of zero never runs")
      << QString(R"w(<card id="t" ontimer="#n"><timer value="0"/><p>T</p></card>)w"
                 R"w(<card id="n"><p>N</p></card>)w")
      << QStringList{"wait 1000", "fire"} << "\nT\n | "
      << ""
      << "#t";
  QTest::newRow("a value that reads empty switches the timer off")
      << QString(
             R"w(<template><onevent type="ontimer"><go href="#n"/></onevent></template>)w"
             R"w(<card id="t"><timer value="$(d)"/><p>T</p></card><card id="n"><p>N</p></card>)w")
      << QStringList{"wait 1"} << "\nT\n | "
      << ""
      << "#t";
  QTest::newRow("the template's ontimer")
      << QString(R"w(<template><onevent type="ontimer"><go href="#n"/></onevent></template>)w"
                 R"w(<card id="t"><timer name="w" value="$(d)5"/><p>T</p></card>)w"
                 R"w(<card id="n"><p>N $w</p></card>)w")
      << QStringList{"wait 4", "wait 1"} << "\nN 0\n | "
      << "w=0"
      << "#t > #n";
  QTest::newRow("the card's ontimer shadows the template's")
      << QString(R"w(<template><onevent type="ontimer"><go href="#n"/></onevent></template>)w"
                 R"w(<card id="t"><onevent type="ontimer"><prev/></onevent><timer value="5"/>)w"
                 R"w(<p>T</p></card><card id="n"><p>N</p></card>)w")
      << QStringList{"wait 5"} << "\nT\n | "
      << ""
      << "#t";
  QTest::newRow("a timer without a name")
      << QString(R"w(<card id="t" ontimer="#n"><timer value="5"/><p>T</p></card>)w"
                 R"w(<card id="n"><p>N</p></card>)w")
      << QStringList{"wait 5"} << "\nN\n | "
      << ""
      << "#t > #n";
}

void UserAgentTest::inputs_data() {
  addColumns();
  const QString deck = R"w(<card id="f"><p><input name="z" format="NNN\-NN" value="12345"/> )w"
                       R"w(<input name="m" maxlength="3" emptyok="true" value="ab"/> )w"
                       R"w(<input name="r" value=""/></p></card>)w";
  QTest::newRow("an initial value the mask refuses is not set")
      << deck << QStringList() << "\n[input: ] [input: ab] [input: ]\n | "
      << "m=ab"
      << "#f";
  QTest::newRow("an entry that matches the mask is taken")
      << deck << QStringList{"input z 123-45"} << "\n[input: 123-45] [input: ab] [input: ]\n | "
      << "m=ab|z=123-45"
      << "#f";
  QTest::newRow("entries against the mask are refused")
      << deck
      << QStringList{"input z 123-45", "refuse z 12345", "refuse z 123-4", "refuse z 12a-45"}
      << "\n[input: 123-45] [input: ab] [input: ]\n | "
      << "m=ab|z=123-45"
      << "#f";
  QTest::newRow("maxlength and emptyok")
      << deck << QStringList{"refuse m abcd", "input m abc", "input m ", "refuse r "}
      << "\n[input: ] [input: ] [input: ]\n | "
      << "m="
      << "#f";
  QTest::newRow("a password shows stars")
      << QString(R"w(<card id="f"><p><input name="pw" type="password" format="*N"/></p></card>)w")
      << QStringList{"input pw 90210"} << "\n[input: *****]\n | "
      << "pw=90210"
      << "#f";
  QTest::newRow("the variable's value comes before the value attribute")
      << QString(R"w(<card id="f">)w" + entered(R"w(<setvar name="q" value="Kept"/>)w") +
                 R"w(<p><input name="q" format="A*a" value="New"/></p></card>)w")
      << QStringList() << "\n[input: Kept]\n | "
      << "q=Kept"
      << "#f";
}

void UserAgentTest::lists_data() {
  addColumns();
  const QString single =
      R"w(<card id="s"><p><select name="drink" iname="di"><option value="t">Tea</option>)w"
      R"w(<option value="c" onpick="#chosen">Coffee</option><option value="w">Water</option>)w"
      R"w(<optgroup title="More"><option value="z"><onevent type="onpick"><go href="#chosen"/>)w"
      R"w(</onevent>Zed</option></optgroup></select></p></card>)w"
      R"w(<card id="chosen" title="C"><p>$drink $di</p></card>)w";
  QTest::newRow("a single list starts on its first option")
      << single << QStringList() << "\n[select: Tea]\n | "
      << "di=1|drink=t"
      << "#s";
  QTest::newRow("picking sets the value and the index")
      << single << QStringList{"pick drink 2"} << "\n[select: Water]\n | "
      << "di=3|drink=w"
      << "#s";
  QTest::newRow("onpick attribute") << single << QStringList{"pick di 1"} << "C\nc 2\n | "
                                    << "di=2|drink=c"
                                    << "#s > #chosen";
  QTest::newRow("onpick onevent inside an optgroup")
      << single << QStringList{"pick drink 3"} << "C\nz 4\n | "
      << "di=4|drink=z"
      << "#s > #chosen";
  const QString multiple = R"w(<card id="m"><p><select name="m" multiple="true" value="a;c">)w"
                           R"w(<option value="a">A</option><option value="b">B</option>)w"
                           R"w(<option value="c">C</option></select></p></card>)w";
  QTest::newRow("a multiple list starts on its values")
      << multiple << QStringList() << "\n[select: A, C]\n | "
      << "m=a;c"
      << "#m";
  QTest::newRow("picking toggles an option")
      << multiple << QStringList{"pick m 0", "pick m 1"} << "\n[select: B, C]\n | "
      << "m=b;c"
      << "#m";
  QTest::newRow("ivalue before the value variable")
      << QString(
             R"w(<card id="v">)w" + entered(R"w(<setvar name="x" value="c"/>)w") +
             R"w(<p><select name="x" ivalue="2"><option value="a">A</option>)w"
             R"w(<option value="b">B</option><option value="c">C</option></select></p></card>)w")
      << QStringList() << "\n[select: B]\n | "
      << "x=b"
      << "#v";
  QTest::newRow("the value variable picks the option")
      << QString(
             R"w(<card id="v">)w" + entered(R"w(<setvar name="x" value="c"/>)w") +
             R"w(<p><select name="x" value="a"><option value="a">A</option>)w"
             R"w(<option value="b">B</option><option value="c">C</option></select></p></card>)w")
      << QStringList() << "\n[select: C]\n | "
      << "x=c"
      << "#v";
  QTest::newRow("the index variable wins over an invalid one")
      << QString(R"w(<card id="v">)w" + entered(R"w(<setvar name="i" value="9;3"/>)w") +
                 R"w(<p><select iname="i" multiple="true"><option>A</option><option>B</option>)w"
                 R"w(<option>C $(i)</option></select></p></card>)w")
      << QStringList() << "\n[select: C 3]\n | "
      << "i=3"
      << "#v";
}

void UserAgentTest::newContext_data() {
  addColumns();
  const QString deck =
      R"w(<card id="a">)w" + QString(entered(R"w(<setvar name="old" value="1"/>)w")) +
      R"w(<p><anchor>fresh<go href="#b"><setvar name="k" value="1"/></go></anchor></p></card>)w"
      R"w(<card id="b" newcontext="true">)w" +
      entered(R"w(<setvar name="m" value="2"/>)w") +
      R"w(<do type="prev"><prev/></do><p>k=$k old=$old m=$m</p></card>)w";
  QTest::newRow("clears variables and history, setvars included")
      << deck << QStringList{"link 0"} << "\nk= old= m=2\nBack | "
      << "m=2"
      << "#b";
  QTest::newRow("nothing to go back to")
      << deck << QStringList{"link 0", "key 1", "back"} << "\nk= old= m=2\nBack | "
      << "m=2"
      << "#b";
}

void UserAgentTest::outsideTasks_data() {
  addColumns();
  const QString fields = R"w(<postfield name="a" value="1"/><postfield name="b" value="$(n)"/>)w";
  const QString setName = entered(R"w(<setvar name="n" value="Anna Kovács"/>)w");
  QTest::newRow("GET puts the postfields into the query")
      << QString(R"w(<card id="c">)w" + setName +
                 R"w(<p><anchor>Send<go href="http://host/path">)w" + fields +
                 R"w(</go></anchor></p></card>)w")
      << QStringList{"link 0"} << "GET http://host/path?a=1&b=Anna%20Kov%C3%A1cs\n | Back"
      << "n=Anna Kovács"
      << "#c";
  QTest::newRow("GET after a query already there")
      << QString(R"w(<card id="c"><p><anchor>Send<go href="https://host/p?z=0">)w"
                 R"w(<postfield name="a b" value="1&amp;2"/></go></anchor></p></card>)w")
      << QStringList{"link 0"} << "GET https://host/p?z=0&a%20b=1%262\n | Back"
      << ""
      << "#c";
  QTest::newRow("POST shows the body on its own line")
      << QString(R"w(<card id="c">)w" + setName +
                 R"w(<p><anchor>Send<go method="post" )w"
                 R"w(href="http://host/path">)w" +
                 fields + R"w(</go></anchor></p></card>)w")
      << QStringList{"link 0"} << "POST http://host/path\na=1&b=Anna%20Kov%C3%A1cs\n | Back"
      << "n=Anna Kovács"
      << "#c";
  QTest::newRow("a call")
      << QString(R"w(<card id="c"><p><a href="wtai://wp/mc;+3611234567">Call</a></p></card>)w")
      << QStringList{"link 0"} << "Call +3611234567\n | Back"
      << ""
      << "#c";
  QTest::newRow("a phonebook entry")
      << QString(
             R"w(<card id="c"><p><a href="wtai://wp/ap;+3611234567;Kiss%20Anna">A</a></p></card>)w")
      << QStringList{"link 0"} << "Add to phonebook: +3611234567 Kiss Anna\n | Back"
      << ""
      << "#c";
  QTest::newRow("any other scheme is opened")
      << QString(R"w(<card id="c"><p><a href="mailto:a@b.hu">Mail</a></p></card>)w")
      << QStringList{"link 0"} << "Open mailto:a@b.hu\n | Back"
      << ""
      << "#c";
  QTest::newRow("a relative address that is not a deck")
      << QString(R"w(<card id="c"><do type="accept"><go href="search.asp?q=1"/></do></card>)w")
      << QStringList{"key 1"} << "GET search.asp?q=1\n | Back"
      << ""
      << "#c";
  QTest::newRow("setvars apply, Back returns to the card")
      << QString(R"w(<card id="c"><p>$sent<anchor>Send<go href="http://h/">)w"
                 R"w(<setvar name="sent" value="yes"/></go></anchor></p></card>)w")
      << QStringList{"link 0", "key 2"} << "\nyes[Send]\n | "
      << "sent=yes"
      << "#c";
}

void UserAgentTest::chainedEventsStop() {
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(
      wmlDeck(R"w(<card id="a" onenterforward="#b"/><card id="b" onenterforward="#a"/>)w"),
      QString());
  QCOMPARE(agent.renderedText(),
           QStringLiteral("Stopped: the deck's events lead on without end\n | "));
}

void UserAgentTest::localDecks() {
  QStringList asked;
  const DeckLoader loader = [&asked](const QString& path) -> std::optional<QString> {
    asked << path;
    if (path == QLatin1String("/site/sub/other.wml"))
      return wmlDeck(
          R"w(<card id="one"><p>One</p></card><card id="two" title="Two"><p>)w"
          R"w(<a href="../index.wml#b">home b</a></p><do type="prev"><prev/></do></card>)w");
    return std::nullopt;
  };
  ManualClock clock;
  wml::agent::UserAgent agent(clock, loader);
  agent.openDeck(
      wmlDeck(R"w(<card id="a"><p><a href="sub/other.wml#two">o</a> <a href="missing.wml">)w"
              R"w(m</a></p></card><card id="b"><p>B</p></card>)w"),
      QStringLiteral("/site/index.wml"));
  QVERIFY(agent.followLink(0));
  QCOMPARE(agent.renderedText(), QStringLiteral("Two\n[home b]\nBack | "));
  QVERIFY(agent.followLink(0));
  QCOMPARE(agent.renderedText(), QStringLiteral("\nB\n | "));
  QCOMPARE(agent.historyLabels(), QStringList({"#a", "other.wml#two", "#b"}));
  agent.back();
  QCOMPARE(agent.renderedText(), QStringLiteral("Two\n[home b]\nBack | "));
  agent.back();
  QVERIFY(agent.followLink(1));
  QCOMPARE(agent.renderedText(), QStringLiteral("Cannot open missing.wml\n | Back"));
  QCOMPARE(asked, QStringList({"/site/sub/other.wml", "/site/missing.wml"}));
}

void UserAgentTest::notWellFormed() {
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(wmlDeck("\n<card id=\"a\"><p>x</card>"), QString());
  QCOMPARE(agent.renderedText(),
           QStringLiteral("Not well-formed\nLine 4: <p> opened here is not closed before </card> "
                          "on line 4.\n | "));
  QVERIFY(!agent.followLink(0));
  QVERIFY(!agent.pressSoftKey(1));
}

void UserAgentTest::editsKeepTheContext() {
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  const QString before = R"w(<card id="a"><p><anchor>b<go href="#b"><setvar name="v" value="1"/>)w"
                         R"w(</go></anchor></p></card><card id="b"><p>v=$v</p></card>)w";
  agent.openDeck(wmlDeck(before), QString());
  QVERIFY(agent.followLink(0));
  agent.updateDeck(wmlDeck(QString(before).replace("v=$v", "now $v")));
  QCOMPARE(agent.renderedText(), QStringLiteral("\nnow 1\n | "));
  agent.updateDeck(wmlDeck(QString(before).replace("</p></card>", "</card>")));
  QVERIFY(agent.renderedText().startsWith(QStringLiteral("Not well-formed\nLine 3: ")));
  agent.updateDeck(wmlDeck(before));
  QCOMPARE(agent.renderedText(), QStringLiteral("\nv=1\n | "));
  agent.updateDeck(wmlDeck(before), QStringLiteral("a"));
  QCOMPARE(agent.renderedText(), QStringLiteral("\n[b]\n | "));
  QCOMPARE(agent.historyLabels(), QStringList({"#a"}));
  QCOMPARE(variablesText(agent), QStringLiteral("v=1"));
}

// A deck that stops being well-formed takes the shown card's inputs, lists
// and links with it: nothing is left pointing into the old tree.
void UserAgentTest::brokenDeckForgetsTheCard() {
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  const QString deck = R"w(<card id="a"><p><input name="v" format="NN"/><a href="#a">a</a>)w"
                       R"w(<select name="s"><option>1</option></select></p></card>)w";
  agent.openDeck(wmlDeck(deck), QString());
  QCOMPARE(agent.layout().inputs.size(), size_t(1));
  QCOMPARE(agent.inputRule("v"), QStringLiteral("2 digits"));
  agent.updateDeck(wmlDeck(QString(deck).replace("</p>", "")));
  QVERIFY(agent.layout().inputs.empty());
  QVERIFY(agent.layout().links.empty());
  QVERIFY(agent.layout().selects.empty());
  QCOMPARE(agent.inputRule("v"), QString());
  QVERIFY(agent.optionLabels("s").isEmpty());
  QVERIFY(!agent.setInput("v", "12"));
  QVERIFY(!agent.pick("s", 0));
  agent.updateDeck(wmlDeck(deck));
  QCOMPARE(agent.renderedText(), QStringLiteral("\n[input: ][a][select: 1]\n | "));
}

void UserAgentTest::deckInfo() {
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(
      wmlDeck(R"w(<head><access domain="example.com" path="/wap"/>)w"
              R"w(<meta name="author" content="Anna"/><meta http-equiv="Cache-Control" )w"
              R"w(content="max-age=0"/></head><card id="a"/>)w"),
      QString());
  QCOMPARE(agent.deckInfo(),
           QStringList({"Deck: the document, not saved yet", "Access domain example.com path /wap",
                        "author: Anna", "Cache-Control: max-age=0"}));
  agent.openDeck(wmlDeck(R"w(<card id="a"><p><a href="other.wml">o</a></p></card>)w"),
                 QStringLiteral("/site/index.wml"));
  QCOMPARE(agent.deckInfo(),
           QStringList({"Deck: /site/index.wml", "No <head>: no access control, no meta data"}));
  agent.openDeck(wmlDeck(R"w(<card id="a"><p>x</card>)w"), QStringLiteral("/site/broken.wml"));
  QCOMPARE(agent.deckInfo(), QStringList({"Deck: /site/broken.wml"}));
}

// A timer card, a form and a list, to the request the phone would send.
void UserAgentTest::threeCardDeck() {
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(
      wmlDeck(
          R"w(<card id="hello" title="Hello" ontimer="#form"><timer value="30"/>)w"
          R"w(<p align="center">Welcome</p></card>)w"
          R"w(<card id="form" title="Name"><do type="accept" label="Next"><go href="#pick"/>)w"
          R"w(</do><p>Name: <input name="name" format="A*a"/></p></card>)w"
          R"w(<card id="pick" title="Drink"><do type="accept" label="Order">)w"
          R"w(<go href="http://example.com/order"><postfield name="name" value="$(name)"/>)w"
          R"w(<postfield name="drink" value="$(drink)"/></go></do><do type="prev"><prev/></do>)w"
          R"w(<p><select name="drink"><option value="t">Tea</option>)w"
          R"w(<option value="c">Coffee</option></select></p></card>)w"),
      QStringLiteral("/site/index.wml"));
  QCOMPARE(agent.renderedText(), QStringLiteral("Hello\nWelcome\n | "));
  QCOMPARE(runSteps(agent, clock, {"wait 30"}), QString());
  QCOMPARE(agent.renderedText(), QStringLiteral("Name\nName: [input: ]\nNext | "));
  QCOMPARE(runSteps(agent, clock, {"refuse name bob", "input name Bob", "key 1"}), QString());
  QCOMPARE(agent.renderedText(), QStringLiteral("Drink\n[select: Tea]\nOrder | Back"));
  QCOMPARE(runSteps(agent, clock, {"pick drink 1", "key 1"}), QString());
  QCOMPARE(agent.renderedText(),
           QStringLiteral("GET http://example.com/order?name=Bob&drink=c\n | Back"));
  QCOMPARE(variablesText(agent), QStringLiteral("drink=c|name=Bob"));
  QCOMPARE(agent.historyLabels(), QStringList({"#hello", "#form", "#pick"}));
}

void UserAgentTest::refusals_data() {
  QTest::addColumn<QString>("attributes");
  QTest::addColumn<QString>("entry");
  QTest::addColumn<QString>("message");
  QTest::newRow("mask") << "format=\"NNNN\""
                        << "12a4"
                        << "Does not match the format";
  QTest::newRow("too long") << "maxlength=\"3\""
                            << "abcd"
                            << "At most 3 characters";
  QTest::newRow("empty") << "format=\"*N\""
                         << ""
                         << "A value is required";
  QTest::newRow("taken") << "format=\"*N\" emptyok=\"true\""
                         << ""
                         << "";
}

void UserAgentTest::refusals() {
  QFETCH(QString, attributes);
  QFETCH(QString, entry);
  QFETCH(QString, message);
  ManualClock clock;
  wml::agent::UserAgent agent(clock);
  agent.openDeck(wmlDeck(QStringLiteral("<card id=\"c\"><p><input name=\"v\" %1 value=\"\"/>"
                                        "</p></card>")
                             .arg(attributes)),
                 QString());
  QCOMPARE(agent.setInput("v", entry), message.isEmpty());
  QCOMPARE(agent.lastMessage(), message);
  QCOMPARE(agent.variables().isSet("v"), message.isEmpty());
}

void UserAgentTest::phoneScreens_data() {
  QTest::addColumn<int>("which");
  QTest::addColumn<QString>("text");
  QTest::newRow("edit with its rule")
      << 0 << "Name\n[input: Bob]\nFormat: 1 capital letter or symbol\nOK | Back";
  QTest::newRow("edit refused") << 1 << "Pin\n[input: ***]\nDoes not match the format\nOK | Back";
  QTest::newRow("single list") << 2 << "Drink\n( ) Tea\n(*) Coffee\nSelect | Back";
  QTest::newRow("multiple list") << 3 << "Extras\n[x] Milk\n[ ] Sugar\n[x] Ice\nSelect | Back";
}

void UserAgentTest::phoneScreens() {
  QFETCH(int, which);
  QFETCH(QString, text);
  const wml::agent::Screen screens[] = {
      inputEditScreen("Name", "Bob", "1 capital letter or symbol", QString()),
      inputEditScreen("Pin", "***", QString(), "Does not match the format"),
      listScreen("Drink", {"Tea", "Coffee"}, {1}, false),
      listScreen("Extras", {"Milk", "Sugar", "Ice"}, {0, 2}, true),
  };
  QCOMPARE(wml::agent::screenText(screens[which]), text);
}

void UserAgentTest::caretCard_data() {
  QTest::addColumn<int>("line");
  QTest::addColumn<QString>("card");
  QTest::newRow("before the first card") << 1 << "a";
  QTest::newRow("on its start tag") << 4 << "a";
  QTest::newRow("inside it") << 5 << "a";
  QTest::newRow("the next card's line") << 6 << "b";
  QTest::newRow("a card without id") << 8 << "";
  QTest::newRow("past the end") << 100 << "c";
}

void UserAgentTest::caretCard() {
  QFETCH(int, line);
  QFETCH(QString, card);
  const wml::agent::DeckDocument deck = wml::agent::readDeckDocument(
      wmlDeck("\n<card id=\"a\">\n<p>A</p></card>\n<card id=\"b\"/>\n<card>\n</card>\n"
              "<card id=\"c\"/>\n"));
  QVERIFY(deck.ok());
  QCOMPARE(wml::agent::cardAtLine(wml::agent::cardStarts(deck), line), card);
}

QTEST_GUILESS_MAIN(UserAgentTest)
#include "tst_useragent.moc"
