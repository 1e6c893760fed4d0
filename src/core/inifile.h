#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace core {

// A settings file with the semantics of the platform's profile-string functions:
// "[Section]" headers and "key=value" lines; section and key names compared without regard
// to ASCII case; order kept as in the file; new keys go to the end of their section and new
// sections to the end of the file. Lines that are not headers or key lines (comments
// starting with ';', blank lines, anything else) are kept as they are.
//
// The file is CP932. Lines that are not changed are written back byte for byte as they were
// read; changed and new lines end with CR LF. Both CR LF and LF are read.
class IniFile {
public:
    IniFile() = default;

    // Replaces the content with the file's. A missing file gives an empty IniFile and
    // succeeds; false only when the file exists but cannot be read (the content is then
    // empty, and it must not be saved over the file).
    bool load(const QString& path);
    // Writes through a temporary file renamed over `path`, so a failed or interrupted save
    // leaves the previous file as it was.
    bool save(const QString& path) const;

    QByteArray toBytes() const;
    static IniFile fromBytes(const QByteArray& bytes);

    QStringList sections() const;
    bool hasSection(QStringView section) const;
    bool contains(QStringView section, QStringView key) const;

    // The value of the first matching key, trimmed of surrounding spaces and tabs and cut at
    // a NUL; `defaultValue` when the section or key is missing.
    QString value(QStringView section, QStringView key, const QString& defaultValue = {}) const;
    // The same into a buffer of `bufferSize` characters, NUL included: at most
    // bufferSize - 1 characters of the value (or of the default) come back.
    QString value(QStringView section, QStringView key, const QString& defaultValue,
                  int bufferSize) const;

    // All key names of the section in file order; empty when the section is missing.
    QStringList keys(QStringView section) const;
    // The key names as the platform hands them over: each followed by a NUL, in a buffer of
    // `bufferSize` characters that ends with two NULs; when they do not fit, the list is cut
    // after bufferSize - 2 characters. A missing section gives `defaultValue` instead (cut to
    // bufferSize - 1), an empty section an empty text. The returned text holds the characters
    // up to, not including, the final NUL of the buffer.
    QString keyBuffer(QStringView section, const QString& defaultValue, int bufferSize) const;

    enum class SetResult {
        Written,
        Substituted,  // written, but characters CP932 cannot hold became '?'
        Refused,      // a line break in any of them, '=' or a leading '[' or ';' in the key
                      // name, or ']' in the section name: nothing written
    };
    // Updates the first matching key in place (keeping the file's spelling of its name), or
    // appends it to its section, or appends the section.
    SetResult setValue(QStringView section, QStringView key, const QString& value);

private:
    enum class LineType { Other, Section, Key };
    struct Line {
        QByteArray raw;     // as read or as written, without the line end
        QByteArray eol;     // "\r\n", "\n", or empty for a last line without one
        LineType type = LineType::Other;
        QString name;       // section or key name, trimmed
        QString value;      // key value, trimmed
    };

    static Line parseLine(QByteArray raw, QByteArray eol);
    int findSection(QStringView section) const;  // index of the header line or -1
    // Index of the key line in the section starting at header line `start`, or -1.
    int findKey(int start, QStringView key) const;
    int sectionEnd(int start) const;  // index after the section's last line

    std::vector<Line> lines_;
};

// Finds `name` in `folder` without regard to ASCII case ("ravoze.ini" finds "RAVOZE.INI"):
// the exact name when it exists, else the first matching file in name order. Returns the
// path of the file found, or folder/name when there is none so that it can be created.
QString findFileNoCase(const QString& folder, const QString& name);

}  // namespace core
