#include "language/language.h"

#include <gtest/gtest.h>

#include "language/interface_messages.h"
#include "language/language_display_name.h"
#include "language/language_setting.h"
#include "language/messages.h"
#include "named_case.h"
#include "platform/app_frame.h"
#include "platform/file_helpers.h"
#include "platform/settings.h"
#include "platform/sim/sim_machine.h"

namespace orvix {
namespace {

using Names = std::vector<std::wstring>;
constexpr const wchar_t* kFolder = L"C:\\Program Files\\Orvix\\Language";

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_.PutFolder(kFolder);
    language_.SetLanguageFolder(kFolder);
  }

  void PutUtf8(const std::wstring& name, std::wstring_view text) {
    files_.PutFile(std::wstring(kFolder) + L"\\" + name, EncodeTextFile(text, TextEncoding::Utf8Bom));
  }

  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
  sim::SimFileSystem& files_ = machine_.files;
  TLanguage language_{L"Uninstaller"};
};

TEST_F(LanguageTest, MessagesFollowTheFileRules) {
  PutUtf8(L"German.lng",
          L"Orphan=before any section\r\n"
          L"[Main]\r\nDisplayName = Deutsch \r\n"
          L"; Close=commented out\r\n"
          L"[uninstaller_m]\r\n"
          L"  close  =  Schließen  \r\n"
          L"CLOSE=second occurrence\r\n"
          L"Log_M\r\n"
          L"Date_M=\r\n"
          L"Path=C:\\a=b\r\n"
          L"[Uninstaller_M]\r\nOperation_M=from a repeated section\r\n");
  TLanguage language(L"Uninstaller");
  EXPECT_EQ(language.LanguageFolder(), TAppFrame().ProgramFolder() + L"Language");
  language.SetLanguageFolder(std::wstring(kFolder) + L"\\");
  EXPECT_EQ(language.LanguageFolder(), kFolder);
  EXPECT_EQ(language.CurrentLanguage(), L"");

  ASSERT_TRUE(language.SelectLanguage(L"german"));
  EXPECT_EQ(language.CurrentLanguage(), L"german");
  EXPECT_EQ(language.CurrentDisplayName(), L"Deutsch");
  EXPECT_EQ(language.GetMessage(L"Close", L"Close"), L"Schließen");          // keys ignore case, first wins
  EXPECT_EQ(language.GetMessage(L"Log_M", L"Log"), L"Log");                  // a line without "=" is no key
  EXPECT_EQ(language.GetMessage(L"Date_M", L"Date"), L"");                   // present but empty
  EXPECT_EQ(language.GetMessage(L"Path", L"-"), L"C:\\a=b");                 // split at the first "="
  EXPECT_EQ(language.GetMessage(L"Operation_M", L"Operation"), L"Operation");  // first section wins
  EXPECT_EQ(language.GetMessage(L"Orphan", L"-"), L"-");
  EXPECT_EQ(language.ReadLanguageValue(L"MAIN", L"displayname", L"-"), L"Deutsch");
}

struct EncodingCase : testing::NamedCase {
  TextEncoding encoding;
};

class LanguageEncodingTest : public LanguageTest, public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(LanguageEncodingTest, ReadsByTheByteOrderMarkAndAnsiWithoutOne) {
  const std::wstring text = L"[Main]\r\nDisplayName=Fran\u00e7ais\r\n[Uninstaller_M]\r\nClose=Ferm\u00e9\r\n";
  files_.PutFile(std::wstring(kFolder) + L"\\French.lng", EncodeTextFile(text, GetParam().encoding));
  ASSERT_TRUE(language_.SelectLanguage(L"French"));
  EXPECT_EQ(language_.CurrentDisplayName(), L"Fran\u00e7ais");
  EXPECT_EQ(language_.GetMessage(L"Close", L"Close"), L"Ferm\u00e9");
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, LanguageEncodingTest,
    ::testing::Values(EncodingCase{{"Utf8Bom"}, TextEncoding::Utf8Bom},
                      EncodingCase{{"Utf16LeBom"}, TextEncoding::Utf16LeBom},
                      EncodingCase{{"AnsiCodePage"}, TextEncoding::Ansi}),
    testing::CaseName());

