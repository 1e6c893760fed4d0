#pragma once

#include "imaging/engine/raster.h"
#include "imaging/engine/text.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

class QCheckBox;
class QColorDialog;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace imaging {

// What the font dialog edits: a text and how it is drawn. Callers map their own stored
// settings onto it and back.
struct FontDialogSettings {
    QString text;
    // Font, styles, colours, placement, word wrap, opacity and effect. The dialog edits
    // whole points; the font name is kept as given (a stored Windows name stays so).
    TextStyle style;
    // Room around the text a caller adds when it sizes a box for it. Passed through
    // unchanged until the effect or its depth is changed in the dialog, which sets both to
    // effectRoom().
    int extraWidth = 0;
    int extraHeight = 0;
};

// The pixels an effect needs beside the text: the depth for a shadow, twice the depth for
// a rim, nothing without an effect.
int effectRoom(TextStyle::Effect effect, int depth);

// The engine's font dialog: font name, size and styles, placement, colours and effect of a
// text, with a live sample drawn onto a sample picture. Open it with open() (window-modal
// over its parent) and read settings() once it was accepted.
class ImagingDialog : public QDialog {
    Q_OBJECT

public:
    explicit ImagingDialog(QWidget* parent = nullptr);
    ~ImagingDialog() override;

    void setSettings(const FontDialogSettings& settings);
    FontDialogSettings settings() const;
    // Only the text, as a caller's text box changes it.
    void setText(const QString& text);

    // The picture the sample is drawn on; a null picture gives a plain white one.
    void setSamplePicture(const Raster& picture);
    const Raster& samplePicture() const { return samplePicture_; }
    // The sample as shown: the sample picture with the text drawn onto it.
    QImage sampleImage() const { return sample_; }

    // The names offered: the stored Windows faces first, then the installed families.
    static QStringList fontNames();
    // Drawn when the text is empty, so that the font can still be judged.
    static QString sampleText();

    // The colour dialog opened by one of the colour buttons, while it is open.
    QColorDialog* colorDialog() const;

signals:
    void settingsChanged();

private:
    enum class ColourRole { Text, Background, Effect };

    void buildControls();
    void showSettings();
    // Applies a control's edit to the settings, unless the controls are being filled.
    void edit(const std::function<void(FontDialogSettings&)>& change);
    void pickColour(ColourRole role);
    void setColour(ColourRole role, QRgb colour);
    void refreshColourButtons();
    void redrawSample();

    FontDialogSettings settings_;
    Raster samplePicture_;
    QImage sample_;
    bool updating_ = false;

    QLineEdit* text_ = nullptr;
    QComboBox* fontName_ = nullptr;
    QLabel* resolvedFont_ = nullptr;
    QSpinBox* fontSize_ = nullptr;
    QCheckBox* bold_ = nullptr;
    QCheckBox* italic_ = nullptr;
    QCheckBox* underline_ = nullptr;
    QCheckBox* strikeout_ = nullptr;
    QComboBox* horizontal_ = nullptr;
    QComboBox* vertical_ = nullptr;
    QCheckBox* wordWrap_ = nullptr;
    QPushButton* foreColour_ = nullptr;
    QCheckBox* opaque_ = nullptr;
    QPushButton* backColour_ = nullptr;
    QComboBox* effect_ = nullptr;
    QSpinBox* effectDepth_ = nullptr;
    QPushButton* effectColour_ = nullptr;
    QLabel* sampleLabel_ = nullptr;
    QPointer<QColorDialog> colorDialog_;
};

}  // namespace imaging
