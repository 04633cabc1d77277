// Current Firefox's add-on database and start-up cache: listing, the switch
// in both files, the real database Firefox ESR wrote, and cache files that
// are damaged.
#include "addons/firefox_addon_json.h"

#include <gtest/gtest.h>

#include "addons/chrome_json_text.h"
#include "addons/firefox_startup_cache.h"
#include "browser_fixtures.h"
#include "named_case.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

constexpr wchar_t kProfile[] = L"C:\\Users\\u\\AppData\\Roaming\\Mozilla\\Firefox\\Profiles\\p.default\\";

constexpr char kDatabase[] =
    R"({"schemaVersion":37,"addons":[)"
    R"({"id":"notes@example.org","type":"extension","location":"app-profile","active":true,"userDisabled":false,)"
    R"("appDisabled":false,"version":"2.0","path":"C:\\P\\extensions\\notes@example.org.xpi","installDate":1796986077824,)"
    R"("defaultLocale":{"name":"Notes <beta>","description":"Takes notes","creator":"Example"}},)"
    R"({"id":"off@example.org","type":"extension","location":"app-profile","active":false,"userDisabled":true,)"
    R"("version":"1.0","path":"C:\\P\\off.xpi","defaultLocale":{"name":"Off"}},)"
    R"({"id":"theme@example.org","type":"theme","location":"app-profile","active":true,"userDisabled":false},)"
    R"({"id":"builtin@mozilla.org","type":"extension","location":"app-builtin-addons","active":true,"userDisabled":false}]})";
constexpr char kCache[] =
    R"({"app-profile":{"addons":{"notes@example.org":{"enabled":true,"version":"2.0"},)"
    R"("off@example.org":{"enabled":false}},"staged":{},"path":"C:\\P\\extensions"}})";

class FirefoxAddonJsonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    machine_.files.PutFolder(kProfile);
    machine_.files.PutFile(Profile() + L"extensions.json", kDatabase);
    machine_.files.PutFile(Profile() + L"addonStartup.json.lz4", EncodeMozLz4(kCache));
  }
  std::wstring Profile() const { return kProfile; }
  std::string Text(const std::wstring& name) { return machine_.files.FileText(Profile() + name).value_or("<missing>"); }
  std::string Cache() {
    std::string text;
    EXPECT_TRUE(DecodeMozLz4(*machine_.files.FileBytes(Profile() + L"addonStartup.json.lz4"), text));
    return text;
  }

  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
};

TEST_F(FirefoxAddonJsonTest, ListsTheUsersExtensionsOnly) {
  const std::vector<TFirefoxAddon> addons = ReadFirefoxAddons(Profile());
  ASSERT_EQ(addons.size(), 2u);
  EXPECT_EQ(addons[0].id, L"notes@example.org");
  EXPECT_EQ(addons[0].name, L"Notes <beta>");
  EXPECT_EQ(addons[0].description, L"Takes notes");
  EXPECT_EQ(addons[0].creator, L"Example");
  EXPECT_EQ(addons[0].version, L"2.0");
  EXPECT_EQ(addons[0].path, L"C:\\P\\extensions\\notes@example.org.xpi");
  EXPECT_TRUE(addons[0].active);
  EXPECT_EQ(addons[1].id, L"off@example.org");
  EXPECT_FALSE(addons[1].active);
}

TEST_F(FirefoxAddonJsonTest, SwitchesTheDatabaseAndTheStartupCacheInFirefoxsForm) {
  ASSERT_EQ(SetFirefoxAddonEnabled(Profile(), L"notes@example.org", false), TFirefoxSwitch::tfsDone);
  std::string expected = kDatabase;
  expected.replace(expected.find(R"("active":true,"userDisabled":false,)"), 35, R"("active":false,"userDisabled":true,)");
  EXPECT_EQ(Text(L"extensions.json"), expected);  // "<" and the large number as Firefox wrote them
  std::string cache = kCache;
  cache.replace(cache.find(R"("enabled":true)"), 14, R"("enabled":false)");
  EXPECT_EQ(Cache(), cache);

  ASSERT_EQ(SetFirefoxAddonEnabled(Profile(), L"notes@example.org", true), TFirefoxSwitch::tfsDone);
  EXPECT_EQ(Text(L"extensions.json"), kDatabase);
  EXPECT_EQ(Cache(), kCache);
  EXPECT_EQ(SetFirefoxAddonEnabled(Profile(), L"NOTES@example.org", false), TFirefoxSwitch::tfsNotFound);
}

