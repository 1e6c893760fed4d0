#pragma once

#include "core/captions.h"
#include "core/portrait.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace core {

// A portrait document: the 22 part slots as 28-byte little-endian records (616 bytes, no
// header), beside a companion text file with the five captions. Older documents hold
// 24-byte records (528 bytes) without the figure steps and are upgraded when loaded.
inline constexpr int kDocumentSize = kind::Count * PartSlot::kByteSize;  // 616
inline constexpr int kOldRecordSize = 24;
inline constexpr int kOldDocumentSize = kind::Count * kOldRecordSize;     // 528

// The untitled portrait kept between runs, in the program folder.
inline constexpr char kWorkSnapshotName[] = "Ravoze.sav";

// The work snapshot in `appPath`, found without regard to case.
QString workSnapshotPath(const QString& appPath);

// The companion's path: the document's name followed by ".sac" when it ends with ".sav",
// else by ".fcm" (so face.fcr has face.fcr.fcm). The ending is compared without regard to
// case: a document named FACE.FCR keeps its captions in FACE.FCR.fcm rather than in no file
// at all. A companion that exists under another case in the document's folder is used.
QString companionPath(const QString& documentPath);

// Where a save keeps the new companion of a document with these bytes until the document
// is in place (see SaveDocument).
QString pendingCompanionPath(const QString& companion, QByteArrayView documentBytes);

// The 616 document bytes of slots 1 to 22.
QByteArray encodeDocument(const PartTable& parts);
// Slots 1 to 22 from 616 or 528 bytes (the old records get ShiftX = ShiftY = 0); slot 0 is
// left alone. False for any other length, and `parts` is then unchanged.
bool decodeDocument(QByteArrayView bytes, PartTable& parts);

// The companion text: five lines of 19 comma-separated fields in CP932, each ending with
// CR LF. Texts are written in double quotes, numbers in decimal, flags as #TRUE# / #FALSE#.
//
// Inside quotes a '"' cannot stand for itself, so texts are escaped with sequences that
// start with one; ordinary texts (no quote, no line break, nothing outside CP932) are
// written unchanged:
//   ""        a double quote
//   "r  "n    a carriage return, a line feed (so each caption stays on its own line)
//   "u{HEX}   a character CP932 cannot hold, by its code point (instead of '?')
// A '"' followed by anything else ends the text.
QByteArray encodeCompanion(const CaptionTable& captions);
// Reads the five lines; a line that is missing or cannot be read gives a cleared caption,
// and `damaged` (when given) is set. Lines may end with CR LF or LF.
CaptionTable decodeCompanion(QByteArrayView bytes, bool* damaged = nullptr);

// Fields of the portrait state that a save writes besides the slots: with FigurePosMode
// other than 3 (custom) the figure steps of slots 1 and 22 are cleared in `state`.
void clearUnusedFigureSteps(PortraitState& state);

// Saves the portrait: the figure steps as above, then the document and its companion.
// Both files are written whole and flushed under temporary names before anything is
// replaced; then the document is put in place and the companion after it, each rename
// flushed to the disk. Until the document is in place the new companion waits under a
// name that carries a stamp of the document's bytes, so a save killed between the two
// renames is finished by the next LoadDocument: a killed save leaves the previous pair or
// the new one. The document is always exactly 616 bytes: a longer file
// saved over loses its excess rather than becoming a document that no longer opens.
// Returns what failed (for the user, in Japanese where the system said why), nothing on
// success.
std::optional<QString> SaveDocument(const QString& path, PortraitState& state,
                                    const CaptionTable& captions);

// The part numbers of the default portrait: 1 (the kind's first part) for hairstyle, ears,
// outline, eyebrows, eyes, mouth, nose and fringe, 0 for the kinds that start empty; the
// animal body and head and every other field keep their values.
void setDefaultPortrait(PortraitState& state);

// The default portrait written to `path` (document only, atomically).
std::optional<QString> WriteDefaultDocument(const QString& path, PortraitState& state);

struct DocumentLoad {
    enum class Status {
        Loaded,    // read as stored
        Upgraded,  // a 528-byte document, read and rewritten as 616 bytes (when the
                   // rewrite fails the portrait is still loaded and `error` says so)
        Created,   // there was no document: the default portrait, written to the path
        Damaged,   // wrong length or unreadable: the default portrait in memory only
    };
    Status status = Status::Loaded;
    // The portrait is a new one (Created, Damaged): the caller sets FreshPortrait.
    bool freshPortrait = false;
    // Empty when all went well; otherwise why the document or companion could not be read
    // or written. With Damaged it tells why the document was not used.
    QString error;
};

// Loads the document at `path` into `state` and `captions`; never throws.
// - 616 bytes: the slots are read; the layer order and the figure position (from slot 1)
//   follow them.
// - 528 bytes: read as old records, then rewritten as a 616-byte document (atomically).
// - No file: the default portrait is written to the path (this creates the work snapshot
//   on a first run).
// - Any other length or a read error: the default portrait in memory; the file is left
//   exactly as it was, and no companion is written beside it.
// Captions come from the companion, or from the one a killed save left pending when it
// belongs to this document (it is then put in place; pending ones that belong to no
// document are removed). When it is missing they are cleared (none shown, and
// no texts of the previous portrait left behind) and, unless the document was damaged, a
// companion is written.
// With `writeBack` false nothing is ever written (batch rendering): a missing document is
// Damaged, a 528-byte one is only read, and no companion is created.
DocumentLoad LoadDocument(const QString& path, PortraitState& state, CaptionTable& captions,
                          bool writeBack = true);

}  // namespace core
