// The log manager: which files it lists, opening one in Notepad, deleting one
// (held open: at the restart) or all.
#include <gtest/gtest.h>

#include <algorithm>

#include "log_fixture.h"
#include "uninstall/log_manager_model.h"

namespace orvix {
namespace {

using Lines = std::vector<std::wstring>;

class LogManagerTest : public testing::LogTest {
 protected:
  void PutLog(const std::wstring& name) { Machine().files.PutFile(UninstallLogFolder() + name, std::string_view("x")); }

  Lines Captions() const {
    Lines captions;
    for (const TLogFileItem& item : model.Items()) captions.push_back(item.Caption);
    std::sort(captions.begin(), captions.end());
    return captions;
  }

  Lines questions;
  bool answer = true;
  TLogManagerModel model{[this](const std::wstring& question) {
    questions.push_back(question);
    return answer;
  }};
};

TEST_F(LogManagerTest, ListsFilesWhoseNamesContainDotLog) {
  for (const wchar_t* name : {L"2013-05-31.log", L"notes.logbook", L"JUNE.LOG", L"readme.txt", L"log.txt"})
    PutLog(name);
  Machine().files.PutFolder(UninstallLogFolder() + L"old.log");
  model.Shown();
  EXPECT_EQ(Captions(), (Lines{L"2013-05-31.log", L"JUNE.LOG", L"notes.logbook"}));
  EXPECT_EQ(model.Items()[0].Path, UninstallLogFolder() + model.Items()[0].Caption);
  EXPECT_TRUE(model.DeleteAllEnabled());
  EXPECT_FALSE(model.OpenEnabled());
  EXPECT_FALSE(model.DeleteEnabled());
}

TEST_F(LogManagerTest, AnEmptyOrMissingFolderLeavesOnlyCancel) {
  model.Shown();
  EXPECT_TRUE(model.Items().empty());
  Machine().files.PutFolder(UninstallLogFolder());
  model.Shown();
  EXPECT_TRUE(model.Items().empty());
  EXPECT_FALSE(model.DeleteAllEnabled());
  EXPECT_FALSE(model.OpenEnabled());
  EXPECT_FALSE(model.DeleteEnabled());
  EXPECT_FALSE(model.DeleteAll());
  EXPECT_TRUE(questions.empty());
}

TEST_F(LogManagerTest, OpensTheSelectedLogInNotepad) {
  PutLog(L"2013-05-31.log");
  model.Shown();
  EXPECT_FALSE(model.OpenSelected());
  model.Select(0);
  EXPECT_TRUE(model.OpenEnabled());
  EXPECT_TRUE(model.OpenSelected());
  const auto requests = Machine().shell.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].verb, L"open");
  EXPECT_EQ(requests[0].file, L"notepad.exe");
  EXPECT_EQ(requests[0].parameters, L"\"" + UninstallLogFolder() + L"2013-05-31.log\"");
}

TEST_F(LogManagerTest, DeletesTheSelectedLogAndALockedOneAtTheRestart) {
  PutLog(L"2013-05-30.log");
  PutLog(L"2013-05-31.log");
  const std::wstring locked = UninstallLogFolder() + L"2013-05-31.log";
  Machine().files.LockFile(locked);
  model.Shown();
  const auto position = std::find_if(model.Items().begin(), model.Items().end(),
                                     [&](const TLogFileItem& item) { return item.Path == locked; }) -
                        model.Items().begin();

  model.Select(static_cast<int>(position));
  answer = false;
  EXPECT_FALSE(model.DeleteSelected());
  EXPECT_EQ(model.Items().size(), 2u);
  EXPECT_EQ(questions.back(), L"Are you sure you want to delete the selected file? The deletion CANNOT be restored.");

  answer = true;
  EXPECT_TRUE(model.DeleteSelected());
  EXPECT_EQ(Captions(), Lines{L"2013-05-30.log"});
  EXPECT_FALSE(model.DeleteEnabled());
  EXPECT_TRUE(model.DeleteAllEnabled());
  EXPECT_TRUE(Machine().files.Exists(locked));
  Machine().files.Restart();
  EXPECT_FALSE(Machine().files.Exists(locked));
}

TEST_F(LogManagerTest, DeleteAllAsksOnceAndEmptiesTheList) {
  PutLog(L"2013-05-30.log");
  PutLog(L"2013-05-31.log");
  model.Shown();
  EXPECT_TRUE(model.DeleteAll());
  EXPECT_EQ(questions, Lines{L"Are you sure you want to delete all files? The deletion CANNOT be restored."});
  EXPECT_TRUE(model.Items().empty());
  EXPECT_FALSE(model.DeleteAllEnabled());
  EXPECT_TRUE(Machine().files.ListNames(UninstallLogFolder()).empty());
}

}  // namespace
}  // namespace orvix
