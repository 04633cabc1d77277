// The records of Chromium-based profiles: reading and switching them, the
// codes that guard them, and the real profile current Chromium wrote.
#include "addons/chrome_extensions.h"

#include <gtest/gtest.h>

#include "addons/chrome_json_text.h"
#include "browser_fixtures.h"
#include "formats/text_codec.h"
#include "named_case.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

constexpr wchar_t kProfile[] = L"C:\\Users\\u\\AppData\\Local\\Chromium\\User Data\\Default\\";
constexpr char kTabNotes[] = "bhibkmecgmaoibkbopehjdlhokdedbkc";

TJsonNode Parse(std::string_view text) {
  TJsonNode root;
  EXPECT_TRUE(ParseJson(text, root)) << text;
  return root;
}

class ChromeExtensionsTest : public ::testing::Test {
 protected:
  void SetUp() override { machine_.files.PutFolder(kProfile); }
  std::wstring Profile() const { return kProfile; }
  std::string Text(const std::wstring& name) { return machine_.files.FileText(Profile() + name).value_or("<missing>"); }
  TJsonNode File(const std::wstring& name) { return Parse(Text(name)); }
  void PutFixtureProfile() {
    testing::CopyIntoMachine(machine_, testing::BrowserFixturesDir() / "chromium-156" / "Default",
                             Profile().substr(0, Profile().size() - 1));
  }

  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
};

// The codes current Chromium stored for the records of the real profile
// are the ones this program computes: its text of a record is the browser's.
TEST_F(ChromeExtensionsTest, CodesOfTheRealProfileAreReproduced) {
  ORVIX_REQUIRE_BROWSER_FIXTURES();
  const TJsonNode preferences =
      Parse(testing::FixtureText(testing::BrowserFixturesDir() / "chromium-156" / "Default" / "Preferences"));
  const TJsonNode* settings = preferences.FindPath({L"extensions", L"settings"});
  const TJsonNode* codes = preferences.FindPath({L"protection", L"macs", L"extensions", L"settings"});
  ASSERT_TRUE(settings != nullptr && codes != nullptr);
  ASSERT_EQ(settings->Members().size(), 2u);
  for (const auto& [id, record] : settings->Members()) {
    EXPECT_EQ(FromUtf8(ChromePrefMac("", "", "extensions.settings." + ToUtf8(id), &record)), codes->Find(id)->Text())
        << id;
  }
  // The code over all codes of "Secure Preferences", which holds none here.
  const TJsonNode secure =
      Parse(testing::FixtureText(testing::BrowserFixturesDir() / "chromium-156" / "Default" / "Secure Preferences"));
  EXPECT_EQ(FromUtf8(ChromePrefMac("", "", "", secure.FindPath({L"protection", L"macs"}))),
            secure.FindPath({L"protection", L"super_mac"})->Text());
}

TEST_F(ChromeExtensionsTest, RealProfileIsWrittenBackInTheBrowsersOwnForm) {
  ORVIX_REQUIRE_BROWSER_FIXTURES();
  const std::string text =
      testing::FixtureText(testing::BrowserFixturesDir() / "chromium-156" / "Default" / "Preferences");
  EXPECT_EQ(BrowserFileJson(Parse(text)), text);
}

TEST_F(ChromeExtensionsTest, RealProfileListsThePackedExtensionNotTheBrowsersOwn) {
  ORVIX_REQUIRE_BROWSER_FIXTURES();
  PutFixtureProfile();
  const std::vector<TChromeExtension> extensions = ReadChromeExtensions(Profile());
  ASSERT_EQ(extensions.size(), 1u);  // the PDF viewer is a part of the browser
  EXPECT_EQ(extensions[0].id, FromUtf8(kTabNotes));
  EXPECT_EQ(extensions[0].name, L"Tab Notes");
  EXPECT_EQ(extensions[0].description, L"Keeps a note per tab.");
  EXPECT_EQ(extensions[0].version, L"1.4.2");
  EXPECT_EQ(extensions[0].folder, Profile() + L"Extensions\\bhibkmecgmaoibkbopehjdlhokdedbkc\\1.4.2_0\\");
  EXPECT_TRUE(extensions[0].active);
}

