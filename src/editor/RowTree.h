#pragma once

#include <vector>

namespace tessera {

// Per-block display-row counts with prefix sums (a Fenwick tree keyed by
// block number). A count of 0 means "not measured yet"; callers only trust a
// prefix sum whose blocks are all measured.
class RowTree {
public:
  int size() const { return int(values_.size()); }
  int value(int index) const { return values_[index]; }

  // `count` entries, all `value`.
  void assign(int count, int value);
  void set(int index, int value);
  // Sum of the first `count` entries.
  int prefix(int count) const;
  int total() const { return prefix(size()); }
  // Replaces `removed` entries from `first` on by `added` ones. Linear in the
  // entries after `first` only when the count changes.
  void splice(int first, int removed, const std::vector<int>& added);
  // The first index whose running sum exceeds `target` (size() if none).
  int lowerBound(int target) const;

private:
  void rebuildFrom(int first);

  std::vector<int> values_;
  std::vector<int> tree_{0}; // 1-based; tree_[i] sums (i - lowbit(i), i]
};

} // namespace tessera
