#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace print {

// The file of print sheet formats, in the program folder.
inline constexpr char kSheetFormatFileName[] = "PRTSET.DFT";

// One named grid layout. All nine fields are the texts exactly as typed (a margin may be
// " 5" or "2.5"); only ValidateSheetLayout turns them into numbers.
struct PrintSheetFormat {
    enum Field : int {
        Name,
        TopMargin,
        LeftMargin,
        PictureWidth,   // 0: automatic
        PictureHeight,  // 0: automatic
        RowGap,
        ColumnGap,
        Rows,
        Columns,
        FieldCount
    };
    std::array<QString, FieldCount> fields;

    QString& operator[](int field) { return fields[std::size_t(field)]; }
    const QString& operator[](int field) const { return fields[std::size_t(field)]; }
    const QString& name() const { return fields[Name]; }
    bool isFree() const { return fields[Name].isEmpty(); }

    friend bool operator==(const PrintSheetFormat&, const PrintSheetFormat&) = default;
};

// How many characters each field's text box lets the user type.
int fieldMaxLength(int field);

// Entries 1..50 and the count of entries read or kept. An entry with an empty name is a
// free slot.
struct SheetFormatTable {
    static constexpr int kCapacity = 50;
    std::array<PrintSheetFormat, kCapacity> entries{};
    std::int16_t count = 0;

    // number 1..50 (asserted)
    PrintSheetFormat& operator[](int number);
    const PrintSheetFormat& operator[](int number) const;

    // "削　除": entries number + 1 .. count move down one place, the old last entry is
    // emptied, and the count drops by one. False (nothing changes) for a number outside
    // 1..count.
    bool remove(int number);

    friend bool operator==(const SheetFormatTable&, const SheetFormatTable&) = default;
};

// What reading found besides the formats.
struct SheetFormatParse {
    int ignoredLines = 0;     // lines after the 50th (and a file cut at the size limit)
    int shortLines = 0;       // lines with fewer than nine fields: the rest were left empty
    bool undecodable = false; // bytes that are not CP932 became '?'
};

// The file's bytes: one format a line in CP932, lines ended by CR LF (a bare LF is taken
// too); nine fields, each in double quotes, separated by commas. Inside quotes a doubled
// quote stands for one (so a name may hold a quote); commas stay part of the field. A field
// written without quotes is taken trimmed of spaces. Blank lines are skipped. Only the
// first 50 lines become entries.
SheetFormatTable parseSheetFormats(QByteArrayView bytes, SheetFormatParse* info = nullptr);

// The bytes SaveSheetFormats writes: entries 1 to 50 in order, every one whose name is
// empty skipped. Characters CP932 cannot hold become '?' (`lossy` tells whether any did).
QByteArray encodeSheetFormats(const SheetFormatTable& table, bool* lossy = nullptr);

struct SheetFormatLoad {
    enum class Status {
        Loaded,
        Missing,     // no file: an empty table
        Unreadable,  // the file exists but could not be read: an empty table, not to be saved
    };
    Status status = Status::Missing;
    SheetFormatParse parse;
    QString error;  // why the file could not be read
};

// The formats file of `appPath` (found without regard to case; PRTSET.DFT when missing).
QString sheetFormatPath(const QString& appPath);

// LoadSheetFormats: the count is set to 0 and the table filled from the file.
SheetFormatLoad LoadSheetFormats(const QString& path, SheetFormatTable& table);

// SaveSheetFormats: the file is created anew, through a temporary file renamed over it, so
// a failed save leaves the previous file whole. Returns what failed, nothing on success.
std::optional<QString> SaveSheetFormats(const QString& path, const SheetFormatTable& table);

// The formats of one program folder as the dialogs use them: loads, remembers whether the
// file could be read, and refuses to save a table that stands for an unreadable file, so
// that a file that failed to load is never replaced by an empty or partial table.
class SheetFormatStore {
public:
    explicit SheetFormatStore(QString path) : path_(std::move(path)) {}

    const SheetFormatLoad& load();
    std::optional<QString> save();

    SheetFormatTable& table() { return table_; }
    const SheetFormatTable& table() const { return table_; }
    const SheetFormatLoad& lastLoad() const { return lastLoad_; }
    const QString& path() const { return path_; }
    bool writable() const { return lastLoad_.status != SheetFormatLoad::Status::Unreadable; }

    // The message for the user about the last load, empty when there is nothing to say:
    // an unreadable file, or lines past the 50th that were left out.
    QString loadMessage() const;

private:
    QString path_;
    SheetFormatTable table_;
    SheetFormatLoad lastLoad_;
};

}  // namespace print
