#pragma once

#include "wml/agent/UserAgent.h"

#include <QMap>
#include <QStringList>

// Drives a user agent from a list of steps, so each test row reads as what
// the user did: "link 0", "key 2", "back", "input name value",
// "refuse name value", "pick name 1", "fire", "wait 30" (tenths, then the
// timer check), "show id"; a script's dialogs: "prompt text" (may be empty),
// "confirm ok|cancel", "alert".
struct ManualClock : tessera::wml::agent::AgentClock {
  qint64 now = 0;
  qint64 nowTenths() const override { return now; }
};

inline QString wmlDeck(const QString& body) {
  return QStringLiteral("<?xml version=\"1.0\"?>\n"
                        "<!DOCTYPE wml PUBLIC \"-//WAPFORUM//DTD WML 1.1//EN\" "
                        "\"http://www.wapforum.org/DTD/wml_1.1.xml\">\n"
                        "<wml>") +
         body + QStringLiteral("</wml>\n");
}

// The variables as "name=value" joined by '|', sorted by name.
inline QString variablesText(const tessera::wml::agent::UserAgent& agent) {
  QStringList parts;
  const auto& all = agent.variables().all();
  for (auto it = all.cbegin(); it != all.cend(); ++it)
    parts << it.key() + u'=' + it.value();
  return parts.join(u'|');
}

// Runs the steps; returns the first step that did not do what it said.
// "edit CARD" gives the agent the deck `body` again as an edit does, with
// the caret in CARD.
inline QString runSteps(tessera::wml::agent::UserAgent& agent, ManualClock& clock,
                        const QStringList& steps, const QString& body = {}) {
  for (const QString& step : steps) {
    const QString verb = step.section(u' ', 0, 0);
    const QString first = step.section(u' ', 1, 1);
    const QString rest = step.section(u' ', 2);
    bool ok = true;
    if (verb == QLatin1String("link"))
      ok = agent.followLink(first.toInt());
    else if (verb == QLatin1String("key"))
      ok = agent.pressSoftKey(first.toInt());
    else if (verb == QLatin1String("back"))
      agent.back();
    else if (verb == QLatin1String("input"))
      ok = agent.setInput(first, rest);
    else if (verb == QLatin1String("refuse"))
      ok = !agent.setInput(first, rest);
    else if (verb == QLatin1String("pick"))
      ok = agent.pick(first, rest.toInt());
    else if (verb == QLatin1String("fire"))
      agent.fireTimer();
    else if (verb == QLatin1String("wait")) {
      clock.now += first.toLongLong();
      agent.checkTimer();
    } else if (verb == QLatin1String("show"))
      agent.showCard(first);
    else if (verb == QLatin1String("prompt"))
      ok = agent.answerPrompt(step.section(u' ', 1));
    else if (verb == QLatin1String("confirm"))
      ok = agent.answerConfirm(first == QLatin1String("ok"));
    else if (verb == QLatin1String("alert"))
      ok = agent.dismissAlert();
    else if (verb == QLatin1String("edit"))
      agent.updateDeck(wmlDeck(body), first);
    else
      return QStringLiteral("unknown step: ") + step;
    if (!ok)
      return QStringLiteral("step failed: ") + step;
  }
  return {};
}
