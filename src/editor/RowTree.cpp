#include "editor/RowTree.h"

#include <algorithm>

namespace tessera {

namespace {
int lowbit(int i) { return i & -i; }
} // namespace

void RowTree::assign(int count, int value) {
  values_.assign(count, value);
  rebuildFrom(0);
}

void RowTree::set(int index, int value) {
  const int delta = value - values_[index];
  if (delta == 0)
    return;
  values_[index] = value;
  for (int i = index + 1; i <= size(); i += lowbit(i))
    tree_[i] += delta;
}

int RowTree::prefix(int count) const {
  int sum = 0;
  for (int i = count; i > 0; i -= lowbit(i))
    sum += tree_[i];
  return sum;
}

void RowTree::splice(int first, int removed, const std::vector<int>& added) {
  const int count = int(added.size());
  if (removed == count) {
    // A short run is cheaper point by point than refilling the tail.
    if (count * 32 < size() - first) {
      for (int k = 0; k < count; ++k)
        set(first + k, added[k]);
      return;
    }
    std::copy(added.begin(), added.end(), values_.begin() + first);
  } else {
    values_.erase(values_.begin() + first, values_.begin() + first + removed);
    values_.insert(values_.begin() + first, added.begin(), added.end());
  }
  rebuildFrom(first);
}

int RowTree::lowerBound(int target) const {
  int pos = 0;
  int step = 1;
  while (step * 2 <= size())
    step *= 2;
  for (; step > 0; step /= 2) {
    if (pos + step <= size() && tree_[pos + step] <= target) {
      pos += step;
      target -= tree_[pos];
    }
  }
  return pos;
}

// Nodes up to `first` still hold sums of unchanged entries; the nodes after
// it are refilled from the entries, taking in the few old nodes whose parent
// lies past `first` (those on the prefix path of `first`).
void RowTree::rebuildFrom(int first) {
  const int n = size();
  tree_.resize(n + 1);
  for (int i = first + 1; i <= n; ++i)
    tree_[i] = values_[i - 1];
  for (int j = first; j > 0; j -= lowbit(j)) {
    const int parent = j + lowbit(j);
    if (parent <= n)
      tree_[parent] += tree_[j];
  }
  for (int i = first + 1; i <= n; ++i) {
    const int parent = i + lowbit(i);
    if (parent <= n)
      tree_[parent] += tree_[i];
  }
}

} // namespace tessera
