// CT_Buffer and CT_VoidArray: allocation arithmetic, copy on write, edits.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "CT_Buffer.h"
#include "CT_VoidArray.h"

namespace {

std::string Bytes(const CT_Buffer& b) { return std::string(static_cast<const char*>(b.qcv_Get()), b.n_GetUsedSize()); }

CT_Buffer Text(const char* text) { return CT_Buffer(text, uint32_t(std::strlen(text))); }

TEST(BufferTest, AllocationArithmetic) {
  CT_Buffer empty;
  EXPECT_EQ(empty.n_GetGrowth(), 32u);
  EXPECT_EQ(empty.n_GetMaximumSize(), 0u);
  EXPECT_EQ(empty.n_GetUsedSize(), 0u);
  EXPECT_EQ(empty.n_GetUseCount(), 1u);
  EXPECT_EQ(empty.qcv_Get(), nullptr);

  // v_Init: growth × ⌊(size + growth + 11) / growth⌋, less the 12-byte header.
  EXPECT_EQ(CT_Buffer(100, 32).n_GetMaximumSize(), 116u);
  EXPECT_EQ(CT_Buffer(20, 32).n_GetMaximumSize(), 20u);
  EXPECT_EQ(CT_Buffer(21, 32).n_GetMaximumSize(), 52u);
  EXPECT_EQ(CT_Buffer(10, 1).n_GetMaximumSize(), 10u);
  EXPECT_EQ(CT_Buffer(0u, 32).qcv_Get(), nullptr);

  // v_SetSize: growth steps below 1024, then 5/4, 7/5 and 3/2 rounded to 64.
  CT_Buffer b;
  b.v_SetSize(100, true);
  EXPECT_EQ(b.n_GetMaximumSize(), 116u);
  b.v_SetSize(1500, true);
  EXPECT_EQ(b.n_GetMaximumSize(), 1908u);
  b.v_SetSize(3000, true);
  EXPECT_EQ(b.n_GetMaximumSize(), 4224u - 12);  // 4200 rounded up to 4224
  b.v_SetSize(5000, true);
  EXPECT_EQ(b.n_GetMaximumSize(), 7552u - 12);  // 7500 rounded up to 7552
  b.v_SetSize(0, true);
  EXPECT_EQ(b.qcv_Get(), nullptr);
}

TEST(BufferTest, GrowthZeroDoesNotDivideByZero) {
  CT_Buffer b(5, 0);
  EXPECT_EQ(b.n_GetMaximumSize(), 5u);
  b.v_Append("abcdefgh", 8);
  EXPECT_EQ(Bytes(b), "abcdefgh");
}

TEST(BufferTest, CopiesShareUntilOneWrites) {
  CT_Buffer a = Text("hello");
  CT_Buffer b(&a);
  CT_Buffer c = a;
  EXPECT_EQ(a.qcv_Get(), b.qcv_Get());
  EXPECT_EQ(a.n_GetUseCount(), 3u);

  b.v_Replace("J", 1, 0);
  EXPECT_NE(a.qcv_Get(), b.qcv_Get());
  EXPECT_EQ(Bytes(a), "hello");
  EXPECT_EQ(Bytes(b), "Jello");
  EXPECT_EQ(a.n_GetUseCount(), 2u);
  EXPECT_EQ(b.n_GetUseCount(), 1u);
  // The copy keeps the capacity of the storage it came from.
  EXPECT_EQ(b.n_GetMaximumSize(), a.n_GetMaximumSize());

  c.v_Remove(1, 0);
  EXPECT_EQ(Bytes(a), "hello");
  EXPECT_EQ(Bytes(c), "ello");
  EXPECT_EQ(a.n_GetUseCount(), 1u);

  CT_Buffer d = Text("other");
  d = a;
  d = d;
  EXPECT_EQ(a.n_GetUseCount(), 2u);
  d.v_SetUsedSize(2);
  EXPECT_EQ(Bytes(a), "hello");
  EXPECT_EQ(Bytes(d), "he");
}

TEST(BufferTest, SetSizeKeepsOrDropsContents) {
  CT_Buffer b = Text("abcdef");
  b.v_SetSize(4, true);  // capacity 20 still holds all six bytes
  EXPECT_EQ(Bytes(b), "abcdef");
  b.v_SetSize(4, false);
  EXPECT_EQ(b.n_GetUsedSize(), 0u);

  CT_Buffer shared = Text("abcdef");
  CT_Buffer other(&shared);
  other.v_SetSize(2000, true);
  EXPECT_EQ(Bytes(other), "abcdef");
  EXPECT_EQ(shared.n_GetUseCount(), 1u);

  CT_Buffer min = Text("xy");
  const void* before = min.qcv_Get();
  min.v_SetMinSize(10, true);
  EXPECT_EQ(min.qcv_Get(), before);  // already large enough
}

TEST(BufferTest, SetWithReuse) {
  CT_Buffer b(500, 32);
  b.v_Append("abc", 3);
  const void* before = b.qcv_Get();
  b.v_Set(100, -1, true);
  EXPECT_EQ(b.qcv_Get(), before);
  EXPECT_EQ(b.n_GetUsedSize(), 0u);

  CT_Buffer shared(&b);
  b.v_Set(100, 16, true);  // shared: a fresh storage
  EXPECT_NE(b.qcv_Get(), shared.qcv_Get());
  EXPECT_EQ(b.n_GetGrowth(), 16u);
  EXPECT_EQ(b.n_GetMaximumSize(), 100u);  // 16 × ⌊127 / 16⌋ = 112, less 12

  b.v_Set("xyz", 3, -1);
  EXPECT_EQ(Bytes(b), "xyz");
  EXPECT_EQ(b.n_GetGrowth(), 16u);
}

TEST(BufferTest, ReplaceInsertAppendRemove) {
  CT_Buffer b = Text("0123456789ABCDEF");
  b.v_Remove(-1, 10);
  EXPECT_EQ(Bytes(b), "0123456789");
  b.v_Remove(2, 3);
  EXPECT_EQ(Bytes(b), "01256789");
  b.v_Remove(100, 6);  // more than there is: up to the end
  EXPECT_EQ(Bytes(b), "012567");

  b.v_Replace("xx", 2, 5);  // grows past the end
  EXPECT_EQ(Bytes(b), "01256xx");
  b.v_Replace(uint8_t('-'), 3, 1);
  EXPECT_EQ(Bytes(b), "0---6xx");
  b.v_Insert("AB", 2, 1);
  EXPECT_EQ(Bytes(b), "0AB---6xx");
  b.v_Insert(uint8_t('.'), 2, 0);
  EXPECT_EQ(Bytes(b), "..0AB---6xx");

  CT_Buffer other = Text("uvwxyz");
  b.v_Replace(&other, 4, -1, 0);
  EXPECT_EQ(Bytes(b), "yz0AB---6xx");
  b.v_Insert(&other, 0, 2, 2);
  EXPECT_EQ(Bytes(b), "yzuv0AB---6xx");
  b.v_Append(&other, 5, -1);
  b.v_Append(uint8_t('!'));
  b.v_Append("?", 1);
  EXPECT_EQ(Bytes(b), "yzuv0AB---6xxz!?");

  // A source inside the buffer itself survives the buffer growing.
  CT_Buffer self = Text("abc");
  self.v_Append(self.qcv_Get(), 3);
  self.v_Insert(self.qcv_Get(), 6, 0);
  EXPECT_EQ(Bytes(self), "abcabcabcabc");
}

TEST(BufferTest, AppendingToAFullBufferGrowsIt) {
  CT_Buffer b(20, 32);
  b.v_Replace(uint8_t('a'), 20, 0);
  ASSERT_EQ(b.n_GetMaximumSize(), 20u);
  b.v_Append(uint8_t('b'));
  EXPECT_EQ(b.n_GetUsedSize(), 21u);
  EXPECT_EQ(b.n_GetMaximumSize(), 52u);
}

TEST(BufferTest, InsertCopyAndMove) {
  CT_Buffer b(16, 8);
  b.v_Append("abcdef", 6);
  b.v_AtInsertCopy(0, 2, 4);  // fits: growth stays
  EXPECT_EQ(Bytes(b), "abcdabef");
  EXPECT_EQ(b.n_GetGrowth(), 8u);

  CT_Buffer full = Text("abcdefghijklmnopqrst");  // capacity 20, full
  full.v_SetGrowth(8);
  full.v_AtInsertCopy(3, 4, 1);  // copy taken before the insertion moves it
  EXPECT_EQ(Bytes(full), "adefgbcdefghijklmnopqrst");
  EXPECT_EQ(full.n_GetGrowth(), 32u);

  CT_Buffer m = Text("0123456789");
  m.v_AtInsertMove(7, 2, 1);
  EXPECT_EQ(Bytes(m), "0781234569");
  m.v_AtInsertMove(1, 2, 9);
  EXPECT_EQ(Bytes(m), "0123456789");
  m.v_AtInsertMove(4, 3, 4);
  m.v_AtInsertMove(4, 3, 6);  // inside the block: stays
  EXPECT_EQ(Bytes(m), "0123456789");

  CT_Buffer from = Text("XYZ");
  CT_Buffer to = Text("ab");
  to.v_AtInsertMove(&from, 1, 2, 1);
  EXPECT_EQ(Bytes(to), "aYZb");
  EXPECT_EQ(Bytes(from), "X");
}

TEST(BufferTest, CompareAndFind) {
  CT_Buffer b = Text("abcabc");
  EXPECT_TRUE(b.b_IsEqual("bca", 3, 1));
  EXPECT_FALSE(b.b_IsEqual("bcx", 3, 1));
  EXPECT_TRUE(b.b_IsEqual("bcXYZ", 5, 4));  // cut to the two bytes left
  EXPECT_TRUE(CT_Buffer().b_IsEqual("", 0, 0));
  EXPECT_FALSE(CT_Buffer().b_IsEqual("a", 1, 0));
  CT_Buffer other = Text("xxcab");
  EXPECT_TRUE(b.b_IsEqual(&other, 2, -1, 2));

  EXPECT_EQ(b.n_Find(uint8_t('c'), 0), 2u);
  EXPECT_EQ(b.n_Find(uint8_t('c'), 3), 5u);
  EXPECT_EQ(b.n_Find(uint8_t('z'), 0), 0xFFFFFFFFu);
  EXPECT_EQ(b.n_Find("ca", 2, 0), 2u);
  EXPECT_EQ(b.n_Find("bc", 2, 2), 4u);
  EXPECT_EQ(b.n_Find("bcx", 3, 4), 0xFFFFFFFFu);  // would run past the used bytes
  EXPECT_EQ(CT_Buffer().n_Find(uint8_t('a'), 0), 0xFFFFFFFFu);
}

struct Pair {
  int32_t a;
  int32_t b;
};

TEST(VoidArrayTest, ItemsFromOne) {
  CT_VoidArray array(sizeof(int32_t));
  EXPECT_EQ(array.n_GetGrowth(), 8u);
  EXPECT_EQ(array.n_GetCount(), 0u);
  for (int32_t i = 10; i < 15; ++i) array.v_Insert(&i);
  EXPECT_EQ(array.n_GetCount(), 5u);
  int32_t value = 0;
  array.v_GetAt(&value, 1);
  EXPECT_EQ(value, 10);
  array.v_GetAt(&value, 6);  // past the end: zero
  EXPECT_EQ(value, 0);
  int32_t missing = 99, present = 13;
  EXPECT_EQ(array.n_Find(&missing), 0u);
  EXPECT_EQ(array.n_Find(&present), 4u);

  int32_t seven = 7;
  array.v_InsertAt(&seven, 1);
  array.v_RemoveAt(3);   // 11
  array.v_Remove(3, 4);  // 12, 13
  array.v_SetAt(&seven, 2);
  std::vector<int32_t> items;
  for (uint32_t i = 1; i <= array.n_GetCount(); ++i) {
    array.v_GetAt(&value, i);
    items.push_back(value);
  }
  EXPECT_EQ(items, (std::vector<int32_t>{7, 7, 14}));
}

TEST(VoidArrayTest, GrowsByItsGrowthAndSharesStorage) {
  CT_VoidArray array(sizeof(Pair), 4, 2);
  EXPECT_GE(array.n_GetMaxItems(), 2u);
  Pair p{1, 2};
  array.v_Insert(&p, 6);
  EXPECT_EQ(array.n_GetCount(), 6u);

  CT_VoidArray copy(&array);
  EXPECT_EQ(array.pcco_GetBuffer()->n_GetUseCount(), 2u);
  EXPECT_TRUE(copy.b_IsEqual(&array));
  Pair q{3, 4};
  copy.v_SetAt(&q, 1);
  EXPECT_FALSE(copy.b_IsEqual(&array));
  array.v_GetAt(&q, 1);
  EXPECT_EQ(q.a, 1);

  CT_VoidArray bytes(1);
  bytes = array;  // assignment takes the item size
  EXPECT_EQ(bytes.n_GetItemSize(), sizeof(Pair));
  EXPECT_TRUE(bytes.b_IsEqual(&array));
}

TEST(VoidArrayTest, OperationsOnItemRanges) {
  auto make = [](std::initializer_list<int16_t> values) {
    CT_VoidArray a(sizeof(int16_t));
    for (int16_t v : values) a.v_Insert(&v);
    return a;
  };
  auto items = [](const CT_VoidArray& a) {
    std::vector<int16_t> out;
    for (uint32_t i = 1; i <= a.n_GetCount(); ++i) {
      int16_t v;
      a.v_GetAt(&v, i);
      out.push_back(v);
    }
    return out;
  };
  CT_VoidArray a = make({1, 2, 3, 4, 5});
  CT_VoidArray b = make({7, 8, 9});
  a.v_Insert(&b, 2, -1, 2);
  EXPECT_EQ(items(a), (std::vector<int16_t>{1, 8, 9, 2, 3, 4, 5}));
  a.v_Replace(&b, 1, 1, 1);
  a.v_Append(&b, 3, 1);
  EXPECT_EQ(items(a), (std::vector<int16_t>{7, 8, 9, 2, 3, 4, 5, 9}));
  a.v_AtInsertMove(5, 2, 1);
  EXPECT_EQ(items(a), (std::vector<int16_t>{3, 4, 7, 8, 9, 2, 5, 9}));
  a.v_AtInsertMove(1, 2, 3);  // to == from + count: nothing
  EXPECT_EQ(items(a), (std::vector<int16_t>{3, 4, 7, 8, 9, 2, 5, 9}));
  a.v_AtInsertCopy(1, 2, 9);
  EXPECT_EQ(items(a), (std::vector<int16_t>{3, 4, 7, 8, 9, 2, 5, 9, 3, 4}));
  CT_VoidArray c = make({0});
  c.v_AtInsertMove(&b, 1, 2, 1);
  EXPECT_EQ(items(c), (std::vector<int16_t>{7, 8, 0}));
  EXPECT_EQ(items(b), (std::vector<int16_t>{9}));

  a.v_Set(4, 2, true);  // large enough and unshared: emptied in place
  EXPECT_EQ(a.n_GetCount(), 0u);
  EXPECT_EQ(a.n_GetGrowth(), 4u);
}

}  // namespace
