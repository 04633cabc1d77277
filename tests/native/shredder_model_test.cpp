// The shredder window's logic over the simulated machine: adding files and
// folders, refused locations, the hand-over, the shred run and Cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "shred_fixture.h"
#include "platform/texts.h"
#include "shredder/shredder_model.h"

namespace orvix {
namespace {

class RecordingPrompts : public IShredderPrompts {
 public:
  bool Confirm(const std::wstring& question) override {
    questions.push_back(question);
    return answerYes;
  }
  void Message(const std::wstring& text) override { messages.push_back(text); }

  bool answerYes = true;
  std::vector<std::wstring> questions;
  std::vector<std::wstring> messages;
};

using Texts = std::vector<std::wstring>;

const std::wstring kNothingFound = L"It is empty. You can not shred it.";
const std::wstring kAllShredded = L"This file has been shredded successfully.";

std::wstring Refused(const std::wstring& path) {
  return L"Unable to add file \"" + path + L"\" to shred as this operation may cause system instability";
}
std::wstring NotShredded(const std::wstring& path) {
  return L"Unable to write to file \"" + path + L"\", please check if it's still in-use,  this file was not shredded.";
}

class ShredderModelTest : public testing::ShredTest {
 protected:
  void Add(const Texts& paths) { model.AddPaths(paths, pump); }
  std::vector<std::string> Deletes() {
    std::vector<std::string> deletes;
    for (const std::string& step : Steps()) {
      if (step.starts_with("delete ")) deletes.push_back(step.substr(7));
    }
    return deletes;
  }

