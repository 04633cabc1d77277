// The JSON tree that keeps numbers as read, its parser's refusals of hostile
// text, and the two writers.
#include "formats/json_tree.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/json_text.h"
#include "formats/text_codec.h"
#include "named_case.h"
#include "test_text.h"

namespace orvix {
namespace {

TJsonNode Parsed(std::string_view utf8) {
  TJsonNode root;
  std::wstring error;
  EXPECT_TRUE(ParseJson(utf8, root, &error)) << testing::Narrow(error);
  return root;
}

TEST(JsonTreeTest, WritesTheIndentedLayoutByteForByte) {
  const TJsonNode root = Parsed(R"({"a":{"b":1},"c":[{"d":true}],"e":[]})");
  EXPECT_EQ(WriteJsonText(root),
            L"{\r\n"
            L"  \"a\": {\r\n"
            L"    \"b\": 1\r\n"
            L"  },\r\n"
            L"  \"c\": [ {\r\n"
            L"      \"d\": true\r\n"
            L"    } ],\r\n"
            L"  \"e\": []\r\n"
            L"}");
}

TEST(JsonTreeTest, NumbersSurviveARoundTripAsTheyWereWritten) {
  const std::string text =
      R"({"big":13245678901234567890123,"u":18446744073709551615,"neg":-9223372036854775808,)"
      R"("zero":1.50,"exp":1E+40,"small":-0.000,"list":[1.0,2e5]})";
  EXPECT_EQ(ToUtf8(WriteJsonCompact(Parsed(text))), text);
  const TJsonNode root = Parsed(text);
  EXPECT_EQ(root.Find(L"neg")->IntegerValue(), INT64_MIN);
  EXPECT_FALSE(root.Find(L"zero")->IntegerValue().has_value());
  EXPECT_EQ(WriteJsonText(TJsonNode::Number(0.25)), L"0.25");
  EXPECT_EQ(WriteJsonText(TJsonNode::Number(3)), L"3");
}

struct EscapeCase : testing::NamedCase {
  std::wstring text;
  std::wstring indented;
  std::wstring compact;
};

class JsonEscapeTest : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(JsonEscapeTest, EscapesAsEachLayoutWants) {
  const EscapeCase& c = GetParam();
  EXPECT_EQ(WriteJsonText(TJsonNode::String(c.text)), c.indented);
  EXPECT_EQ(WriteJsonCompact(TJsonNode::String(c.text)), c.compact);
  // What either writer wrote reads back as the same text.
  TJsonNode back;
  ASSERT_TRUE(ParseJson(ToUtf8(c.indented), back));
  EXPECT_EQ(back.Text(), c.text);
}

const wchar_t kSmile[] = {sizeof(wchar_t) == 2 ? wchar_t(0xD83D) : wchar_t(0x1F600),
                          sizeof(wchar_t) == 2 ? wchar_t(0xDE00) : wchar_t(0), 0};

INSTANTIATE_TEST_SUITE_P(
    Strings, JsonEscapeTest,
    ::testing::Values(EscapeCase{{"plain"}, L"a/b c", L"\"a/b c\"", L"\"a/b c\""},
                      EscapeCase{{"markup"}, L"<b>[x]", L"\"\\u003cb\\u003e\\u005bx\\u005d\"", L"\"<b>[x]\""},
                      EscapeCase{{"short_forms"}, L"\b\t\n\f\r\"\\", L"\"\\b\\t\\n\\f\\r\\\"\\\\\"",
                                 L"\"\\b\\t\\n\\f\\r\\\"\\\\\""},
                      EscapeCase{{"controls"}, L"\x01\x1f", L"\"\\u0001\\u001f\"", L"\"\\u0001\\u001f\""},
                      EscapeCase{{"above_127"}, L"Caf\u00e9 \u4e2d", L"\"Caf\\u00e9 \\u4e2d\"",
                                 L"\"Caf\\u00e9 \\u4e2d\""},
                      EscapeCase{{"beyond_the_basic_plane"}, kSmile, L"\"\\ud83d\\ude00\"", L"\"\\ud83d\\ude00\""}),
    testing::CaseName());

TEST(JsonTreeTest, ChangesMembersInPlaceAndKeepsTheirOrder) {
  TJsonNode root = Parsed(R"({"x":1,"ext":{"settings":{"id1":{"state":1}}},"x":2,"z":null})");
  EXPECT_EQ(root.Find(L"x")->Text(), L"2");  // a repeated name counts by its last occurrence
  TJsonNode* record = root.FindPath({L"ext", L"settings", L"id1"});
  ASSERT_NE(record, nullptr);
  record->Set(L"state", TJsonNode::Integer(0));
  record->Set(L"disable_reasons", TJsonNode::Array()).Elements().push_back(TJsonNode::Integer(1));
  EXPECT_TRUE(root.Remove(L"z"));
  EXPECT_FALSE(root.Remove(L"z"));
  EXPECT_EQ(root.FindPath({L"ext", L"missing"}), nullptr);
  EXPECT_EQ(WriteJsonCompact(root),
            L"{\"x\":1,\"ext\":{\"settings\":{\"id1\":{\"state\":0,\"disable_reasons\":[1]}}},\"x\":2}");
}

struct HostileCase : testing::NamedCase {
  std::string text;
};

class JsonHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(JsonHostileTest, IsRefusedWithAReason) {
  TJsonNode root = TJsonNode::Bool(true);
  std::wstring error;
  TJsonLimits limits;
  limits.maxBytes = 4096;
  EXPECT_FALSE(ParseJson(GetParam().text, root, &error, limits));
  EXPECT_TRUE(root.IsNull());
  EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, JsonHostileTest,
    ::testing::Values(HostileCase{{"empty"}, ""}, HostileCase{{"truncated_object"}, R"({"a":{"b":[1,2)"},
                      HostileCase{{"truncated_string"}, R"({"a":"abc)"},
                      HostileCase{{"trailing_text"}, R"({"a":1} x)"},
                      HostileCase{{"bad_utf8"}, "[\"\xC3\x28\"]"},
                      HostileCase{{"lone_surrogate_escape"}, R"(["\ud800"])"},
                      HostileCase{{"nested_too_deeply"}, std::string(201, '[') + std::string(201, ']')},
                      HostileCase{{"deep_and_unclosed"}, std::string(100000, '[').substr(0, 4000)},
                      HostileCase{{"oversized"}, "[" + std::string(5000, ' ') + "]"}),
    testing::CaseName());

TEST(JsonTreeTest, AcceptsAByteOrderMarkAndTheDeepestAllowedNesting) {
  EXPECT_EQ(Parsed("\xEF\xBB\xBF{\"a\":true}").Find(L"a")->BoolValue(), true);
  const std::string deep = std::string(200, '[') + std::string(200, ']');
  EXPECT_EQ(ToUtf8(WriteJsonCompact(Parsed(deep))), deep);
}

}  // namespace
}  // namespace orvix
