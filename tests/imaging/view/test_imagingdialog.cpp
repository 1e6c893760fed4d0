#include "imaging/view/imagingdialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <functional>

using imaging::FontDialogSettings;
using imaging::ImagingDialog;
using imaging::Raster;
using imaging::TextStyle;

namespace {

const QString kSamplePath = QStringLiteral(FACIORA_TEST_DATA "/../data/ﾌｫﾝﾄ.bmp");

template <typename T>
T* child(const QWidget& parent, const char* name)
{
    T* w = parent.findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Every setting away from its default, so that a setting lost or mixed up on the way
// through the dialog shows.
FontDialogSettings unusual()
{
    FontDialogSettings s;
    s.text = QStringLiteral("山田 花子");
    s.style.fontName = QStringLiteral("ＭＳ 明朝");
    s.style.fontSize = 18;
    s.style.bold = true;
    s.style.underline = true;
    s.style.foreColor = qRgb(10, 20, 30);
    s.style.backColor = qRgb(200, 210, 220);
    s.style.backTransparent = false;
    s.style.alignment = Qt::AlignRight | Qt::AlignVCenter;
    s.style.wordWrap = true;
    s.style.effect = TextStyle::Effect::Outline;
    s.style.effectColor = qRgb(90, 80, 70);
    s.style.effectDepth = 3;
    s.extraWidth = 7;  // not what the effect needs: kept until the effect is edited
    s.extraHeight = 5;
    return s;
}

void expectSame(const FontDialogSettings& a, const FontDialogSettings& b)
{
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.style.fontName, b.style.fontName);
    EXPECT_EQ(a.style.fontSize, b.style.fontSize);
    EXPECT_EQ(a.style.bold, b.style.bold);
    EXPECT_EQ(a.style.italic, b.style.italic);
    EXPECT_EQ(a.style.underline, b.style.underline);
    EXPECT_EQ(a.style.strikeout, b.style.strikeout);
    EXPECT_EQ(a.style.foreColor, b.style.foreColor);
    EXPECT_EQ(a.style.backColor, b.style.backColor);
    EXPECT_EQ(a.style.backTransparent, b.style.backTransparent);
    EXPECT_EQ(int(a.style.alignment), int(b.style.alignment));
    EXPECT_EQ(a.style.wordWrap, b.style.wordWrap);
    EXPECT_EQ(a.style.effect, b.style.effect);
    EXPECT_EQ(a.style.effectColor, b.style.effectColor);
    EXPECT_EQ(a.style.effectDepth, b.style.effectDepth);
    EXPECT_EQ(a.extraWidth, b.extraWidth);
    EXPECT_EQ(a.extraHeight, b.extraHeight);
}

int countPixels(const QImage& image, const std::function<bool(QRgb)>& match)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += match(image.pixel(x, y) | 0xff000000u) ? 1 : 0;
    return n;
}

}  // namespace

