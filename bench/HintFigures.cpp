// The balloon's markup walk on a hostile hint: a text of nothing but "<"
// must cost what the same number of plain letters costs, never a search of
// the rest of the text per bracket.
#include "Bench.h"

#include "info/HintText.h"

#include <QFont>

namespace {

void hintWalk(bench::Context& context) {
  constexpr int kCharacters = 200000;
  const QString brackets(kCharacters, QLatin1Char('<'));
  const QString letters(kCharacters, QLatin1Char('m'));
  const QFont font(QStringLiteral("Liberation Sans"), 9);
  double ours = 0, reference = 0;
  bench::bestOfAlternating(
      3, [&] { tessera::DrawHintText(nullptr, font, {}, brackets); },
      [&] { tessera::DrawHintText(nullptr, font, {}, letters); }, &ours, &reference);
  context.add({QStringLiteral("hint walk, 200 000 lone \"<\" vs letters"), QString(), ours,
               reference, 1.5});
}

const bench::RegisterFigure registration("hint", 90, hintWalk);

} // namespace