TEST_F(ChromeExtensionsTest, RealProfileSwitchesOffAndOnWithItsCode) {
  ORVIX_REQUIRE_BROWSER_FIXTURES();
  PutFixtureProfile();
  const std::string untouched = Text(L"Secure Preferences");
  ASSERT_EQ(SetChromeExtensionEnabled(Profile(), L"BHIBKMECGMAOIBKBOPEHJDLHOKDEDBKC", false), TChromeSwitch::tcsDone);
  TJsonNode preferences = File(L"Preferences");
  const TJsonNode* record = preferences.FindPath({L"extensions", L"settings", FromUtf8(kTabNotes)});
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(BrowserFileJson(*record->Find(L"disable_reasons")), "[1]");
  EXPECT_EQ(BrowserFileJson(*record->Find(L"state")), "0");
  EXPECT_FALSE(ChromeRecordActive(*record));
  EXPECT_EQ(FromUtf8(ChromePrefMac("", "", std::string("extensions.settings.") + kTabNotes, record)),
            preferences.FindPath({L"protection", L"macs", L"extensions", L"settings", FromUtf8(kTabNotes)})->Text());
  EXPECT_EQ(Text(L"Secure Preferences"), untouched);
  EXPECT_FALSE(ReadChromeExtensions(Profile())[0].active);

  ASSERT_EQ(SetChromeExtensionEnabled(Profile(), FromUtf8(kTabNotes), true), TChromeSwitch::tcsDone);
  preferences = File(L"Preferences");
  record = preferences.FindPath({L"extensions", L"settings", FromUtf8(kTabNotes)});
  EXPECT_EQ(BrowserFileJson(*record->Find(L"disable_reasons")), "[]");
  EXPECT_EQ(record->Find(L"state"), nullptr);
  EXPECT_TRUE(ReadChromeExtensions(Profile())[0].active);
  EXPECT_EQ(SetChromeExtensionEnabled(Profile(), L"nosuchextension", false), TChromeSwitch::tcsNotFound);
}

struct RecordCase : testing::NamedCase {
  const char* before;
  bool activeBefore;
  const char* off;
  const char* on;  // from `off`
  bool activeAfterOn;  // reasons of the browser's own keep it off
};

class ChromeRecordTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ChromeRecordTest, EachGenerationIsReadAndSwitchedInItsOwnTerms) {
  TJsonNode record = Parse(GetParam().before);
  EXPECT_EQ(ChromeRecordActive(record), GetParam().activeBefore);
  SwitchChromeRecord(record, false);
  EXPECT_EQ(BrowserFileJson(record), GetParam().off);
  EXPECT_FALSE(ChromeRecordActive(record));
  SwitchChromeRecord(record, true);
  EXPECT_EQ(BrowserFileJson(record), GetParam().on);
  EXPECT_EQ(ChromeRecordActive(record), GetParam().activeAfterOn);
}

INSTANTIATE_TEST_SUITE_P(
    Records, ChromeRecordTest,
    ::testing::Values(
        RecordCase{{"StateOnly"}, R"({"state":1})", true, R"({"state":0,"disable_reasons":1})", R"({"state":1})",
                   true},
        RecordCase{{"StateWithMask"}, R"({"disable_reasons":2,"state":0})", false,
                   R"({"disable_reasons":3,"state":0})", R"({"disable_reasons":2,"state":0})", false},
        RecordCase{{"ReasonListWithoutState"}, R"({"disable_reasons":[]})", true, R"({"disable_reasons":[1],"state":0})",
                   R"({"disable_reasons":[]})", true},
        // The browser's own reasons (here: a permission increase) stay.
        RecordCase{{"OtherReasonsStay"}, R"({"disable_reasons":[4]})", false,
                   R"({"disable_reasons":[4,1],"state":0})", R"({"disable_reasons":[4]})", false}),
    testing::CaseName{});