TEST(ImagingDialog, SettingsComeBackAsGivenWhenNothingIsEdited)
{
    ImagingDialog dialog;
    FontDialogSettings s = unusual();
    dialog.setSettings(s);
    expectSame(dialog.settings(), s);

    EXPECT_EQ(child<QLineEdit>(dialog, "text")->text(), s.text);
    EXPECT_EQ(child<QComboBox>(dialog, "fontName")->currentText(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(child<QSpinBox>(dialog, "fontSize")->value(), 18);
    EXPECT_TRUE(child<QCheckBox>(dialog, "bold")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "opaque")->isChecked());
    EXPECT_EQ(child<QComboBox>(dialog, "horizontalAlign")->currentIndex(), 2);
    EXPECT_EQ(child<QComboBox>(dialog, "verticalAlign")->currentIndex(), 1);
    EXPECT_EQ(child<QComboBox>(dialog, "effectKind")->currentIndex(), 2);
    EXPECT_EQ(child<QSpinBox>(dialog, "effectDepth")->value(), 3);

    // Values the controls cannot show exactly stay as stored, and a name that is neither
    // installed nor a known Windows face is offered as it is.
    s.style.fontSize = 500;
    s.style.effectDepth = 40;
    s.style.fontName = QStringLiteral("Nonexistent Face");
    dialog.setSettings(s);
    expectSame(dialog.settings(), s);
    EXPECT_GE(child<QComboBox>(dialog, "fontName")->findText(s.style.fontName), 0);
}

TEST(ImagingDialog, EachControlEditsItsOwnSetting)
{
    const struct {
        const char* name;
        std::function<void(ImagingDialog&)> edit;
        std::function<void(FontDialogSettings&)> expected;  // applied to unusual()
    } rows[] = {
        {"text", [](ImagingDialog& d) { child<QLineEdit>(d, "text")->setText(QStringLiteral("x")); },
         [](FontDialogSettings& s) { s.text = QStringLiteral("x"); }},
        {"font name",
         [](ImagingDialog& d) { child<QComboBox>(d, "fontName")->setCurrentText(QStringLiteral("ＭＳ Ｐゴシック")); },
         [](FontDialogSettings& s) { s.style.fontName = QStringLiteral("ＭＳ Ｐゴシック"); }},
        {"size", [](ImagingDialog& d) { child<QSpinBox>(d, "fontSize")->setValue(30); },
         [](FontDialogSettings& s) { s.style.fontSize = 30; }},
        {"italic", [](ImagingDialog& d) { QTest::mouseClick(child<QCheckBox>(d, "italic"), Qt::LeftButton); },
         [](FontDialogSettings& s) { s.style.italic = true; }},
        {"strikeout", [](ImagingDialog& d) { QTest::mouseClick(child<QCheckBox>(d, "strikeout"), Qt::LeftButton); },
         [](FontDialogSettings& s) { s.style.strikeout = true; }},
        {"bold off", [](ImagingDialog& d) { QTest::mouseClick(child<QCheckBox>(d, "bold"), Qt::LeftButton); },
         [](FontDialogSettings& s) { s.style.bold = false; }},
        {"transparent", [](ImagingDialog& d) { QTest::mouseClick(child<QCheckBox>(d, "opaque"), Qt::LeftButton); },
         [](FontDialogSettings& s) { s.style.backTransparent = true; }},
        {"no wrap", [](ImagingDialog& d) { QTest::mouseClick(child<QCheckBox>(d, "wordWrap"), Qt::LeftButton); },
         [](FontDialogSettings& s) { s.style.wordWrap = false; }},
        {"centred keeps vertical", [](ImagingDialog& d) { child<QComboBox>(d, "horizontalAlign")->setCurrentIndex(1); },
         [](FontDialogSettings& s) { s.style.alignment = Qt::AlignHCenter | Qt::AlignVCenter; }},
        {"bottom keeps horizontal", [](ImagingDialog& d) { child<QComboBox>(d, "verticalAlign")->setCurrentIndex(2); },
         [](FontDialogSettings& s) { s.style.alignment = Qt::AlignRight | Qt::AlignBottom; }},
        {"shadow: room of the depth",
         [](ImagingDialog& d) { child<QComboBox>(d, "effectKind")->setCurrentIndex(1); },
         [](FontDialogSettings& s) {
             s.style.effect = TextStyle::Effect::Shadow;
             s.extraWidth = s.extraHeight = 3;
         }},
        {"rim depth 5: room of twice the depth",
         [](ImagingDialog& d) { child<QSpinBox>(d, "effectDepth")->setValue(5); },
         [](FontDialogSettings& s) {
             s.style.effectDepth = 5;
             s.extraWidth = s.extraHeight = 10;
         }},
        {"no effect: no room", [](ImagingDialog& d) { child<QComboBox>(d, "effectKind")->setCurrentIndex(0); },
         [](FontDialogSettings& s) {
             s.style.effect = TextStyle::Effect::None;
             s.extraWidth = s.extraHeight = 0;
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ImagingDialog dialog;
        dialog.setSettings(unusual());
        dialog.show();
        QSignalSpy changed(&dialog, &ImagingDialog::settingsChanged);
        row.edit(dialog);
        FontDialogSettings expected = unusual();
        row.expected(expected);
        expectSame(dialog.settings(), expected);
        EXPECT_GE(changed.count(), 1);
    }
}

TEST(ImagingDialog, ColourButtonsPickThroughTheColourDialog)
{
    const struct {
        const char* button;
        QRgb TextStyle::*colour;
    } rows[] = {
        {"foreColorButton", &TextStyle::foreColor},
        {"backColorButton", &TextStyle::backColor},
        {"effectColorButton", &TextStyle::effectColor},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button);
        ImagingDialog dialog;
        dialog.setSettings(unusual());
        dialog.show();
        QTest::mouseClick(child<QPushButton>(dialog, row.button), Qt::LeftButton);
        QColorDialog* colours = dialog.colorDialog();
        ASSERT_NE(colours, nullptr);
        EXPECT_EQ(colours->currentColor().rgb(), unusual().style.*(row.colour));
        colours->setCurrentColor(QColor(0, 200, 100));
        colours->accept();
        EXPECT_EQ(dialog.settings().style.*(row.colour), qRgb(0, 200, 100));

        // Cancelling keeps the colour.
        QTest::mouseClick(child<QPushButton>(dialog, row.button), Qt::LeftButton);
        ASSERT_NE(dialog.colorDialog(), nullptr);
        dialog.colorDialog()->setCurrentColor(QColor(1, 2, 3));
        dialog.colorDialog()->reject();
        EXPECT_EQ(dialog.settings().style.*(row.colour), qRgb(0, 200, 100));
    }
}

TEST(ImagingDialog, SampleIsDrawnLiveOnTheDeliveredPicture)
{
    Raster picture;
    ASSERT_EQ(picture.load(kSamplePath), 0);
    EXPECT_EQ(picture.size(), QSize(240, 60));

    ImagingDialog dialog;
    dialog.setSamplePicture(picture);
    FontDialogSettings s;
    s.text = QStringLiteral("あいう");
    s.style.fontSize = 24;
    s.style.foreColor = qRgb(255, 0, 0);
    dialog.setSettings(s);
    const auto red = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; };
    const auto green = [](QRgb c) { return qGreen(c) > 200 && qRed(c) < 60 && qBlue(c) < 60; };
    EXPECT_EQ(dialog.sampleImage().size(), QSize(240, 60));
    EXPECT_EQ(countPixels(picture.image(), red), 0);
    EXPECT_GT(countPixels(dialog.sampleImage(), red), 30);

    // A colour picked in the dialog shows in the sample at once.
    dialog.show();
    QTest::mouseClick(child<QPushButton>(dialog, "foreColorButton"), Qt::LeftButton);
    ASSERT_NE(dialog.colorDialog(), nullptr);
    dialog.colorDialog()->setCurrentColor(QColor(0, 255, 0));
    dialog.colorDialog()->accept();
    EXPECT_EQ(countPixels(dialog.sampleImage(), red), 0);
    EXPECT_GT(countPixels(dialog.sampleImage(), green), 30);

    // An opaque background covers the whole picture; the picture itself is never changed.
    QTest::mouseClick(child<QCheckBox>(dialog, "opaque"), Qt::LeftButton);
    const QRgb back = dialog.settings().style.backColor;
    EXPECT_EQ(dialog.sampleImage().pixel(238, 58) | 0xff000000u, back);
    EXPECT_NE(picture.pixel(238, 58), back);
    EXPECT_EQ(dialog.samplePicture(), picture);

    // An empty text still shows the font.
    child<QLineEdit>(dialog, "text")->clear();
    EXPECT_TRUE(dialog.settings().text.isEmpty());
    EXPECT_GT(countPixels(dialog.sampleImage(), green), 30);
}

TEST(ImagingDialog, WithoutASamplePictureAPlainOneIsUsed)
{
    ImagingDialog dialog;
    dialog.setSamplePicture(Raster());
    ASSERT_FALSE(dialog.samplePicture().isNull());
    EXPECT_EQ(dialog.samplePicture().size(), QSize(240, 60));
    EXPECT_EQ(dialog.samplePicture().pixel(0, 0), qRgb(255, 255, 255));
}

TEST(ImagingDialog, FontNamesOfferTheWindowsFacesAndTheInstalledFamilies)
{
    const QStringList names = ImagingDialog::fontNames();
    EXPECT_EQ(names.value(0), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_TRUE(names.contains(QStringLiteral("ＭＳ 明朝")));
    EXPECT_TRUE(names.contains(imaging::resolveFontFamily(QStringLiteral("ＭＳ Ｐゴシック"))));
    QStringList unique = names;
    EXPECT_EQ(unique.removeDuplicates(), 0);
}
