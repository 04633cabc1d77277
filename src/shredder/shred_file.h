// Shredding one file: two overwrite passes with a pseudo-random byte, each
// flushed to the disk, then the delete. Used by the shredder window and by
// the leftover review when it shreds instead of deleting.
#pragma once

#include <cstdint>
#include <string>

#include "platform/pump_api.h"

namespace orvix {

// A file is overwritten in chunks of 5 MiB, each filled in blocks of 16 KiB;
// window messages are processed per chunk and per block.
inline constexpr std::uint32_t kShredChunkSize = 0x500000;
inline constexpr std::uint32_t kShredBlockSize = 0x4000;

// The fill values of the overwrite passes: a 32-bit linear congruential
// state s := s * 134775813 + 1, and the value is the upper half of the
// 64-bit product s * 255, from 0 to 254. A fresh state gives 0, 8, 219, 51...
class TShredFill {
 public:
  std::uint8_t Next() {
    state_ = state_ * 134775813u + 1u;
    return static_cast<std::uint8_t>((static_cast<std::uint64_t>(state_) * 255u) >> 32);
  }

 private:
  std::uint32_t state_ = 0;
};

// The process-wide generator: it starts fresh with the process, is never
// reseeded and only the overwrite passes draw from it, one value per pass.
TShredFill& ShredFillGenerator();

// The process-wide shred stop request: set by Cancel in the shredder window
// and in the leftover review, cleared when either closes. Every shredding
// loop tests it.
void SetShredStopRequest(bool stop);
bool ShredStopRequested();

enum class TShredResult {
  Shredded,  // both overwrites reached the disk and the file is deleted
  Stopped,   // a stop was requested: the file stays, perhaps partly overwritten
  Failed,    // a pass or the delete failed (the remaining steps still ran)
  Unlinked,  // a link, or one of several names of the same data: only this
             // name was deleted, since the data is another name's too
};

// The file exists, is no folder and can be opened for reading and writing
// with no other handle open on it; the handle is closed again at once.
bool CanOpenForWriting(const std::wstring& path);

// Overwrites the file twice and deletes it. A symbolic link, or a file with
// more than one name (hard links), is deleted without being overwritten. Each pass clears the read-only,
// hidden and system attributes first and flushes its writes before it ends.
// The pump processes messages per chunk and per block; then the pump's stop
// or the shred stop request ends the run at once, leaving the file in place.
TShredResult ShredFile(const std::wstring& path, IPump& pump);

}  // namespace orvix
