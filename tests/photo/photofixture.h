#pragma once

// A temporary program folder with an empty photo database (only the blank tile, as
// delivered) and picture files to register.

#include "catalog/partsdatabase.h"
#include "catalog/partsfile.h"
#include "catalog/recordsource.h"
#include "catalog/schema.h"
#include "imaging/engine/raster.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QList>
#include <QTemporaryDir>

#include <sqlite3.h>

struct PhotoFolder {
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }
    QString database() const { return dir.filePath(QString::fromLatin1(catalog::kPhotoDatabaseName)); }

    // The empty photo database as the builder delivers it: one blank tile.
    void createDatabase() const
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(catalog::createPartsFile(database()).ok());
        ASSERT_EQ(exec("INSERT INTO people (PictureID, FileNo, who_main, X, Y, Width, Height) "
                       "VALUES (0, 0, 'blank', 0, 0, 0, 0)"),
                  QString());
    }

    QString exec(const char* sql) const
    {
        sqlite3* db = nullptr;
        if (sqlite3_open(database().toUtf8().constData(), &db) != SQLITE_OK) {
            sqlite3_close(db);
            return QStringLiteral("cannot open");
        }
        char* error = nullptr;
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
        QString text = rc == SQLITE_OK ? QString() : QString::fromUtf8(error ? error : "error");
        sqlite3_free(error);
        sqlite3_close(db);
        return text;
    }

    // A picture file: `fill` everywhere, with a black box in the middle third.
    QString picture(const QString& name, int width, int height, int bits = 24,
                    QRgb fill = qRgb(255, 255, 255)) const
    {
        imaging::Raster r(width, height, bits, fill);
        for (int y = height / 3; y < 2 * height / 3; ++y)
            for (int x = width / 3; x < 2 * width / 3; ++x)
                r.setPixel(x, y, qRgb(0, 0, 0));
        const QString file = dir.filePath(name);
        EXPECT_EQ(r.save(file, name.endsWith(QLatin1String(".png")) ? 75 : 6, bits, 0), 0) << name.toStdString();
        return file;
    }

    struct Seen {
        int fileNo;
        QString whoMain;
        QVariant fileCnt;
        bool operator==(const Seen&) const = default;
    };
    // The photos in photo order, as another reader finds them.
    QList<Seen> photos() const
    {
        QList<Seen> out;
        catalog::PartsDatabase db;
        EXPECT_TRUE(db.open(database(), QString::fromLatin1(catalog::kPhotoOrderSource)).ok());
        for (bool more = db.moveFirst(); more; more = db.moveNext())
            out << Seen{db.value("FileNo").toInt(), db.value("who_main").toString(), db.value("FileCnt")};
        return out;
    }
};
