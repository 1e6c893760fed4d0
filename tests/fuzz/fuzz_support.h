#pragma once

// Shared by the fuzz targets: each defines LLVMFuzzerTestOneInput; libFuzzer drives it in a
// FACIORA_FUZZ build, replay_main.cpp replays the committed corpus in every test build.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

// A folder of this process's own for files the targets write; emptied by clear().
const QString& scratchFolder();
QString scratchPath(const char* name);
void clearScratch();

// Writes bytes to a scratch file and returns its path.
QString writeScratch(const char* name, const QByteArray& bytes);

inline QByteArray bytes(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// The input with `magic` in front unless it already starts with it, so that a picture
// target stays with its own reader.
QByteArray withMagic(const QByteArray& input, const QByteArray& magic);

}  // namespace fuzz
