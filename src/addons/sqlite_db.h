// A small SQLite 3 connection and statement pair for the add-on database and
// the browsers' own databases. Files are reached through the platform's file
// interface (sqlite_platform_vfs.h), so the simulated machine holds them too.
// Values always go in as bound parameters, never into the SQL text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace orvix {

class TSqliteStatement {
 public:
  explicit TSqliteStatement(sqlite3_stmt* statement) : statement_(statement) {}
  ~TSqliteStatement();
  TSqliteStatement(const TSqliteStatement&) = delete;
  TSqliteStatement& operator=(const TSqliteStatement&) = delete;

  // Parameters count from 1, in the order of the "?" in the text.
  bool BindText(int index, std::wstring_view text);
  bool BindInt(int index, std::int64_t value);
  bool BindNull(int index);

  // True while a row is there to read; false at the end or on an error
  // (Failed() tells which).
  bool Step();
  bool Failed() const { return failed_; }
  // Runs a statement that returns no rows: true when it completed.
  bool Run();
  bool Reset();

  int ColumnCount() const;
  bool ColumnIsNull(int column) const;
  std::wstring ColumnText(int column) const;
  std::int64_t ColumnInt(int column) const;
  // The integer a column holds, or none when its value is not a whole
  // number (text such as "abc", a real with a fraction, null).
  bool ColumnInteger(int column, std::int64_t& value) const;

 private:
  sqlite3_stmt* statement_;
  bool failed_ = false;
};

enum class TSqliteOpenMode { ReadOnly, ReadWrite, Create };

class TSqliteDb {
 public:
  TSqliteDb() = default;
  ~TSqliteDb() { Close(); }
  TSqliteDb(const TSqliteDb&) = delete;
  TSqliteDb& operator=(const TSqliteDb&) = delete;

  // Opens a database file through the platform's files; Create makes a
  // missing file. A file that is not SQLite opens, and its first statement
  // fails.
  bool Open(const std::wstring& path, TSqliteOpenMode mode);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  // One or more statements without parameters.
  bool Exec(std::wstring_view sql);
  // A statement, or none when the text does not compile (or the file is no
  // database).
  std::unique_ptr<TSqliteStatement> Prepare(std::wstring_view sql);
  // Whether a table of that name exists, the name compared ignoring case.
  bool TableExists(std::wstring_view name);

  bool Begin() { return Exec(L"BEGIN TRANSACTION"); }
  bool Commit() { return Exec(L"COMMIT"); }
  bool Rollback() { return Exec(L"ROLLBACK"); }

  std::wstring LastError() const;

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace orvix