  RecordingPrompts prompts;
  testing::ScriptedPump pump;
  TFileShredderModel model{prompts};
};

TEST_F(ShredderModelTest, TheSameFileAddedTwiceIsOneRowAsFirstGiven) {
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  Add({L"C:\\Data\\a.txt", L"c:\\data\\A.TXT"});
  Add({L"  C:\\DATA\\a.txt\t"});

  EXPECT_EQ(model.Rows(), Texts{L"C:\\Data\\a.txt"});
  EXPECT_TRUE(prompts.messages.empty()) << "a file already listed still counts as found";
  EXPECT_TRUE(model.ShredEnabled());
}

TEST_F(ShredderModelTest, AFolderAddsEveryFileBelowItAfterTheGivenPathsLeavingOutDotNamesAndLinks) {
  Files().PutFile(L"C:\\Data\\Notes.txt", "n");
  Files().PutFile(L"C:\\Data\\.config", "c");
  Files().PutFile(L"C:\\Data\\Sub\\Deep.txt", "d");
  Files().PutFile(L"C:\\Data\\Sub\\.cache\\Inside.txt", "i");
  Files().PutFile(L"C:\\Data\\.git\\HEAD", "h");
  Files().PutFile(L"C:\\Other\\Elsewhere.txt", "e");
  Files().MakeJunction(L"C:\\Data\\Junction", L"C:\\Other");
  Files().MakeJunction(L"C:\\Data\\Sub\\Symlink", L"C:\\Other", IO_REPARSE_TAG_SYMLINK);
  Files().PutFile(L"C:\\Extra.TXT", "x");

  Add({L"C:\\Data", L"C:\\Extra.TXT"});

  EXPECT_EQ(model.Rows(), (Texts{L"C:\\Extra.TXT", L"c:\\data\\notes.txt", L"c:\\data\\sub\\deep.txt"}));
  EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ShredderModelTest, PathsThatYieldNoFileSayTheListIsEmpty) {
  Files().PutFolder(L"C:\\Data\\EmptyTree\\Sub");
  Files().PutFile(L"C:\\Data\\DotsOnly\\.config", "c");
  Files().PutFile(L"C:\\Data\\DotsOnly\\.git\\HEAD", "h");
  Files().PutFile(L"C:\\Other\\Elsewhere.txt", "e");
  Files().MakeJunction(L"C:\\Data\\Junction", L"C:\\Other");
  const struct {
    const char* name;
    Texts paths;
    Texts messages;
  } cases[] = {
      {"a folder holding only an empty sub-folder", {L"C:\\Data\\EmptyTree"}, {kNothingFound}},
      {"a folder holding only names beginning with a dot", {L"C:\\Data\\DotsOnly\\"}, {kNothingFound}},
      {"a junction, which is never followed", {L"C:\\Data\\Junction"}, {kNothingFound}},
      {"a path that does not exist is passed over in silence", {L"C:\\Data\\Missing.txt"}, {}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    RecordingPrompts rowPrompts;
    TFileShredderModel rowModel(rowPrompts);
    rowModel.AddPaths(row.paths, pump);
    EXPECT_TRUE(rowModel.Rows().empty());
    EXPECT_EQ(rowPrompts.messages, row.messages);
    EXPECT_FALSE(rowModel.ShredEnabled());
  }
}

TEST_F(ShredderModelTest, DriveRootsAndTheWindowsFolderAreRefusedNamingThePathAsGiven) {
  Files().PutFile(L"C:\\Windows\\win.ini", "w");
  Files().PutFolder(L"C:\\Windows\\Fonts");
  Files().PutFile(L"C:\\Data\\keep.txt", "k");
  const Texts given = {L"C:\\", L"C:", L"c:\\WINDOWS\\win.ini", L" C:\\Windows\\Fonts ", L"C:\\Windows\\missing.txt",
                       L"C:\\Data\\keep.txt"};

  Add(given);

  EXPECT_EQ(prompts.messages,
            (Texts{Refused(L"C:\\"), Refused(L"C:"), Refused(L"c:\\WINDOWS\\win.ini"),
                   Refused(L" C:\\Windows\\Fonts ")}));
  EXPECT_EQ(model.Rows(), Texts{L"C:\\Data\\keep.txt"});
}

TEST_F(ShredderModelTest, ShredGoesFromTheLastRowToTheFirstAndKeepsFilesItCannotWrite) {
  Files().PutFile(L"C:\\Data\\a.txt", "aaaa");
  Files().PutFile(L"C:\\Data\\held.txt", "hhhh", FILE_ATTRIBUTE_READONLY);
  Files().LockFile(L"C:\\Data\\held.txt");
  Files().PutFile(L"C:\\Data\\readonly.txt", "rrrr", FILE_ATTRIBUTE_READONLY);
  Add({L"C:\\Data\\a.txt", L"C:\\Data\\held.txt", L"C:\\Data\\readonly.txt"});
  Files().ClearJournal();
  std::set<std::size_t> positions;
  pump.onMessages = [&](int) {
    EXPECT_TRUE(model.Busy());
    EXPECT_TRUE(model.Shredding());
    EXPECT_FALSE(model.ShredEnabled());
    EXPECT_EQ(model.ProgressMax(), 3u);
    positions.insert(model.ProgressPosition());
  };

  const TShredRun run = model.Shred(pump);

  EXPECT_EQ(prompts.questions,
            Texts{L"Are you sure to permanently remove the 3 files? It's absolutely IRRECOVERABLE."});
  EXPECT_EQ(Deletes(), (std::vector<std::string>{"C:\\Data\\readonly.txt", "C:\\Data\\a.txt"}));
  EXPECT_EQ(prompts.messages, Texts{NotShredded(L"C:\\Data\\held.txt")}) << "no success while a file stays";
  EXPECT_EQ(model.Rows(), Texts{L"C:\\Data\\held.txt"});
  EXPECT_EQ(Files().Attributes(L"C:\\Data\\held.txt")->attributes & FILE_ATTRIBUTE_READONLY,
            FILE_ATTRIBUTE_READONLY) << "a refused file keeps its read-only attribute";
  EXPECT_EQ(positions, (std::set<std::size_t>{1, 2, 3}));
  EXPECT_TRUE(run.confirmed);
  EXPECT_EQ(run.shredded, 2u);
  EXPECT_EQ(run.failed, 1u);
  EXPECT_FALSE(model.Busy());
  EXPECT_FALSE(model.Shredding());
  EXPECT_TRUE(model.ShredEnabled());

  Files().UnlockFile(L"C:\\Data\\held.txt");
  prompts.messages.clear();
  pump.onMessages = nullptr;
  model.Shred(pump);
  EXPECT_EQ(prompts.messages, Texts{kAllShredded});
  EXPECT_TRUE(model.Rows().empty());
  EXPECT_FALSE(Files().Exists(L"C:\\Data\\held.txt"));
  EXPECT_FALSE(model.ShredEnabled());
}

TEST_F(ShredderModelTest, MessagesComeInTheUsersLanguageUnlessATranslationMisplacesItsPlaceholders) {
  Files().PutFile(L"C:\\Windows\\win.ini", "w");
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  const TTextSource previous = SetTextSource([](const std::wstring& key) -> std::optional<std::wstring> {
    if (key == L"Shredder_Del_M") return L"%d Dateien endg\u00fcltig l\u00f6schen?";
    if (key == L"Shredder_NotAddFolder_M") return L"%d kann nicht hinzugef\u00fcgt werden";  // %d for a path
    return std::nullopt;
  });
  prompts.answerYes = false;

  Add({L"C:\\Windows\\win.ini", L"C:\\Data\\a.txt"});
  model.Shred(pump);
  SetTextSource(previous);

  EXPECT_EQ(prompts.messages, Texts{Refused(L"C:\\Windows\\win.ini")});
  EXPECT_EQ(prompts.questions, Texts{L"1 Dateien endg\u00fcltig l\u00f6schen?"});
}

TEST_F(ShredderModelTest, AnsweringNoShredsNothing) {
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  Add({L"C:\\Data\\a.txt"});
  prompts.answerYes = false;

  const TShredRun run = model.Shred(pump);

  EXPECT_FALSE(run.confirmed);
  EXPECT_EQ(prompts.questions.size(), 1u);
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_EQ(Files().FileText(L"C:\\Data\\a.txt"), "a");
  EXPECT_EQ(model.Rows(), Texts{L"C:\\Data\\a.txt"});
  EXPECT_FALSE(model.Busy());
}

TEST_F(ShredderModelTest, CancelDuringARunStopsAfterTheCurrentStepAndEveryRowStays) {
  Files().PutFile(L"C:\\Data\\small.txt", "small");
  PutCountingFile(L"C:\\Data\\big.bin", 12 * testing::kMiB);
  Add({L"C:\\Data\\small.txt", L"C:\\Data\\big.bin"});
  const int fill = NextTwoFills().first;
  Files().ClearJournal();
  // The row's call, the first chunk's and its 320 blocks, then into the second chunk.
  const int inSecondChunk = 1 + 1 + static_cast<int>(kShredChunkSize / kShredBlockSize) + 5;
  bool closedAtOnce = true;
  pump.onMessages = [&](int call) {
    if (call == inSecondChunk) closedAtOnce = model.Cancel();
  };

  const TShredRun run = model.Shred(pump);

  EXPECT_FALSE(closedAtOnce) << "a busy window closes when the run ends";
  EXPECT_TRUE(run.stopped);
  EXPECT_EQ(run.shredded, 0u);
  EXPECT_EQ(Steps(), (std::vector<std::string>{"close", Write(0, 5 * testing::kMiB, fill), "flush", "close"}))
      << "the big file is tested, keeps its first overwritten chunk, and the small one is never touched";
  EXPECT_EQ(model.Rows(), (Texts{L"C:\\Data\\small.txt", L"C:\\Data\\big.bin"}));
  EXPECT_TRUE(prompts.messages.empty());
  EXPECT_TRUE(model.Closing());
  EXPECT_FALSE(model.Busy());
  EXPECT_TRUE(ShredStopRequested());
  model.Closed();
  EXPECT_FALSE(ShredStopRequested());
}

TEST_F(ShredderModelTest, CancelWhileIdleClosesAtOnce) {
  EXPECT_TRUE(model.Cancel());
  EXPECT_TRUE(model.Closing());
  EXPECT_TRUE(ShredStopRequested());
  model.Closed();
  EXPECT_FALSE(ShredStopRequested());
}

TEST_F(ShredderModelTest, AFileChangedByAnotherProgramDuringItsShredIsNamed) {
  const struct {
    const char* name;
    std::function<void(sim::SimFileSystem&, const std::wstring&)> change;
    bool rowStays;
  } cases[] = {
      {"opened, so it cannot be deleted", [](sim::SimFileSystem& files, const std::wstring& p) { files.LockFile(p); },
       true},
      {"deleted, so nothing is left to shred",
       [](sim::SimFileSystem& files, const std::wstring& p) { files.Remove(p); }, false},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.name);
    const std::wstring path = L"C:\\Data\\changing.txt";
    Files().PutFile(path, "contents");
    RecordingPrompts rowPrompts;
    TFileShredderModel rowModel(rowPrompts);
    testing::ScriptedPump rowPump;
    rowModel.AddPaths({path}, rowPump);
    rowPump.onMessages = [&](int call) {
      if (call == 3) row.change(Files(), path);  // during the first pass's only block
    };

    const TShredRun run = rowModel.Shred(rowPump);

    EXPECT_EQ(run.failed, 1u);
    EXPECT_EQ(rowPrompts.messages, Texts{NotShredded(path)});
    EXPECT_EQ(rowModel.Rows().size(), row.rowStays ? 1u : 0u);
    if (Files().Exists(path)) Files().Remove(path);
  }
}

TEST_F(ShredderModelTest, HandedOverPathsWaitUntilTheModelIsIdle) {
  Files().PutFile(L"C:\\Data\\first.txt", "1");
  Files().PutFile(L"C:\\Data\\handed.txt", "2");
  model.HandOver({L"C:\\Data\\handed.txt"});
  EXPECT_TRUE(model.HasPending());
  bool tookWhileBusy = true;
  pump.onMessages = [&](int) { tookWhileBusy = model.TakeInPending(pump); };

  Add({L"C:\\Data\\first.txt"});
  EXPECT_FALSE(tookWhileBusy);
  EXPECT_TRUE(model.HasPending());
  pump.onMessages = nullptr;

  EXPECT_TRUE(model.TakeInPending(pump));
  EXPECT_FALSE(model.HasPending());
  EXPECT_EQ(model.Rows(), (Texts{L"C:\\Data\\first.txt", L"C:\\Data\\handed.txt"}));
}

TEST_F(ShredderModelTest, RemovedAndClearedRowsCanBeAddedAgain) {
  for (const wchar_t* name : {L"C:\\Data\\a.txt", L"C:\\Data\\b.txt", L"C:\\Data\\c.txt"}) Files().PutFile(name, "x");
  Add({L"C:\\Data\\a.txt", L"C:\\Data\\b.txt", L"C:\\Data\\c.txt"});

  model.RemoveRows({2, 0, 2, 7});
  EXPECT_EQ(model.Rows(), Texts{L"C:\\Data\\b.txt"});
  Add({L"C:\\Data\\a.txt"});
  EXPECT_EQ(model.Rows(), (Texts{L"C:\\Data\\b.txt", L"C:\\Data\\a.txt"}));

  model.Clear();
  EXPECT_TRUE(model.Rows().empty());
  Add({L"C:\\Data\\b.txt"});
  EXPECT_EQ(model.Rows(), Texts{L"C:\\Data\\b.txt"});
}

TEST_F(ShredderModelTest, TheListCannotChangeUnderARun) {
  Files().PutFile(L"C:\\Data\\a.txt", "a");
  Files().PutFile(L"C:\\Data\\b.txt", "b");
  Add({L"C:\\Data\\a.txt", L"C:\\Data\\b.txt"});
  pump.onMessages = [&](int) {
    model.Clear();
    model.RemoveRows({0});
    model.AddPaths({L"C:\\Data\\a.txt"}, pump);
  };

  const TShredRun run = model.Shred(pump);

  EXPECT_EQ(run.shredded, 2u);
  EXPECT_TRUE(model.Rows().empty());
}

}  // namespace
}  // namespace orvix
