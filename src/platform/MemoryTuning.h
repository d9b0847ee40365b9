#pragma once

namespace tessera {

// Sets the C library's allocator up for the way this program uses memory;
// called first thing by main() (and by the benchmark, which measures the
// program as it runs).
//
// A check parses the whole deck into millions of small nodes and frees them
// all once the findings are out, after every pause in typing. glibc keeps
// small freed chunks in "fast bins", unmerged, until a later request merges
// all of them in one go; from the second check of a 10 MB deck on, freeing
// its tree took 58 ms instead of the first check's 20 ms. Without fast bins
// each free merges at once, and every check frees as fast as the first.
void tuneMemoryAllocator();

} // namespace tessera
