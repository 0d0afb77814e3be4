#include <gtest/gtest.h>

#include "Collections.h"

#include <map>
#include <set>

namespace {

template <class T> std::vector<T> Items(const CList<T, const T &> &list) {
  std::vector<T> items;
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) items.push_back(list.GetNext(pos));
  return items;
}

std::vector<int> Items(const CArray<int, int> &array) {
  return std::vector<int>(array.begin(), array.end());
}

void ExpectThrows(CRuntimeClass *pExpected, void (*action)()) {
  try {
    action();
    ADD_FAILURE() << "nothing thrown";
  } catch (CException *e) {
    EXPECT_TRUE(e->IsKindOf(pExpected));
    e->Delete();
  }
}

} // namespace

TEST(Array, GrowsInsertsAndRemoves) {
  CArray<int, int> array;
  array.SetSize(3, 16);
  EXPECT_EQ(Items(array), (std::vector<int>{0, 0, 0})); // new elements are zero
  array.SetAtGrow(5, 7);
  EXPECT_EQ(Items(array), (std::vector<int>{0, 0, 0, 0, 0, 7}));
  EXPECT_EQ(array.GetUpperBound(), 5);
  array.InsertAt(1, 9, 2);
  EXPECT_EQ(Items(array), (std::vector<int>{0, 9, 9, 0, 0, 0, 0, 7}));
  array.RemoveAt(0, 3);
  EXPECT_EQ(Items(array), (std::vector<int>{0, 0, 0, 0, 7}));
  array.InsertAt(7, 1); // past the end: grows first
  EXPECT_EQ(Items(array), (std::vector<int>{0, 0, 0, 0, 7, 0, 0, 1}));
  array.ElementAt(0) = 4;
  array[1] = 5;
  EXPECT_EQ(array.GetAt(0) + array.GetAt(1), 9);
}

TEST(Array, AddingAnElementOfItselfIsSafe) {
  CStringArray strings;
  strings.Add(CString(L"first"));
  for (int i = 0; i < 100; ++i) strings.Add(strings[0]); // reallocates while copying from itself
  EXPECT_EQ(strings.GetSize(), 101);
  EXPECT_EQ(strings[100], L"first");
  strings.Append(strings);
  EXPECT_EQ(strings.GetSize(), 202);
  CStringArray copy;
  copy.Copy(strings);
  EXPECT_EQ(copy[201], L"first");
}

TEST(Array, OutOfRangeIndexThrowsInsteadOfCorruptingMemory) {
  ExpectThrows(RUNTIME_CLASS(CInvalidArgException), [] {
    CDWordArray array;
    array.SetSize(2);
    array.GetAt(2);
  });
  ExpectThrows(RUNTIME_CLASS(CInvalidArgException), [] {
    CDWordArray array;
    array[-1] = 1;
  });
  ExpectThrows(RUNTIME_CLASS(CInvalidArgException), [] {
    CDWordArray array;
    array.SetSize(3);
    array.RemoveAt(2, 2);
  });
}

TEST(List, PositionsSurviveRemovalDuringIteration) {
  CList<int, const int &> list;
  for (int i = 1; i <= 6; ++i) list.AddTail(i);
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    POSITION current = pos;
    if (list.GetNext(pos) % 2 == 0) list.RemoveAt(current);
  }
  EXPECT_EQ(Items(list), (std::vector<int>{1, 3, 5}));
  // A position held elsewhere stays valid while other elements come and go.
  POSITION three = list.Find(3);
  list.RemoveHead();
  list.AddHead(0);
  list.InsertAfter(three, 4);
  list.InsertBefore(three, 2);
  EXPECT_EQ(list.GetAt(three), 3);
  EXPECT_EQ(Items(list), (std::vector<int>{0, 2, 3, 4, 5}));
  list.RemoveTail();
  EXPECT_EQ(list.GetTail(), 4);
  EXPECT_EQ(list.GetCount(), 4);
}

TEST(List, BackwardIterationFindAndIndex) {
  CStringList list;
  list.AddTail(CString(L"b"));
  list.AddHead(CString(L"a"));
  list.AddTail(CString(L"c"));
  list.AddTail(CString(L"a"));
  CString backwards;
  for (POSITION pos = list.GetTailPosition(); pos != nullptr;) backwards += list.GetPrev(pos);
  EXPECT_EQ(backwards, L"acba");
  POSITION first = list.Find(CString(L"a"));
  POSITION second = list.Find(CString(L"a"), first);
  EXPECT_EQ(first, list.GetHeadPosition());
  EXPECT_EQ(second, list.GetTailPosition());
  EXPECT_EQ(list.Find(CString(L"z")), nullptr);
  EXPECT_EQ(list.FindIndex(2), list.Find(CString(L"c")));
  EXPECT_EQ(list.FindIndex(4), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);
  POSITION head = list.InsertBefore(nullptr, CString(L"0"));
  EXPECT_EQ(head, list.GetHeadPosition());
  POSITION tail = list.InsertAfter(nullptr, CString(L"9"));
  EXPECT_EQ(tail, list.GetTailPosition());
  ExpectThrows(RUNTIME_CLASS(CInvalidArgException), [] { CPtrList().GetHead(); });
}

TEST(Map, LookupSetRemoveAndIterate) {
  CMapStringToString map;
  map.SetAt(L"one", L"1");
  map[L"two"] = L"2";
  map[L"one"] = L"uno"; // replaces
  CString value;
  EXPECT_TRUE(map.Lookup(L"one", value));
  EXPECT_EQ(value, L"uno");
  EXPECT_FALSE(map.Lookup(L"ONE", value));
  EXPECT_EQ(map.GetCount(), 2);
  EXPECT_TRUE(map.RemoveKey(L"two"));
  EXPECT_FALSE(map.RemoveKey(L"two"));
  EXPECT_EQ(map.GetCount(), 1);
  CMapPtrToWord empty;
  EXPECT_EQ(empty.GetStartPosition(), nullptr);
  EXPECT_FALSE(empty.RemoveKey(nullptr));
}

TEST(Map, IterationVisitsEveryKeyOnceWhileRemovingTheCurrentOne) {
  CMap<int, int, int, int> map;
  map.InitHashTable(7); // small table: long chains and a rehash while filling
  for (int i = 0; i < 500; ++i) map[i * 3] = i;
  std::set<int> seen;
  POSITION pos = map.GetStartPosition();
  while (pos != nullptr) {
    int key, value;
    map.GetNextAssoc(pos, key, value);
    EXPECT_EQ(key, value * 3);
    EXPECT_TRUE(seen.insert(key).second) << "visited twice: " << key;
    if (key % 2 == 0) map.RemoveKey(key);
  }
  EXPECT_EQ(seen.size(), 500u);
  EXPECT_EQ(map.GetCount(), 250);
  int value;
  EXPECT_FALSE(map.Lookup(6, value));
  EXPECT_TRUE(map.Lookup(9, value));
  EXPECT_EQ(value, 3);
}

TEST(Map, PointerAndWordKeys) {
  int a = 0, b = 0;
  CMapPtrToPtr pointers;
  pointers[&a] = &b;
  void *found = nullptr;
  EXPECT_TRUE(pointers.Lookup(&a, found));
  EXPECT_EQ(found, &b);
  EXPECT_FALSE(pointers.Lookup(&b, found));
  CMapWordToPtr words;
  words.SetAt(0xFFFF, &a);
  EXPECT_TRUE(words.Lookup(0xFFFF, found));
  EXPECT_EQ(found, &a);
}
