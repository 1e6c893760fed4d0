#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>
#include <sys/types.h>

// Saving files that hold a user's work, in one place for both programs.
//
// A save writes a temporary file beside the target, flushes it to the disk (fsync), renames
// it over the target and then flushes the folder, so that the rename itself survives a power
// loss. Only after all of that is a save reported done; any failure before the rename leaves
// the previous file untouched and removes the temporary.
namespace imaging::durable {

struct FileError {
    int code = 0;      // errno of the failing call
    QString message;   // for the user, in Japanese: "<file>: <what went wrong>"
};

// The user's text for an errno value met while saving `path`.
QString describeError(const QString& path, int code);

// A file written and flushed under a temporary name, not yet in place.
class StagedFile {
public:
    StagedFile() = default;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&& other) noexcept;
    ~StagedFile();  // discards the temporary unless committed

    // Writes `bytes` to `tempPath` (created anew; empty picks a unique name beside `target`)
    // and flushes it. The target is not touched.
    static std::optional<FileError> stage(const QString& target, const QByteArray& bytes,
                                          StagedFile& out, const QString& tempPath = {});

    // Gives the temporary another name (in the same folder), flushing the folder.
    std::optional<FileError> moveTemporary(const QString& newTempPath);
    // Renames the temporary over the target and flushes the folder.
    std::optional<FileError> commit();
    void discard();

    const QString& target() const { return target_; }
    const QString& tempPath() const { return temp_; }
    bool pending() const { return !temp_.isEmpty(); }

private:
    QString target_;
    QString temp_;
};

// Replaces `path` with `bytes` as described above.
std::optional<FileError> writeAtomically(const QString& path, const QByteArray& bytes);

// Renames `from` over `to` and flushes the folder.
std::optional<FileError> replaceFile(const QString& from, const QString& to);

// Flushes a file or a folder (its entries: names created, renamed or removed in it).
// False when it could not be opened or flushed.
bool syncFile(const QString& path);
bool syncFolder(const QString& folder);

// The write(2) the writers call, replaceable in tests to stand in for a full disk or a
// failing device. nullptr restores the real one.
using WriteFunction = ssize_t (*)(int fd, const void* data, size_t size);
void setWriteFunction(WriteFunction fn);

}  // namespace imaging::durable
