// The registration window "ｲﾒｰｼﾞ登録" over a main window, and the registered pictures in the
// picker and in a saved portrait.
#include "app/mainform_fixture.h"

#include "core/partimages.h"
#include "photo/photoform.h"
#include "photo/photorules.h"
#include "picker/picker.h"
#include "picker/selectform.h"
#include "picker/thumbpager.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

using app::MenuItem;
using photo::PhotoForm;
using photo::Slot;

namespace {

struct PhotoFormTest : MainFormTest {
    PhotoForm* photos = nullptr;

    QString picture(const char* name, int w, int h, QRgb fill = qRgb(255, 255, 255))
    {
        imaging::Raster r(w, h, 24, fill);
        for (int y = h / 4; y < 3 * h / 4; ++y)
            for (int x = w / 4; x < 3 * w / 4; ++x)
                r.setPixel(x, y, qRgb(200, 40, 40));
        const QString file = path(name);
        EXPECT_EQ(r.save(file, 75, 24, 0), 0);
        return file;
    }

    void openWindow()
    {
        trigger(MenuItem::EUser);
        photos = form->photoForm();
        ASSERT_TRUE(photos);
        ASSERT_TRUE(QTest::qWaitFor([this] { return photos->firstDisplayDone(); }, 5000));
    }

    template <typename W = QWidget>
    W* control(const char* name) const
    {
        W* w = photos->findChild<W*>(QLatin1String(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    void click(const char* name) const { QTest::mouseClick(control<QPushButton>(name), Qt::LeftButton); }
    bool enabled(const char* name) const { return control(name)->isEnabled(); }
    bool shown(const char* name) const { return control(name)->isVisible(); }
    QScrollBar* scroll() const { return control<QScrollBar>("HScroll1"); }

    // A file chosen in the next "参照".
    void choose(const QString& file) { prompts.openChoices << app::Prompts::FileChoice{file, 0}; }
    QString lastMessage() const { return prompts.messages.isEmpty() ? QString() : prompts.messages.last().text; }
};

}  // namespace

TEST_F(PhotoFormTest, RegisterBrowseAndDelete)
{
    start();
    QAction* user = form->partAction(QStringLiteral("user"));
    ASSERT_TRUE(user);
    ASSERT_TRUE(action(MenuItem::EUser)->isVisible());
    openWindow();
    EXPECT_EQ(photos->windowTitle(), u"ｲﾒｰｼﾞ登録"_qs);
    EXPECT_TRUE(photos->isModal());
    EXPECT_FALSE(user->isEnabled());

    // The empty delivered database: the initial states.
    EXPECT_TRUE(enabled("AddBTN"));
    EXPECT_TRUE(enabled("DelBTN"));
    EXPECT_FALSE(enabled("MainRefBTN"));
    EXPECT_FALSE(enabled("MaskRefBTN"));
    EXPECT_FALSE(shown("OKBTN"));
    EXPECT_FALSE(shown("CancelBTN"));
    EXPECT_FALSE(shown("NoText"));
    EXPECT_TRUE(control<QLineEdit>("MainText")->isReadOnly());
    EXPECT_FALSE(enabled("WidthText"));
    click("DelBTN");  // nothing to delete: nothing said
    EXPECT_TRUE(prompts.messages.isEmpty());

    // Add: the edit state with the next number.
    click("AddBTN");
    EXPECT_FALSE(enabled("AddBTN"));
    EXPECT_FALSE(enabled("DelBTN"));
    EXPECT_TRUE(enabled("MainRefBTN"));
    EXPECT_TRUE(enabled("AutoMaskBTN"));
    EXPECT_TRUE(shown("OKBTN"));
    EXPECT_EQ(text("NoText"), u"1"_qs);
    click("OKBTN");
    EXPECT_EQ(lastMessage(), u"ファイル未指定"_qs);
    EXPECT_EQ(prompts.messages.last().title, u"Faciora"_qs);
    click("AutoMaskBTN");
    EXPECT_EQ(lastMessage(), QString::fromUtf16(PhotoForm::kNoMainYet));
    EXPECT_TRUE(control("AutoMaskBTN")->toolTip().contains(u"白に近い背景"_qs));

    // Too large: the two-line message, the choice undone.
    choose(picture("big.png", 576, 100));
    click("MainRefBTN");
    ASSERT_EQ(prompts.openDialogs.size(), 1);
    EXPECT_EQ(prompts.openDialogs[0].title, u"Open File"_qs);
    EXPECT_TRUE(prompts.openDialogs[0].filters.first().contains(u"*.png"_qs));
    EXPECT_TRUE(prompts.openDialogs[0].filters.first().contains(u"*.gif"_qs));
    EXPECT_EQ(lastMessage(), u"似顔絵作成ウインドウに表示しきれないサイズです。\n575×395ピクセル以下の画像を選択して下さい。"_qs);
    EXPECT_EQ(text("MainText"), QString());

    // A picture and its automatic mask.
    const QString main = picture("face.png", 120, 80);
    choose(main);
    click("MainRefBTN");
    EXPECT_EQ(text("MainText"), main);
    EXPECT_EQ(photos->previewPicture(Slot::Main).size(), QSize(120, 80));
    EXPECT_EQ(photos->previewRect(Slot::Main), photo::fitPreview(QSize(200, 150), QSize(120, 80)));
    click("AutoMaskBTN");
    EXPECT_EQ(text("MaskText"), photo::PhotoRegistry::autoMaskName(main));
    EXPECT_EQ(photos->previewPicture(Slot::Mask).bits(), 1);
    click("OKBTN");
    EXPECT_EQ(lastMessage(), u"登録しました。"_qs);
    EXPECT_FALSE(shown("OKBTN"));
    EXPECT_TRUE(enabled("DelBTN"));
    EXPECT_EQ(text("NoText"), u"1"_qs);
    EXPECT_EQ(text("WidthText"), u"120"_qs);
    EXPECT_EQ(text("HeightText"), u"80"_qs);
    EXPECT_EQ(text("XText"), u"0"_qs);
    EXPECT_EQ(scroll()->maximum(), 0);

    // A second one from two files; the window shows the last one.
    click("AddBTN");
    const QString second = picture("second.png", 575, 395, qRgb(0, 0, 0));
    const QString secondMask = picture("second_mask.png", 50, 50);
    choose(second);
    click("MainRefBTN");
    choose(secondMask);
    click("MaskRefBTN");
    click("OKBTN");
    EXPECT_EQ(lastMessage(), u"登録しました。"_qs);
    EXPECT_EQ(scroll()->maximum(), 1);
    EXPECT_EQ(scroll()->value(), 1);
    EXPECT_EQ(text("NoText"), u"2"_qs);
    EXPECT_EQ(text("MaskText"), secondMask);
    EXPECT_EQ(text("WidthText"), u"575"_qs);

    // Browsing.
    scroll()->setValue(0);
    EXPECT_EQ(text("MainText"), main);
    EXPECT_EQ(photos->previewPicture(Slot::Main).size(), QSize(120, 80));

    // Cancel drops a new one; nothing was stored.
    click("AddBTN");
    choose(main);
    click("MainRefBTN");
    click("CancelBTN");
    EXPECT_FALSE(shown("OKBTN"));
    EXPECT_EQ(text("MainText"), main);
    EXPECT_EQ(photos->registry().count(), 2);

    // Delete the shown (first) one: the second is shown and counted.
    click("DelBTN");
    EXPECT_EQ(lastMessage(), u"削除しました。"_qs);
    EXPECT_EQ(scroll()->maximum(), 0);
    EXPECT_EQ(text("NoText"), u"2"_qs);
    EXPECT_EQ(photos->registry().field("FileCnt").toInt(), 1);

    // Closing gives the "user" button back.
    click("CloseBTN");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->photoForm(); }, 2000));
    EXPECT_TRUE(user->isEnabled());
}

