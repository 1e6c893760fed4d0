#include "core/options.h"

#include "core/cp932.h"
#include "core/rounding.h"
#include "core/settings.h"

#include <QStringList>

#include <algorithm>
#include <optional>

namespace core {

namespace {

// Written order of the overlay keys; position i governs kind i whatever the name says.
constexpr const char* kOverlayKeyNames[kind::Count] = {
    "haikei", "kamigata", "karada", "anibottom", "mimi",   "rinkaku", "user",   "rmayuge",
    "lmayuge", "migime",  "hidarime", "hana",    "kuchi",  "hige",    "hokuro", "shiwa",
    "option", "megane",   "maegami", "boushi",   "anitop", "fukidashi",
};

constexpr std::int16_t kMissingNumber = 999;

QString text16(const char16_t* s) { return QString::fromUtf16(s); }

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// Names in the settings file compare without regard to ASCII case, as IniFile does.
bool sameName(QStringView a, QStringView b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](QChar x, QChar y) {
               return foldAscii(x.unicode()) == foldAscii(y.unicode());
           });
}

// The key names in a ReadSettingKeys text: each is followed by a NUL, except a last one
// that the buffer cut short.
QStringList splitKeyNames(const QString& buffer)
{
    QStringList names = buffer.split(QChar(u'\0'));
    if (!names.isEmpty() && names.last().isEmpty())
        names.removeLast();
    return names;
}

QStringView trimBlanks(QStringView s)
{
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

// The section name of a header line, read the way IniFile reads it; nothing for other lines.
std::optional<QString> headerName(const QByteArray& raw)
{
    bool ok = false;
    QString text = decodeCp932(raw, &ok);
    if (!ok)
        text = QString::fromUtf8(raw);
    QStringView t = trimBlanks(text);
    if (!t.startsWith(u'['))
        return std::nullopt;
    t = t.sliced(1);
    const qsizetype close = t.indexOf(u']');
    if (close >= 0)
        t = t.first(close);
    return trimBlanks(t).toString();
}

// The file without any section of that name (header and lines up to the next header).
QByteArray withoutSection(const QByteArray& bytes, QStringView section)
{
    QByteArray out;
    bool dropping = false;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        const qsizetype end = nl < 0 ? bytes.size() : nl + 1;
        QByteArray raw = bytes.sliced(start, end - start);
        while (raw.endsWith('\n') || raw.endsWith('\r'))
            raw.chop(1);
        if (const std::optional<QString> header = headerName(raw))
            dropping = sameName(*header, section);
        if (!dropping)
            out += bytes.sliced(start, end - start);
        start = end;
    }
    return out;
}

// Whether the section holds exactly the written keys in the written order.
bool hasWrittenLayout(const IniFile& file)
{
    const QStringList keys = file.keys(kOverlaySection);
    if (keys.size() != kind::Count)
        return false;
    for (int i = 0; i < kind::Count; ++i) {
        if (!sameName(keys[i], QString::fromLatin1(kOverlayKeyNames[i])))
            return false;
    }
    return true;
}

std::int16_t numberOr(const IniFile& file, const char16_t* section, const char16_t* key,
                      std::int16_t missing)
{
    const std::int16_t n = settingNumber(ReadSetting(file, section, key));
    return n == kMissingNumber ? missing : n;
}

constexpr std::array<OptionsDialog::Box, OptionsDialog::kBoxCount> kBoxes = {{
    {"rinkakuCK", u"輪郭", kind::Outline, 0},
    {"kamigataCK", u"髪型", kind::Hairstyle, 0},
    {"maegamiCK", u"前髪", kind::Fringe, 0},
    {"meCK", u"目", kind::EyeRight, kind::EyeLeft},
    {"mayugeCK", u"まゆげ", kind::BrowRight, kind::BrowLeft},
    {"mimiCK", u"耳", kind::Ears, 0},
    {"hanaCK", u"鼻", kind::Nose, 0},
    {"higeCK", u"ひげ", kind::Beard, 0},
    {"hokuroCK", u"ほくろ", kind::Mole, 0},
    {"kuchiCK", u"口", kind::Mouth, 0},
    {"shiwaCK", u"しわ", kind::Wrinkles, 0},
    {"optionCK", u"ｵﾌﾟｼｮﾝ", kind::Option, 0},
    {"meganeCK", u"めがね", kind::Glasses, 0},
    {"userCK", u"ﾕｰｻﾞﾊﾟｰﾂ", kind::User, 0},
}};

}  // namespace

QString overlayKeyName(int position)
{
    return isPartKind(position) ? QString::fromLatin1(kOverlayKeyNames[position - 1]) : QString();
}

