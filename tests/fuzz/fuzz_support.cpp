#include "fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace fuzz {

namespace {

QTemporaryDir& folder()
{
    static QTemporaryDir dir;
    return dir;
}

}  // namespace

const QString& scratchFolder()
{
    static const QString path = folder().path();
    return path;
}

QString scratchPath(const char* name) { return QDir(scratchFolder()).filePath(QString::fromUtf8(name)); }

void clearScratch()
{
    QDir dir(scratchFolder());
    for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const QString p = dir.filePath(entry);
        if (QFileInfo(p).isDir())
            QDir(p).removeRecursively();
        else
            QFile::remove(p);
    }
}

QString writeScratch(const char* name, const QByteArray& bytes)
{
    const QString path = scratchPath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
    return path;
}

QByteArray withMagic(const QByteArray& input, const QByteArray& magic)
{
    return input.startsWith(magic) ? input : magic + input;
}

}  // namespace fuzz

// Qt's file and image classes want an application object.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}
