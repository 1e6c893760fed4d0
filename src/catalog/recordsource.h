#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace catalog {

// The three record sources the programs open, as the exact texts they hand over.
enum class RecordSource {
    ListOrder,   // every record by PictureID, FileNo, who_main
    MergeOrder,  // every record by FileNo, who_main (merge target)
    PhotoOrder,  // the photos (PictureID 2) by FileNo, who_main
};

inline constexpr char kListOrderSource[] = "SELECT * FROM people ORDER BY PictureID,FileNo,who_main";
inline constexpr char kMergeOrderSource[] = "SELECT * FROM people ORDER BY FileNo,who_main";
inline constexpr char kPhotoOrderSource[] =
    "select * from people where pictureid = 2 order by fileno,who_main";

// The source a text names. Only the exact texts above are accepted (case and spacing
// included): anything else is nullopt.
std::optional<RecordSource> parseRecordSource(QStringView text);
QString recordSourceText(RecordSource source);

// A find-first criterion in one of the forms the programs build.
struct Criterion {
    enum class Form {
        Category,    // "PictureID = n"
        Part,        // "PictureID = n AND FileNo = m" (or "and")
        FileNoOnly,  // "FileNo = m"
        Range,       // "PictureID = n and FileNo >= a and FileNo <= b" (or "AND")
    };
    Form form = Form::Category;
    int pictureId = 0;
    int fileNo = 0;  // Part and FileNoOnly
    int low = 0;     // Range
    int high = 0;    // Range
};

// Parses the exact forms above, numbers in decimal within the 16-bit range; nullopt for
// anything else. User text never reaches SQL: the numbers are bound.
std::optional<Criterion> parseCriterion(QStringView text);

// The criteria as the programs write them.
QString categoryCriterion(int pictureId);
QString partCriterion(int pictureId, int fileNo);  // with " AND "
QString fileNoCriterion(int fileNo);

}  // namespace catalog
