// The message table against the language files: English.lng as the build
// writes it, and every translation shipped in Language/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

#include "language/english_language_file.h"
#include "language/forms/forms.h"
#include "language/interface_messages.h"
#include "language/messages.h"
#include "platform/ext_ini_file.h"
#include "platform/file_helpers.h"
#include "platform/sim/sim_machine.h"
#include "platform/text.h"

namespace orvix {
namespace {

constexpr const wchar_t* kMessages = L"Uninstaller_M";

// The placeholders of a text in their order: "%s", "%d", "%%", "%1:s"...
std::vector<std::wstring> Placeholders(const std::wstring& text) {
  std::vector<std::wstring> found;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != L'%') continue;
    std::size_t end = i + 1;
    while (end < text.size() && (std::iswdigit(text[end]) || text[end] == L':')) ++end;
    found.push_back(text.substr(i, end + 1 - i));
    i = end;
  }
  return found;
}

// Every text of every window's table: section, key, English text.
struct TFormText {
  std::wstring section;
  std::wstring key;
  std::wstring english;
};
std::vector<TFormText> FormTexts() {
  std::vector<TFormText> texts;
  for (const TWindowTexts* form : AllForms()) {
    const std::wstring section = std::wstring(kLanguageSectionPrefix) + L"_" + form->name;
    for (TComponentTexts component : form->components) {
      VisitComponentTexts(component, [&](const std::wstring& key, std::wstring& text) {
        texts.push_back({section, key, text});
      });
    }
  }
  return texts;
}

Bytes FileBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(file), {});
}

class LanguageFilesTest : public ::testing::Test {
 protected:
  sim::SimMachine machine_;
  ScopedPlatform scope_{machine_};
};

TEST_F(LanguageFilesTest, TheTableHoldsEachKeyOnceAndTextsAFileCanCarry) {
  std::set<std::wstring> keys;
  for (const TMessage& message : MessageTable()) {
    const std::wstring english = message.english;
    EXPECT_TRUE(keys.insert(UpperCase(message.key)).second) << "twice: " << message.key;
    EXPECT_FALSE(english.empty()) << message.key;
    EXPECT_EQ(Trim(english), english) << message.key;  // a file trims its values
    EXPECT_EQ(english.find_first_of(L"\r\n"), std::wstring::npos) << message.key;
  }
  std::set<std::wstring> interfaceKeys;
  for (const TMessage* message : InterfaceMessageList()) {
    interfaceKeys.insert(message->key);
    EXPECT_TRUE(keys.contains(UpperCase(message->key))) << message->key;
  }
  EXPECT_EQ(interfaceKeys.size(), 50u);
}

TEST_F(LanguageFilesTest, WindowTablesNameEachWindowAndComponentOnceWithTextsAFileCanCarry) {
  std::set<std::wstring> windows;
  for (const TWindowTexts* form : AllForms()) {
    EXPECT_TRUE(windows.insert(UpperCase(form->name)).second) << "twice: " << form->name;
    std::set<std::wstring> names;
    for (const TComponentTexts& component : form->components) {
      EXPECT_TRUE(names.insert(UpperCase(component.name)).second) << form->name << ": twice: " << component.name;
    }
  }
  const std::vector<TFormText> texts = FormTexts();
  EXPECT_GT(texts.size(), AllForms().size());
  for (const TFormText& text : texts) {
    EXPECT_FALSE(text.english.empty()) << text.section << " " << text.key;
    EXPECT_EQ(Trim(text.english), text.english) << text.key;
    EXPECT_EQ(text.english.find_first_of(L"\r\n"), std::wstring::npos) << text.key;
  }
}

TEST_F(LanguageFilesTest, EnglishAsTheBuildWritesItReadsBackEveryBuiltInText) {
  const std::filesystem::path written = std::filesystem::path(ORVIX_BINARY_DIR) / "Language" / "English.lng";
  TextEncoding encoding = TextEncoding::Ansi;
  const std::wstring text = DecodeTextFile(FileBytes(written), &encoding);
  EXPECT_EQ(encoding, TextEncoding::Utf8Bom);
  EXPECT_EQ(text, EnglishLanguageFileText());

  TExtIniFile file;
  file.LoadText(text);
  EXPECT_EQ(file.ReadString(L"Main", L"DisplayName", L""), L"English");
  EXPECT_EQ(file.ReadSection(kMessages).size(), MessageTable().size());
  for (const TMessage& message : MessageTable()) {
    EXPECT_EQ(file.ReadString(kMessages, message.key, L"(missing)"), message.english) << message.key;
  }
  for (const TFormText& form : FormTexts()) {
    EXPECT_EQ(file.ReadString(form.section, form.key, L"(missing)"), form.english) << form.section << " " << form.key;
  }
}

TEST_F(LanguageFilesTest, EveryTranslationHasEnglishKeysAndPlaceholders) {
  std::set<std::wstring> shipped;
  for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(ORVIX_SOURCE_DIR) / "Language")) {
    if (entry.path().extension() != ".lng") continue;
    const std::wstring name = entry.path().stem().wstring();
    shipped.insert(name);
    SCOPED_TRACE(entry.path().string());
    TextEncoding encoding = TextEncoding::Ansi;
    TExtIniFile file;
    file.LoadText(DecodeTextFile(FileBytes(entry.path()), &encoding));
    // Translations reach every code page: no file may depend on the system's.
    EXPECT_NE(encoding, TextEncoding::Ansi);
    EXPECT_NE(file.ReadString(L"Main", L"DisplayName", L""), L"");

    std::set<std::wstring> keys;
    for (const std::wstring& key : file.ReadSection(kMessages)) {
      EXPECT_TRUE(keys.insert(UpperCase(key)).second) << "twice: " << key;
    }
    EXPECT_EQ(keys.size(), MessageTable().size());
    for (const TMessage& message : MessageTable()) {
      const std::wstring translated = file.ReadString(kMessages, message.key, L"");
      EXPECT_NE(translated, L"") << "missing: " << message.key;
      EXPECT_EQ(Placeholders(translated), Placeholders(message.english)) << message.key;
    }
    std::map<std::wstring, std::size_t> formKeys;
    for (const TFormText& form : FormTexts()) {
      ++formKeys[form.section];
      EXPECT_NE(file.ReadString(form.section, form.key, L""), L"") << "missing: " << form.section << " " << form.key;
    }
    for (const auto& [section, count] : formKeys) EXPECT_EQ(file.ReadSection(section).size(), count) << section;
  }
  EXPECT_TRUE(shipped.contains(L"German") && shipped.contains(L"French") && shipped.contains(L"ChineseSimp"));
  EXPECT_FALSE(shipped.contains(L"English"));  // written by the build, never by hand
}

}  // namespace
}  // namespace orvix