TEST_F(LanguageTest, AMissingFileFallsBackToEnglishAndWithoutEnglishNothingChanges) {
  EXPECT_FALSE(language_.SelectLanguage(L"German"));  // no file at all: built-in texts
  EXPECT_EQ(language_.CurrentLanguage(), L"");
  EXPECT_EQ(language_.GetMessage(L"Close", L"Close"), L"Close");

  PutUtf8(L"English.lng", L"[Uninstaller_M]\r\nClose=Close it\r\n");
  ASSERT_TRUE(language_.SelectLanguage(L"German"));
  EXPECT_EQ(language_.CurrentLanguage(), L"English");
  EXPECT_EQ(language_.CurrentDisplayName(), L"English");  // no DisplayName: the internal name
  ASSERT_TRUE(language_.SelectLanguage(L""));            // an unreadable setting
  EXPECT_EQ(language_.CurrentLanguage(), L"English");

  PutUtf8(L"German.lng", L"[Uninstaller_M]\r\nClose=Schließen\r\n");
  ASSERT_TRUE(language_.SelectLanguage(L"German"));
  ASSERT_EQ(files_.DeleteFile(std::wstring(kFolder) + L"\\English.lng"), ERROR_SUCCESS);
  EXPECT_FALSE(language_.SelectLanguage(L"French"));
  EXPECT_EQ(language_.CurrentLanguage(), L"German");
  EXPECT_EQ(language_.GetMessage(L"Close", L"Close"), L"Schließen");
}

TEST_F(LanguageTest, OverLongOrMalformedFilesCannotTakeOver) {
  PutUtf8(L"English.lng", L"[Uninstaller_M]\r\nClose=Close\r\n");
  files_.PutFile(std::wstring(kFolder) + L"\\Huge.lng", "[Uninstaller_M]\r\nClose=" + std::string(5 << 20, 'x'));
  files_.PutFile(std::wstring(kFolder) + L"\\Noise.lng", Bytes{0xFF, 0xFE, 0x00, 0xD8, '[', 0, 0, 0, 0xFF});
  ASSERT_TRUE(language_.SelectLanguage(L"Huge"));
  EXPECT_EQ(language_.CurrentLanguage(), L"English");
  ASSERT_TRUE(language_.SelectLanguage(L"Noise"));  // read, but holds no message
  EXPECT_EQ(language_.CurrentLanguage(), L"Noise");
  EXPECT_EQ(language_.GetMessage(L"Close", L"Close"), L"Close");
}

TEST_F(LanguageTest, InstalledAsTextSourceItTranslatesEveryMessageSafely) {
  PutUtf8(L"German.lng",
          L"[Uninstaller_M]\r\nClose=Schließen\r\n"
          L"Uninstall_M=%s deinstallieren (1/1)\r\n"
          L"p_FormatItems_M=%s Einträge\r\n");  // a wrong placeholder
  {
    TLanguage language(L"Uninstaller");
    language.SetLanguageFolder(kFolder);
    ASSERT_TRUE(language.SelectLanguage(L"German"));
    language.InstallAsTextSource();
    EXPECT_EQ(Text(msg::Close), L"Schließen");
    EXPECT_EQ(Text(msg::Log_M), L"Log");
    EXPECT_EQ(MessageText(msg::Uninstall_M, {L"Foo"}), L"Foo deinstallieren (1/1)");
    EXPECT_EQ(MessageText(msg::p_FormatItems_M, {std::int64_t{3}}), L"3 items");
  }
  EXPECT_EQ(Text(msg::Close), L"Close");  // gone with the object
}

