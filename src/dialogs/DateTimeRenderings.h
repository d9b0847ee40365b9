#pragma once

#include <QDateTime>
#include <QLocale>
#include <QStringList>

// The renderings offered by the Date and Time window, as pure functions of a
// moment and a locale so every format can be pinned down in tests.
namespace tessera {

inline constexpr int kDateTimeRenderingCount = 21;

// Renders `when` by a pattern of letter codes: "yyyy", "yy", "mmmm", "mmm",
// "mm" (the minute right after an hour code, else the month), "dddd", "dd",
// "hh" (12-hour when "Am/Pm" follows), "ss", ":" (the locale's time
// separator) and "Am/Pm"; every other character is copied.
QString renderDateTime(const QString& pattern, const QDateTime& when, const QLocale& locale);

// The separator between hours and minutes in the locale's time format.
QString timeSeparator(const QLocale& locale);

// The locale's own rendering: its short date, then a blank and its long time
// unless the time is exactly midnight.
QString localeRendering(const QDateTime& when, const QLocale& locale);

// All the renderings, in the order the window lists them.
QStringList dateTimeRenderings(const QDateTime& when, const QLocale& locale);

} // namespace tessera
