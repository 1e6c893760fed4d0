#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace core {

// The Japanese Windows code page (Shift-JIS with Microsoft's extensions), used by the
// settings file and the caption files. ASCII passes through unchanged.

// A null QString, with ok set to false, when `bytes` is not valid CP932.
QString decodeCp932(QByteArrayView bytes, bool* ok = nullptr);

// Characters CP932 cannot hold become '?', as the platform's own conversion does; `ok` tells
// whether that happened.
QByteArray encodeCp932(QStringView text, bool* ok = nullptr);

}  // namespace core