TEST_F(LanguageTest, TheListsScanLazilyAndDisplayNamesFallBackToTheInternalName) {
  PutUtf8(L"English.lng", L"[Main]\r\nDisplayName=English\r\n");
  PutUtf8(L"ChineseSimp.lng", L"[Main]\r\nDisplayName=简体中文\r\n");
  PutUtf8(L"Portuguese(PT-BR).lng", L"[Uninstaller_M]\r\nClose=Fechar\r\n");
  files_.PutFolder(std::wstring(kFolder) + L"\\Folder.lng");
  files_.PutFile(std::wstring(kFolder) + L"\\readme.txt", "not a language");

  Names names = language_.GetLanguageNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (Names{L"ChineseSimp", L"English", L"Portuguese(PT-BR)"}));
  PutUtf8(L"German.lng", L"[Main]\r\nDisplayName=Deutsch\r\n");
  EXPECT_EQ(language_.GetLanguageNames().size(), 3u);  // filled: no rescan

  const Names& displayNames = language_.GetDisplayNames();  // names only so far: rescans
  const Names& languageNames = language_.GetLanguageNames();
  ASSERT_EQ(displayNames.size(), 4u);
  ASSERT_EQ(languageNames.size(), 4u);
  for (std::size_t i = 0; i < languageNames.size(); ++i) {
    const std::wstring expected = languageNames[i] == L"ChineseSimp" ? L"简体中文"
                                  : languageNames[i] == L"German"    ? L"Deutsch"
                                                                     : languageNames[i];
    EXPECT_EQ(displayNames[i], expected) << languageNames[i];
  }
}

// One component of each kind, its keys in the file and its texts afterwards.
struct ApplyCase : testing::NamedCase {
  TComponentTexts before;
  const wchar_t* keys;
  TComponentTexts after;
};

class ApplyToComponentTest : public LanguageTest, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(ApplyToComponentTest, ReplacesWhatTheKindNames) {
  PutUtf8(L"German.lng", std::wstring(L"[Uninstaller_frmTest]\r\n") + GetParam().keys);
  ASSERT_TRUE(language_.SelectLanguage(L"German"));
  TWindowTexts window{L"frmTest", {GetParam().before}};
  language_.ApplyToComponent(window);
  const TComponentTexts& got = window.components.front();
  const TComponentTexts& want = GetParam().after;
  EXPECT_EQ(got.caption, want.caption);
  EXPECT_EQ(got.hint, want.hint);
  EXPECT_EQ(got.items, want.items);
  EXPECT_EQ(got.columns, want.columns);
  EXPECT_EQ(got.selectedIndex, want.selectedIndex);
}

TComponentTexts Component(const wchar_t* name, TComponentKind kind, const wchar_t* caption, Names items = {},
                          Names columns = {}) {
  TComponentTexts component;
  component.name = name;
  component.kind = kind;
  component.caption = caption;
  component.items = std::move(items);
  component.columns = std::move(columns);
  return component;
}

TComponentTexts Hinted(const wchar_t* hint, bool showHint) {
  TComponentTexts component = Component(L"imgNote", ckImageNote, L"");
  component.hint = hint;
  component.showHint = showHint;
  return component;
}

TComponentTexts Selected(TComponentTexts component, int index) {
  component.selectedIndex = index;
  return component;
}

constexpr const wchar_t* kCaptionKeys = L"x.Caption=Neu\r\nx.Hint=Hinweis\r\nx.Items[0].Caption=Eins\r\n";

