#include "imaging/engine/durablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace imaging::durable {

namespace {

std::atomic<WriteFunction> g_write{nullptr};

ssize_t callWrite(int fd, const void* data, size_t size)
{
    const WriteFunction fn = g_write.load(std::memory_order_relaxed);
    return fn ? fn(fd, data, size) : ::write(fd, data, size);
}

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

// The file a save of `path` replaces: a symbolic link keeps pointing at the saved file.
QString resolveTarget(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.symLinkTarget();
        if (!target.isEmpty())
            return target;
    }
    return path;
}

FileError errorFor(const QString& path, int code) { return {code, describeError(path, code)}; }

bool writeAll(int fd, const QByteArray& bytes, int* code)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = callWrite(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *code = errno;
            return false;
        }
        if (n == 0) {
            *code = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

}  // namespace

QString describeError(const QString& path, int code)
{
    QString what;
    switch (code) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        what = QStringLiteral("ディスクの空き容量が足りません。");
        break;
    case EACCES:
    case EPERM:
        what = QStringLiteral("書き込みが許可されていません。");
        break;
    case EROFS:
        what = QStringLiteral("読み取り専用の場所には保存できません。");
        break;
    case ENOENT:
    case ENOTDIR:
        what = QStringLiteral("保存先のフォルダがありません。");
        break;
    case EISDIR:
        what = QStringLiteral("同じ名前のフォルダがあります。");
        break;
    case EIO:
        what = QStringLiteral("装置の入出力エラーです。");
        break;
    default:
        what = QStringLiteral("保存できませんでした（%1）。")
                   .arg(QString::fromLocal8Bit(std::strerror(code)));
        break;
    }
    return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), what);
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : target_(std::move(other.target_)), temp_(std::move(other.temp_))
{
    other.temp_.clear();
}

StagedFile& StagedFile::operator=(StagedFile&& other) noexcept
{
    if (this != &other) {
        discard();
        target_ = std::move(other.target_);
        temp_ = std::move(other.temp_);
        other.temp_.clear();
    }
    return *this;
}

StagedFile::~StagedFile() { discard(); }

std::optional<FileError> StagedFile::stage(const QString& target, const QByteArray& bytes,
                                           StagedFile& out, const QString& tempPath)
{
    out.discard();
    const QString resolved = resolveTarget(target);
    const QFileInfo info(resolved);
    if (info.isDir())
        return errorFor(target, EISDIR);

    QString temp = tempPath;
    int fd = -1;
    if (!temp.isEmpty()) {
        ::unlink(nativePath(temp).constData());
        fd = ::open(nativePath(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    } else {
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            temp = QStringLiteral("%1/.%2.%3.tmp")
                       .arg(info.absolutePath(), info.fileName())
                       .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
            fd = ::open(nativePath(temp).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                        0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
    }
    if (fd < 0)
        return errorFor(target, errno);

    // A save keeps the permissions the user gave the file.
    struct stat st {};
    if (::stat(nativePath(resolved).constData(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);

    int code = 0;
    bool ok = writeAll(fd, bytes, &code);
    // The data must be on the disk before the rename makes it the file: otherwise a power
    // loss after the rename can leave an empty or partial file under the old name.
    if (ok && ::fsync(fd) != 0) {
        code = errno;
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        code = errno;
        ok = false;
    }
    if (!ok) {
        ::unlink(nativePath(temp).constData());
        return errorFor(target, code);
    }
    out.target_ = resolved;
    out.temp_ = temp;
    return std::nullopt;
}

std::optional<FileError> StagedFile::moveTemporary(const QString& newTempPath)
{
    if (temp_.isEmpty())
        return errorFor(target_, EINVAL);
    if (::rename(nativePath(temp_).constData(), nativePath(newTempPath).constData()) != 0) {
        const int code = errno;
        discard();
        return errorFor(target_, code);
    }
    temp_ = newTempPath;
    syncFolder(QFileInfo(newTempPath).absolutePath());
    return std::nullopt;
}

std::optional<FileError> StagedFile::commit()
{
    if (temp_.isEmpty())
        return errorFor(target_, EINVAL);
    if (::rename(nativePath(temp_).constData(), nativePath(target_).constData()) != 0) {
        const int code = errno;
        discard();
        return errorFor(target_, code);
    }
    temp_.clear();
    // The rename lives in the folder's entries; flushing the folder makes it durable.
    syncFolder(QFileInfo(target_).absolutePath());
    return std::nullopt;
}

void StagedFile::discard()
{
    if (!temp_.isEmpty()) {
        ::unlink(nativePath(temp_).constData());
        temp_.clear();
    }
}

std::optional<FileError> writeAtomically(const QString& path, const QByteArray& bytes)
{
    StagedFile file;
    if (auto error = StagedFile::stage(path, bytes, file))
        return error;
    return file.commit();
}

std::optional<FileError> replaceFile(const QString& from, const QString& to)
{
    if (::rename(nativePath(from).constData(), nativePath(to).constData()) != 0)
        return errorFor(to, errno);
    syncFolder(QFileInfo(to).absolutePath());
    return std::nullopt;
}

bool syncFile(const QString& path)
{
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool syncFolder(const QString& folder)
{
    const int fd = ::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    // Some file systems refuse to flush a folder (EINVAL); the rename is then as durable as
    // they make it.
    const bool ok = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return ok;
}

void setWriteFunction(WriteFunction fn) { g_write.store(fn, std::memory_order_relaxed); }

}  // namespace imaging::durable
