#pragma once

#include "editor/Insertion.h"

#include <optional>

// The card tool: a plain card, or one with history clearing and a timer
// that loads another URL.
namespace tessera {

struct CardFields {
  QString id;
  QString title;
  bool clearHistory = false; // newcontext="true"
  bool useTimer = false;
  QString waitingTime; // seconds, as typed
  QString timerUrl;
};

// The result of a card build: the insertion, or the error text when the
// waiting time is not a whole number (then nothing may be inserted).
struct CardOutcome {
  Insertion insertion;
  QString error;
  bool ok() const { return error.isEmpty(); }
};

// Start tag, three empty lines, "</card>"; caret after it.
Insertion plainCard(const QString& id, const QString& title);

// The card of the "Other settings" panel, in its four variants.
CardOutcome cardWithSettings(const CardFields& fields);

// The waiting time in tenths of a second, or nothing when the text is not
// a plain decimal whole number (empty, pasted letters, signs, blanks).
std::optional<qint64> timerValue(const QString& waitingTime);

// "'<text>' is not a valid integer value".
QString invalidIntegerMessage(const QString& text);

} // namespace tessera
