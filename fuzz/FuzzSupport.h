#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzzing {

// Creates the one application object the widget targets need (offscreen).
void ensureApplication();

// Stops the run with the input's report when `condition` is false.
void require(bool condition, const char* what);

// The input as UTF-16 code units (pairs of bytes), so that every code unit,
// unpaired surrogates included, can reach the code under test.
QString utf16Of(const uint8_t* data, size_t size);

} // namespace fuzzing
