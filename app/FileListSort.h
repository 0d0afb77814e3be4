// How the file list orders its rows when a column header is clicked: the
// keys of the three kinds of column and the in-place quicksort that
// exchanges whole rows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Size and File Id: the number after any leading blanks, up to the first
// character that is not a digit; 0 without digits. Read in 64 bits so sizes
// of 2 GB and more keep their order.
int64_t NumberSortKey(const std::wstring &text);
// Modified and Created: day, month, year, hour, minute and second read at
// the fixed places of "dd-mm-yyyy hh:mm:ss"; the short form has no time and
// "--------" gives 0.
int64_t DateSortKey(const std::wstring &text);
// Case-blind order of the Name, Type and Status texts.
int CompareTextKeys(const std::wstring &a, const std::wstring &b);

// Sorts rows lo..hi by their keys: the pivot is the middle row's key, rows
// are exchanged through exchange(i, j) (which must exchange the keys too),
// and rows whose keys are exactly equal are never exchanged with each other.
// The sort is not stable.
template <class Key, class Compare, class Exchange>
void QuickSortRows(std::vector<Key> &keys, int lo, int hi, bool ascending, Compare compare,
                   Exchange exchange) {
  // The smaller part is sorted by recursion, the larger by the loop, so a
  // long list cannot run the stack out.
  while (lo < hi) {
    const Key pivot = keys[(lo + hi) / 2];
    const int direction = ascending ? 1 : -1;
    int i = lo, j = hi;
    while (i <= j) {
      while (i < hi && direction * compare(keys[i], pivot) < 0) ++i;
      while (j > lo && direction * compare(keys[j], pivot) > 0) --j;
      if (i <= j) {
        if (!(keys[i] == keys[j])) exchange(i, j);
        ++i;
        --j;
      }
    }
    if (j - lo < hi - i) {
      if (lo < j) QuickSortRows(keys, lo, j, ascending, compare, exchange);
      lo = i;
    } else {
      if (i < hi) QuickSortRows(keys, i, hi, ascending, compare, exchange);
      hi = j;
    }
  }
}
