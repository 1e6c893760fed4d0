#include "core/inifile.h"

#include "core/cp932.h"
#include "imaging/engine/durablefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace core {

namespace {

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

bool equalsNoCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldAscii(a[i].unicode()) != foldAscii(b[i].unicode()))
            return false;
    }
    return true;
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Only spaces and tabs: a full-width space at the end of a value is part of it.
QStringView trimBlanks(QStringView s)
{
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

QString decodeLine(const QByteArray& raw)
{
    bool ok = false;
    QString text = decodeCp932(raw, &ok);
    // A line the file's code page cannot decode is most likely UTF-8 from an editor; it is
    // only read this way and written back as it was.
    return ok ? text : QString::fromUtf8(raw);
}

QString cutAtNul(QStringView s)
{
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    return (nul < 0 ? s : s.first(nul)).toString();
}

QString truncated(const QString& s, int bufferSize)
{
    if (bufferSize <= 1)
        return QString();
    return s.size() < bufferSize ? s : s.first(bufferSize - 1);
}

bool hasLineBreak(QStringView s) { return s.contains(u'\n') || s.contains(u'\r'); }

const QByteArray kCrLf("\r\n");

}  // namespace

IniFile::Line IniFile::parseLine(QByteArray raw, QByteArray eol)
{
    Line line;
    line.raw = std::move(raw);
    line.eol = std::move(eol);
    const QString text = decodeLine(line.raw);
    const QStringView t = trimBlanks(text);
    if (t.startsWith(u';'))
        return line;
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        line.type = LineType::Section;
        line.name = trimBlanks(close < 0 ? t.sliced(1) : t.sliced(1, close - 1)).toString();
        return line;
    }
    const qsizetype eq = t.indexOf(u'=');
    if (eq >= 0) {
        line.type = LineType::Key;
        line.name = trimBlanks(t.first(eq)).toString();
        line.value = cutAtNul(trimBlanks(t.sliced(eq + 1)));
    }
    return line;
}

bool IniFile::load(const QString& path)
{
    lines_.clear();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    *this = fromBytes(bytes);
    return true;
}

bool IniFile::save(const QString& path) const
{
    return !imaging::durable::writeAtomically(path, toBytes()).has_value();
}

QByteArray IniFile::toBytes() const
{
    QByteArray out;
    for (const Line& line : lines_) {
        out += line.raw;
        out += line.eol;
    }
    return out;
}

IniFile IniFile::fromBytes(const QByteArray& bytes)
{
    IniFile ini;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        if (nl < 0) {
            ini.lines_.push_back(parseLine(bytes.sliced(start), QByteArray()));
            break;
        }
        const bool cr = nl > start && bytes[nl - 1] == '\r';
        const qsizetype end = cr ? nl - 1 : nl;
        ini.lines_.push_back(
            parseLine(bytes.sliced(start, end - start), cr ? kCrLf : QByteArray("\n")));
        start = nl + 1;
    }
    return ini;
}

int IniFile::findSection(QStringView section) const
{
    const QStringView name = trimBlanks(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].type == LineType::Section && equalsNoCase(lines_[i].name, name))
            return int(i);
    }
    return -1;
}

int IniFile::sectionEnd(int start) const
{
    size_t i = size_t(start) + 1;
    while (i < lines_.size() && lines_[i].type != LineType::Section)
        ++i;
    return int(i);
}

int IniFile::findKey(int start, QStringView key) const
{
    const QStringView name = trimBlanks(key);
    const int end = sectionEnd(start);
    for (int i = start + 1; i < end; ++i) {
        const Line& line = lines_[size_t(i)];
        if (line.type == LineType::Key && equalsNoCase(line.name, name))
            return i;
    }
    return -1;
}

QStringList IniFile::sections() const
{
    QStringList names;
    for (const Line& line : lines_) {
        if (line.type == LineType::Section)
            names << line.name;
    }
    return names;
}

bool IniFile::hasSection(QStringView section) const { return findSection(section) >= 0; }

bool IniFile::contains(QStringView section, QStringView key) const
{
    const int s = findSection(section);
    return s >= 0 && findKey(s, key) >= 0;
}

QString IniFile::value(QStringView section, QStringView key, const QString& defaultValue) const
{
    const int s = findSection(section);
    const int k = s < 0 ? -1 : findKey(s, key);
    return k < 0 ? defaultValue : lines_[size_t(k)].value;
}

QString IniFile::value(QStringView section, QStringView key, const QString& defaultValue,
                       int bufferSize) const
{
    return truncated(value(section, key, defaultValue), bufferSize);
}

QStringList IniFile::keys(QStringView section) const
{
    QStringList names;
    const int s = findSection(section);
    if (s < 0)
        return names;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i) {
        if (lines_[size_t(i)].type == LineType::Key)
            names << lines_[size_t(i)].name;
    }
    return names;
}

QString IniFile::keyBuffer(QStringView section, const QString& defaultValue,
                           int bufferSize) const
{
    if (!hasSection(section))
        return truncated(defaultValue, bufferSize);
    QString list;
    for (const QString& name : keys(section)) {
        list += name;
        list += QChar(u'\0');
    }
    // Two places stay for the closing NULs.
    const qsizetype room = qMax(0, bufferSize - 2);
    return list.size() <= room + 1 ? list : list.first(room);
}

IniFile::SetResult IniFile::setValue(QStringView section, QStringView key, const QString& value)
{
    const QStringView sectionName = trimBlanks(section);
    const QStringView keyName = trimBlanks(key);
    // Names or values that would read back as other lines are refused, not written.
    if (hasLineBreak(sectionName) || sectionName.contains(u']') || hasLineBreak(keyName)
        || keyName.contains(u'=') || keyName.startsWith(u'[') || keyName.startsWith(u';')
        || hasLineBreak(value))
        return SetResult::Refused;

    bool exact = true;
    auto keyLine = [&](QStringView name) {
        bool ok = true;
        const QByteArray raw = encodeCp932(QString(name.toString() + u'=' + value), &ok);
        exact = exact && ok;
        return parseLine(raw, kCrLf);
    };
    auto result = [&exact] { return exact ? SetResult::Written : SetResult::Substituted; };
    auto endLastLine = [this] {
        if (!lines_.empty() && lines_.back().eol.isEmpty())
            lines_.back().eol = kCrLf;
    };

    const int s = findSection(sectionName);
    if (s < 0) {
        endLastLine();
        bool ok = true;
        const QByteArray header =
            encodeCp932(QString(u'[' + sectionName.toString() + u']'), &ok);
        exact = ok;
        lines_.push_back(parseLine(header, kCrLf));
        lines_.push_back(keyLine(keyName));
        return result();
    }

    const int k = findKey(s, keyName);
    if (k >= 0) {
        Line& line = lines_[size_t(k)];
        line = keyLine(QString(line.name));
        return result();
    }

    // After the section's last key, so that comments and blank lines that lead into the
    // next section stay with it.
    int at = s;
    const int end = sectionEnd(s);
    for (int i = s + 1; i < end; ++i) {
        if (lines_[size_t(i)].type == LineType::Key)
            at = i;
    }
    if (lines_[size_t(at)].eol.isEmpty())
        lines_[size_t(at)].eol = kCrLf;
    lines_.insert(lines_.begin() + at + 1, keyLine(keyName));
    return result();
}

QString findFileNoCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries =
        dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& entry : entries) {
        if (equalsNoCase(entry, name))
            return dir.filePath(entry);
    }
    return exact;
}

}  // namespace core
