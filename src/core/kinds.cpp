#include "core/kinds.h"

namespace core {

namespace {

constexpr std::array<KindInfo, kind::Count> kKinds{{
    {kind::Background, "haikei", u"背景"},
    {kind::User, "user", u""},
    {kind::Hairstyle, "kamigata", u"髪型"},
    {kind::Body, "karada", u"体"},
    {kind::AnimalBody, "anibottom", u"動物の体"},
    {kind::Ears, "mimi", u"耳"},
    {kind::Outline, "rinkaku", u"輪郭"},
    {kind::Wrinkles, "shiwa", u"しわ"},
    {kind::BrowRight, "rmayuge", u"眉毛"},
    {kind::BrowLeft, "lmayuge", u""},
    {kind::EyeRight, "migime", u"目"},
    {kind::EyeLeft, "hidarime", u""},
    {kind::Mouth, "kuchi", u"口"},
    {kind::Nose, "hana", u"鼻"},
    {kind::Mole, "hokuro", u"ほくろ"},
    {kind::Beard, "hige", u"髭"},
    {kind::Option, "option", u"ｵﾌﾟｼｮﾝ"},
    {kind::Glasses, "megane", u"眼鏡"},
    {kind::Fringe, "maegami", u"前髪"},
    {kind::Hat, "boushi", u"帽子"},
    {kind::AnimalHead, "anitop", u"動物の頭"},
    {kind::Balloon, "fukidashi", u"吹き出し"},
}};

constexpr bool tableInOrder()
{
    for (int i = 0; i < kind::Count; ++i) {
        if (kKinds[i].kind != i + 1)
            return false;
    }
    return true;
}
static_assert(tableInOrder(), "kind table must be indexed by kind - 1");

}  // namespace

const std::array<KindInfo, kind::Count>& kindTable() { return kKinds; }

const KindInfo* kindInfo(int k) { return isPartKind(k) ? &kKinds[k - 1] : nullptr; }

PartKind kindFromKeyWord(QStringView word)
{
    for (const KindInfo& info : kKinds) {
        if (word == QLatin1StringView(info.keyWord))
            return info.kind;
    }
    return 0;
}

QString keyWord(int k)
{
    const KindInfo* info = kindInfo(k);
    return info ? QString::fromLatin1(info->keyWord) : QString();
}

QString kindCaption(int k)
{
    const KindInfo* info = kindInfo(k);
    return info ? QString::fromUtf16(info->caption) : QString();
}

PickerKinds pickerKinds(QStringView key)
{
    if (key == QLatin1StringView(kPickerKeyBrows))
        return {kind::BrowRight, kind::BrowLeft};
    if (key == QLatin1StringView(kPickerKeyEyes))
        return {kind::EyeRight, kind::EyeLeft};
    return {kindFromKeyWord(key), 0};
}

}  // namespace core
