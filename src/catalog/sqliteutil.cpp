#include "catalog/sqliteutil.h"

#include "catalog/schema.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace catalog::detail {

QString errorText(sqlite3* db)
{
    if (!db)
        return QStringLiteral("no database");
    return QString::fromUtf8(sqlite3_errmsg(db));
}

DbResult failure(sqlite3* db, const QString& what)
{
    return DbResult::failure(what + QStringLiteral(": ") + errorText(db));
}

DbResult exec(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (rc == SQLITE_OK)
        return {};
    const QString text = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_free(message);
    return DbResult::failure(QString::fromUtf8(sql).section(u' ', 0, 1) + QStringLiteral(": ") + text);
}

DbResult prepare(sqlite3* db, const QString& sql, Stmt& out, bool persistent)
{
    sqlite3_stmt* s = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()),
                                      persistent ? SQLITE_PREPARE_PERSISTENT : 0, &s, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(s);
        return failure(db, QStringLiteral("cannot prepare a query"));
    }
    out.reset(s);
    return {};
}

void bindValue(sqlite3_stmt* s, int index, const QVariant& value)
{
    if (value.isNull()) {
        sqlite3_bind_null(s, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        sqlite3_bind_int64(s, index, value.toLongLong());
        return;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(s, index, value.toDouble());
        return;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob64(s, index, bytes.constData(), sqlite3_uint64(bytes.size()),
                            SQLITE_TRANSIENT);
        return;
    }
    default: {
        const QByteArray utf8 = value.toString().toUtf8();
        sqlite3_bind_text64(s, index, utf8.constData(), sqlite3_uint64(utf8.size()),
                            SQLITE_TRANSIENT, SQLITE_UTF8);
        return;
    }
    }
}

QVariant columnValue(sqlite3_stmt* s, int column)
{
    switch (sqlite3_column_type(s, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(s, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(s, column));
    case SQLITE_TEXT: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(s, column)));
    }
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(s, column);
        const int size = sqlite3_column_bytes(s, column);
        // A zero-length value is an empty byte string, not Null.
        return QVariant(size > 0 ? QByteArray(static_cast<const char*>(data), size) : QByteArray(""));
    }
    default:
        return QVariant();
    }
}

DbResult openConnection(const QString& path, bool readOnly, bool untrusted, sqlite3*& out)
{
    out = nullptr;
    // An absolute path never reads as a "file:" URI.
    const QByteArray name = QFileInfo(path).absoluteFilePath().toUtf8();
    sqlite3* db = nullptr;
    const int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_EXRESCODE;
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString text = db ? errorText(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        return DbResult::failure(QStringLiteral("cannot open %1: %2").arg(path, text));
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
#ifdef SQLITE_DBCONFIG_TRUSTED_SCHEMA
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
#endif
#ifdef SQLITE_DBCONFIG_ENABLE_TRIGGER
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
#endif
#ifdef SQLITE_DBCONFIG_ENABLE_VIEW
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
#endif
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, kLengthLimit);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 64 * 1024);
    sqlite3_busy_timeout(db, 2000);
    // A commit is reported only once it survives a power loss: EXTRA also flushes the
    // folder after the rollback journal is deleted, which is the commit point.
    if (!readOnly)
        (void)exec(db, "PRAGMA synchronous = EXTRA");
    if (untrusted) {
        sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_limit(db, SQLITE_LIMIT_COLUMN, 100);
        sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 100);
        // Catches damaged b-tree cells before they are read.
        (void)exec(db, "PRAGMA cell_size_check = ON");
    }
    out = db;
    return {};
}

namespace {

enum class Affinity { Integer, Text, Blob, Real, Numeric };

// The engine's rule for the affinity of a declared type.
Affinity affinityOf(const QString& declared)
{
    const QString t = declared.toUpper();
    if (t.contains(QLatin1String("INT")))
        return Affinity::Integer;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB"))
        || t.contains(QLatin1String("TEXT")))
        return Affinity::Text;
    if (t.isEmpty() || t.contains(QLatin1String("BLOB")))
        return Affinity::Blob;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA"))
        || t.contains(QLatin1String("DOUB")))
        return Affinity::Real;
    return Affinity::Numeric;
}

