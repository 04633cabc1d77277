// The SQLite connection and statement wrappers (see sqlite_db.h).
#include "addons/sqlite_db.h"

#include <sqlite3.h>

#include <cmath>

#include "addons/sqlite_platform_vfs.h"
#include "formats/text_codec.h"

namespace orvix {

TSqliteStatement::~TSqliteStatement() { sqlite3_finalize(statement_); }

bool TSqliteStatement::BindText(int index, std::wstring_view text) {
  const std::string utf8 = ToUtf8(text);
  return sqlite3_bind_text(statement_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT) ==
         SQLITE_OK;
}

bool TSqliteStatement::BindInt(int index, std::int64_t value) {
  return sqlite3_bind_int64(statement_, index, value) == SQLITE_OK;
}

bool TSqliteStatement::BindNull(int index) { return sqlite3_bind_null(statement_, index) == SQLITE_OK; }

bool TSqliteStatement::Step() {
  const int status = sqlite3_step(statement_);
  if (status == SQLITE_ROW) return true;
  failed_ = status != SQLITE_DONE;
  return false;
}

bool TSqliteStatement::Run() { return !Step() && !failed_; }

bool TSqliteStatement::Reset() {
  failed_ = false;
  return sqlite3_reset(statement_) == SQLITE_OK;
}

int TSqliteStatement::ColumnCount() const { return sqlite3_column_count(statement_); }

bool TSqliteStatement::ColumnIsNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::wstring TSqliteStatement::ColumnText(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  if (text == nullptr) return {};
  return FromUtf8(std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))));
}

std::int64_t TSqliteStatement::ColumnInt(int column) const { return sqlite3_column_int64(statement_, column); }

bool TSqliteStatement::ColumnInteger(int column, std::int64_t& value) const {
  switch (sqlite3_column_type(statement_, column)) {
    case SQLITE_INTEGER: value = sqlite3_column_int64(statement_, column); return true;
    case SQLITE_FLOAT: {
      const double real = sqlite3_column_double(statement_, column);
      if (real != std::floor(real) || std::fabs(real) > 9.0e18) return false;
      value = static_cast<std::int64_t>(real);
      return true;
    }
    case SQLITE_TEXT: {
      const std::wstring text = ColumnText(column);
      const std::size_t digits = text.size();
      if (text.empty()) return false;
      const std::size_t i = text[0] == L'-' || text[0] == L'+' ? 1 : 0;
      if (i == digits || digits - i > 18) return false;  // 18 digits cannot overflow
      std::int64_t parsed = 0;
      for (std::size_t j = i; j < digits; ++j) {
        if (text[j] < L'0' || text[j] > L'9') return false;
        parsed = parsed * 10 + (text[j] - L'0');
      }
      value = text[0] == L'-' ? -parsed : parsed;
      return true;
    }
    default: return false;
  }
}

bool TSqliteDb::Open(const std::wstring& path, TSqliteOpenMode mode) {
  Close();
  int flags = SQLITE_OPEN_READONLY;
  if (mode == TSqliteOpenMode::ReadWrite) flags = SQLITE_OPEN_READWRITE;
  if (mode == TSqliteOpenMode::Create) flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  sqlite3* db = nullptr;
  const int status = sqlite3_open_v2(ToUtf8(path).c_str(), &db, flags, PlatformVfsName());
  if (status != SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  db_ = db;
  return true;
}

void TSqliteDb::Close() {
  if (db_ == nullptr) return;
  sqlite3_close_v2(db_);
  db_ = nullptr;
}

bool TSqliteDb::Exec(std::wstring_view sql) {
  if (db_ == nullptr) return false;
  return sqlite3_exec(db_, ToUtf8(sql).c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::unique_ptr<TSqliteStatement> TSqliteDb::Prepare(std::wstring_view sql) {
  if (db_ == nullptr) return nullptr;
  const std::string utf8 = ToUtf8(sql);
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, utf8.data(), static_cast<int>(utf8.size()), &statement, nullptr) != SQLITE_OK ||
      statement == nullptr) {
    sqlite3_finalize(statement);
    return nullptr;
  }
  return std::make_unique<TSqliteStatement>(statement);
}

bool TSqliteDb::TableExists(std::wstring_view name) {
  auto statement = Prepare(L"SELECT 1 FROM sqlite_master WHERE type='table' AND name=? COLLATE NOCASE");
  return statement && statement->BindText(1, name) && statement->Step();
}

std::wstring TSqliteDb::LastError() const { return db_ == nullptr ? L"not open" : FromUtf8(sqlite3_errmsg(db_)); }

}  // namespace orvix
