#include "core/document.h"

#include "core/cp932.h"
#include "core/inifile.h"
#include "core/rounding.h"
#include "imaging/engine/durablefile.h"

#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cmath>
#include <cstring>
#include <optional>
#include <initializer_list>

namespace core {

namespace {

constexpr int kFieldCount = 19;
// Companions hold five short lines; a bigger file is not read past this.
constexpr qint64 kMaxCompanionSize = qint64(1) << 20;

const QByteArray kCrLf("\r\n");

QString fileError(const QString& path, const QString& what)
{
    return QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), what);
}

// Reads at most `maxSize` bytes of a regular file, all of it when maxSize is negative.
std::optional<QByteArray> readFile(const QString& path, qint64 maxSize, QString* error)
{
    if (!QFileInfo(path).isFile()) {
        *error = fileError(path, QStringLiteral("not a file"));
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = fileError(path, file.errorString());
        return std::nullopt;
    }
    QByteArray bytes = maxSize < 0 ? file.readAll() : file.read(maxSize);
    if (file.error() != QFileDevice::NoError) {
        *error = fileError(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

std::optional<QString> writeAtomically(const QString& path, const QByteArray& bytes)
{
    if (auto error = imaging::durable::writeAtomically(path, bytes))
        return error->message;
    return std::nullopt;
}

// The stamp that ties a companion to the document bytes it was saved with (FNV-1a, 64 bits).
QByteArray documentStamp(QByteArrayView documentBytes)
{
    quint64 h = 0xcbf29ce484222325ULL;
    for (const char c : documentBytes) {
        h ^= quint8(c);
        h *= 0x100000001b3ULL;
    }
    return QByteArray::number(h, 16).rightJustified(16, '0');
}

// Where a save keeps the new companion until its document is in place: the name carries
// the stamp of that document, so a load can tell whether the document it finds is the one
// the pending companion belongs to.
QString pendingName(const QString& companion, QByteArrayView documentBytes)
{
    return companion + u'.' + QString::fromLatin1(documentStamp(documentBytes)) + QStringLiteral(".new");
}

bool isPendingCompanionName(const QString& name, const QString& companionName)
{
    return name.size() == companionName.size() + 21 && name.startsWith(companionName + u'.')
        && name.endsWith(QLatin1String(".new"));
}

// The document and its companion as a pair; see SaveDocument.
//
// Both files are written and flushed under temporary names first, and the companion's is
// renamed to its pending name. Then the document is renamed into place (the commit point)
// and the companion after it. A process killed between those two renames leaves the new
// document and, under the pending name that matches it, its companion, which LoadDocument
// puts in place; killed earlier, it leaves the old pair and a pending file that matches
// no document.
std::optional<QString> writePair(const QString& docPath, const QByteArray& docBytes,
                                 const QString& companion, const QByteArray& companionBytes)
{
    using imaging::durable::StagedFile;
    StagedFile comp;
    if (auto error = StagedFile::stage(companion, companionBytes, comp))
        return error->message;
    StagedFile doc;
    if (auto error = StagedFile::stage(docPath, docBytes, doc))
        return error->message;
    if (auto error = comp.moveTemporary(pendingName(companion, docBytes)))
        return error->message;
    if (auto error = doc.commit())
        return error->message;
    if (auto error = comp.commit())
        return error->message;
    return std::nullopt;
}

// Companion text fields -------------------------------------------------------------

bool roundTripsCp932(QStringView text)
{
    bool ok = false;
    const QByteArray bytes = encodeCp932(text, &ok);
    return ok && decodeCp932(bytes) == text;
}

QString escapeText(const QString& text)
{
    const bool plain = roundTripsCp932(text);
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (qsizetype i = 0; i < text.size();) {
        const char32_t cp = text.at(i).isHighSurrogate() && i + 1 < text.size()
                && text.at(i + 1).isLowSurrogate()
            ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
            : char32_t(text.at(i).unicode());
        const qsizetype len = cp > 0xffff ? 2 : 1;
        const QStringView ch = QStringView(text).sliced(i, len);
        i += len;
        if (cp == u'"')
            out += u"\"\"";
        else if (cp == u'\r')
            out += u"\"r";
        else if (cp == u'\n')
            out += u"\"n";
        else if (cp >= 0xd800 && cp <= 0xdfff)
            out += u"\"u{FFFD}";  // a lone surrogate is no character
        else if (!plain && cp >= 0x80 && !roundTripsCp932(ch))
            out += QStringLiteral("\"u{") + QString::number(quint32(cp), 16).toUpper() + u'}';
        else
            out += ch;
    }
    out += u'"';
    return out;
}

QString boolText(bool b) { return b ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#"); }

QString companionLine(const CaptionEntry& c)
{
    const QStringList fields = {
        escapeText(c.Text),
        QString::number(c.TextSettingA),
        escapeText(c.FontName),
        QString::number(c.FontSize),
        boolText(c.FontBold),
        boolText(c.FontItalic),
        boolText(c.FontUnderline),
        boolText(c.FontStrikethrough),
        QString::number(c.TextSettingB),
        QString::number(c.TextSettingC),
        QString::number(c.TextSettingD),
        QString::number(c.TextSettingE),
        QString::number(c.TextSettingF),
        QString::number(c.TextSettingG),
        QString::number(c.BoxWidth),
        QString::number(c.BoxHeight),
        QString::number(c.BoxLeft),
        QString::number(c.BoxTop),
        boolText(c.Shown),
    };
    return fields.join(u',');
}

// Reads the fields of one line as the delimited form writes them. A field is a quoted text
// or the characters up to the next comma, blanks around it ignored.
class LineReader {
public:
    explicit LineReader(QStringView line) : s_(line) {}

    // False when the line ends early or a field is malformed.
    bool next(QString& field, bool& quoted)
    {
        if (done_)
            return false;
        skipBlanks();
        quoted = i_ < s_.size() && s_[i_] == u'"';
        field.clear();
        if (quoted) {
            ++i_;
            if (!readQuoted(field))
                return false;
            skipBlanks();
        } else {
            const qsizetype from = i_;
            while (i_ < s_.size() && s_[i_] != u',')
                ++i_;
            field = s_.sliced(from, i_ - from).trimmed().toString();
        }
        if (i_ >= s_.size())
            done_ = true;
        else if (s_[i_] == u',')
            ++i_;
        else
            return false;  // something after a closing quote
        return true;
    }

private:
    void skipBlanks()
    {
        while (i_ < s_.size() && (s_[i_] == u' ' || s_[i_] == u'\t'))
            ++i_;
    }

    bool readQuoted(QString& out)
    {
        while (i_ < s_.size()) {
            const QChar c = s_[i_++];
            if (c != u'"') {
                out += c;
                continue;
            }
            const QChar n = i_ < s_.size() ? s_[i_] : QChar();
            if (n == u'"') {
                out += u'"';
                ++i_;
            } else if (n == u'r') {
                out += u'\r';
                ++i_;
            } else if (n == u'n') {
                out += u'\n';
                ++i_;
            } else if (n == u'u' && i_ + 1 < s_.size() && s_[i_ + 1] == u'{') {
                const qsizetype close = s_.indexOf(u'}', i_ + 2);
                bool ok = false;
                const uint cp = close < 0 ? 0 : s_.sliced(i_ + 2, close - i_ - 2).toUInt(&ok, 16);
                if (!ok || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
                    return false;
                const char32_t c32 = cp;
                out += QString::fromUcs4(&c32, 1);
                i_ = close + 1;
            } else {
                return true;  // the closing quote
            }
        }
        return false;  // no closing quote
    }

    QStringView s_;
    qsizetype i_ = 0;
    bool done_ = false;
};

std::optional<long long> parseNumber(const QString& field)
{
    if (field.isEmpty())
        return 0;
    bool ok = false;
    const long long v = field.toLongLong(&ok);
    if (ok)
        return v;
    const double d = field.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return (long long)roundTo<std::int32_t>(d);
}

std::optional<bool> parseBool(const QString& field)
{
    if (field.compare(u"#TRUE#", Qt::CaseInsensitive) == 0)
        return true;
    if (field.compare(u"#FALSE#", Qt::CaseInsensitive) == 0)
        return false;
    if (const auto n = parseNumber(field))
        return *n != 0;
    return std::nullopt;
}

std::optional<CaptionEntry> parseCompanionLine(QStringView line)
{
    LineReader reader(line);
    QString fields[kFieldCount];
    bool quoted[kFieldCount] = {};
    for (int f = 0; f < kFieldCount; ++f) {
        if (!reader.next(fields[f], quoted[f]))
            return std::nullopt;
    }
    CaptionEntry c;
    bool ok = true;
    auto text = [&](int f) -> QString { return fields[f]; };
    auto i16 = [&](int f) -> std::int16_t {
        const auto n = quoted[f] ? std::nullopt : parseNumber(fields[f]);
        ok = ok && n.has_value();
        return n ? clampToInt16(*n) : 0;
    };
    auto i32 = [&](int f) -> std::int32_t {
        const auto n = quoted[f] ? std::nullopt : parseNumber(fields[f]);
        ok = ok && n.has_value();
        return n ? clampToInt32(*n) : 0;
    };
    auto flag = [&](int f) -> bool {
        const auto b = quoted[f] ? std::nullopt : parseBool(fields[f]);
        ok = ok && b.has_value();
        return b.value_or(false);
    };
    c.Text = text(0);
    c.TextSettingA = i16(1);
    c.FontName = text(2);
    c.FontSize = i16(3);
    c.FontBold = flag(4);
    c.FontItalic = flag(5);
    c.FontUnderline = flag(6);
    c.FontStrikethrough = flag(7);
    c.TextSettingB = i32(8);
    c.TextSettingC = i32(9);
    c.TextSettingD = i32(10);
    c.TextSettingE = i16(11);
    c.TextSettingF = i16(12);
    c.TextSettingG = i16(13);
    c.BoxWidth = i16(14);
    c.BoxHeight = i16(15);
    c.BoxLeft = i16(16);
    c.BoxTop = i16(17);
    c.Shown = flag(18);
    if (!ok)
        return std::nullopt;
    return c;
}

QString decodeLine(QByteArrayView raw)
{
    bool ok = false;
    QString text = decodeCp932(raw, &ok);
    // Most likely saved as UTF-8 by an editor.
    return ok ? text : QString::fromUtf8(raw);
}

void clearCaptions(CaptionTable& captions) { captions = CaptionTable(); }

}  // namespace

QString pendingCompanionPath(const QString& companion, QByteArrayView documentBytes)
{
    return pendingName(companion, documentBytes);
}

QString workSnapshotPath(const QString& appPath)
{
    return findFileNoCase(appPath, QString::fromLatin1(kWorkSnapshotName));
}

QString companionPath(const QString& documentPath)
{
    const QFileInfo info(documentPath);
    const QString suffix = info.fileName().endsWith(u".sav", Qt::CaseInsensitive)
        ? QStringLiteral(".sac")
        : QStringLiteral(".fcm");
    const QString exact = documentPath + suffix;
    if (QFileInfo(exact).isFile())
        return exact;
    const QString found = findFileNoCase(info.path(), info.fileName() + suffix);
    return QFileInfo(found).isFile() ? found : exact;
}

QByteArray encodeDocument(const PartTable& parts)
{
    QByteArray bytes;
    bytes.reserve(kDocumentSize);
    for (int k = kind::First; k <= kind::Last; ++k) {
        const PartSlot::Bytes b = parts[k].toBytes();
        bytes.append(reinterpret_cast<const char*>(b.data()), qsizetype(b.size()));
    }
    return bytes;
}

bool decodeDocument(QByteArrayView bytes, PartTable& parts)
{
    int recordSize = 0;
    if (bytes.size() == kDocumentSize)
        recordSize = PartSlot::kByteSize;
    else if (bytes.size() == kOldDocumentSize)
        recordSize = kOldRecordSize;
    else
        return false;
    for (int k = kind::First; k <= kind::Last; ++k) {
        PartSlot::Bytes record{};  // the old records lack ShiftX and ShiftY: zeros
        std::memcpy(record.data(), bytes.data() + qsizetype(k - 1) * recordSize,
                    size_t(recordSize));
        parts[k] = PartSlot::fromBytes(record);
        clampPartSize(parts[k]);
    }
    return true;
}

QByteArray encodeCompanion(const CaptionTable& captions)
{
    QByteArray bytes;
    for (const CaptionEntry& c : captions.entries) {
        // Whatever still cannot be encoded was escaped; nothing becomes '?'.
        bytes += encodeCp932(companionLine(c));
        bytes += kCrLf;
    }
    return bytes;
}

CaptionTable decodeCompanion(QByteArrayView bytes, bool* damaged)
{
    CaptionTable captions;
    bool bad = false;
    qsizetype start = 0;
    for (int n = 1; n <= CaptionTable::kCount; ++n) {
        if (start >= bytes.size()) {
            bad = true;
            break;
        }
        qsizetype nl = bytes.indexOf('\n', start);
        const qsizetype end = nl < 0 ? bytes.size() : nl;
        QByteArrayView raw = bytes.sliced(start, end - start);
        if (raw.endsWith('\r'))
            raw.chop(1);
        start = end + 1;
        if (const auto entry = parseCompanionLine(decodeLine(raw)))
            captions[n] = *entry;
        else
            bad = true;
    }
    if (damaged)
        *damaged = bad;
    return captions;
}

void clearUnusedFigureSteps(PortraitState& state)
{
    if (state.FigurePosMode == 3)
        return;
    for (const PartKind k : {kind::Background, kind::Balloon}) {
        state.PartTable[k].ShiftX = 0;
        state.PartTable[k].ShiftY = 0;
    }
}

std::optional<QString> SaveDocument(const QString& path, PortraitState& state,
                                    const CaptionTable& captions)
{
    clearUnusedFigureSteps(state);
    return writePair(path, encodeDocument(state.PartTable), companionPath(path),
                     encodeCompanion(captions));
}

void setDefaultPortrait(PortraitState& state)
{
    using namespace kind;
    for (const PartKind k : {Hairstyle, Ears, Outline, BrowRight, BrowLeft, EyeRight, EyeLeft,
                             Mouth, Nose, Fringe})
        state.PartTable[k].FileNo = 1;
    for (const PartKind k : {Background, User, Body, Wrinkles, Mole, Beard, Option, Glasses,
                             Hat, Balloon})
        state.PartTable[k].FileNo = 0;
}

std::optional<QString> WriteDefaultDocument(const QString& path, PortraitState& state)
{
    setDefaultPortrait(state);
    clearUnusedFigureSteps(state);
    return writeAtomically(path, encodeDocument(state.PartTable));
}

DocumentLoad LoadDocument(const QString& path, PortraitState& state, CaptionTable& captions,
                          bool writeBack)
{
    DocumentLoad result;
    auto addError = [&result](const QString& error) {
        result.error = result.error.isEmpty() ? error : result.error + u'\n' + error;
    };
    bool documentOnDisk = true;
    QByteArray documentBytes;  // as the file holds them, for the companion's stamp

    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink() && !writeBack) {
        result.status = DocumentLoad::Status::Damaged;
        result.freshPortrait = true;
        addError(fileError(path, QStringLiteral("does not exist")));
        setDefaultPortrait(state);
        clearUnusedFigureSteps(state);
        documentOnDisk = false;
    } else if (!info.exists() && !info.isSymLink()) {
        result.status = DocumentLoad::Status::Created;
        result.freshPortrait = true;
        if (auto error = WriteDefaultDocument(path, state)) {
            addError(*error);
            documentOnDisk = false;
        }
        documentBytes = encodeDocument(state.PartTable);
    } else {
        QString error;
        std::optional<QByteArray> bytes;
        const qint64 size = info.size();
        if (info.isFile() && size != kDocumentSize && size != kOldDocumentSize)
            error = fileError(path, QStringLiteral("not a portrait document (%1 bytes)").arg(size));
        else
            bytes = readFile(path, kDocumentSize + 1, &error);
        PartTable parts = state.PartTable;
        if (!bytes || !decodeDocument(*bytes, parts)) {
            if (error.isEmpty())
                error = fileError(path, QStringLiteral("not a portrait document (%1 bytes)")
                                            .arg(bytes ? bytes->size() : 0));
            // The file stays as it is: the user may still want it, and nothing is written
            // beside it.
            result.status = DocumentLoad::Status::Damaged;
            result.freshPortrait = true;
            addError(error);
            setDefaultPortrait(state);
            clearUnusedFigureSteps(state);
            documentOnDisk = false;
        } else {
            state.PartTable = parts;
            documentBytes = *bytes;
            if (bytes->size() == kOldDocumentSize) {
                result.status = DocumentLoad::Status::Upgraded;
                if (writeBack) {
                    if (auto writeError = writeAtomically(path, encodeDocument(parts)))
                        addError(*writeError);
                }
            }
            InitLayerOrder(state);
            MoveUserLayer(state, state.PartTable[kind::User].Extra);
            const PartSlot& background = state.PartTable[kind::Background];
            state.FigurePosMode = background.Extra;
            state.FigureStepX = background.ShiftX;
            state.FigureStepY = background.ShiftY;
        }
    }

    const QString companion = companionPath(path);
    // A save killed between its two renames left its companion under a pending name.
    std::optional<QByteArray> pendingBytes;
    if (documentOnDisk) {
        const QString pending = pendingName(companion, documentBytes);
        if (QFileInfo(pending).isFile()) {
            QString ignored;
            pendingBytes = readFile(pending, kMaxCompanionSize, &ignored);
            if (pendingBytes && writeBack) {
                if (auto error = imaging::durable::replaceFile(pending, companion))
                    addError(error->message);
            }
        }
    }
    if (writeBack) {
        // Pending companions of saves that never put their document in place.
        const QFileInfo companionInfo(companion);
        const QDir folder = companionInfo.dir();
        // Likewise the temporaries of a killed save (see imaging::durable::StagedFile).
        auto isTemporary = [](const QString& name, const QString& of) {
            return name.size() == of.size() + 14 && name.startsWith(u'.' + of + u'.')
                && name.endsWith(QLatin1String(".tmp"));
        };
        const QString documentName = QFileInfo(path).fileName();
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
            if (isPendingCompanionName(name, companionInfo.fileName())
                || isTemporary(name, companionInfo.fileName()) || isTemporary(name, documentName))
                QFile::remove(folder.filePath(name));
        }
    }

    if (pendingBytes) {
        captions = decodeCompanion(*pendingBytes);
    } else if (QFileInfo::exists(companion)) {
        QString error;
        if (const auto bytes = readFile(companion, kMaxCompanionSize, &error)) {
            bool damaged = false;
            captions = decodeCompanion(*bytes, &damaged);
            if (damaged)
                addError(fileError(companion, QStringLiteral("captions that cannot be read were left out")));
        } else {
            clearCaptions(captions);
            addError(error);
        }
    } else {
        // No texts of the previous portrait may stay behind, hidden, to be saved with this one.
        clearCaptions(captions);
        if (documentOnDisk && writeBack) {
            if (auto error = writeAtomically(companion, encodeCompanion(captions)))
                addError(*error);
        }
    }
    return result;
}

}  // namespace core
