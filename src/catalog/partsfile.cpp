#include "catalog/partsfile.h"

#include "catalog/schema.h"
#include "catalog/sqliteutil.h"

#include <QFile>
#include <QFileInfo>

namespace catalog {

DbResult createPartsFile(const QString& path)
{
    if (QFileInfo::exists(path))
        return DbResult::failure(QStringLiteral("%1 already exists").arg(path));
    const QByteArray name = QFileInfo(path).absoluteFilePath().toUtf8();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr)
        != SQLITE_OK) {
        const DbResult r = detail::failure(db, QStringLiteral("cannot create %1").arg(path));
        sqlite3_close(db);
        return r;
    }
    DbResult r = detail::exec(db, "BEGIN");
    if (r)
        r = detail::exec(db, kCreatePeople);
    if (r)
        r = detail::exec(db, kCreateListIndex);
    if (r)
        r = detail::exec(db, kCreateMergeIndex);
    if (r)
        r = detail::exec(db, "COMMIT");
    sqlite3_close(db);
    if (!r)
        QFile::remove(path);
    return r;
}

}  // namespace catalog
