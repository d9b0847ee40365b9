// The card timer's waiting time: any pasted text either converts to the
// digits' value in tenths of a second or is refused, and a refused text
// inserts nothing but the error text naming it.
#include "FuzzSupport.h"
#include "tools/CardBuilders.h"

#include <optional>

using namespace tessera;
using fuzzing::require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = fuzzing::utf16Of(data, size);
  const std::optional<qint64> value = timerValue(text);

  bool digitsOnly = !text.isEmpty();
  for (QChar c : text)
    digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
  if (value) {
    require(digitsOnly, "a text with other than digits was accepted");
    require(*value >= 0 && *value % 10 == 0, "the value is not whole seconds in tenths");
    require(*value / 10 == text.toLongLong(), "the value differs from the digits");
  } else if (digitsOnly) {
    require(text.size() > 9, "plain digits were refused");
  }

  CardFields fields;
  fields.useTimer = true;
  fields.waitingTime = text;
  const CardOutcome outcome = cardWithSettings(fields);
  require(outcome.ok() == value.has_value(), "the card and the conversion disagree");
  if (!outcome.ok())
    require(outcome.insertion.text.isEmpty() && outcome.error == invalidIntegerMessage(text),
            "a refused waiting time inserted text or gave another message");
  else
    require(outcome.insertion.text.contains(QStringLiteral("<timer value=\"%1\"/>").arg(*value)),
            "the timer element lacks the value");
  return 0;
}
