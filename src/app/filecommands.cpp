#include "app/filecommands.h"

#include "app/prompts.h"
#include "imaging/engine/errors.h"

#include <QDir>
#include <QFileInfo>

namespace app {

namespace {

// The engine's format codes for the save types.
constexpr int kFormatBmp = 6;
constexpr int kFormatOs2Bmp = 14;
constexpr int kFormatJfif = 10;
constexpr int kFormatJtif = 11;
constexpr int kFormatTif = 3;
constexpr int kFormatWmf = 15;
constexpr int kFormatPng = 75;

QString filterText(const FileType& type)
{
    return QString::fromUtf16(type.name) + u'(' + QString::fromUtf16(type.pattern) + u')';
}

}  // namespace

const std::array<FileType, 7>& openFileTypes()
{
    static const std::array<FileType, 7> types{{
        {u"全てのﾌｧｲﾙ", u"*.*"},
        {u"Windows & OS/2 Bitmap", u"*.bmp"},
        {u"JFIF & JTIF", u"*.jpg"},
        {u"TIF", u"*.tif"},
        {u"Windows Meta file", u"*.wmf"},
        {u"Faciora", u"*.fcr"},
        {u"PNG", u"*.png"},
    }};
    return types;
}

const std::array<FileType, 8>& saveFileTypes()
{
    static const std::array<FileType, 8> types{{
        {u"Windows Bitmap", u"*.bmp"},
        {u"OS/2 Bitmap", u"*.bmp"},
        {u"JFIF", u"*.jpg"},
        {u"JTIF", u"*.jpg"},
        {u"TIF", u"*.tif"},
        {u"Windows Meta file", u"*.wmf"},
        {u"PNG", u"*.png"},
        {u"Faciora", u"*.fcr"},
    }};
    return types;
}

QStringList openFilters(bool withPictures)
{
    if (!withPictures)
        return {filterText(openFileTypes()[kPortraitOpenType])};
    QStringList filters;
    for (const FileType& t : openFileTypes())
        filters << filterText(t);
    return filters;
}

QStringList saveFilters(bool withPortrait)
{
    QStringList filters;
    for (int i = 0; i < int(saveFileTypes().size()); ++i) {
        if (i == kPortraitSaveType && !withPortrait)
            break;
        filters << filterText(saveFileTypes()[std::size_t(i)]);
    }
    return filters;
}

bool isPortraitDocumentName(const QString& path)
{
    return path.endsWith(QLatin1String(".fcr"), Qt::CaseInsensitive);
}

SaveRoute saveRoute(const QString& path)
{
    if (path.isEmpty())
        return SaveRoute::SaveAs;
    if (path.contains(QLatin1String(".fcr"), Qt::CaseInsensitive))
        return SaveRoute::Document;
    return SaveRoute::Picture;
}

std::optional<QString> saveAsTarget(const QString& chosenPath, int saveType)
{
    if (saveType < 0 || saveType >= int(saveFileTypes().size()))
        return std::nullopt;
    const QFileInfo chosen(chosenPath);
    const QString title = chosen.fileName();
    const QString stem = title.section(u'.', 0, 0);
    if (stem.isEmpty())
        return std::nullopt;
    const QString extension = QString::fromUtf16(saveFileTypes()[std::size_t(saveType)].pattern).right(4);
    return QDir(chosen.path()).filePath(stem + extension);
}

std::optional<PictureFormat> defaultPictureFormat(int saveType)
{
    switch (saveType) {
    case 0: return PictureFormat{kFormatBmp, 24, 0};
    case 1: return PictureFormat{kFormatOs2Bmp, 24, 0};
    case 2: return PictureFormat{kFormatJfif, 24, 0};
    case 3: return PictureFormat{kFormatJtif, 24, 0};
    case 4: return PictureFormat{kFormatTif, 24, 0};
    case 5: return PictureFormat{kFormatWmf, 24, 0};
    case 6: return PictureFormat{kFormatPng, 24, 0};
    default: return std::nullopt;
    }
}

bool FileCommands::openFile()
{
    const bool pictures = host_.imageWindowsAvailable();
    const Prompts::FileChoice choice = prompts_.getOpenFileName(
        host_.dialogParent(), QString::fromUtf16(kOpenTitle), openFilters(pictures), 0);
    if (choice.path.isEmpty())
        return false;
    if (!isPortraitDocumentName(choice.path)) {
        if (pictures) {
            host_.openPicture(choice.path);
            return true;
        }
        // Until pictures open in image windows only portraits can be read.
        prompts_.information(host_.dialogParent(), QString::fromUtf16(kOpenErrorTitle),
                             imaging::DecodeError(imaging::kErrBadFormat));
        return false;
    }
    return host_.openPortrait(choice.path);
}

bool FileCommands::saveFile()
{
    const QString path = host_.documentName();
    SaveRoute route = saveRoute(path);
    // The editor's document is a portrait whatever it is called (a name given on the command
    // line need not end with ".fcr"); only image windows save pictures in place.
    if (route == SaveRoute::Picture && host_.editorActive())
        route = SaveRoute::Document;
    switch (route) {
    case SaveRoute::SaveAs:
        return saveFileAs();
    case SaveRoute::Document:
        return savePortraitDocument(path);
    case SaveRoute::Picture:
        break;
    }
    return false;
}

bool FileCommands::saveFileAs()
{
    const bool portrait = host_.editorActive();
    const QStringList filters = saveFilters(portrait);
    const Prompts::FileChoice choice =
        prompts_.getSaveFileName(host_.dialogParent(), QString::fromUtf16(kSaveTitle), filters,
                                 portrait ? kPortraitSaveType : 0);
    if (choice.path.isEmpty())
        return false;
    const int saveType = choice.filterIndex >= 0 ? choice.filterIndex : (portrait ? kPortraitSaveType : 0);
    const std::optional<QString> target = saveAsTarget(choice.path, saveType);
    if (!target) {
        saveError(imaging::DecodeError(imaging::kErrBadFileName));
        return false;
    }
    // The dialog asked about the name typed; the file written may be another one.
    if (QFileInfo(*target).absoluteFilePath() != QFileInfo(choice.path).absoluteFilePath()
        && QFileInfo::exists(*target)) {
        const auto answer = prompts_.question(
            host_.dialogParent(), QString::fromUtf16(kSaveTitle),
            QDir::toNativeSeparators(*target) + QStringLiteral(" は既に存在します。\n上書きしますか？"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return false;
    }
    if (isPortraitDocumentName(*target)) {
        if (!savePortraitDocument(*target))
            return false;
        host_.portraitNamed(*target);
        return true;
    }
    return exportPicture(*target, saveType);
}

bool FileCommands::savePortraitDocument(const QString& path)
{
    if (const std::optional<QString> error = host_.saveDocument(path)) {
        saveError(*error);
        return false;
    }
    return true;
}

bool FileCommands::exportPicture(const QString& target, int saveType)
{
    const std::optional<PictureFormat> format = defaultPictureFormat(saveType);
    if (!format)
        return false;
    if (host_.editorActive()) {
        // The portrait itself is kept before its picture is written: a named one if the user
        // wants, an untitled one in the work snapshot.
        const QString document = host_.documentName();
        if (!document.isEmpty()) {
            const auto answer = prompts_.question(host_.dialogParent(), QString::fromUtf16(kExportSaveTitle),
                                                  QString::fromUtf16(kExportSaveQuestion),
                                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
            if (answer == QMessageBox::Yes)
                savePortraitDocument(document);
        } else {
            savePortraitDocument(host_.workSnapshotPath());
        }
    }
    const int code = host_.exportPicture(target, *format);
    if (code != 0) {
        saveError(imaging::DecodeError(code));
        return false;
    }
    return true;
}

void FileCommands::saveError(const QString& text)
{
    prompts_.information(host_.dialogParent(), QString::fromUtf16(kSaveErrorTitle), text);
}

}  // namespace app
