// The archive reader over archives of our writer on the simulated machine:
// round trips of every storage method, layout version and table form, an
// archive appended to other data, lookups by name, the error texts, the
// integrity checks, and the deciphering temporary file that never stays.
#include "platform/zlb_archive.h"

#include <gtest/gtest.h>

#include "archive_fixture.h"
#include "formats/archive_cipher.h"
#include "named_case.h"
#include "platform/sim/sim_faults.h"

namespace orvix::testing {
namespace {

constexpr wchar_t kArchivePath[] = L"C:\\Data\\archive.dat";

class ZlbArchiveTest : public SimMachineTest {
 protected:
  void SetUp() override {
    Machine().files.PutFolder(L"C:\\Data");
    Machine().files.PutFolder(kTempDir);
  }

  void Put(const Bytes& bytes) { Machine().files.PutFile(kArchivePath, bytes); }

  // An archive reader ready for enciphered entries, deciphering in kTempDir.
  void Prepare(TZLBArc2& archive) {
    archive.Password = kArchivePassword;
    archive.TempDir = kTempDir;
    archive.OnDecrypt = [](TStream& source, TStream& target, const std::wstring& password, std::int64_t size) {
      DecipherArchiveEntry(source, target, password, size);
    };
  }

  Bytes Extract(TZLBArc2& archive, const std::wstring& name) {
    TMemoryStream target;
    archive.ExtractByName(name, target);
    return target.Data();
  }

  // The error text of what `work` raises, or "" when it raises nothing.
  template <typename Work>
  static std::wstring ErrorOf(Work&& work) {
    try {
      work();
    } catch (const EArchiveError& error) {
      return error.Message();
    }
    return L"";
  }

  static constexpr wchar_t kTempDir[] = L"C:\\Temp";
};

struct LayoutCase : NamedCase {
  int version;
  bool compressTable;
  std::vector<std::uint8_t> methods;
};

class ZlbLayoutTest : public ZlbArchiveTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(ZlbLayoutTest, EveryEntryComesBackAsWritten) {
  const LayoutCase& row = GetParam();
  std::vector<TZlbSourceFile> files;
  for (std::size_t i = 0; i < row.methods.size(); ++i)
    for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 5000u})
      files.push_back(SourceFile(i % 2 ? "Language\\" : "", "file" + std::to_string(i) + "_" + std::to_string(size),
                                 SampleContent(size, static_cast<unsigned>(size + i)), row.methods[i]));
  Put(BuildZlbArchive(files, Enciphered(row.version, row.compressTable)));

