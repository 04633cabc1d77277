// The cipher of enciphered archive entries (the installer payload and the
// add-on score database): an entry is stored as 8 bytes of salt, 16 bytes of
// initialisation vector and the ciphertext. The key is the HAVAL-256/5 digest
// of the salt followed by the password's first bytes (as many bytes as the
// password has characters, taken from its UTF-16LE form); the cipher is
// AES-256 in CBC mode, and a last part shorter than a block is not padded but
// XORed with the encryption of the running chaining value.
//
// The archive reader calls DecipherArchiveEntry for each enciphered entry;
// the archive writer enciphers with EncipherArchiveEntry.
#pragma once

#include <cstdint>
#include <string>

#include "formats/byte_stream.h"
#include "formats/haval.h"

namespace orvix {

inline constexpr std::size_t kArchiveSaltSize = 8;
inline constexpr std::size_t kArchiveIvSize = 16;

// The key for a salt and a password.
Haval256Digest ArchiveCipherKey(const std::uint8_t* salt, const std::wstring& password);

// Deciphers an entry of `size` stored bytes (salt, vector and ciphertext)
// from the source's position into the target. Never raises: when the source
// ends early or the cipher fails, the target keeps what was written so far
// and the answer is false. Key material is wiped before it returns.
bool DecipherArchiveEntry(TStream& source, TStream& target, const std::wstring& password, std::int64_t size);

// The stored form of `plain`: a fresh random salt and vector, then the
// ciphertext, exactly as long as `plain`.
Bytes EncipherArchiveEntry(const Bytes& plain, const std::wstring& password);
// The same with a given salt (8 bytes) and vector (16 bytes).
Bytes EncipherArchiveEntry(const Bytes& plain, const std::wstring& password, const std::uint8_t* salt,
                           const std::uint8_t* iv);

}  // namespace orvix
