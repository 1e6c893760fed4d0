#include "catalog/compaction.h"

#include "imaging/engine/durablefile.h"
#include "catalog/partsdatabase.h"
#include "catalog/schema.h"
#include "catalog/sqliteutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace catalog {

namespace {

// Removes every spelling of `name` in the folder; false when one cannot be removed.
bool removeAllSpellings(const QDir& dir, const QString& name)
{
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (QFileInfo(dir.filePath(entry)).isDir() || !QFile::remove(dir.filePath(entry)))
            return false;
    }
    return true;
}

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

}  // namespace

DbResult CompactPartsDatabase(const QString& folder)
{
    const QDir dir(folder);
    const QString work = QLatin1String(kCompactionWorkName);
    if (!removeAllSpellings(dir, work))
        return DbResult::failure(QStringLiteral("cannot remove %1").arg(dir.filePath(work)));
    const QString database = findFileNoCase(folder, QLatin1String(kPartsDatabaseName));
    if (database.isEmpty())
        return DbResult::failure(QStringLiteral("%1 has no %2").arg(folder, QLatin1String(kPartsDatabaseName)));
    const QString workPath = dir.absoluteFilePath(work);
    if (DbResult r = PartsDatabase::compact(database, workPath); !r)
        return r;

    // A journal beside the database would be played back into the new file.
    if (QFileInfo::exists(database + QStringLiteral("-journal"))) {
        QFile::remove(workPath);
        return DbResult::failure(QStringLiteral("%1 is being written by another program").arg(database));
    }
    // rename() replaces the old file in one step: at every moment one complete database
    // carries the name.
    std::error_code ec;
    std::filesystem::rename(nativePath(workPath), nativePath(QFileInfo(database).absoluteFilePath()), ec);
    if (ec) {
        QFile::remove(workPath);
        return DbResult::failure(QStringLiteral("cannot replace %1: %2")
                                     .arg(database, QString::fromLocal8Bit(ec.message().c_str())));
    }
    imaging::durable::syncFolder(dir.absolutePath());
    return {};
}

}  // namespace catalog
