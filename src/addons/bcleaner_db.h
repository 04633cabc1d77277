// The add-on cleaner's own database "BCleanerdb" in the data folder: the
// user's trust decisions ("trusted"), votes ("voted"), the scores read from
// "pluginscore" and the Internet Explorer backup table. The cleaners call
// these; every value is bound as a parameter.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "addons/sqlite_db.h"

namespace orvix {

inline constexpr wchar_t kBCleanerDbName[] = L"BCleanerdb";
inline constexpr wchar_t kIeBackupTable[] = L"iebackup";

// An entry's identity in every table: itemid, caption, the location
// (column "path", or "source" in "pluginscore"), publisher, systype (0 or
// 1) and version.
struct TPluginRowKey {
  std::wstring itemId;
  std::wstring caption;
  std::wstring location;
  std::wstring publisher;
  bool is64Bit = false;
  std::wstring version;
};

// The path of "BCleanerdb" in `dataDir` (which ends with a backslash),
// creating the file and, in one transaction, each of the four tables that
// does not exist yet. Empty when `dataDir` is empty or the creation failed.
std::wstring PrepareBCleanerDb(const std::wstring& dataDir);

// What the database holds about one entry.
struct TStoredPluginState {
  std::int32_t trustFlag = 0;    // 0: no decision; 1 trusted; 2 untrusted
  std::int32_t pluginScore = 0;  // from "pluginscore"
  bool voted = false;
  std::int32_t voteScore = 0;
};

// The stored trust flag, "pluginscore" score and vote, in this order; a
// failing query ends the lookup with what was found before. A vote without
// a trust decision decides the flag: 1 for two stars or more, else 2.
TStoredPluginState LookupStoredPluginState(TSqliteDb& db, const TPluginRowKey& key);

// The same lookups for many entries on one connection: the three queries
// are compiled once and run again with each entry's values.
class TStoredStateReader {
 public:
  explicit TStoredStateReader(TSqliteDb& db) : db_(db) {}
  TStoredPluginState Lookup(const TPluginRowKey& key);

 private:
  TSqliteDb& db_;
  std::unique_ptr<TSqliteStatement> queries_[3];
};

// Writes the trust state for every location's key in one transaction:
// updates the row there is, or adds one. False, with nothing committed, when
// the database cannot be opened or any statement fails.
bool WriteTrustRows(const std::wstring& dbPath, const std::vector<TPluginRowKey>& keys, std::uint8_t state);

// Adds one "voted" row per key in one transaction; `voteDate` is local time
// as "YYYYMMDDhhnnss". False, with nothing committed, on any failure.
bool WriteVoteRows(const std::wstring& dbPath, const std::vector<TPluginRowKey>& keys, std::int32_t score,
                   const std::wstring& voteDate);

// Deletes the "iebackup" rows of one id (creating the table when missing);
// failures are ignored.
void DeleteIeBackupRows(const std::wstring& dbPath, const std::wstring& id);

}  // namespace orvix
