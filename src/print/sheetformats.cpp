#include "print/sheetformats.h"

#include "core/cp932.h"
#include "core/inifile.h"
#include "imaging/engine/durablefile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace print {

namespace {

// 50 full lines take a few kilobytes; a bigger file is not read past this.
constexpr qint64 kMaxFileSize = qint64(1) << 20;

// Decodes one field; bytes that are not CP932 become '?' one by one rather than losing the
// whole field.
QString decodeField(QByteArrayView bytes, bool& undecodable)
{
    bool ok = false;
    QString text = core::decodeCp932(bytes, &ok);
    if (ok)
        return text;
    undecodable = true;
    text.clear();
    qsizetype i = 0;
    while (i < bytes.size()) {
        // A lead byte and its trail byte, or a single byte.
        bool pairOk = false;
        if (i + 1 < bytes.size()) {
            const QString pair = core::decodeCp932(bytes.sliced(i, 2), &pairOk);
            if (pairOk && pair.size() == 1) {
                text += pair;
                i += 2;
                continue;
            }
        }
        bool oneOk = false;
        const QString one = core::decodeCp932(bytes.sliced(i, 1), &oneOk);
        text += oneOk ? one : QStringLiteral("?");
        ++i;
    }
    return text;
}

// The fields of one line, as the platform's sequential read takes them: a field in quotes
// runs to its closing quote (a doubled quote inside is one quote), anything up to the next
// comma after it is dropped; a field without quotes runs to the next comma, trimmed.
QList<QByteArray> splitLine(QByteArrayView line)
{
    QList<QByteArray> fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        QByteArray field;
        if (i < n && line[i] == '"') {
            ++i;
            while (i < n) {
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i];
                ++i;
            }
            while (i < n && line[i] != ',')
                ++i;
        } else {
            const qsizetype start = i;
            while (i < n && line[i] != ',')
                ++i;
            field = line.sliced(start, i - start).toByteArray().trimmed();
        }
        fields << field;
        if (i >= n)
            break;
        ++i;  // the comma
    }
    return fields;
}

QByteArray quoted(const QString& text, bool& lossy)
{
    bool ok = true;
    QByteArray bytes = core::encodeCp932(text, &ok);
    if (!ok)
        lossy = true;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

}  // namespace

int fieldMaxLength(int field)
{
    switch (field) {
    case PrintSheetFormat::Name:
        return 30;
    case PrintSheetFormat::PictureWidth:
    case PrintSheetFormat::PictureHeight:
        return 3;
    case PrintSheetFormat::Rows:
    case PrintSheetFormat::Columns:
        return 1;
    default:
        return 2;
    }
}

PrintSheetFormat& SheetFormatTable::operator[](int number)
{
    Q_ASSERT(number >= 1 && number <= kCapacity);
    return entries[std::size_t(number - 1)];
}

const PrintSheetFormat& SheetFormatTable::operator[](int number) const
{
    Q_ASSERT(number >= 1 && number <= kCapacity);
    return entries[std::size_t(number - 1)];
}

bool SheetFormatTable::remove(int number)
{
    if (number < 1 || number > count || count > kCapacity)
        return false;
    for (int i = number; i < count; ++i)
        (*this)[i] = (*this)[i + 1];
    (*this)[count] = PrintSheetFormat();
    --count;
    return true;
}

SheetFormatTable parseSheetFormats(QByteArrayView bytes, SheetFormatParse* info)
{
    SheetFormatTable table;
    SheetFormatParse parse;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(pos, end - pos);
        pos = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (table.count >= SheetFormatTable::kCapacity) {
            ++parse.ignoredLines;
            continue;
        }
        const QList<QByteArray> fields = splitLine(line);
        PrintSheetFormat& entry = table[table.count + 1];
        for (int f = 0; f < PrintSheetFormat::FieldCount && f < fields.size(); ++f)
            entry[f] = decodeField(fields[f], parse.undecodable);
        if (fields.size() < PrintSheetFormat::FieldCount)
            ++parse.shortLines;
        ++table.count;
    }
    if (info)
        *info = parse;
    return table;
}

QByteArray encodeSheetFormats(const SheetFormatTable& table, bool* lossy)
{
    QByteArray out;
    bool anyLossy = false;
    for (const PrintSheetFormat& entry : table.entries) {
        if (entry.isFree())
            continue;
        for (int f = 0; f < PrintSheetFormat::FieldCount; ++f) {
            if (f > 0)
                out += ',';
            out += quoted(entry[f], anyLossy);
        }
        out += "\r\n";
    }
    if (lossy)
        *lossy = anyLossy;
    return out;
}

QString sheetFormatPath(const QString& appPath)
{
    return core::findFileNoCase(appPath, QString::fromLatin1(kSheetFormatFileName));
}

SheetFormatLoad LoadSheetFormats(const QString& path, SheetFormatTable& table)
{
    table = SheetFormatTable();
    SheetFormatLoad result;
    const QFileInfo info(path);
    if (!info.exists()) {
        result.status = SheetFormatLoad::Status::Missing;
        return result;
    }
    result.status = SheetFormatLoad::Status::Unreadable;
    if (!info.isFile()) {
        result.error = QStringLiteral("ファイルではありません");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    QByteArray bytes = file.read(kMaxFileSize);
    if (file.error() != QFileDevice::NoError) {
        result.error = file.errorString();
        return result;
    }
    const bool cut = !file.atEnd();
    if (cut) {
        // Only whole lines of the part that was read.
        const qsizetype lastBreak = bytes.lastIndexOf('\n');
        bytes.truncate(lastBreak < 0 ? 0 : lastBreak + 1);
    }
    table = parseSheetFormats(bytes, &result.parse);
    if (cut)
        ++result.parse.ignoredLines;
    result.status = SheetFormatLoad::Status::Loaded;
    return result;
}

std::optional<QString> SaveSheetFormats(const QString& path, const SheetFormatTable& table)
{
    const QByteArray bytes = encodeSheetFormats(table);
    // A failed save leaves the old file whole.
    if (const auto error = imaging::durable::writeAtomically(path, bytes))
        return error->message;
    return std::nullopt;
}

const SheetFormatLoad& SheetFormatStore::load()
{
    lastLoad_ = LoadSheetFormats(path_, table_);
    return lastLoad_;
}

std::optional<QString> SheetFormatStore::save()
{
    if (!writable())
        return QStringLiteral("読み込めなかったファイルには保存しません");
    return SaveSheetFormats(path_, table_);
}

QString SheetFormatStore::loadMessage() const
{
    const QString name = QFileInfo(path_).fileName();
    if (lastLoad_.status == SheetFormatLoad::Status::Unreadable)
        return QStringLiteral("印刷用紙設定ファイル %1 を読み込めません。(%2)\n変更は保存されません。")
            .arg(name, lastLoad_.error);
    if (lastLoad_.parse.ignoredLines > 0)
        return QStringLiteral("%1 の%2件目より後の行は読み込みませんでした。登録できるのは%2件までです。")
            .arg(name)
            .arg(SheetFormatTable::kCapacity);
    return {};
}

}  // namespace print
