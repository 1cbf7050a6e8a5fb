// CT_String, CT_CString and CT_UString: sharing, editing, searching,
// formatting, conversion between the widths and the table of virtual
// operations.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CT_CString.h"
#include "CT_UString.h"

namespace {

std::u16string U(const CT_UString& s) { return s.qcuz_Get(); }

TEST(StringTest, EmptyAndShared) {
  CT_CString empty;
  EXPECT_EQ(empty.vn_GetLength(), 0u);
  EXPECT_STREQ(empty.qccz_Get(), "");
  EXPECT_EQ(empty.n_GetCodePage(), 0u);
  EXPECT_EQ(CT_UString().qcuz_Get()[0], 0);

  CT_CString a("source", -1, 1252);
  CT_CString b(&a);
  EXPECT_EQ(a.pcco_GetBuffer()->n_GetUseCount(), 2u);
  EXPECT_EQ(b.n_GetCodePage(), 1252u);
  b.v_Append('s');
  EXPECT_STREQ(a.qccz_Get(), "source");
  EXPECT_STREQ(b.qccz_Get(), "sources");
  EXPECT_EQ(a.pcco_GetBuffer()->n_GetUseCount(), 1u);

  CT_UString u(u"wide");
  CT_UString v = u;
  EXPECT_EQ(u.pcco_GetBuffer()->n_GetUseCount(), 2u);
  v.v_SetAt(u'W', 0);
  EXPECT_EQ(U(u), u"wide");
  EXPECT_EQ(U(v), u"Wide");

  std::unique_ptr<CT_String> made(a.vpco_Create());
  EXPECT_EQ(a.pcco_GetBuffer()->n_GetUseCount(), 2u);
  EXPECT_TRUE(made->vpv_IsA(&CT_CString::sco_Type));
}

TEST(StringTest, TypeQueries) {
  CT_CString c;
  CT_UString u;
  const CT_String* s = &c;
  EXPECT_EQ(s->vpcco_GetType(), &CT_CString::sco_Type);
  EXPECT_EQ(s->vpv_IsA(&CT_CString::sco_Type), &c);
  EXPECT_EQ(s->vpv_IsA(&CT_String::sco_Type), nullptr);
  EXPECT_EQ(s->vpv_IsKindOf(&CT_String::sco_Type), &c);
  EXPECT_EQ(s->vpv_IsKindOf(&CT_UString::sco_Type), nullptr);
  EXPECT_EQ(u.pv_CastTo(&CT_UString::sco_Type), &u);
  EXPECT_EQ(CT_Type::spcco_Find("CT_UString"), &CT_UString::sco_Type);
  EXPECT_EQ(CT_UString::sco_Type.pcco_GetBase(), &CT_String::sco_Type);
}

// The slot of a virtual member in the table of virtual operations, from its
// member pointer as the Itanium C++ ABI represents it (1 + byte offset).
template <typename F>
long Slot(F member) {
  struct Representation {
    long pointer;
    long adjustment;
  } r;
  static_assert(sizeof(member) == sizeof r);
  std::memcpy(&r, &member, sizeof r);
  return (r.pointer - 1) / long(sizeof(void*));
}

TEST(StringTest, VirtualOperationsKeepTheirExportedOrder) {
  using S = CT_String;
  std::vector<long> slots = {
      Slot(&S::vpcco_GetType),
      Slot(static_cast<void* (S::*)(const CT_Type*) const>(&S::vpv_IsA)),
      Slot(&S::vpv_IsKindOf),
      // the destructor takes two slots here
      Slot(&S::vpco_Create) - 2,
      Slot(&S::vv_SetSize) - 2,
      Slot(&S::vv_SetMinSize) - 2,
      Slot(static_cast<void (S::*)(char16_t, uint32_t, uint32_t)>(&S::vv_Replace)) - 2,
      Slot(static_cast<void (S::*)(char, uint32_t, uint32_t)>(&S::vv_Replace)) - 2,
      Slot(&S::vc_GetAt) - 2,
      Slot(&S::vu_GetAt) - 2,
      Slot(static_cast<void (S::*)(char16_t, uint32_t)>(&S::vv_SetAt)) - 2,
      Slot(static_cast<void (S::*)(char, uint32_t)>(&S::vv_SetAt)) - 2,
      Slot(&S::vv_ToLower) - 2,
      Slot(&S::vv_ToUpper) - 2,
      Slot(&S::vv_Remove) - 2,
      Slot(static_cast<uint32_t (S::*)(char16_t, uint32_t) const>(&S::vn_Find)) - 2,
      Slot(static_cast<uint32_t (S::*)(char, uint32_t) const>(&S::vn_Find)) - 2,
      Slot(static_cast<uint32_t (S::*)(const CT_String*, uint32_t) const>(&S::vn_Find)) - 2,
      Slot(&S::vv_Update) - 2,
      Slot(&S::vb_Match) - 2,
      Slot(&S::vv_Strip) - 2,
      Slot(&S::vv_StripRight) - 2,
      Slot(&S::vv_StripLeft) - 2,
      Slot(static_cast<int32_t (S::*)(const CT_String*, uint32_t, uint32_t, uint32_t) const>(&S::vi_Compare)) - 2,
      Slot(static_cast<int32_t (S::*)(const char16_t*, uint32_t, uint32_t) const>(&S::vi_Compare)) - 2,
      Slot(static_cast<int32_t (S::*)(const char*, uint32_t, uint32_t) const>(&S::vi_Compare)) - 2,
      Slot(&S::vv_Translate) - 2,
      Slot(&S::vv_SetLength) - 2,
      Slot(&S::vn_GetLength) - 2,
      Slot(&S::vn_GetMaximumLength) - 2,
      Slot(&S::vv_SetGrowth) - 2,
      Slot(&S::vn_GetGrowth) - 2,
      Slot(&S::vv_VFormat) - 2,
      Slot(static_cast<void (S::*)(const CT_String*, ...)>(&S::vv_Format)) - 2,
      Slot(static_cast<void (S::*)(const CT_Buffer*)>(&S::vv_Init)) - 2,
      Slot(static_cast<void (S::*)(const char16_t*, uint32_t)>(&S::vv_Init)) - 2,
      Slot(static_cast<void (S::*)(const char*, uint32_t, uint32_t)>(&S::vv_Init)) - 2,
      Slot(static_cast<void (S::*)(const CT_String*)>(&S::vv_Init)) - 2,
      Slot(static_cast<void (S::*)(uint32_t)>(&S::vv_Init)) - 2,
      Slot(static_cast<void (S::*)()>(&S::vv_Init)) - 2,
      Slot(static_cast<void (S::*)(const CT_String*, uint32_t, uint32_t, uint32_t)>(&S::vv_StringReplace)) - 2,
      Slot(static_cast<void (S::*)(const char16_t*, uint32_t, uint32_t)>(&S::vv_StringReplace)) - 2,
      Slot(static_cast<void (S::*)(const char*, uint32_t, uint32_t, uint32_t)>(&S::vv_StringReplace)) - 2,
      Slot(static_cast<void (S::*)(const CT_String*, uint32_t, uint32_t, uint32_t)>(&S::vv_StringInsert)) - 2,
      Slot(static_cast<void (S::*)(const char16_t*, uint32_t, uint32_t)>(&S::vv_StringInsert)) - 2,
      Slot(static_cast<void (S::*)(const char*, uint32_t, uint32_t, uint32_t)>(&S::vv_StringInsert)) - 2,
      Slot(static_cast<void (S::*)(const CT_String*, va_list)>(&S::vv_Format)) - 2,
  };
  for (size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i], long(i)) << "operation " << i;
  // The concrete classes override in place and add no operation in front.
  EXPECT_EQ(Slot(&CT_CString::vv_VFormat), Slot(&S::vv_VFormat));
}

