#include "addons/firefox_plugin_registry.h"

#include <gtest/gtest.h>

#include "formats/text_codec.h"
#include "named_case.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

// Two plug-ins: the first with two MIME types, the second switched off.
constexpr wchar_t kRegistry[] =
    L"Generated File. Do not edit.\r\n\r\n[HEADER]\r\nVersion:0.11|$\r\n\r\n[PLUGINS]\r\n"
    L"npfoo.dll|$\r\nC:\\Foo\\npfoo.dll|$\r\n1.2|$\r\n1300000000|0|13|$\r\nFoo plug-in|$\r\nFoo|$\r\n2\r\n"
    L"0|application/x-foo|Foo|foo|$\r\n1|application/x-foo2|Foo 2|foo2|$\r\n"
    L"npbar.dll|$\r\nC:\\Bar\\npbar.dll|$\r\n3.0|$\r\n1300000001|0|4|$\r\nBar plug-in|$\r\nBar|$\r\n1\r\n"
    L"0|application/x-bar|Bar|bar|$\r\n\r\n";

TEST(PluginRegistryTest, ReadsEveryBlockWithItsFlags) {
  const std::vector<TPluginRegRecord> records = ReadPluginRegistry(kRegistry);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].fileName, L"npfoo.dll");
  EXPECT_EQ(records[0].path, L"C:\\Foo\\npfoo.dll");
  EXPECT_EQ(records[0].version, L"1.2");
  EXPECT_EQ(records[0].description, L"Foo plug-in");
  EXPECT_EQ(records[0].name, L"Foo");
  EXPECT_TRUE(records[0].active);  // flags 13
  EXPECT_EQ(records[1].name, L"Bar");
  EXPECT_FALSE(records[1].active);  // flags 4
}

struct HostileCase : testing::NamedCase {
  const wchar_t* plugins;  // the text after "[PLUGINS]"
  std::vector<std::wstring> names;
};

class PluginRegistryHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(PluginRegistryHostileTest, EndsTheRecordNeverTheReader) {
  std::vector<std::wstring> names;
  for (const TPluginRegRecord& record : ReadPluginRegistry(std::wstring(L"[PLUGINS]\n") + GetParam().plugins))
    names.push_back(record.name);
  EXPECT_EQ(names, GetParam().names);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, PluginRegistryHostileTest,
    ::testing::Values(
        HostileCase{{"NameLineMissingGivesTheDescription"}, L"a.dll|$\nC:\\a.dll|$\n1|$\n1|0|1|$\nDesc A|$\n", {L"Desc A"}},
        HostileCase{{"NegativeCount"}, L"a.dll|$\nC:\\a.dll|$\n1|$\n1|0|1|$\nD|$\nA|$\n-5\nb.dll|$\nC:\\b.dll|$\n", {L"A"}},
        HostileCase{{"HugeCount"},
                    L"a.dll|$\nC:\\a.dll|$\n1|$\n1|0|1|$\nD|$\nA|$\n99999999999999999999\nb.dll|$\nC:\\b.dll|$\n",
                    {L"A"}},
        HostileCase{{"CountBeyondTheFile"}, L"a.dll|$\nC:\\a.dll|$\n1|$\n1|0|1|$\nD|$\nA|$\n4000\nx|$\n", {L"A"}},
        HostileCase{{"TruncatedBlock"}, L"a.dll|$\n", {}},
        HostileCase{{"EmptyLineEndsThePlugins"}, L"\na.dll|$\nC:\\a.dll|$\n1|$\n1|0|1|$\nD|$\nA|$\n", {}}),
    testing::CaseName{});

TEST(PluginRegistryTest, SwitchSetsTheFlagsOfEveryMatchingBlockAndKeepsTheRest) {
  std::wstring text = kRegistry;
  EXPECT_EQ(SetPluginRegistryFlags(text, L"NPFOO.DLL", L"c:\\foo\\npfoo.dll", false), 1u);
  std::wstring expected = kRegistry;
  expected.replace(expected.find(L"1300000000|0|13|$"), 17, L"1300000000|0|4|$");
  EXPECT_EQ(text, expected);
  EXPECT_FALSE(ReadPluginRegistry(text)[0].active);

  EXPECT_EQ(SetPluginRegistryFlags(text, L"npbar.dll", L"C:\\Bar\\npbar.dll", true), 1u);
  EXPECT_TRUE(ReadPluginRegistry(text)[1].active);  // flags 5
  EXPECT_NE(text.find(L"1300000001|0|5|$"), std::wstring::npos);

  // A file name with another path, or a flags line without three "|", is
  // not the plug-in asked for.
  EXPECT_EQ(SetPluginRegistryFlags(text, L"npfoo.dll", L"C:\\Other\\npfoo.dll", true), 0u);
  std::wstring short_ = L"[PLUGINS]\na.dll|$\nC:\\a.dll|$\n1|$\n1|0|$\n";
  EXPECT_EQ(SetPluginRegistryFlags(short_, L"a.dll", L"C:\\a.dll", false), 0u);
}

TEST(PluginRegistryTest, FileSwitchReportsWhetherThePluginWasThere) {
  sim::SimMachine machine;
  ScopedPlatform scope{machine};
  const std::wstring file = L"C:\\Profile\\pluginreg.dat";
  EXPECT_FALSE(SetPluginRegistryFlagsInFile(file, L"npfoo.dll", L"C:\\Foo\\npfoo.dll", false));  // no file
  machine.files.PutFolder(L"C:\\Profile");
  machine.files.PutFile(file, ToUtf8(kRegistry));
  EXPECT_FALSE(SetPluginRegistryFlagsInFile(file, L"npbaz.dll", L"C:\\Baz\\npbaz.dll", false));
  EXPECT_EQ(machine.files.FileText(file), ToUtf8(kRegistry));
  ASSERT_TRUE(SetPluginRegistryFlagsInFile(file, L"npfoo.dll", L"C:\\Foo\\npfoo.dll", false));
  EXPECT_NE(machine.files.FileText(file)->find("1300000000|0|4|$\r\n"), std::string::npos);
}

}  // namespace
}  // namespace orvix
