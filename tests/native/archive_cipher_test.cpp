// The archive cipher: the key from salt and password, a known enciphering
// worked out independently (AES-256-CBC of the whole blocks, the tail XORed
// with the encrypted chaining value), round trips of every size around the
// block, and a source that ends early.
#include "formats/archive_cipher.h"

#include <gtest/gtest.h>

#include <string>

namespace orvix::testing {
namespace {

constexpr wchar_t kPassword[] = L"kqz7_1984";
const std::uint8_t kSalt[8] = {0, 1, 2, 3, 4, 5, 6, 7};
const std::uint8_t kIv[16] = {16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31};

Bytes FromHex(const std::string& hex) {
  Bytes bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

Bytes Sample(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
  return bytes;
}

Bytes Decipher(const Bytes& stored, const std::wstring& password, bool* ok = nullptr) {
  TMemoryStream source(stored);
  TMemoryStream target;
  const bool done = DecipherArchiveEntry(source, target, password, static_cast<std::int64_t>(stored.size()));
  if (ok != nullptr) *ok = done;
  return target.Data();
}

TEST(ArchiveCipher, KeyHashesTheSaltAndOneBytePerPasswordCharacter) {
  // Nine characters give nine bytes: the first five characters' low bytes
  // interleaved with their high bytes, ending with the fifth's low byte.
  const Bytes input = FromHex("00010203040506076b0071007a0037005f");
  EXPECT_EQ(ArchiveCipherKey(kSalt, kPassword), Haval256Pass5(input.data(), input.size()));
  // So only the first five characters count: the key cannot change.
  EXPECT_EQ(ArchiveCipherKey(kSalt, L"kqz7_1985"), ArchiveCipherKey(kSalt, kPassword));
  const Haval256Digest key = ArchiveCipherKey(kSalt, kPassword);
  EXPECT_EQ(Bytes(key.begin(), key.end()), FromHex("4d4f2c2c6ca86c0d9e61369981bbb1d214ff51b4a82696761aa0c8dbad9d2f7c"));
}

TEST(ArchiveCipher, EnciphersWholeBlocksInCbcAndTheTailWithoutPadding) {
  const std::string text = "The quick brown fox jumps over the lazy dog";  // two blocks and 11 bytes
  const Bytes plain(text.begin(), text.end());
  Bytes expected(kSalt, kSalt + 8);
  expected.insert(expected.end(), kIv, kIv + 16);
  const Bytes cipher =
      FromHex("40ac45888eb3e00969dbcec5857f8bafba7a9a5dc316e822b3ef5a92ac48a1a9fb8511e5a439aa7ced32ca");
  expected.insert(expected.end(), cipher.begin(), cipher.end());
  EXPECT_EQ(EncipherArchiveEntry(plain, kPassword, kSalt, kIv), expected);
  EXPECT_EQ(Decipher(expected, kPassword), plain);
}

TEST(ArchiveCipher, RoundTripsEverySizeAroundTheBlock) {
  for (std::size_t size : {0u, 1u, 15u, 16u, 17u, 31u, 32u, 33u, 4095u, 4096u, 4097u, 10000u}) {
    SCOPED_TRACE(size);
    const Bytes plain = Sample(size);
    const Bytes stored = EncipherArchiveEntry(plain, kPassword);
    ASSERT_EQ(stored.size(), size + kArchiveSaltSize + kArchiveIvSize);
    bool ok = false;
    EXPECT_EQ(Decipher(stored, kPassword, &ok), plain);
    EXPECT_TRUE(ok);
    if (size >= 16) {
      EXPECT_NE(Decipher(stored, L"Kqz7_1984"), plain) << "another password gives other bytes";
    }
  }
}

TEST(ArchiveCipher, FreshSaltAndVectorEachTime) {
  const Bytes plain = Sample(40);
  EXPECT_NE(EncipherArchiveEntry(plain, kPassword), EncipherArchiveEntry(plain, kPassword));
}

TEST(ArchiveCipher, ShortSourceStopsWithWhatWasDeciphered) {
  const Bytes plain = Sample(100);
  Bytes stored = EncipherArchiveEntry(plain, kPassword, kSalt, kIv);
  TMemoryStream source(Bytes(stored.begin(), stored.begin() + 24 + 40));
  TMemoryStream target;
  // The record claims more than the source holds.
  EXPECT_FALSE(DecipherArchiveEntry(source, target, kPassword, static_cast<std::int64_t>(stored.size())));
  EXPECT_EQ(target.Data(), Bytes(plain.begin(), plain.begin() + 32)) << "the whole blocks that arrived";
  for (std::int64_t tooSmall : {-1, 0, 23}) {
    TMemoryStream again(stored);
    TMemoryStream out;
    EXPECT_FALSE(DecipherArchiveEntry(again, out, kPassword, tooSmall));
    EXPECT_EQ(out.Size(), 0u);
  }
}

}  // namespace
}  // namespace orvix::testing
