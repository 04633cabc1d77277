// The compact JSON writer of the console's output.
#include "formats/json_writer.h"

#include <gtest/gtest.h>

#include <limits>

#include "test_text.h"

namespace orvix {
namespace {

TEST(JsonWriterTest, EscapesStringsSoTheyStayValidJson) {
  const struct {
    std::wstring text;
    std::wstring json;
  } cases[] = {
      {L"", L"\"\""},
      {L"plain text 123", L"\"plain text 123\""},
      {L"say \"hi\"", L"\"say \\\"hi\\\"\""},
      {L"C:\\Program Files\\", L"\"C:\\\\Program Files\\\\\""},
      {L"a/b", L"\"a/b\""},
      {L"\b\f\n\r\t", L"\"\\b\\f\\n\\r\\t\""},
      {std::wstring(L"nul\0end", 7), L"\"nul\\u0000end\""},
      {L"\x01\x1f\x7f", L"\"\\u0001\\u001f\x7f\""},
      {L"Caf\u00e9 \u4e2d\u6587 \u2713", L"\"Caf\u00e9 \u4e2d\u6587 \u2713\""},
      {L"<tag> [x]", L"\"<tag> [x]\""},
      {std::wstring(1, static_cast<wchar_t>(0xD800)) + L"x", L"\"\\ud800x\""},
      {L"x" + std::wstring(1, static_cast<wchar_t>(0xDFFF)), L"\"x\\udfff\""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << testing::Narrow(c.json);
}

TEST(JsonWriterTest, CharactersBeyondTheBasicPlaneStayWholeInUtf8) {
  // U+1F600 as UTF-16 (Windows) or as one code point (elsewhere).
  const std::wstring smile = sizeof(wchar_t) == 2
                                 ? std::wstring{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)}
                                 : std::wstring(1, static_cast<wchar_t>(0x1F600));
  EXPECT_EQ(ToUtf8(JsonString(smile)), "\"\xF0\x9F\x98\x80\"");
  EXPECT_EQ(ToUtf8(JsonString(L"\u00e9")), "\"\xC3\xA9\"");
}

TEST(JsonWriterTest, WritesNestedValuesCompactly) {
  TJsonWriter json;
  json.BeginArray()
      .BeginObject()
      .Key(L"name")
      .String(L"App")
      .Key(L"size")
      .Int(std::numeric_limits<std::int64_t>::max())
      .Key(L"min")
      .Int(std::numeric_limits<std::int64_t>::min())
      .Key(L"x64")
      .Bool(true)
      .Key(L"update")
      .Bool(false)
      .Key(L"date")
      .Null()
      .Key(L"empty")
      .BeginObject()
      .EndObject()
      .Key(L"list")
      .BeginArray()
      .Int(-1)
      .BeginArray()
      .EndArray()
      .String(L"k\"ey")
      .EndArray()
      .EndObject()
      .BeginObject()
      .EndObject()
      .EndArray();
  EXPECT_EQ(json.Text(),
            L"[{\"name\":\"App\",\"size\":9223372036854775807,\"min\":-9223372036854775808,\"x64\":true,"
            L"\"update\":false,\"date\":null,\"empty\":{},\"list\":[-1,[],\"k\\\"ey\"]},{}]");
  TJsonWriter empty;
  EXPECT_EQ(empty.BeginArray().EndArray().Text(), L"[]");
  TJsonWriter key;
  EXPECT_EQ(key.BeginObject().Key(L"a\nb").Null().EndObject().Text(), L"{\"a\\nb\":null}");
}

}  // namespace
}  // namespace orvix