TEST(StringTest, EditsEndAndGrowTheText) {
  CT_CString s("abcdef");
  EXPECT_EQ(s.vc_GetAt(5), 'f');
  EXPECT_EQ(s.vc_GetAt(6), '\0');
  EXPECT_EQ(s.vc_GetAt(5000), '\0');  // never read past the storage
  s.vv_SetAt('\0', 3);
  EXPECT_STREQ(s.qccz_Get(), "abc");
  EXPECT_EQ(s.vn_GetLength(), 3u);

  s.v_Replace("XY", 2, 1);  // the string ends after the replaced text
  EXPECT_STREQ(s.qccz_Get(), "aXY");
  s.v_Insert("12", 2, 0);
  EXPECT_STREQ(s.qccz_Get(), "12aXY");
  s.vv_Replace('-', 2, 3);
  EXPECT_STREQ(s.qccz_Get(), "12a--");
  s.vv_Remove(1, 0);
  s.vv_Remove(-1, 2);
  EXPECT_STREQ(s.qccz_Get(), "2a");
  s.v_Append(u"\u00e9", 1);  // through code page 0 (1252 here)
  EXPECT_STREQ(s.qccz_Get(), "2a\xe9");
  s.v_Replace("", 0, 0);
  EXPECT_STREQ(s.qccz_Get(), "");
  EXPECT_EQ(s.pcco_GetBuffer()->qcv_Get(), nullptr);

  CT_CString other("world");
  s.v_Append(&other, 3);
  s.v_Insert(&other, -1, 0);
  EXPECT_STREQ(s.qccz_Get(), "worldwor");

  CT_UString u(u"ab");
  u.v_Set(100, true);
  EXPECT_GE(u.vn_GetMaximumLength(), 100u);
  EXPECT_EQ(u.vn_GetLength(), 0u);
  u.v_Set("xyz", -1);
  EXPECT_EQ(U(u), u"xyz");
  u.vv_SetLength(2);
  EXPECT_EQ(U(u), u"xy");
}

