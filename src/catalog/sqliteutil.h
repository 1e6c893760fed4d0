#pragma once

// Helpers over the SQLite C interface shared by the catalog's sources. Not for use outside
// the catalog.

#include "catalog/partsdatabase.h"
#include "catalog/result.h"

#include <QString>
#include <QVariant>

#include <sqlite3.h>

#include <memory>

namespace catalog::detail {

struct StmtDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, StmtDeleter>;

// Resets a statement when the scope ends, so that no statement keeps a read lock on the
// file between calls (another connection of the process may want to write).
class StmtUse {
public:
    explicit StmtUse(sqlite3_stmt* s) : s_(s) {}
    ~StmtUse()
    {
        sqlite3_reset(s_);
        sqlite3_clear_bindings(s_);
    }
    StmtUse(const StmtUse&) = delete;
    StmtUse& operator=(const StmtUse&) = delete;
    sqlite3_stmt* get() const { return s_; }

private:
    sqlite3_stmt* s_;
};

QString errorText(sqlite3* db);
DbResult failure(sqlite3* db, const QString& what);
DbResult exec(sqlite3* db, const char* sql);
DbResult prepare(sqlite3* db, const QString& sql, Stmt& out, bool persistent = true);

void bindValue(sqlite3_stmt* s, int index, const QVariant& value);
QVariant columnValue(sqlite3_stmt* s, int column);

// Opens a connection with the defensive settings every connection of the catalog uses.
// Untrusted connections are also read-only and more tightly bounded.
DbResult openConnection(const QString& path, bool readOnly, bool untrusted, sqlite3*& out);

// Checks that `people` is a plain table with exactly the expected fields and types and
// that the file holds no trigger, view or virtual table; with `integrity` also runs the
// engine's quick check over the whole file.
DbResult checkPartsFile(sqlite3* db, bool integrity);

// Every connection the catalog opens: readers see at most this much per value.
inline constexpr int kLengthLimit = kMaxFieldBytes + 1024;

struct DbAccess {
    static sqlite3* handle(PartsDatabase& db);
};

}  // namespace catalog::detail