  TZLBArc2 archive;
  Prepare(archive);
  archive.CheckFileCrc = true;
  ASSERT_TRUE(archive.Open(kArchivePath));
  ASSERT_EQ(archive.Count(), static_cast<int>(files.size()));
  EXPECT_EQ(archive.Footer().version, row.version);
  for (const TZlbSourceFile& file : files) {
    const std::wstring name = FromUtf8(file.folder + file.fileName);
    EXPECT_EQ(Extract(archive, name), file.content) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, ZlbLayoutTest,
    ::testing::Values(LayoutCase{{"Version2CompressedTable"}, 2, true, {0, 1, 2, 3, 7}},
                      LayoutCase{{"Version2StoredTable"}, 2, false, {0, 1, 2, 3}},
                      LayoutCase{{"Version1CompressedTable"}, 1, true, {0, 1, 9}},
                      LayoutCase{{"Version1StoredTable"}, 1, false, {0, 1}}),
    CaseName());

TEST_F(ZlbArchiveTest, Version1FooterIsKnownByEitherVersionField) {
  // One byte of data puts 1 where the version-2 layout keeps its version.
  for (std::size_t size : {1u, 300u}) {
    Put(BuildZlbArchive({SourceFile("", "a.txt", SampleContent(size), kZlbStored)}, {1, false, L""}));
    TZLBArc2 archive;
    ASSERT_TRUE(archive.Open(kArchivePath)) << size;
    EXPECT_EQ(archive.Footer().version, 1);
    EXPECT_EQ(Extract(archive, L"a.txt"), SampleContent(size));
  }
}

TEST_F(ZlbArchiveTest, ArchiveAppendedToOtherDataOpensFromItsEnd) {
  Bytes file = SampleContent(3000, 9);  // a program, say
  const Bytes archive = BuildZlbArchive({SourceFile("Help\\", "index.htm", SampleContent(700))}, Enciphered());
  file.insert(file.end(), archive.begin(), archive.end());
  Put(file);
  TZLBArc2 reader;
  Prepare(reader);
  ASSERT_TRUE(reader.Open(kArchivePath));
  EXPECT_EQ(reader.Base(), 3000);
  EXPECT_EQ(Extract(reader, L"Help\\index.htm"), SampleContent(700));
}

TEST_F(ZlbArchiveTest, LookupIgnoresCaseButNeedsTheFolderPart) {
  Put(BuildZlbArchive({SourceFile("Language\\", "German.lng", SampleContent(50))}, Enciphered()));
  TZLBArc2 archive;
  Prepare(archive);
  std::wstring extracted;
  archive.OnExtracted = [&](const std::wstring& name) { extracted = name; };
  archive.Open(kArchivePath);
  EXPECT_EQ(Extract(archive, L"LANGUAGE\\german.LNG"), SampleContent(50));
  EXPECT_EQ(extracted, L"Language\\German.lng");
  EXPECT_EQ(ErrorOf([&] { Extract(archive, L"German.lng"); }), L"German.lng not found in archive");
}

TEST_F(ZlbArchiveTest, EmptyArchiveOpensAndFindsNothing) {
  Put(BuildZlbArchive({}, Enciphered()));
  TZLBArc2 archive;
  ASSERT_TRUE(archive.Open(kArchivePath));
  EXPECT_EQ(archive.Count(), 0);
  EXPECT_EQ(ErrorOf([&] { Extract(archive, L"a.txt"); }), L"a.txt not found in archive");
}

TEST_F(ZlbArchiveTest, EmptyNameAndMissingFile) {
  TZLBArc2 archive;
  std::wstring shown;
  archive.OnMissing = [&](const std::wstring& text) { shown = text; };
  EXPECT_FALSE(archive.Open(L""));
  EXPECT_TRUE(shown.empty());
  EXPECT_NE(ErrorOf([&] { archive.Open(L"C:\\Data\\gone.dat"); }), L"");
  EXPECT_EQ(shown, L"C:\\Data\\gone.dat is missing. please re-install the program.");
  EXPECT_FALSE(archive.IsOpen());
  EXPECT_EQ(archive.FileName(), L"");
}

TEST_F(ZlbArchiveTest, EveryChangedByteFailsTheIntegrityCheck) {
  const Bytes sound = BuildZlbArchive({SourceFile("", "a.txt", SampleContent(40), kZlbDeflated),
                                       SourceFile("", "b.txt", SampleContent(30), kZlbStored)},
                                      Enciphered());
  // Every byte of the data and the table; the footer's own CRC field too.
  for (std::size_t at = 0; at < sound.size() - kZlbFooterSize + 12; ++at) {
    Bytes broken = sound;
    broken[at] ^= 0x20;
    Put(broken);
    TZLBArc2 archive;
    const std::wstring error = ErrorOf([&] { archive.Open(kArchivePath); });
    ASSERT_FALSE(error.empty()) << "byte " << at;
    EXPECT_FALSE(archive.IsOpen());
    if (at < sound.size() - kZlbFooterSize) {
      EXPECT_EQ(error, L"The archive appears to be corrupted") << at;
    }
  }
}

TEST_F(ZlbArchiveTest, ChangedContentWithoutVerifyIsCaughtByTheFileCrc) {
  Bytes bytes = BuildZlbArchive({SourceFile("", "a.txt", SampleContent(64), kZlbStored)}, Enciphered());
  bytes[10] ^= 1;
  Put(bytes);
  TZLBArc2 archive;
  archive.VerifyOnOpen = false;
  ASSERT_TRUE(archive.Open(kArchivePath));
  Bytes changed = SampleContent(64);
  changed[10] ^= 1;
  EXPECT_EQ(Extract(archive, L"a.txt"), changed) << "no file check by default";
  archive.CheckFileCrc = true;
  EXPECT_EQ(ErrorOf([&] { Extract(archive, L"a.txt"); }), L"a.txt failed CRC check");
}

TEST_F(ZlbArchiveTest, ErrorTexts) {
  Put(BuildZlbArchive({SourceFile("", "secret.txt", SampleContent(20))}, Enciphered()));
  TZLBArc2 archive;
  EXPECT_EQ(ErrorOf([&] { archive.Count(); }), L"No archive is currently open");
  TMemoryStream target;
  EXPECT_EQ(ErrorOf([&] { archive.ExtractByName(L"secret.txt", target); }), L"No archive is currently open");
  archive.Open(kArchivePath);
  EXPECT_EQ(ErrorOf([&] { archive.GetEntry(1); }), L"Index out of bounds");
  EXPECT_EQ(ErrorOf([&] { archive.GetEntry(-1); }), L"Index out of bounds");
  archive.Password = L"  ";
  EXPECT_EQ(ErrorOf([&] { archive.ExtractByName(L"secret.txt", target); }), L"No password given for encrypted file");
  archive.Password = kArchivePassword;
  EXPECT_EQ(ErrorOf([&] { archive.ExtractByName(L"secret.txt", target); }), L"No decryption algorithm found");
  EXPECT_EQ(target.Size(), 0u) << "nothing written before the checks";

  Bytes future = BuildZlbArchive({}, Enciphered());
  future[future.size() - kZlbFooterSize + 16] = 3;
  Put(future);
  EXPECT_EQ(ErrorOf([&] { archive.Open(kArchivePath); }),
            L"The archive was created with a different version of ZLBArchive (v3)");
  EXPECT_FALSE(archive.IsOpen());
}

TEST_F(ZlbArchiveTest, WrongPasswordFailsAsCorruption) {
  Put(BuildZlbArchive({SourceFile("", "a.txt", SampleContent(500))}, Enciphered()));
  TZLBArc2 archive;
  Prepare(archive);
  archive.Password = L"guess";
  archive.Open(kArchivePath);
  EXPECT_EQ(ErrorOf([&] { Extract(archive, L"a.txt"); }), L"The archive appears to be corrupted");
}

TEST_F(ZlbArchiveTest, ProgressReportsPhasesAndEndsWithDone) {
  Put(BuildZlbArchive({SourceFile("", "a.txt", SampleContent(10000), kZlbDeflated)}, Enciphered()));
  TZLBArc2 archive;
  std::vector<std::pair<std::wstring, int>> reports;
  archive.OnProgress = [&](const std::wstring& text, int percent) { reports.emplace_back(text, percent); };
  archive.Open(kArchivePath);
  Extract(archive, L"a.txt");
  auto has = [&](const std::wstring& text, int percent) {
    return std::find(reports.begin(), reports.end(), std::make_pair(text, percent)) != reports.end();
  };
  EXPECT_TRUE(has(L"Verifying archive integrity", 100));
  EXPECT_TRUE(has(L"Extracting registry", 100));
  EXPECT_TRUE(has(L"Extracting a.txt", 100));
  EXPECT_TRUE(has(L"Extracting a.txt", 41)) << "4096 of 10000 bytes";
  EXPECT_EQ(reports.back(), std::make_pair(std::wstring(kArchivePath), 0));
}

// The deciphered data passes through a temporary file in a folder of its
// own; neither outlives the extraction, whatever happens during it.
TEST_F(ZlbArchiveTest, DecipheringLeavesNoTemporaryFileOnAnyPath) {
  Put(BuildZlbArchive({SourceFile("", "a.txt", SampleContent(3000)), SourceFile("", "b.txt", SampleContent(3000))},
                      Enciphered()));
  TZLBArc2 archive;
  Prepare(archive);
  archive.Open(kArchivePath);
  std::wstring tempFile;
  const auto decipher = archive.OnDecrypt;
  archive.OnDecrypt = [&](TStream& source, TStream& target, const std::wstring& password, std::int64_t size) {
    tempFile = L"seen";
    decipher(source, target, password, size);
  };
  EXPECT_EQ(Extract(archive, L"a.txt"), SampleContent(3000));
  EXPECT_EQ(tempFile, L"seen");
  EXPECT_TRUE(Machine().files.ListNames(kTempDir).empty());

  archive.OnDecrypt = [](TStream&, TStream& target, const std::wstring&, std::int64_t) {
    target.WriteAll("garbage", 7);
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(Extract(archive, L"b.txt"), std::runtime_error);
  EXPECT_TRUE(Machine().files.ListNames(kTempDir).empty());

  archive.OnDecrypt = [](TStream&, TStream& target, const std::wstring&, std::int64_t) { target.WriteAll("x", 1); };
  EXPECT_EQ(ErrorOf([&] { Extract(archive, L"b.txt"); }), L"The archive appears to be corrupted");
  EXPECT_TRUE(Machine().files.ListNames(kTempDir).empty());
}

TEST_F(ZlbArchiveTest, EveryFailingFileCallLeavesNoTemporaryFile) {
  Put(BuildZlbArchive({SourceFile("", "a.txt", SampleContent(9000))}, Enciphered()));
  unsigned failures = 0;
  for (unsigned n = 1;; ++n) {
    sim::FaultyPlatform faulty(Machine());
    ScopedPlatform scope(faulty);
    faulty.faults.Add(sim::Fault::AtCall(n, ERROR_ACCESS_DENIED));
    TZLBArc2 archive;
    Prepare(archive);
    Bytes got;
    const std::wstring error = ErrorOf([&] {
      archive.Open(kArchivePath);
      got = Extract(archive, L"a.txt");
    });
    EXPECT_TRUE(Machine().files.ListNames(kTempDir).empty()) << "fault at call " << n;
    if (faulty.faults.Fired() == 0) {
      EXPECT_EQ(got, SampleContent(9000));
      break;
    }
    if (error.empty()) {
      EXPECT_EQ(got, SampleContent(9000)) << "a fault either fails or changes nothing";
    }
    ++failures;
  }
  EXPECT_GT(failures, 5u);
}

}  // namespace
}  // namespace orvix::testing