INSTANTIATE_TEST_SUITE_P(
    Kinds, ApplyToComponentTest,
    ::testing::Values(
        ApplyCase{{"LabelNoteItems"},
                  Component(L"lblNote", ckLabelNote, L"", {L"one", L"two", L"three"}),
                  L"lblNote.Items[0].Caption=eins\r\nlblNote.Items[2].Caption=drei\r\nlblNote.Caption=nie\r\n",
                  Component(L"lblNote", ckLabelNote, L"", {L"eins", L"two", L"drei"})},
        ApplyCase{{"ImageNoteHintWhenShown"}, Hinted(L"Hint", true), L"imgNote.Hint=Hinweis\r\n",
                  Hinted(L"Hinweis", true)},
        ApplyCase{{"ImageNoteHintIgnoredWhenHidden"}, Hinted(L"Hint", false), L"imgNote.Hint=Hinweis\r\n",
                  Hinted(L"Hint", false)},
        ApplyCase{{"LabelKeyInCapitals"}, Component(L"lblTitle", ckLabel, L"Title"), L"LBLTITLE.CAPTION=Titel\r\n",
                  Component(L"lblTitle", ckLabel, L"Titel")},
        ApplyCase{{"Button"}, Component(L"x", ckButton, L"OK"), kCaptionKeys, Component(L"x", ckButton, L"Neu")},
        ApplyCase{{"MenuItem"}, Component(L"x", ckMenuItem, L"Open"), kCaptionKeys,
                  Component(L"x", ckMenuItem, L"Neu")},
        ApplyCase{{"ToolButtonOrTabSheet"}, Component(L"x", ckToolButton, L"Tab"), kCaptionKeys,
                  Component(L"x", ckToolButton, L"Neu")},
        ApplyCase{{"FoldPanel"}, Component(L"x", ckFoldPanel, L"Fold"), kCaptionKeys,
                  Component(L"x", ckFoldPanel, L"Neu")},
        ApplyCase{{"ImageButton"}, Component(L"x", ckImageButton, L"Go"), kCaptionKeys,
                  Component(L"x", ckImageButton, L"Neu")},
        ApplyCase{{"CaptionKeyMissing"}, Component(L"y", ckButton, L"Keep"), kCaptionKeys,
                  Component(L"y", ckButton, L"Keep")},
        ApplyCase{{"CheckListBoxItems"}, Component(L"x", ckCheckListBox, L"", {L"a", L"b"}), kCaptionKeys,
                  Component(L"x", ckCheckListBox, L"", {L"Eins", L"b"})},
        ApplyCase{{"ComboBoxKeepsItsSelection"}, Selected(Component(L"x", ckComboBox, L"", {L"a", L"b"}), 1),
                  kCaptionKeys, Selected(Component(L"x", ckComboBox, L"", {L"Eins", L"b"}), 1)},
        ApplyCase{{"TreeViewCountsEveryNode"}, Component(L"tv", ckTreeView, L"", {L"root", L"child", L"grandchild"}),
                  L"tv.Items[2].Caption=Enkel\r\n", Component(L"tv", ckTreeView, L"", {L"root", L"child", L"Enkel"})},
        ApplyCase{{"ListViewColumns"}, Component(L"lv", ckListView, L"", {L"row"}, {L"Name", L"Size"}),
                  L"lv.Columns[1].Caption=Größe\r\nlv.Items[0].Caption=nie\r\n",
                  Component(L"lv", ckListView, L"", {L"row"}, {L"Name", L"Größe"})},
        ApplyCase{{"OtherKindsKeepTheirTexts"}, Component(L"x", ckOther, L"Panel", {L"a"}), kCaptionKeys,
                  Component(L"x", ckOther, L"Panel", {L"a"})}),
    testing::CaseName());

TEST_F(LanguageTest, ApplyGoesOneLevelDeepAndEachWindowReadsItsOwnSection) {
  PutUtf8(L"German.lng",
          L"[Uninstaller_frmMain]\r\nbtnGo.Caption=Los\r\nbtnInner.Caption=nie\r\n.Caption=nie\r\n"
          L"[Uninstaller_Frame_Software]\r\nbtnGo.Caption=Weiter\r\nbtnInner.Caption=Innen\r\n");
  ASSERT_TRUE(language_.SelectLanguage(L"German"));

  TComponentTexts frame = Component(L"Frame_Software", ckOther, L"");
  frame.owned.push_back(Component(L"btnInner", ckButton, L"Inner"));
  TWindowTexts main{L"frmMain", {Component(L"btnGo", ckButton, L"Go"), Component(L"", ckButton, L"Unnamed"), frame}};
  TWindowTexts page{L"Frame_Software", {Component(L"btnGo", ckButton, L"Go"), Component(L"btnInner", ckButton, L"Inner")}};
  TWindowTexts unnamed{L"", {Component(L"btnGo", ckButton, L"Go")}};
  language_.ApplyToAll({&main, &page, &unnamed, nullptr});

  EXPECT_EQ(main.components[0].caption, L"Los");
  EXPECT_EQ(main.components[1].caption, L"Unnamed");
  EXPECT_EQ(main.components[2].owned[0].caption, L"Inner");  // the frame's own components: not the window's
  EXPECT_EQ(page.components[0].caption, L"Weiter");
  EXPECT_EQ(page.components[1].caption, L"Innen");
  EXPECT_EQ(unnamed.components[0].caption, L"Go");
}

