#pragma once

// The rules of the four parameter dialogs, without widgets: the windows show these models'
// state and hand them the user's input.

#include <QString>
#include <QStringList>

#include <optional>

namespace workshop {

// The text shown when a typed value is outside the range.
QString rangeMessage();

// Exact a x b / c rounded to the nearest, halves to even; c > 0.
qint64 proportion(qint64 a, qint64 b, qint64 c);

// What a change of the text box leads to.
struct TextFeedback {
    std::optional<QString> message;  // shown before the text is put back
    QString text;                    // what the text box shows now
    int value = 0;                   // where the slider is now
};

// The value dialog (`GetValue`).
class ValueDialogRules {
public:
    void InitTheForm(const QString& title, const QString& unitType, int unitMax, int unitMin, int unitInit,
                     int largeStep, int smallStep, bool resizeHorz);
    static bool acceptsKey(QChar c);  // 0-9, "-" (backspace is always allowed)
    TextFeedback textChanged(const QString& text);
    void sliderMoved(int value);
    bool ok();  // true when accepted (the dialog then hides)

    bool UserResult() const { return result_; }
    int GetAmount() const { return slider_; }
    bool GetResizeHorz() const { return resizeHorz_ && resizeTicked_; }
    void setResizeTicked(bool ticked) { resizeTicked_ = ticked; }

    QString title, unitType;
    int minimum = 0, maximum = 0, largeStep = 1, smallStep = 1;
    bool resizeBoxShown() const { return resizeHorz_; }
    const QString& text() const { return text_; }

private:
    QString text_;
    int slider_ = 0;
    int lastAccepted_ = 0;
    bool result_ = false;
    bool resizeHorz_ = false;
    bool resizeTicked_ = false;
};

// The choice dialog (`GetFilter`).
class FilterDialogRules {
public:
    void InitTheForm(const QString& title, const QString& filters);
    void select(int index);
    void ok();
    bool UserResult() const { return result_; }
    int GetAmount() const { return selected_; }
    QString title;
    QStringList items;

private:
    int selected_ = 0;
    bool result_ = false;
};

// The colour resolution dialog (`ColorRes`).
class ColorResRules {
public:
    explicit ColorResRules(int pictureBits);
    void chooseBits(int bits);
    void choosePalette(int palette) { palette_ = palette; }
    void chooseOrder(int order) { order_ = order; }
    void chooseDither(int dither) { dither_ = dither; }
    void ok() { result_ = true; }

    bool UserResult() const { return result_; }
    int GetBits() const;
    int GetPalette() const;
    int GetDither() const { return dither_; }

    int selectedBits() const { return bits_; }  // 0 when no option matches the picture
    int selectedPalette() const { return palette_; }
    int selectedOrder() const { return order_; }
    bool ditherEnabled() const { return lowDepth_; }
    bool paletteEnabled(int palette) const;
    bool orderEnabled() const { return !lowDepth_; }

private:
    int bits_ = 0;
    int palette_ = 1;
    int order_ = 4;
    int dither_ = 0;
    bool lowDepth_ = true;
    bool result_ = false;
};

// The size dialog (`Resize`) in its four forms.
class ResizeRules {
public:
    struct Range {
        int min = 0;
        int max = 0;
    };
    // The picture's size, and the region's for form type 3.
    void InitTheForm(int formType, int pictureWidth, int pictureHeight, int regionWidth = 0, int regionHeight = 0);
    static bool acceptsKey(QChar c);  // 0-9 only
    TextFeedback value1Typed(const QString& text) { return typed(0, text); }
    TextFeedback value2Typed(const QString& text) { return typed(1, text); }
    void setValue1(int v);  // slider moved
    void setValue2(int v);
    void setAspect(bool ticked);  // the aspect box clicked
    void setResample(bool ticked) { resample_ = ticked; }
    bool ok();

    void GetResults(bool& ok, int& nValue1, int& nValue2, bool& fResample) const;

    QString caption, frame1, frame2, resampleCaption;
    Range range1, range2;
    int largeStep = 1, smallStep = 1;
    bool checkBoxesShown = true;
    int value1() const { return value_[0]; }
    int value2() const { return value_[1]; }
    bool aspect() const { return aspect_; }
    bool resample() const { return resample_; }

private:
    TextFeedback typed(int which, const QString& text);
    void couple(int changed);
    int heightRange() const;

    int form_ = 0;
    int width_ = 1, height_ = 1;  // the proportion used for the coupling
    int value_[2] = {0, 0};
    QString text_[2];
    int lastAccepted_[2] = {0, 0};
    bool aspect_ = false;
    bool resample_ = false;
    bool result_ = false;
};

}  // namespace workshop