// What each field must be declared as; nullopt accepts anything (fields carried over
// unchanged and never read).
std::optional<Affinity> expectedAffinity(int column)
{
    switch (column) {
    case 2:  // who_main
    case 3:  // who_mask
        return Affinity::Text;
    case 4:  // photo_main
    case 5:  // photo_mask
        return Affinity::Blob;
    case 6:   // PairFile
    case 11:  // Enable
        return std::nullopt;
    default:
        return Affinity::Integer;
    }
}

}  // namespace

DbResult checkPartsFile(sqlite3* db, bool integrity)
{
    // Reading the schema is also where a file that is no database shows itself.
    Stmt schema;
    if (DbResult r = prepare(db, QStringLiteral("SELECT type, name, sql FROM sqlite_master"), schema, false); !r)
        return DbResult::failure(QStringLiteral("not a readable parts file: ") + errorText(db));
    bool havePeople = false;
    int rc;
    while ((rc = sqlite3_step(schema.get())) == SQLITE_ROW) {
        const QString type = columnValue(schema.get(), 0).toString();
        const QString name = columnValue(schema.get(), 1).toString();
        const QString sql = columnValue(schema.get(), 2).toString().simplified();
        const bool isPeople = name.compare(QLatin1String(kPeopleTable), Qt::CaseInsensitive) == 0;
        if (type == QLatin1String("trigger") || type == QLatin1String("view"))
            return DbResult::failure(
                QStringLiteral("the file holds a %1 (%2); such files are refused").arg(type, name));
        if (type == QLatin1String("table")
            && sql.startsWith(QLatin1String("CREATE VIRTUAL TABLE"), Qt::CaseInsensitive))
            return DbResult::failure(
                QStringLiteral("the file holds a virtual table (%1); such files are refused").arg(name));
        if (isPeople && type == QLatin1String("table"))
            havePeople = true;
    }
    if (rc != SQLITE_DONE)
        return DbResult::failure(QStringLiteral("not a readable parts file: ") + errorText(db));
    schema.reset();
    if (!havePeople)
        return DbResult::failure(QStringLiteral("the file has no table \"people\""));

    Stmt columns;
    if (DbResult r = prepare(db, QStringLiteral("PRAGMA table_xinfo(people)"), columns, false); !r)
        return r;
    std::array<bool, std::size(kPeopleFields)> seen{};
    int count = 0;
    while ((rc = sqlite3_step(columns.get())) == SQLITE_ROW) {
        const QString name = columnValue(columns.get(), 1).toString();
        const QString type = columnValue(columns.get(), 2).toString();
        const int hidden = sqlite3_column_int(columns.get(), 6);
        const int index = fieldIndex(name);
        if (index < 0)
            return DbResult::failure(QStringLiteral("table \"people\" has an unexpected field \"%1\"").arg(name));
        if (seen[index])
            return DbResult::failure(QStringLiteral("table \"people\" repeats field \"%1\"").arg(name));
        if (hidden != 0)
            return DbResult::failure(
                QStringLiteral("field \"%1\" of table \"people\" is generated or hidden").arg(name));
        const auto want = expectedAffinity(index);
        if (want && affinityOf(type) != *want)
            return DbResult::failure(QStringLiteral("field \"%1\" of table \"people\" has the wrong type \"%2\"")
                                         .arg(name, type));
        seen[index] = true;
        ++count;
    }
    if (rc != SQLITE_DONE)
        return failure(db, QStringLiteral("cannot read the fields of table \"people\""));
    if (count != int(std::size(kPeopleFields))) {
        for (size_t i = 0; i < seen.size(); ++i) {
            if (!seen[i])
                return DbResult::failure(QStringLiteral("table \"people\" lacks field \"%1\"")
                                             .arg(QLatin1String(kPeopleFields[i])));
        }
    }
    // Records are addressed by row id, which a WITHOUT ROWID table lacks.
    Stmt rowid;
    if (!prepare(db, QStringLiteral("SELECT rowid FROM people LIMIT 0"), rowid, false))
        return DbResult::failure(QStringLiteral("table \"people\" has no row ids"));

    if (integrity) {
        Stmt check;
        if (DbResult r = prepare(db, QStringLiteral("PRAGMA quick_check(1)"), check, false); !r)
            return r;
        rc = sqlite3_step(check.get());
        const QString verdict = rc == SQLITE_ROW ? columnValue(check.get(), 0).toString() : errorText(db);
        if (verdict != QLatin1String("ok"))
            return DbResult::failure(QStringLiteral("the file is damaged: ") + verdict);
    }
    return {};
}

}  // namespace catalog::detail