TEST(StringTest, SizeAndUpdate) {
  CT_CString s("abcdefgh");
  s.vv_SetSize(4, true);
  EXPECT_STREQ(s.qccz_Get(), "abcd");
  s.vv_SetSize(10, false);
  EXPECT_STREQ(s.qccz_Get(), "");
  EXPECT_GE(s.vn_GetMaximumLength(), 10u);
  s.vv_SetSize(0, false);
  EXPECT_EQ(s.pcco_GetBuffer()->qcv_Get(), nullptr);

  // Text written behind the string's back is taken up to its first zero.
  CT_CString raw;
  raw.vv_SetMinSize(20, false);
  std::strcpy(const_cast<char*>(raw.qccz_Get()), "filled");
  raw.vv_Update();
  EXPECT_EQ(raw.vn_GetLength(), 6u);
  EXPECT_STREQ(raw.qccz_Get(), "filled");
}

TEST(StringTest, FindMatchCompare) {
  CT_CString s("hello world");
  EXPECT_EQ(s.vn_Find('o', 0), 4u);
  EXPECT_EQ(s.vn_Find(u'o', 5), 7u);
  EXPECT_EQ(s.vn_Find('z', 0), 0xFFFFFFFFu);
  CT_UString needle(u"wor");
  EXPECT_EQ(s.vn_Find(&needle, 0), 6u);  // converted to 8 bits first

  EXPECT_TRUE(s.b_Match("h*o w?rld"));
  EXPECT_TRUE(s.b_Match("*"));
  EXPECT_TRUE(s.b_Match(""));
  EXPECT_FALSE(s.b_Match("hello"));
  EXPECT_FALSE(s.b_Match("H*"));
  EXPECT_TRUE(CT_UString(u"a*b").b_Match("a?b"));

  EXPECT_EQ(s.vi_Compare("world", -1, 6), 0);
  EXPECT_EQ(s.vi_Compare("wo", 2, 6), 0);
  EXPECT_EQ(s.vi_Compare("worlds", -1, 6), -1);
  EXPECT_EQ(s.vi_Compare("a", -1, 0), 1);
  EXPECT_EQ(CT_CString("\x80").vi_Compare("a", -1, 0), 1);  // unsigned: 0x80 > "a"
  CT_UString other(u"xxworld");
  EXPECT_EQ(s.vi_Compare(&other, 2, -1, 6), 0);
  EXPECT_EQ(CT_UString(u"\u00e9t\u00e9").vi_Compare("\xe9t\xe9", -1, 0), 0);
}

