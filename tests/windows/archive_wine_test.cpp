// The archive reader on real files under Wine: an enciphered entry is
// deciphered through a temporary file in a private folder of the temporary
// folder, which is gone once the entry is out, whether it came out or not.
#include <gtest/gtest.h>

#include <filesystem>

#include "formats/archive_cipher.h"
#include "formats/zlb_writer.h"
#include "platform/zip_decompression.h"
#include "platform/zlb_archive.h"
#include "test_files.h"

namespace orvix {
namespace {

constexpr wchar_t kPassword[] = L"kqz7_1984";

Bytes Content(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i % 7 == 0 ? i * 31 : 'a' + i % 5);
  return bytes;
}

std::size_t EntriesIn(const std::wstring& folder) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(ArchiveWine, EncipheredEntryPassesThroughAPrivateFolderThatIsRemoved) {
  test::ScratchFolder folder;
  const std::wstring temp = folder / L"Temp";
  std::filesystem::create_directory(temp);
  const Bytes archive = BuildZlbArchive({{"Language\\", "German.lng", Content(70000), kZlbEncipheredDeflated},
                                         {"", "readme.txt", Content(33), kZlbEncipheredStored}},
                                        {2, true, kPassword});
  ASSERT_TRUE(test::WriteTestFile(folder / L"payload.dat", std::string(archive.begin(), archive.end())));

  TZLBArc2 reader;
  reader.Password = kPassword;
  reader.TempDir = temp;
  reader.CheckFileCrc = true;
  std::size_t duringDecipher = 0;
  reader.OnDecrypt = [&](TStream& source, TStream& target, const std::wstring& password, std::int64_t size) {
    duringDecipher = EntriesIn(temp);
    DecipherArchiveEntry(source, target, password, size);
  };
  ASSERT_TRUE(reader.Open(folder / L"payload.dat"));
  TMemoryStream language;
  reader.ExtractByName(L"language\\german.lng", language);
  EXPECT_EQ(language.Data(), Content(70000));
  EXPECT_EQ(duringDecipher, 1u) << "one private folder while deciphering";
  EXPECT_EQ(EntriesIn(temp), 0u);

  reader.Password = L"wrong";
  TMemoryStream readme;
  EXPECT_THROW(reader.ExtractByName(L"readme.txt", readme), EArchiveError);
  EXPECT_EQ(EntriesIn(temp), 0u);
}

TEST(ArchiveWine, ExtractIntoMemoryThroughTheSystemTemporaryFolder) {
  test::ScratchFolder folder;
  const Bytes archive =
      BuildZlbArchive({{"", "AddonScores.dat", Content(5000), kZlbEncipheredDeflated}}, {2, true, kPassword});
  ASSERT_TRUE(test::WriteTestFile(folder / L"AddonScores.dat", std::string(archive.begin(), archive.end())));
  TMemoryStream stream;
  TZipDeCompression::Extract(folder / L"AddonScores.dat", L"AddonScores.dat", stream, kPassword, true);
  EXPECT_EQ(stream.Data(), Content(5000));
  EXPECT_EQ(stream.Position(), 0u);
}

}  // namespace
}  // namespace orvix