std::int16_t settingNumber(QStringView text)
{
    // The conversion skips blanks anywhere in the number ("1 2" reads as 12).
    QString s;
    for (QChar c : text) {
        if (!isBlank(c) && c != u'\n' && c != u'\r')
            s += c;
    }
    qsizetype i = 0;
    auto digits = [&] {
        const qsizetype from = i;
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9')
            ++i;
        return i - from;
    };
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    qsizetype count = digits();
    if (i < s.size() && s[i] == u'.') {
        ++i;
        count += digits();
    }
    if (count == 0)
        return 0;
    qsizetype end = i;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E' || s[i] == u'd' || s[i] == u'D')) {
        ++i;
        if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
            ++i;
        if (digits() > 0)
            end = i;
    }
    QString number = s.first(end);
    number.replace(u'd', u'e').replace(u'D', u'e');
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok ? roundToInt16(value) : 0;
}

Settings LoadSettings(const IniFile& file)
{
    Settings settings;
    const QString keys = ReadSettingKeys(file, kOverlaySection);
    if (keys.startsWith(QLatin1String(kMissingSetting))) {
        settings.ShowDefaultFace = 0;
        return settings;
    }
    const QStringList names = splitKeyNames(keys);
    for (int k = kind::First; k <= kind::Last && k <= names.size(); ++k) {
        settings.OverlayKinds[std::size_t(k)] =
            ReadSetting(file, kOverlaySection, names[k - 1]) != u"0";
    }
    settings.SavedScreenCount = numberOr(file, kTempSection, kTempCountKey, 3);
    settings.ShowDefaultFace = numberOr(file, kFaceSection, kFaceKey, 1) != 0 ? 1 : 0;
    settings.OverlayMode = numberOr(file, kModeSection, kModeKey, 0) != 0 ? 1 : 0;
    return settings;
}

Settings LoadSettings(const QString& appPath)
{
    IniFile file;
    // An unreadable file reads like a missing one.
    if (!file.load(settingsFilePath(appPath)))
        file = IniFile();
    return LoadSettings(file);
}

bool WriteSettings(const QString& appPath, const Settings& settings)
{
    const QString path = settingsFilePath(appPath);
    IniFile file;
    if (!file.load(path))
        return false;
    if (file.hasSection(kOverlaySection) && !hasWrittenLayout(file))
        file = IniFile::fromBytes(withoutSection(file.toBytes(), kOverlaySection));

    bool ok = true;
    auto set = [&](const char16_t* section, const QString& key, const QString& value) {
        ok = file.setValue(section, key, value) != IniFile::SetResult::Refused && ok;
    };
    for (int k = kind::First; k <= kind::Last; ++k)
        set(kOverlaySection, overlayKeyName(k),
            settings.OverlayKinds[std::size_t(k)] ? QStringLiteral("1") : QStringLiteral("0"));
    set(kTempSection, text16(kTempCountKey), QString::number(settings.SavedScreenCount));
    set(kFaceSection, text16(kFaceKey), QString::number(settings.ShowDefaultFace));
    set(kModeSection, text16(kModeKey), QString::number(settings.OverlayMode));
    return file.save(path) && ok;
}

const std::array<OptionsDialog::Box, OptionsDialog::kBoxCount>& OptionsDialog::boxes()
{
    return kBoxes;
}

OptionsDialog::OptionsDialog(const Settings& settings)
    : overlay_(settings.OverlayMode != 0),
      defaultFace_(settings.ShowDefaultFace != 0),
      savedScreenText_(QString::number(settings.SavedScreenCount))
{
    for (int b = 0; b < kBoxCount; ++b) {
        if (settings.OverlayKinds[std::size_t(kBoxes[b].kind)])
            clickBox(b, true);
    }
    changed_ = false;
}

bool OptionsDialog::boxTicked(int box) const
{
    return box >= 0 && box < kBoxCount && ticked_[box];
}

void OptionsDialog::clickBox(int box, bool ticked)
{
    if (box < 0 || box >= kBoxCount)
        return;
    ticked_[box] = ticked;
    working_[std::size_t(kBoxes[box].kind)] = ticked;
    if (kBoxes[box].pairKind != 0)
        working_[std::size_t(kBoxes[box].pairKind)] = ticked;
    changed_ = true;
}

void OptionsDialog::clickOverlayMode(bool overlay)
{
    overlay_ = overlay;
    changed_ = true;
}

void OptionsDialog::clickDefaultFace(bool ticked)
{
    defaultFace_ = ticked;
    changed_ = true;
}

void OptionsDialog::spin(int delta)
{
    const int n = std::clamp(int(settingNumber(savedScreenText_)) + delta, kSpinMinimum,
                             kSpinMaximum);
    savedScreenText_ = QString::number(n);
    changed_ = true;
}

void OptionsDialog::editSavedScreenText(const QString& text)
{
    savedScreenText_ = text;
    changed_ = true;
}

Settings OptionsDialog::result(const Settings& settings) const
{
    Settings s = settings;
    s.OverlayKinds = working_;
    s.SavedScreenCount = settingNumber(savedScreenText_);
    s.ShowDefaultFace = defaultFace_ ? 1 : 0;
    s.OverlayMode = overlay_ ? 1 : 0;
    return s;
}

bool OptionsDialog::accept(Settings& settings, const QString& appPath) const
{
    if (!changed_)
        return true;
    settings = result(settings);
    // The settings in use change even when the file cannot be written.
    return WriteSettings(appPath, settings);
}

}  // namespace core
