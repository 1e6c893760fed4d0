#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace core {

// A kind of part, 1..22. The number is also the parts database's PictureID and the index
// into PartTable, so it is kept as a plain 16-bit number rather than an enum.
using PartKind = std::int16_t;

namespace kind {
inline constexpr PartKind Background = 1;   // haikei
inline constexpr PartKind User = 2;         // user image (photo database)
inline constexpr PartKind Hairstyle = 3;    // kamigata
inline constexpr PartKind Body = 4;         // karada
inline constexpr PartKind AnimalBody = 5;   // anibottom
inline constexpr PartKind Ears = 6;         // mimi
inline constexpr PartKind Outline = 7;      // rinkaku
inline constexpr PartKind Wrinkles = 8;     // shiwa
inline constexpr PartKind BrowRight = 9;    // rmayuge: on the right of the picture, first of the pair
inline constexpr PartKind BrowLeft = 10;    // lmayuge: on the left of the picture, second of the pair
inline constexpr PartKind EyeRight = 11;    // migime: on the right of the picture, first of the pair
inline constexpr PartKind EyeLeft = 12;     // hidarime: on the left of the picture, second of the pair
inline constexpr PartKind Mouth = 13;       // kuchi
inline constexpr PartKind Nose = 14;        // hana
inline constexpr PartKind Mole = 15;        // hokuro
inline constexpr PartKind Beard = 16;       // hige
inline constexpr PartKind Option = 17;      // option
inline constexpr PartKind Glasses = 18;     // megane
inline constexpr PartKind Fringe = 19;      // maegami
inline constexpr PartKind Hat = 20;         // boushi
inline constexpr PartKind AnimalHead = 21;  // anitop
inline constexpr PartKind Balloon = 22;     // fukidashi

inline constexpr PartKind First = 1;
inline constexpr PartKind Last = 22;
inline constexpr int Count = 22;
}  // namespace kind

// Takes int so that out-of-range values are not wrapped into range before the check.
constexpr bool isPartKind(int k) { return k >= kind::First && k <= kind::Last; }

// Eyebrows (9/10) and eyes (11/12) come in pairs: the first half is on the right of the
// picture, the second on the left.
constexpr bool isPairKind(int k) { return k >= kind::BrowRight && k <= kind::EyeLeft; }
constexpr bool isFirstOfPair(int k) { return k == kind::BrowRight || k == kind::EyeRight; }
// The other half of a pair kind; 0 for any other kind.
constexpr PartKind pairPartner(int k)
{
    if (!isPairKind(k))
        return 0;
    return PartKind(isFirstOfPair(k) ? k + 1 : k - 1);
}

struct KindInfo {
    PartKind kind;
    const char* keyWord;      // ASCII; used in settings keys and button keys
    const char16_t* caption;  // category caption; empty for the user image and second halves
};

// All 22 kinds in order; entry i describes kind i + 1.
const std::array<KindInfo, kind::Count>& kindTable();

// Null for anything that is not a kind.
const KindInfo* kindInfo(int k);
// The kind whose key word is exactly `word` (case matters); 0 when there is none.
PartKind kindFromKeyWord(QStringView word);

QString keyWord(int k);       // empty for a non-kind
QString kindCaption(int k);   // empty for a non-kind and for kinds without a caption

// The picker opens on a category key: a kind's key word, or one of these.
inline constexpr char kPickerKeyBrows[] = "mayuge";  // the eyebrow pair 9/10
inline constexpr char kPickerKeyEyes[] = "me";       // the eye pair 11/12
inline constexpr char kPickerKeyText[] = "moji";     // texts: no kind and no slot

// The kinds a picker key stands for: {first, second} for the pairs, {k, 0} for a single
// kind, {0, 0} for "moji" and unknown keys.
struct PickerKinds {
    PartKind first = 0;
    PartKind second = 0;
};
PickerKinds pickerKinds(QStringView key);

}  // namespace core