TEST_F(PhotoFormTest, ARegisteredPictureIsPlacedSavedAndComesBack)
{
    start();
    openWindow();
    click("AddBTN");
    choose(picture("face.png", 90, 60));
    click("MainRefBTN");
    click("AutoMaskBTN");
    click("OKBTN");
    ASSERT_EQ(lastMessage(), u"登録しました。"_qs);
    click("CloseBTN");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->photoForm(); }, 2000));

    // The picker's photo category shows it; a click places it.
    form->partButtonClicked(QStringLiteral("user"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->picker().isOpen(); }, 5000));
    EXPECT_FALSE(action(MenuItem::EUser)->isEnabled());
    picker::SelectForm* select = form->picker().form();
    ASSERT_TRUE(select && select->pager());
    EXPECT_EQ(select->pager()->slot(0).fileNo, 1);
    select->clickThumbnail(0);
    EXPECT_EQ(state().PartTable[core::kind::User].FileNo, 1);
    EXPECT_EQ(form->session().images.colour(core::kind::User).size(), QSize(90, 60));
    form->closePicker();

    // Saved and opened again after a restart: the picture is fetched from the photo database.
    const QString doc = path("withphoto.fcr");
    prompts.saveChoices << app::Prompts::FileChoice{doc, app::kPortraitSaveType};
    trigger(MenuItem::FFilename);
    ASSERT_TRUE(QFileInfo::exists(doc));
    form.reset();
    start(doc);
    EXPECT_EQ(state().PartTable[core::kind::User].FileNo, 1);
    EXPECT_EQ(form->session().images.colour(core::kind::User).size(), QSize(90, 60));
    EXPECT_EQ(form->session().images.mask(core::kind::User).bits(), 1);
}
