#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QWidget;

namespace app {

class Prompts;

// One entry of the file dialogs' type lists.
struct FileType {
    const char16_t* name;
    const char16_t* pattern;
};

// "開く(&O)...": every picture type and the portrait document, in the dialog's order.
const std::array<FileType, 7>& openFileTypes();
// "名前を付けて保存(&A)...": the picture types by save type index, the portrait last.
const std::array<FileType, 8>& saveFileTypes();
inline constexpr int kPortraitSaveType = 7;
inline constexpr int kPortraitOpenType = 5;

// Dialog filters, "name(pattern)" each. Without pictures the open list offers only the
// portrait document; without the portrait the save list stops before it.
QStringList openFilters(bool withPictures);
QStringList saveFilters(bool withPortrait);

// Dialog titles and message titles of the file commands.
inline constexpr char16_t kOpenTitle[] = u"ﾌｧｲﾙの読込み";
inline constexpr char16_t kSaveTitle[] = u"ﾌｧｲﾙの保存";
inline constexpr char16_t kOpenErrorTitle[] = u"ﾌｧｲﾙ読込み ｴﾗｰ";
inline constexpr char16_t kSaveErrorTitle[] = u"ﾌｧｲﾙ保存 ｴﾗｰ";
inline constexpr char16_t kExportSaveTitle[] = u"Facioraﾌｧｲﾙ保存";
inline constexpr char16_t kExportSaveQuestion[] = u"作成中のﾌｧｲﾙを上書き保存しますか？";

// A portrait document is recognised by its ".fcr" ending, in any letter case (the names of
// the data folder are matched without case, and so are the companions).
bool isPortraitDocumentName(const QString& path);

// What "上書き保存(&S)" does with a path: no name yet asks for one; a name holding ".fcr"
// (anywhere, any case) is a portrait document; anything else is a picture saved in place.
enum class SaveRoute { SaveAs, Document, Picture };
SaveRoute saveRoute(const QString& path);

// The file "名前を付けて保存(&A)..." writes: in the chosen file's folder, its name up to the
// first "." followed by the extension of the chosen type ("face.old" as a portrait gives
// "face.fcr"). A name without "." is taken whole. Nothing for an unknown type or a name that
// leaves no stem (".fcr", "").
std::optional<QString> saveAsTarget(const QString& chosenPath, int saveType);

// How a picture export writes each save type until the save options dialog chooses:
// the engine's format code, the bit depth and the quality (0: the engine's default).
struct PictureFormat {
    int format = 0;
    int bits = 24;
    int quality = 0;
};
std::optional<PictureFormat> defaultPictureFormat(int saveType);

// What the file commands do to the windows. The main window implements it; tests fake it.
class FileCommandHost {
public:
    virtual ~FileCommandHost() = default;
    virtual QWidget* dialogParent() = 0;
    // The active child window is the portrait editor (rather than an image window).
    virtual bool editorActive() const = 0;
    // DocumentName: the portrait's document path, empty while it is untitled.
    virtual QString documentName() const = 0;
    virtual QString workSnapshotPath() const = 0;
    // Writes the portrait and its captions; the failure's text, nothing on success.
    virtual std::optional<QString> saveDocument(const QString& path) = 0;
    // The portrait is now stored under `path`: DocumentName, the editor's caption and
    // "上書き保存(&S)" follow.
    virtual void portraitNamed(const QString& path) = 0;
    // Opens the portrait document at `path` in the editor (closing the current one first);
    // false when the user kept the current portrait.
    virtual bool openPortrait(const QString& path) = 0;
    // Image windows: whether they exist yet, and opening a picture in one.
    virtual bool imageWindowsAvailable() const = 0;
    virtual void openPicture(const QString& path) = 0;
    // Writes the active window's picture (the portrait with its captions drawn in) to
    // `path`; 0 or the engine's error code.
    virtual int exportPicture(const QString& path, const PictureFormat& format) = 0;
};

// The decisions of "開く(&O)...", "上書き保存(&S)" and "名前を付けて保存(&A)...": which dialog,
// which question, save or not, and the messages of failures. No window of its own.
class FileCommands {
public:
    FileCommands(FileCommandHost& host, Prompts& prompts) : host_(host), prompts_(prompts) {}

    // OpenFile. True when something was opened.
    bool openFile();
    // SaveFile(DocumentName) for the editor.
    bool saveFile();
    // SaveFileAs. True when a file was written.
    bool saveFileAs();

private:
    bool savePortraitDocument(const QString& path);
    bool exportPicture(const QString& target, int saveType);
    void saveError(const QString& text);

    FileCommandHost& host_;
    Prompts& prompts_;
};

}  // namespace app
