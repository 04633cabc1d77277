// Reading "ShredderList.dat", the paths another component hands over.
#include <gtest/gtest.h>

#include "platform/file_helpers.h"
#include "shredder/shredder_list.h"
#include "sim_fixture.h"

namespace orvix {
namespace {

class ShredderListTest : public testing::SimMachineTest {};

TEST_F(ShredderListTest, OnePathPerLineInTheEncodingTheByteOrderMarkNames) {
  const std::wstring listPath = L"C:\\ProgramData\\Orvix\\Orvix Uninstaller\\ShredderList.dat";
  EXPECT_EQ(ShredderListPath(), listPath);
  EXPECT_TRUE(ReadShredderList().empty()) << "no file, no paths";

  const std::wstring text = L"C:\\Users\\Ann\\Caf\u00e9.txt\r\n\r\nD:\\Old Stuff\\\n  \nC:\\last.bin";
  const std::vector<std::wstring> expected = {L"C:\\Users\\Ann\\Caf\u00e9.txt", L"D:\\Old Stuff\\", L"C:\\last.bin"};
  for (TextEncoding encoding : {TextEncoding::Utf16LeBom, TextEncoding::Utf8Bom, TextEncoding::Ansi}) {
    SCOPED_TRACE(static_cast<int>(encoding));
    Machine().files.PutFile(listPath, EncodeTextFile(text, encoding));
    EXPECT_EQ(ReadShredderList(), expected);
  }
}

}  // namespace
}  // namespace orvix
