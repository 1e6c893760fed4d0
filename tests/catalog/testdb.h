#pragma once

// Builds small parts files for the catalog tests and benchmark, straight through SQLite so
// that files the programs would refuse can be made as well.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace testdb {

struct Row {
    QVariant pictureId;
    QVariant fileNo;
    QVariant whoMain;
    QVariant fileCnt;  // Null unless set
    QVariant photoMain;
    QVariant photoMask;
    QVariant x = 0;
    QVariant y = 0;
    QVariant width = 0;
    QVariant height = 0;
    QVariant pairFile;
    QVariant enable;
    QVariant optionId1 = 0;
    QVariant whoMask;
};

// A record with just these fields set.
Row row(int pictureId, int fileNo, const QString& whoMain);

// A small picture as an image field; `seed` varies its colour so that records differ.
QByteArray picture(int seed, int side = 4);
// A picture of about `bytes` bytes (noise, so that it does not compress).
QByteArray noisyPicture(int seed, int bytes);

// The blank tile record every file starts with.
Row blankTile();
// The records of the parts `fileNos` of a category, RowsPerPart each, with who_main
// "c<category>_<fileNo>_<row>" and pictures; the first record in ListOrder holds `count`
// (default: the number of parts).
QList<Row> category(int pictureId, const QList<int>& fileNos, QVariant count = QVariant(-1));

// Creates `path` with the table, the indexes and `rows`.
void build(const QString& path, const QList<Row>& rows);
// Appends rows to an existing file.
void append(const QString& path, const QList<Row>& rows);
// Runs SQL on a file; returns the error text, empty on success.
QString exec(const QString& path, const QString& sql);

// One record as the tests look at it.
struct Seen {
    int pictureId;
    int fileNo;
    QString whoMain;
    QVariant fileCnt;
    bool operator==(const Seen&) const = default;
};
// Every record of `path` in ListOrder.
QList<Seen> records(const QString& path);
// The records of one category.
QList<Seen> records(const QString& path, int pictureId);
// Parts (distinct FileNo) of a category, and FileCnt of its first record.
int partCount(const QString& path, int pictureId);
QVariant holderCount(const QString& path, int pictureId);
// A byte-for-byte copy of a file's content.
QByteArray fileBytes(const QString& path);

}  // namespace testdb
