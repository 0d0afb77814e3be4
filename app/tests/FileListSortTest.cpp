// The file list's sort keys and its row-exchanging quicksort.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FileListSort.h"

namespace {

TEST(FileListSortTest, NumberKeys) {
  const std::pair<const wchar_t *, int64_t> cases[] = {
      {L"1234", 1234},
      {L"   42", 42},
      {L"     17abc", 17},
      {L"", 0},
      {L"none", 0},
      {L"-5", -5},
      {L"0", 0},
      {L"2147483648", 2147483648LL},
      {L"4294967296", 4294967296LL},
  };
  for (const auto &c : cases)
    EXPECT_EQ(NumberSortKey(c.first), c.second) << std::string(c.first, c.first + wcslen(c.first));
}

int64_t Key(int64_t year, int64_t month, int64_t day, int64_t hour, int64_t minute, int64_t second) {
  return ((((year * 365 + month * 30 + day) * 24 + hour) * 60 + minute) * 60) + second;
}

TEST(FileListSortTest, DateKeys) {
  EXPECT_EQ(DateSortKey(L"--------"), 0);
  EXPECT_EQ(DateSortKey(L""), 0);
  EXPECT_EQ(DateSortKey(L"15-03-2023"), Key(2023, 3, 15, 0, 0, 0));
  EXPECT_EQ(DateSortKey(L"15-03-2023 09:59:58"), Key(2023, 3, 15, 9, 59, 58));
  EXPECT_LT(DateSortKey(L"15-03-2023 09:59:59"), DateSortKey(L"15-03-2023 14:30:05"));
  EXPECT_LT(DateSortKey(L"31-12-2022 23:59:59"), DateSortKey(L"01-01-2023 00:00:00"));
}

// Sorts the keys and records the exchanges the sort asked for.
template <class Key, class Compare>
std::vector<std::pair<int, int>> Sort(std::vector<Key> &keys, bool ascending, Compare compare) {
  std::vector<std::pair<int, int>> exchanges;
  QuickSortRows(keys, 0, static_cast<int>(keys.size()) - 1, ascending, compare, [&](int a, int b) {
    exchanges.emplace_back(a, b);
    std::swap(keys[a], keys[b]);
  });
  return exchanges;
}

int CompareNumbers(int64_t a, int64_t b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

TEST(FileListSortTest, SortsBothWays) {
  const std::vector<int64_t> start = {5, 3, 9, 1, 7, 3, 0, 8};
  std::vector<int64_t> keys = start;
  Sort(keys, true, CompareNumbers);
  EXPECT_EQ(keys, (std::vector<int64_t>{0, 1, 3, 3, 5, 7, 8, 9}));
  Sort(keys, false, CompareNumbers);
  EXPECT_EQ(keys, (std::vector<int64_t>{9, 8, 7, 5, 3, 3, 1, 0}));
}

TEST(FileListSortTest, EmptyAndSingleRowsAreLeftAlone) {
  std::vector<int64_t> none;
  EXPECT_TRUE(Sort(none, true, CompareNumbers).empty());
  std::vector<int64_t> one = {4};
  EXPECT_TRUE(Sort(one, true, CompareNumbers).empty());
}

TEST(FileListSortTest, ExactlyEqualKeysAreNeverExchanged) {
  std::vector<int64_t> keys(50, 7);
  EXPECT_TRUE(Sort(keys, true, CompareNumbers).empty());
  std::vector<std::wstring> names = {L"same", L"same", L"same"};
  EXPECT_TRUE(Sort(names, true, CompareTextKeys).empty());
}

TEST(FileListSortTest, NamesDifferingOnlyInCaseMayBeExchanged) {
  std::vector<std::wstring> names = {L"abc", L"ABC"};
  const auto exchanges = Sort(names, true, CompareTextKeys);
  ASSERT_EQ(exchanges.size(), 1u);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"ABC", L"abc"}));
}

TEST(FileListSortTest, NamesSortWithoutRegardToCase) {
  std::vector<std::wstring> names = {L"delta.txt", L"Bravo.doc", L"alpha.jpg", L"Charlie"};
  Sort(names, true, CompareTextKeys);
  EXPECT_EQ(names, (std::vector<std::wstring>{L"alpha.jpg", L"Bravo.doc", L"Charlie", L"delta.txt"}));
}

TEST(FileListSortTest, LongSortedAndReversedListsSort) {
  // Already sorted or reversed input must not run the stack out.
  std::vector<int64_t> keys;
  for (int i = 0; i < 100000; ++i) keys.push_back(i % 2 ? i : 100000 - i);
  Sort(keys, true, CompareNumbers);
  for (size_t i = 1; i < keys.size(); ++i) ASSERT_LE(keys[i - 1], keys[i]);
  Sort(keys, false, CompareNumbers);
  for (size_t i = 1; i < keys.size(); ++i) ASSERT_GE(keys[i - 1], keys[i]);
}

} // namespace