TEST_F(FirefoxAddonJsonTest, ADamagedCacheStopsTheSwitchBeforeAnythingIsWritten) {
  machine_.files.PutFile(Profile() + L"addonStartup.json.lz4", "mozLz40\0garbage");
  EXPECT_EQ(SetFirefoxAddonEnabled(Profile(), L"notes@example.org", false), TFirefoxSwitch::tfsUnreadable);
  EXPECT_EQ(Text(L"extensions.json"), kDatabase);
  machine_.files.Remove(Profile() + L"addonStartup.json.lz4");  // Firefox makes a new one from the database
  EXPECT_EQ(SetFirefoxAddonEnabled(Profile(), L"notes@example.org", false), TFirefoxSwitch::tfsDone);
}

TEST_F(FirefoxAddonJsonTest, RealDatabaseIsWrittenBackInFirefoxsFormAndHoldsOnlyFirefoxsOwn) {
  ORVIX_REQUIRE_BROWSER_FIXTURES();
  const std::string text =
      testing::FixtureText(testing::BrowserFixturesDir() / "firefox-esr-153" / "profile" / "extensions.json");
  TJsonNode root;
  ASSERT_TRUE(ParseJson(text, root));
  EXPECT_EQ(BrowserFileJson(root, TJsonFileStyle::jfsFirefox), text);
  machine_.files.PutFile(Profile() + L"extensions.json", text);
  EXPECT_TRUE(ReadFirefoxAddons(Profile()).empty());  // built-in add-ons and themes only
}

struct CacheCase : testing::NamedCase {
  std::string file;
  const char* text;  // nullptr: refused
};

class MozLz4Test : public ::testing::TestWithParam<CacheCase> {};

TEST_P(MozLz4Test, DecodesWhatFitsAndRefusesTheRest) {
  const std::string& file = GetParam().file;
  std::string text;
  const bool decoded = DecodeMozLz4(Bytes(file.begin(), file.end()), text);
  ASSERT_EQ(decoded, GetParam().text != nullptr);
  if (decoded) {
    EXPECT_EQ(text, GetParam().text);
  }
}

const std::string kMagic("mozLz40\0", 8);

INSTANTIATE_TEST_SUITE_P(
    Blocks, MozLz4Test,
    ::testing::Values(
        // "abc", then 9 bytes from 3 back, then the literal "X".
        CacheCase{{"BackReference"}, kMagic + std::string("\x0d\0\0\0\x35" "abc\x03\0\x10X", 12), "abcabcabcabcX"},
        CacheCase{{"LongLiterals"}, kMagic + std::string("\x11\0\0\0\xf0\x02", 6) + std::string(17, 'q'),
                  "qqqqqqqqqqqqqqqqq"},
        CacheCase{{"OffsetZero"}, kMagic + std::string("\x0d\0\0\0\x35" "abc\x00\0\x10X", 12), nullptr},
        CacheCase{{"OffsetBeforeTheStart"}, kMagic + std::string("\x0d\0\0\0\x35" "abc\x09\0\x10X", 12), nullptr},
        CacheCase{{"MoreThanTheStatedSize"}, kMagic + std::string("\x04\0\0\0\x35" "abc\x03\0\x10X", 12), nullptr},
        CacheCase{{"LessThanTheStatedSize"}, kMagic + std::string("\x20\0\0\0\x30" "abc", 8), nullptr},
        CacheCase{{"LiteralsBeyondTheInput"}, kMagic + std::string("\x08\0\0\0\x80" "abc", 8), nullptr},
        CacheCase{{"HugeStatedSize"}, kMagic + std::string("\xff\xff\xff\xff\x10X", 6), nullptr},
        CacheCase{{"WrongMagic"}, std::string("mozLz41\0\x01\0\0\0\x10X", 14), nullptr}),
    testing::CaseName{});

TEST(MozLz4RoundTripTest, EncodedTextOfAnyLengthDecodes) {
  for (std::size_t size : {0u, 14u, 15u, 269u, 270u, 5000u}) {
    const std::string text(size, 'z');
    std::string back;
    ASSERT_TRUE(DecodeMozLz4(EncodeMozLz4(text), back)) << size;
    EXPECT_EQ(back, text);
  }
}

}  // namespace
}  // namespace orvix