struct WindowsLanguageCase : testing::NamedCase {
  const wchar_t* windowsName;
  const wchar_t* internalName;
};

class DefaultLanguageTest : public LanguageTest, public ::testing::WithParamInterface<WindowsLanguageCase> {};

TEST_P(DefaultLanguageTest, MapsTheWindowsInterfaceLanguage) {
  machine_.locale.userInterfaceLanguageName = GetParam().windowsName;
  EXPECT_EQ(DefaultLanguageName(), GetParam().internalName);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DefaultLanguageTest,
    ::testing::Values(WindowsLanguageCase{{"German"}, L"German", L"German"},
                      WindowsLanguageCase{{"RomanianAnyCase"}, L"rOMANIAN", L"Romanian"},
                      WindowsLanguageCase{{"ChineseSimplified"}, L"Chinese (Simplified)", L"ChineseSimp"},
                      WindowsLanguageCase{{"ChineseTraditional"}, L"chinese (traditional)", L"ChineseTrad"},
                      WindowsLanguageCase{{"PortugueseBrazil"}, L"Portuguese(Brazil)", L"Portuguese(PT-BR)"},
                      WindowsLanguageCase{{"PortugueseWithoutRegion"}, L"Portuguese", L"English"},
                      WindowsLanguageCase{{"NoTranslation"}, L"Klingon", L"English"},
                      WindowsLanguageCase{{"Unknown"}, L"", L"English"}),
    testing::CaseName());

TEST_F(LanguageTest, TheSettingNamesTheLanguageAndAnUnreadableOneGivesNone) {
  EXPECT_EQ(ReadLanguageSetting(), L"English");
  ASSERT_TRUE(WriteLanguage(L"French"));
  EXPECT_EQ(ReadLanguageSetting(), L"French");
  machine_.shell.SetSpecialFolder(CSIDL_APPDATA, L"");
  EXPECT_EQ(ReadLanguageSetting(), L"");
}

TEST_F(LanguageTest, TheLanguageBoxSwitchesEveryOpenWindowAndTheMessages) {
  PutUtf8(L"English.lng", L"[Main]\r\nDisplayName=English\r\n[Uninstaller_M]\r\nClose=Close\r\n");
  PutUtf8(L"German.lng",
          L"[Main]\r\nDisplayName=Deutsch\r\n[Uninstaller_M]\r\nClose=Schließen\r\n"
          L"[Uninstaller_frmSetting]\r\nbtnOK.Caption=Übernehmen\r\n");
  ASSERT_TRUE(language_.SelectLanguage(L"English"));
  LoadInterfaceMessages(language_);
  TLanguageDisplayName box(language_, kFolder);

  TComponentTexts combo = Component(L"cbLanguage", ckComboBox, L"");
  language_.SelectLanguage(L"German");
  box.FillLanguageBox(combo);
  ASSERT_EQ(combo.items.size(), 2u);
  EXPECT_EQ(combo.items[combo.selectedIndex], L"Deutsch");
  language_.SelectLanguage(L"English");

  TWindowTexts settings{L"frmSetting", {Component(L"btnOK", ckButton, L"OK")}};
  int refreshed = 0;
  EXPECT_FALSE(box.SelectByDisplayName(L"Klingon", {&settings}, [&] { ++refreshed; }));
  EXPECT_EQ(ReadLanguage(L"-"), L"-");  // nothing written
  ASSERT_TRUE(box.SelectByDisplayName(L"DEUTSCH", {&settings}, [&] { ++refreshed; }));
  EXPECT_EQ(ReadLanguage(L"-"), L"German");
  EXPECT_EQ(language_.CurrentLanguage(), L"German");
  EXPECT_EQ(settings.components[0].caption, L"Übernehmen");
  EXPECT_EQ(InterfaceMessage(msg::Close), L"Schließen");
  EXPECT_EQ(refreshed, 1);

  language_.SelectLanguage(L"English");
  LoadInterfaceMessages(language_);  // the next test starts from English
  EXPECT_EQ(InterfaceMessage(msg::Close), L"Close");
}

}  // namespace
}  // namespace orvix