TEST_F(ChromeExtensionsTest, RecordsOfEveryKindAreListedFromTheirFolders) {
  machine_.files.PutFolder(Profile() + L"Extensions\\aaaa\\1.0_0");
  machine_.files.PutFolder(Profile() + L"Extensions\\cccc\\2.0_0");
  machine_.files.PutFolder(L"C:\\Dev\\unpacked\\_locales\\en");
  machine_.files.PutFile(L"C:\\Dev\\unpacked\\manifest.json",
                         R"({"name":"__MSG_appName__","default_locale":"en","version":"0.1"})");
  machine_.files.PutFile(L"C:\\Dev\\unpacked\\_locales\\en\\messages.json",
                         R"({"APPNAME":{"message":"Unpacked Tool"}})");
  machine_.files.PutFile(
      Profile() + L"Preferences",
      R"({"extensions":{"settings":{)"
      R"("aaaa":{"state":1,"path":"aaaa/1.0_0","manifest":{"name":"Old","version":"1.0"}},)"
      R"("bbbb":{"state":1,"path":"bbbb/1.0_0","manifest":{"name":"Folder gone","version":"1.0"}},)"
      R"("cccc":{"disable_reasons":[1],"path":"cccc/2.0_0","manifest":{"name":"Off","version":"2.0"}},)"
      R"("dddd":{"state":1,"ack_blacklist":true,"path":"aaaa/1.0_0","manifest":{"name":"Blacklisted"}},)"
      R"("eeee":{"disable_reasons":[],"location":4,"path":"C:\\Dev\\unpacked"},)"
      R"("ffff":{"disable_reasons":[],"location":5,"path":"C:\\Dev\\unpacked","manifest":{"name":"Component"}}}}})");
  std::vector<std::wstring> seen;
  for (const TChromeExtension& e : ReadChromeExtensions(Profile()))
    seen.push_back(e.id + L" " + e.name + L" " + (e.active ? L"on" : L"off") + L" " + e.folder);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"aaaa Old on " + Profile() + L"Extensions\\aaaa\\1.0_0\\",
                                             L"cccc Off off " + Profile() + L"Extensions\\cccc\\2.0_0\\",
                                             L"eeee Unpacked Tool on C:\\Dev\\unpacked\\"}));
}

// Where the browser enforces its codes it keeps the records in "Secure
// Preferences"; a record there is switched only with a code it will accept.
struct GuardCase : testing::NamedCase {
  const char* codes;  // "protection.macs.extensions" of Secure Preferences
  TChromeSwitch result;
};

class ChromeGuardedRecordTest : public ChromeExtensionsTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(ChromeGuardedRecordTest, IsSwitchedOnlyWithACodeTheBrowserAccepts) {
  constexpr char kRecord[] = R"({"disable_reasons":[],"path":"aaaa/1.0_0","manifest":{"name":"A","version":"1"}})";
  const TJsonNode record = Parse(kRecord);
  std::string codes = GetParam().codes;
  const std::string known = ChromePrefMac("", "", "extensions.settings.aaaa", &record);
  if (const std::size_t at = codes.find("KNOWN"); at != std::string::npos) codes.replace(at, 5, known);
  machine_.files.PutFolder(Profile() + L"Extensions\\aaaa\\1.0_0");
  machine_.files.PutFile(Profile() + L"Preferences", R"({"extensions":{"settings":{}}})");
  const std::string secure = std::string(R"({"extensions":{"settings":{"aaaa":)") + kRecord +
                             R"(}},"protection":{"macs":{"extensions":)" + codes + R"(},"super_mac":"X"}})";
  machine_.files.PutFile(Profile() + L"Secure Preferences", secure);
  ASSERT_TRUE(ReadChromeExtensions(Profile())[0].inSecurePreferences);

  EXPECT_EQ(SetChromeExtensionEnabled(Profile(), L"aaaa", false), GetParam().result);
  if (GetParam().result != TChromeSwitch::tcsDone) {
    EXPECT_EQ(Text(L"Secure Preferences"), secure);  // nothing the browser would undo
    return;
  }
  const TJsonNode written = File(L"Secure Preferences");
  const TJsonNode* now = written.FindPath({L"extensions", L"settings", L"aaaa"});
  EXPECT_FALSE(ChromeRecordActive(*now));
  EXPECT_EQ(ToUtf8(written.FindPath({L"protection", L"macs", L"extensions", L"settings", L"aaaa"})->Text()),
            ChromePrefMac("", "", "extensions.settings.aaaa", now));
  EXPECT_EQ(ToUtf8(written.FindPath({L"protection", L"super_mac"})->Text()),
            ChromePrefMac("", "", "", written.FindPath({L"protection", L"macs"})));
}

INSTANTIATE_TEST_SUITE_P(
    SecurePreferences, ChromeGuardedRecordTest,
    ::testing::Values(GuardCase{{"CodeOfAKnownSeedIsRenewed"}, R"({"settings":{"aaaa":"KNOWN"}})", TChromeSwitch::tcsDone},
                      GuardCase{{"CodeOfAnotherSeedIsRefused"},
                                R"({"settings":{"aaaa":"0000000000000000000000000000000000000000000000000000000000000000"}})",
                                TChromeSwitch::tcsProtected},
                      GuardCase{{"EncryptedHashIsRefused"},
                                R"({"settings":{"aaaa":"KNOWN"},"settings_encrypted_hash":{"aaaa":"djEwAAAA"}})",
                                TChromeSwitch::tcsProtected}),
    testing::CaseName{});

}  // namespace
}  // namespace orvix
