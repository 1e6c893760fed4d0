#pragma once

#include "core/inifile.h"
#include "core/kinds.h"

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace core {

// Section and key names of the settings file.
inline constexpr char16_t kOverlaySection[] = u"Option Select";
inline constexpr char16_t kTempSection[] = u"Option Temp";
inline constexpr char16_t kTempCountKey[] = u"TempCnt";
inline constexpr char16_t kFaceSection[] = u"Option Face";
inline constexpr char16_t kFaceKey[] = u"Disp";
inline constexpr char16_t kModeSection[] = u"Option Mode";
inline constexpr char16_t kModeKey[] = u"DispMode";

// The name written for the overlay key at position 1..22 (empty otherwise). The names do
// not match the kinds they govern: only the position counts when reading.
QString overlayKeyName(int position);

// Kinds drawn with the candidate in the picker's overlay thumbnails when nothing else is
// stored: all but the background, body, animal parts, hat and balloon.
constexpr bool defaultOverlayKind(int k)
{
    return isPartKind(k) && k != kind::Background && k != kind::Body && k != kind::AnimalBody
        && k != kind::Hat && k != kind::AnimalHead && k != kind::Balloon;
}

// The four user settings of "ravoze.ini". The defaults are those of a file without the
// "Option Select" section, except ShowDefaultFace (see LoadSettings).
struct Settings {
    using Kinds = std::array<bool, kind::Count + 1>;  // index = kind; entry 0 unused

    static constexpr Kinds defaultOverlayKinds()
    {
        Kinds kinds{};
        for (int k = kind::First; k <= kind::Last; ++k)
            kinds[std::size_t(k)] = defaultOverlayKind(k);
        return kinds;
    }

    Kinds OverlayKinds = defaultOverlayKinds();
    std::int16_t SavedScreenCount = 3;  // kept and shown, used by nothing else
    std::int16_t ShowDefaultFace = 1;   // 1: a new portrait starts with part number 1 of the face kinds
    std::int16_t OverlayMode = 0;       // 1: thumbnails over the portrait; 0: the part alone

    friend bool operator==(const Settings&, const Settings&) = default;
};

// Reads the settings. Without an "Option Select" section (or without the file) every
// setting takes its default and ShowDefaultFace is 0: nothing else is read. Otherwise the
// i-th key of that section governs kind i whatever its name, and is True unless its value
// is "0"; positions past the section's last key keep their defaults. A number that does not
// read ("abc") is 0; a missing one (read as 999) is its default. ShowDefaultFace and
// OverlayMode are 1 for any number but 0.
Settings LoadSettings(const IniFile& file);
// The same from "ravoze.ini" in `appPath`, found without regard to case.
Settings LoadSettings(const QString& appPath);

// Writes all four settings as the options dialog's OK does: the 22 overlay keys in their
// order, then "TempCnt", "Disp" and "DispMode"; one atomic save. An "Option Select" section
// that does not hold exactly the written keys in the written order is replaced, since
// writing by name into it would put values at other positions than the reader takes them
// from. False when the file cannot be read or written (the file is then left as it was).
bool WriteSettings(const QString& appPath, const Settings& settings);

// The leading number of a text as the platform's text-to-number conversion reads it
// (blanks, sign, digits, fraction, exponent), rounded half to even into 16 bits and
// saturated; 0 when the text does not start with a number.
std::int16_t settingNumber(QStringView text);

// The options dialog ("ｵﾌﾟｼｮﾝ") without its window: the working copy, the changed flag and
// what OK writes. The window shows what this holds and forwards its clicks.
class OptionsDialog {
public:
    struct Box {
        const char* name;         // the check box's name, e.g. "rinkakuCK"
        const char16_t* caption;  // e.g. "輪郭"
        PartKind kind;            // the kind it sets
        PartKind pairKind;        // the second half for "目" and "まゆげ", else 0
    };
    static constexpr int kBoxCount = 14;
    static const std::array<Box, kBoxCount>& boxes();

    // Range of the spin control beside the saved-screen count.
    static constexpr int kSpinMinimum = 1;
    static constexpr int kSpinMaximum = 10;

    // The dialog's load: boxes ticked for the kinds set in `settings` ("目" for kind 11,
    // "まゆげ" for kind 9), the working copy holding exactly the ticked boxes' kinds, OK
    // disabled and the changed flag clear.
    explicit OptionsDialog(const Settings& settings);

    // box: 0..kBoxCount-1 (out of range: false / nothing)
    bool boxTicked(int box) const;
    bool overlaySelected() const { return overlay_; }  // Option1 "重ねあわせ"; else Option2
    bool defaultFaceTicked() const { return defaultFace_; }
    QString savedScreenText() const { return savedScreenText_; }
    const Settings::Kinds& workingKinds() const { return working_; }
    bool changed() const { return changed_; }
    bool okEnabled() const { return changed_; }

    // User input. Each marks the dialog changed and enables OK.
    void clickBox(int box, bool ticked);
    void clickOverlayMode(bool overlay);  // Option1 (true) or Option2 (false)
    void clickDefaultFace(bool ticked);
    // The spin control: the count one up or down, kept within the spin range.
    void spin(int delta);
    // Typing into the count's text box also counts as a change; otherwise OK would stay
    // disabled and the typed count could never be kept.
    void editSavedScreenText(const QString& text);

    // OK. With changes: `settings` takes the dialog's values (kinds without a box become
    // False) and they are written with WriteSettings, whose result comes back. Without
    // changes nothing is changed or written and true comes back. The window closes either
    // way; Cancel just closes.
    bool accept(Settings& settings, const QString& appPath) const;
    // What accept() stores into `settings` (tests and the window's preview).
    Settings result(const Settings& settings) const;

private:
    Settings::Kinds working_{};
    bool ticked_[kBoxCount]{};
    bool overlay_ = false;
    bool defaultFace_ = false;
    QString savedScreenText_;
    bool changed_ = false;
};

}  // namespace core
