// "BCleanerdb": its tables, the stored state of an entry, and the trust,
// vote and backup writes (see bcleaner_db.h).
#include "addons/bcleaner_db.h"

#include "platform/file_helpers.h"

namespace orvix {
namespace {

struct TableDefinition {
  const wchar_t* name;
  const wchar_t* create;
};

constexpr TableDefinition kTables[] = {
    {L"iebackup", L"CREATE TABLE iebackup (id TEXT,key TEXT,value TEXT)"},
    {L"pluginscore",
     L"CREATE TABLE pluginscore (itemid TEXT, caption TEXT, publisher TEXT, version TEXT, source TEXT, systype "
     L"NUMERIC, score NUMERIC);"},
    {L"trusted",
     L"CREATE TABLE trusted (flag NUMERIC, pid INTEGER PRIMARY KEY, itemid TEXT, caption TEXT, path TEXT, publisher "
     L"TEXT, systype NUMERIC, version TEXT);"},
    {L"voted",
     L"CREATE TABLE voted (itemid TEXT, caption TEXT, path TEXT, publisher TEXT, systype NUMERIC, version TEXT, score "
     L"NUMERIC, votedate TEXT);"},
};

constexpr wchar_t kSelectTrustFlag[] =
    L"SELECT flag FROM trusted WHERE itemid=? AND caption=? AND path=? AND publisher=? AND systype=? AND version=?";
constexpr wchar_t kSelectPluginScore[] =
    L"SELECT score FROM pluginscore WHERE itemid=? AND caption=? AND source=? AND publisher=? AND systype=? AND "
    L"version=?";
constexpr wchar_t kSelectVote[] =
    L"SELECT score FROM voted WHERE itemid=? AND caption=? AND path=? AND publisher=? AND systype=? AND version=?";
constexpr wchar_t kSelectTrustRow[] =
    L"SELECT pid FROM trusted WHERE itemid=? AND caption=? AND path=? AND publisher=? AND systype=? AND version=?";
constexpr wchar_t kUpdateTrust[] = L"UPDATE trusted SET flag=? WHERE pid=?";
constexpr wchar_t kInsertTrust[] =
    L"INSERT INTO trusted(itemid,caption,path,publisher,systype,version,flag) VALUES(?,?,?,?,?,?,?)";
constexpr wchar_t kInsertVote[] = L"INSERT INTO voted VALUES(?,?,?,?,?,?,?,?)";
constexpr wchar_t kBackupTableCreate[] = L"CREATE TABLE iebackup (id TEXT,key TEXT,value TEXT)";
constexpr wchar_t kDeleteBackup[] = L"DELETE FROM iebackup WHERE id=?";

// Binds the six identity columns as parameters 1 to 6.
bool BindKey(TSqliteStatement& statement, const TPluginRowKey& key) {
  return statement.BindText(1, key.itemId) && statement.BindText(2, key.caption) &&
         statement.BindText(3, key.location) && statement.BindText(4, key.publisher) &&
         statement.BindInt(5, key.is64Bit ? 1 : 0) && statement.BindText(6, key.version);
}

// The first column of the first row the query returns for the key: none
// when there is no row; `failed` when the query could not run.
std::unique_ptr<TSqliteStatement> QueryKey(TSqliteDb& db, const wchar_t* sql, const TPluginRowKey& key,
                                           bool& found, bool& failed) {
  found = failed = false;
  auto statement = db.Prepare(sql);
  if (!statement || !BindKey(*statement, key)) {
    failed = true;
    return nullptr;
  }
  found = statement->Step();
  failed = statement->Failed();
  return statement;
}

std::int32_t IntegerOr(const TSqliteStatement& statement, std::int32_t fallback) {
  std::int64_t value = 0;
  return statement.ColumnInteger(0, value) ? static_cast<std::int32_t>(value) : fallback;
}

// Runs `write` inside one transaction on a connection of its own; commits
// only when it succeeded.
template <typename Write>
bool InTransaction(const std::wstring& dbPath, Write write) {
  if (dbPath.empty()) return false;
  TSqliteDb db;
  if (!db.Open(dbPath, TSqliteOpenMode::ReadWrite) || !db.Begin()) return false;
  if (!write(db)) {
    db.Rollback();
    return false;
  }
  return db.Commit();
}

}  // namespace

std::wstring PrepareBCleanerDb(const std::wstring& dataDir) {
  if (dataDir.empty()) return {};
  const std::wstring path = dataDir + kBCleanerDbName;
  TSqliteDb db;
  if (!db.Open(path, TSqliteOpenMode::Create)) return {};
  bool missing = false;
  for (const TableDefinition& table : kTables) missing = missing || !db.TableExists(table.name);
  if (!missing) return path;
  if (!db.Begin()) return {};
  for (const TableDefinition& table : kTables) {
    if (!db.TableExists(table.name) && !db.Exec(table.create)) {
      db.Rollback();
      return {};
    }
  }
  return db.Commit() ? path : std::wstring();
}

TStoredPluginState LookupStoredPluginState(TSqliteDb& db, const TPluginRowKey& key) {
  return TStoredStateReader(db).Lookup(key);
}

TStoredPluginState TStoredStateReader::Lookup(const TPluginRowKey& key) {
  static constexpr const wchar_t* kQueries[] = {kSelectTrustFlag, kSelectPluginScore, kSelectVote};
  TStoredPluginState state;
  for (int i = 0; i < 3; ++i) {
    std::unique_ptr<TSqliteStatement>& query = queries_[i];
    if (!query) query = db_.Prepare(kQueries[i]);
    if (!query || !query->Reset() || !BindKey(*query, key)) return state;
    const bool found = query->Step();
    if (query->Failed()) return state;
    if (!found) continue;
    if (i == 0) {
      state.trustFlag = IntegerOr(*query, 1);
    } else if (i == 1) {
      state.pluginScore = IntegerOr(*query, 0);
    } else {
      state.voted = true;
      state.voteScore = IntegerOr(*query, 0);
      if (state.trustFlag == 0) state.trustFlag = state.voteScore >= 2 ? 1 : 2;
    }
  }
  return state;
}

// The stored form lets a failed UPDATE or INSERT report success; here any
// failed statement rolls back and answers false.
bool WriteTrustRows(const std::wstring& dbPath, const std::vector<TPluginRowKey>& keys, std::uint8_t state) {
  return InTransaction(dbPath, [&](TSqliteDb& db) {
    for (const TPluginRowKey& key : keys) {
      bool found = false;
      bool failed = false;
      auto row = QueryKey(db, kSelectTrustRow, key, found, failed);
      if (failed) return false;
      if (found) {
        const std::int64_t pid = row->ColumnInt(0);
        row.reset();
        auto update = db.Prepare(kUpdateTrust);
        if (!update || !update->BindInt(1, state) || !update->BindInt(2, pid) || !update->Run()) return false;
      } else {
        row.reset();
        auto insert = db.Prepare(kInsertTrust);
        if (!insert || !BindKey(*insert, key) || !insert->BindInt(7, state) || !insert->Run()) return false;
      }
    }
    return true;
  });
}

bool WriteVoteRows(const std::wstring& dbPath, const std::vector<TPluginRowKey>& keys, std::int32_t score,
                   const std::wstring& voteDate) {
  return InTransaction(dbPath, [&](TSqliteDb& db) {
    for (const TPluginRowKey& key : keys) {
      auto insert = db.Prepare(kInsertVote);
      if (!insert || !BindKey(*insert, key) || !insert->BindInt(7, score) || !insert->BindText(8, voteDate) ||
          !insert->Run()) {
        return false;
      }
    }
    return true;
  });
}

void DeleteIeBackupRows(const std::wstring& dbPath, const std::wstring& id) {
  if (dbPath.empty()) return;
  TSqliteDb db;
  if (!db.Open(dbPath, TSqliteOpenMode::ReadWrite)) return;
  if (!db.TableExists(kIeBackupTable) && !db.Exec(kBackupTableCreate)) return;
  if (auto statement = db.Prepare(kDeleteBackup)) {
    statement->BindText(1, id);
    statement->Run();
  }
}

}  // namespace orvix
