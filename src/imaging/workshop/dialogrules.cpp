#include "imaging/workshop/dialogrules.h"

#include <algorithm>

namespace workshop {

QString rangeMessage() { return QStringLiteral("指定された範囲の値を設定してください。"); }

qint64 proportion(qint64 a, qint64 b, qint64 c)
{
    const qint64 num = a * b;
    qint64 q = num / c;
    const qint64 r = num % c;
    if (2 * r > c || (2 * r == c && (q & 1)))
        ++q;
    return q;
}

namespace {

std::optional<int> toInt(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

}  // namespace

// --- value dialog

void ValueDialogRules::InitTheForm(const QString& title_, const QString& unitType_, int unitMax, int unitMin,
                                   int unitInit, int largeStep_, int smallStep_, bool resizeHorz)
{
    title = title_;
    unitType = unitType_;
    maximum = unitMax;
    minimum = unitMin;
    largeStep = largeStep_;
    smallStep = smallStep_;
    slider_ = lastAccepted_ = std::clamp(unitInit, unitMin, unitMax);
    text_ = QString::number(slider_);
    result_ = false;
    resizeHorz_ = resizeHorz;
    resizeTicked_ = resizeHorz;
}

bool ValueDialogRules::acceptsKey(QChar c) { return (c >= u'0' && c <= u'9') || c == u'-'; }

TextFeedback ValueDialogRules::textChanged(const QString& text)
{
    text_ = text;
    if (!text.isEmpty()) {
        const auto v = toInt(text);
        if (!v || *v < minimum || *v > maximum) {
            text_ = QString::number(lastAccepted_);
            slider_ = lastAccepted_;
            return {rangeMessage(), text_, slider_};
        }
        slider_ = *v;
        lastAccepted_ = *v;
    }
    return {std::nullopt, text_, slider_};
}

void ValueDialogRules::sliderMoved(int value)
{
    slider_ = std::clamp(value, minimum, maximum);
    text_ = QString::number(slider_);
    lastAccepted_ = slider_;
}

bool ValueDialogRules::ok()
{
    const auto v = toInt(text_);
    if (text_.isEmpty() || !v || *v < minimum || *v > maximum)
        return false;
    result_ = true;
    return true;
}

// --- choice dialog

void FilterDialogRules::InitTheForm(const QString& title_, const QString& filters)
{
    title = title_;
    items = filters.split(u';');
    selected_ = 0;
    result_ = false;
}

void FilterDialogRules::select(int index)
{
    if (index >= 0 && index < items.size())
        selected_ = index;
}

void FilterDialogRules::ok() { result_ = true; }

// --- colour resolution dialog

ColorResRules::ColorResRules(int pictureBits)
{
    for (int b : {1, 4, 8, 16, 24, 32})
        if (b == pictureBits)
            bits_ = b;
    lowDepth_ = pictureBits <= 8;
    dither_ = lowDepth_ ? 1 : 0;
}

void ColorResRules::chooseBits(int bits)
{
    bits_ = bits;
    lowDepth_ = bits <= 8;
    if (lowDepth_ && bits != 8 && palette_ == 64)
        palette_ = 1;
}

bool ColorResRules::paletteEnabled(int palette) const
{
    if (!lowDepth_)
        return false;
    return palette == 64 ? bits_ == 8 : true;
}

int ColorResRules::GetBits() const
{
    for (int b : {1, 4, 8, 16, 24})
        if (b == bits_)
            return b;
    return 32;
}

int ColorResRules::GetPalette() const
{
    if (GetBits() <= 8)
        return palette_ == 1 || palette_ == 2 || palette_ == 64 ? palette_ : 8;
    return order_ == 0 ? 0 : 4;
}

// --- size dialog

int ResizeRules::heightRange() const
{
    return int(std::min<qint64>(32767, proportion(16384, height_, width_)));
}

void ResizeRules::InitTheForm(int formType, int pictureWidth, int pictureHeight, int regionWidth, int regionHeight)
{
    form_ = formType;
    result_ = false;
    resampleCaption = QStringLiteral("ﾘｻﾝﾌﾟﾘﾝｸﾞ(&R)");
    checkBoxesShown = true;
    resample_ = false;
    aspect_ = true;
    width_ = std::max(1, pictureWidth);
    height_ = std::max(1, pictureHeight);
    switch (formType) {
    case 1:
        caption = QStringLiteral("輝度の範囲");
        frame1 = QStringLiteral("最小");
        frame2 = QStringLiteral("最大");
        range1 = range2 = {0, 255};
        value_[0] = value_[1] = 128;
        largeStep = 10;
        smallStep = 1;
        checkBoxesShown = false;
        aspect_ = false;  // hidden, so it must not couple the two intensities
        break;
    case 2:
        caption = QStringLiteral("ｽﾀﾝﾌﾟｲﾒｰｼﾞの寸法");
        frame1 = QStringLiteral("幅");
        frame2 = QStringLiteral("高さ");
        range1 = range2 = {1, 125};
        value_[0] = value_[1] = 64;
        largeStep = 10;
        smallStep = 1;
        resampleCaption = QStringLiteral("8-ﾋﾞｯﾄ");
        break;
    default: {
        const bool region = formType == 3;
        caption = region ? QStringLiteral("ﾘｰｼﾞｮﾝのﾘｻｲｽﾞ") : QStringLiteral("ﾘｻｲｽﾞ");
        frame1 = QStringLiteral("幅");
        frame2 = QStringLiteral("高さ");
        if (region) {
            width_ = std::max(1, regionWidth);
            height_ = std::max(1, regionHeight);
        }
        range1 = {1, 16384};
        range2 = {1, heightRange()};
        value_[0] = std::clamp(width_, range1.min, range1.max);
        value_[1] = std::clamp(height_, range2.min, range2.max);
        largeStep = 100;
        smallStep = 10;
        break;
    }
    }
    for (int i = 0; i < 2; ++i) {
        text_[i] = QString::number(value_[i]);
        lastAccepted_[i] = value_[i];
    }
}

bool ResizeRules::acceptsKey(QChar c) { return c >= u'0' && c <= u'9'; }

TextFeedback ResizeRules::typed(int which, const QString& text)
{
    text_[which] = text;
    const Range& range = which == 0 ? range1 : range2;
    if (!text.isEmpty()) {
        const auto v = toInt(text);
        if (!v)
            return {std::nullopt, text_[which], value_[which]};  // other conversion errors are ignored
        if (*v < range.min || *v > range.max) {
            text_[which] = QString::number(lastAccepted_[which]);
            return {rangeMessage(), text_[which], value_[which]};
        }
        value_[which] = *v;
        lastAccepted_[which] = *v;
        couple(which);
    }
    return {std::nullopt, text_[which], value_[which]};
}

void ResizeRules::couple(int changed)
{
    if (!aspect_)
        return;
    const int other = 1 - changed;
    const qint64 v = changed == 0 ? proportion(value_[0], height_, width_) : proportion(value_[1], width_, height_);
    const int next = int(std::min<qint64>(v, 32767));
    const Range& range = other == 0 ? range1 : range2;
    if (next >= range.min && next <= range.max && next != value_[other]) {
        value_[other] = next;
        text_[other] = QString::number(next);
        lastAccepted_[other] = next;
    }
}

void ResizeRules::setValue1(int v)
{
    value_[0] = std::clamp(v, range1.min, range1.max);
    text_[0] = QString::number(value_[0]);
    lastAccepted_[0] = value_[0];
    couple(0);
}

void ResizeRules::setValue2(int v)
{
    value_[1] = std::clamp(v, range2.min, range2.max);
    text_[1] = QString::number(value_[1]);
    lastAccepted_[1] = value_[1];
    couple(1);
}

void ResizeRules::setAspect(bool ticked)
{
    aspect_ = ticked;
    if (form_ != 0 && form_ != 3)
        return;
    range2 = {1, heightRange()};
    value_[1] = std::clamp(value_[1], range2.min, range2.max);
    text_[1] = QString::number(value_[1]);
    if (ticked)
        couple(0);
}

bool ResizeRules::ok()
{
    const Range* ranges[2] = {&range1, &range2};
    for (int i = 0; i < 2; ++i) {
        const auto v = toInt(text_[i]);
        if (text_[i].isEmpty() || !v || *v < ranges[i]->min || *v > ranges[i]->max)
            return false;
    }
    result_ = true;
    return true;
}

void ResizeRules::GetResults(bool& ok, int& nValue1, int& nValue2, bool& fResample) const
{
    ok = result_;
    nValue1 = value_[0];
    nValue2 = value_[1];
    fResample = resample_;
}

}  // namespace workshop