TEST(StringTest, StripAndTranslate) {
  CT_CString s(" \t\r\nabc \v\f");
  s.vv_Strip();
  EXPECT_STREQ(s.qccz_Get(), "abc");
  CT_CString set("xy");
  CT_CString t("xyaxbyx");
  t.vv_Strip(&set);
  EXPECT_STREQ(t.qccz_Get(), "axb");
  CT_UString w(u"  wide ");
  w.vv_StripLeft();
  EXPECT_EQ(U(w), u"wide ");
  w.vv_StripRight();
  EXPECT_EQ(U(w), u"wide");

  CT_CString text("a-b_c-d");
  CT_CString from("-_d");
  CT_CString to("+");
  text.vv_Translate(&from, &to);  // "-" becomes "+", "_" and "d" go
  EXPECT_STREQ(text.qccz_Get(), "a+bc+");
}

TEST(StringTest, CaseLeavesDoubleByteCharactersAlone) {
  CT_CString latin("MiXeD 1");
  latin.vv_ToUpper();
  EXPECT_STREQ(latin.qccz_Get(), "MIXED 1");
  latin.vv_ToLower();
  EXPECT_STREQ(latin.qccz_Get(), "mixed 1");
  // 0x83 0x41 is one Shift-JIS character whose second byte reads as "A".
  CT_CString sjis(
      "\x83\x41"
      "A",
      -1, 932);
  sjis.vv_ToLower();
  EXPECT_STREQ(sjis.qccz_Get(),
               "\x83\x41"
               "a");
  CT_UString u(u"\u00c9t\u00c9 Z");
  u.vv_ToLower();
  EXPECT_EQ(U(u), u"\u00e9t\u00e9 z");
}

TEST(StringTest, WidthsConvertThroughTheCodePage) {
  CT_CString sjis("\x93\xfa\x96\x7b", -1, 932);  // 日本
  CT_UString wide(&sjis);
  EXPECT_EQ(U(wide), u"\u65e5\u672c");
  CT_CString back(&wide, 932);
  EXPECT_STREQ(back.qccz_Get(), "\x93\xfa\x96\x7b");
  CT_CString shared(&sjis, 1252);  // a CT_CString brings its own code page
  EXPECT_EQ(shared.n_GetCodePage(), 932u);
  EXPECT_EQ(CT_CString("\xe9", -1, 1252).vu_GetAt(0), u'\u00e9');
  EXPECT_EQ(wide.vc_GetAt(0), '?');  // 日 has no code page 0 (1252) form

  CT_CString keep("x", -1, 932);
  keep.v_Set("abc");  // code page -2: the string keeps its own
  EXPECT_EQ(keep.n_GetCodePage(), 932u);
  keep.v_Set("abc", -1, 1250);
  EXPECT_EQ(keep.n_GetCodePage(), 1250u);
}

TEST(StringTest, FormatCutsAt2047) {
  CT_CString s;
  std::string big(3000, 'x');
  s.v_Format("%s!", big.c_str());
  EXPECT_EQ(s.vn_GetLength(), 2047u);
  s.v_Format("%d-%s-%05.1f", 42, "a", 2.5);
  EXPECT_STREQ(s.qccz_Get(), "42-a-002.5");

  CT_UString u;
  u.v_Format(u"%s|%hs|%c|%-4d|%x|%5s", u"\u65e5", "b", u'\u00e9', 7, 255u, u"r");
  EXPECT_EQ(U(u), u"\u65e5|b|\u00e9|7   |ff|    r");
  u.v_Format(u"[%*d|%-*s|%.2hs|%%|%lld]", -3, 4, 3, u"ab", "xyz", 1LL << 40);
  EXPECT_EQ(U(u), u"[4  |ab |xy|%|1099511627776]");
  std::u16string wideBig(3000, u'y');
  u.v_Format(u"%s", wideBig.c_str());
  EXPECT_EQ(u.vn_GetLength(), 2047u);

  CT_UString format(u"<%d>");
  CT_CString narrow;
  narrow.vv_Format(&format, 5);
  EXPECT_STREQ(narrow.qccz_Get(), "<5>");
}

}  // namespace
