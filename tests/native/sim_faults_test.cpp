// The fault layer itself: which call a fault meets, and what each effect
// does to the machine behind it.
#include "platform/sim/sim_faults.h"

#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

class SimFaultsTest : public testing::SimMachineTest {
 protected:
  sim::FaultyPlatform faulty{Machine()};
  ScopedPlatform scope{faulty};
  IFileSystem& files = CurrentPlatform().Files();
};

TEST_F(SimFaultsTest, AFaultMeetsTheNthMatchingCallOrEveryCallOnItsPath) {
  Machine().files.PutFile(L"C:\\a.txt", std::string_view("a"));
  Machine().files.PutFile(L"C:\\b.txt", std::string_view("b"));
  faulty.faults.Add({sim::SimCall::DeleteFile, L"", 2, ERROR_SHARING_VIOLATION});
  faulty.faults.Add({std::nullopt, L"c:\\B.TXT", 0, ERROR_ACCESS_DENIED});
  FileAttributeData data;
  EXPECT_EQ(files.GetAttributes(L"C:\\b.txt", &data), ERROR_ACCESS_DENIED);
  EXPECT_EQ(files.DeleteFile(L"C:\\a.txt"), ERROR_SUCCESS);
  EXPECT_EQ(files.DeleteFile(L"C:\\b.txt"), ERROR_SHARING_VIOLATION);  // the second delete, whatever its path
  EXPECT_EQ(files.DeleteFile(L"C:\\b.txt"), ERROR_ACCESS_DENIED);      // the path's own fault
  EXPECT_TRUE(Machine().files.Exists(L"C:\\b.txt"));
  EXPECT_EQ(faulty.faults.Calls(), 4u);
  EXPECT_EQ(faulty.faults.Fired(), 3u);
}

TEST_F(SimFaultsTest, AFullDiskKeepsHalfTheWriteAndAFileVanishesAfterTheListingNamesIt) {
  faulty.faults.Add({sim::SimCall::WriteFile, L"", 0, ERROR_DISK_FULL});
  FileHandle handle = 0;
  ASSERT_EQ(files.OpenFile(L"C:\\w.bin", GENERIC_WRITE, 0, CREATE_ALWAYS, &handle), ERROR_SUCCESS);
  DWORD written = 0;
  EXPECT_EQ(files.WriteFile(handle, "abcd", 4, &written), ERROR_DISK_FULL);
  EXPECT_EQ(written, 2u);
  files.CloseFile(handle);
  EXPECT_EQ(Machine().files.FileText(L"C:\\w.bin"), "ab");

  Machine().files.PutFile(L"C:\\Walk\\one.txt", std::string_view("1"));
  faulty.faults.Add({sim::SimCall::FindNext, L"", 0, ERROR_FILE_NOT_FOUND, sim::FaultEffect::Vanish});
  FindData found;
  FindHandle listing = 0;
  ASSERT_EQ(files.FindFirst(L"C:\\Walk\\*", &found, &listing), ERROR_SUCCESS);
  std::wstring last;
  while (files.FindNext(listing, &found) == ERROR_SUCCESS) last = found.name;
  files.FindClose(listing);
  EXPECT_EQ(last, L"one.txt");
  EXPECT_FALSE(Machine().files.Exists(L"C:\\Walk\\one.txt"));
}

TEST_F(SimFaultsTest, ACrashStopsTheProgramAtTheCall) {
  faulty.faults.Add(sim::Fault::AtCall(1, ERROR_SUCCESS, sim::FaultEffect::Crash));
  EXPECT_THROW(ReplaceFileBytes(L"C:\\x.txt", Bytes{1}), sim::SimCrash);
  EXPECT_FALSE(Machine().files.Exists(L"C:\\x.txt"));
}

}  // namespace
}  // namespace orvix
