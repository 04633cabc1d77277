#include "formats/archive_cipher.h"

#include <gcrypt.h>

#include <algorithm>
#include <cstring>

#include "formats/digest_helpers.h"
#include "formats/random_bytes.h"

namespace orvix {
namespace {

constexpr std::size_t kBlock = 16;
constexpr std::size_t kChunk = 4096;  // a multiple of the block size

void Wipe(void* data, std::size_t size) {
  volatile std::uint8_t* bytes = static_cast<volatile std::uint8_t*>(data);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
}

// An AES-256 handle in one mode, closed (and its key schedule cleared by
// libgcrypt) on every path.
class TAesHandle {
 public:
  TAesHandle(int mode, const Haval256Digest& key, const std::uint8_t* iv) {
    EnsureGcrypt();
    if (gcry_cipher_open(&handle_, GCRY_CIPHER_AES256, mode, 0) != 0) {
      handle_ = nullptr;
      return;
    }
    if (gcry_cipher_setkey(handle_, key.data(), key.size()) != 0 ||
        (iv != nullptr && gcry_cipher_setiv(handle_, iv, kBlock) != 0)) {
      gcry_cipher_close(handle_);
      handle_ = nullptr;
    }
  }
  ~TAesHandle() {
    if (handle_ != nullptr) gcry_cipher_close(handle_);
  }
  TAesHandle(const TAesHandle&) = delete;
  TAesHandle& operator=(const TAesHandle&) = delete;

  bool Ok() const { return handle_ != nullptr; }
  bool Encrypt(std::uint8_t* data, std::size_t size) {
    return gcry_cipher_encrypt(handle_, data, size, nullptr, 0) == 0;
  }
  bool Decrypt(std::uint8_t* data, std::size_t size) {
    return gcry_cipher_decrypt(handle_, data, size, nullptr, 0) == 0;
  }

 private:
  gcry_cipher_hd_t handle_ = nullptr;
};

// The unpadded last part: XORed with the encryption of the chaining value
// (the last ciphertext block, or the vector when there was none). The same
// operation enciphers and deciphers.
bool XorTail(const Haval256Digest& key, const std::uint8_t* chaining, std::uint8_t* tail, std::size_t size) {
  TAesHandle ecb(GCRY_CIPHER_MODE_ECB, key, nullptr);
  std::uint8_t pad[kBlock];
  std::memcpy(pad, chaining, kBlock);
  const bool ok = ecb.Ok() && ecb.Encrypt(pad, kBlock);
  if (ok)
    for (std::size_t i = 0; i < size; ++i) tail[i] ^= pad[i];
  Wipe(pad, sizeof pad);
  return ok;
}

// Key material on the stack, wiped when the routine ends.
struct TKeyScope {
  Haval256Digest key{};
  std::uint8_t chaining[kBlock] = {};
  ~TKeyScope() {
    Wipe(key.data(), key.size());
    Wipe(chaining, sizeof chaining);
  }
};

}  // namespace

Haval256Digest ArchiveCipherKey(const std::uint8_t* salt, const std::wstring& password) {
  const Bytes utf16 = ToUtf16Le(password);
  const std::size_t passwordBytes = utf16.size() / 2;  // one byte per character
  Bytes input(salt, salt + kArchiveSaltSize);
  input.insert(input.end(), utf16.begin(), utf16.begin() + static_cast<std::ptrdiff_t>(passwordBytes));
  const Haval256Digest key = Haval256Pass5(input.data(), input.size());
  Wipe(input.data(), input.size());
  return key;
}

bool DecipherArchiveEntry(TStream& source, TStream& target, const std::wstring& password, std::int64_t size) {
  if (size < static_cast<std::int64_t>(kArchiveSaltSize + kArchiveIvSize)) return false;
  std::uint8_t salt[kArchiveSaltSize];
  TKeyScope scope;
  if (!source.ReadExactly(salt, sizeof salt)) return false;
  scope.key = ArchiveCipherKey(salt, password);
  if (!source.ReadExactly(scope.chaining, kBlock)) return false;
  TAesHandle cbc(GCRY_CIPHER_MODE_CBC, scope.key, scope.chaining);
  if (!cbc.Ok()) return false;

  std::uint64_t remaining = static_cast<std::uint64_t>(size) - kArchiveSaltSize - kArchiveIvSize;
  std::uint8_t buffer[kChunk];
  while (remaining >= kBlock) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, remaining / kBlock * kBlock));
    // A source that ends early still gives the whole blocks that arrived.
    const std::size_t got = source.Read(buffer, n);
    const std::size_t whole = got / kBlock * kBlock;
    if (whole > 0) {
      std::memcpy(scope.chaining, buffer + whole - kBlock, kBlock);
      if (!cbc.Decrypt(buffer, whole) || !target.WriteAll(buffer, whole)) return false;
    }
    if (got < n) return false;
    remaining -= n;
  }
  if (remaining > 0) {
    const std::size_t n = static_cast<std::size_t>(remaining);
    if (!source.ReadExactly(buffer, n) || !XorTail(scope.key, scope.chaining, buffer, n)) return false;
    if (!target.WriteAll(buffer, n)) return false;
  }
  return true;
}

Bytes EncipherArchiveEntry(const Bytes& plain, const std::wstring& password) {
  std::uint8_t salt[kArchiveSaltSize];
  std::uint8_t iv[kArchiveIvSize];
  RandomBytes(salt, sizeof salt);
  RandomBytes(iv, sizeof iv);
  return EncipherArchiveEntry(plain, password, salt, iv);
}

Bytes EncipherArchiveEntry(const Bytes& plain, const std::wstring& password, const std::uint8_t* salt,
                           const std::uint8_t* iv) {
  TKeyScope scope;
  scope.key = ArchiveCipherKey(salt, password);
  Bytes stored(salt, salt + kArchiveSaltSize);
  stored.insert(stored.end(), iv, iv + kArchiveIvSize);
  const std::size_t whole = plain.size() / kBlock * kBlock;
  stored.insert(stored.end(), plain.begin(), plain.end());
  std::uint8_t* text = stored.data() + kArchiveSaltSize + kArchiveIvSize;
  std::memcpy(scope.chaining, iv, kBlock);
  if (whole > 0) {
    TAesHandle cbc(GCRY_CIPHER_MODE_CBC, scope.key, iv);
    if (!cbc.Ok() || !cbc.Encrypt(text, whole)) return {};
    std::memcpy(scope.chaining, text + whole - kBlock, kBlock);
  }
  if (plain.size() > whole && !XorTail(scope.key, scope.chaining, text + whole, plain.size() - whole)) return {};
  return stored;
}

}  // namespace orvix
