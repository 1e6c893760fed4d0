#include "fakeprompts.h"
#include "print/printformedit.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace print;

namespace {

SheetFormatTable tableOf(int n)
{
    SheetFormatTable t;
    for (int i = 1; i <= n; ++i) {
        t[i].fields = {QStringLiteral("形式%1").arg(i), "10", "10", "0", "0", "1", "1", "2", "2"};
    }
    t.count = std::int16_t(n);
    return t;
}

struct FormEditTest : ::testing::Test {
    QTemporaryDir dir;
    FakePrintPrompts prompts;
    std::unique_ptr<PrintFormEdit> dialog;

    QString file() const { return dir.filePath("PRTSET.DFT"); }
    void open(int formats)
    {
        if (formats >= 0)
            writeBytes(file(), encodeSheetFormats(tableOf(formats)));
        dialog = std::make_unique<PrintFormEdit>(file(), prompts);
    }
    template <typename T>
    T* child(const char* name) const { return dialog->findChild<T*>(QLatin1String(name)); }
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(name); }
    QListWidget* list() const { return child<QListWidget>("List1"); }
    void select(int number) { list()->setCurrentRow(number - 1); }
    void typeLayout(std::initializer_list<const char*> values)
    {
        const char* names[] = {"Blank_0", "Blank_1", "PictSize_0", "PictSize_1", "Gap_0", "Gap_1", "block_0", "block_1"};
        int i = 0;
        for (const char* v : values)
            edit(names[i++])->setText(QString::fromUtf8(v));
    }
};

}  // namespace

TEST_F(FormEditTest, OpensInBrowseStateWithTheNamesAndNothingSelected)
{
    open(3);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("印刷用紙設定"));
    ASSERT_EQ(list()->count(), 3);
    EXPECT_EQ(list()->item(1)->text(), QStringLiteral("形式2"));
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    EXPECT_TRUE(edit("FrmName")->text().isEmpty());
    EXPECT_EQ(dialog->mode(), 0);
    EXPECT_FALSE(child<QGroupBox>("Frame_settei")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("RegBt")->isHidden());
    EXPECT_TRUE(list()->isEnabled());

    select(2);
    EXPECT_EQ(edit("FrmName")->text(), QStringLiteral("形式2"));
    EXPECT_EQ(edit("block_0")->text(), "2");

    dialog->bt_ctl(1);
    EXPECT_FALSE(list()->isEnabled());
    EXPECT_FALSE(child<QPushButton>("AddBt")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cancelbt")->isEnabled());
    EXPECT_TRUE(child<QGroupBox>("Frame_settei")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("CanBt")->isHidden());
}

TEST_F(FormEditTest, AddRegistersTheTextsAsTyped)
{
    open(-1);  // no file yet: an empty table
    EXPECT_TRUE(prompts.warnings.isEmpty());
    dialog->addClicked();
    EXPECT_EQ(dialog->mode(), 1);
    EXPECT_EQ(dialog->target(), 1);
    edit("FrmName")->setText(QStringLiteral("名刺, 10面"));
    typeLayout({"11", " 5", "91", "55", "0", "0", "5", "2"});
    dialog->registerClicked();
    EXPECT_TRUE(prompts.warnings.isEmpty()) << prompts.warnings.join('\n').toStdString();
    EXPECT_EQ(dialog->mode(), 0);
    const SheetFormatTable saved = parseSheetFormats(readBytes(file()));
    ASSERT_EQ(saved.count, 1);
    EXPECT_EQ(saved[1].name(), QStringLiteral("名刺, 10面"));
    EXPECT_EQ(saved[1][PrintSheetFormat::LeftMargin], " 5");
    EXPECT_EQ(list()->count(), 1);
}

TEST_F(FormEditTest, RegisterRefusesBadFieldsWithTheirMessageAndFocus)
{
    open(2);
    const QByteArray before = readBytes(file());
    dialog->addClicked();
    edit("FrmName")->setText("x");
    typeLayout({"1", "1", "1", "1", "1", "1", "0", "1"});
    dialog->registerClicked();
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_EQ(prompts.warnings[0], QStringLiteral("入力値エラー|値が不正です。正しい値(1～9)を設定して下さい。"));
    EXPECT_EQ(dialog->focusWidget(), edit("block_0"));

    typeLayout({"1", "1", "1", "1", "1", "1", "1", "a"});
    dialog->registerClicked();
    EXPECT_EQ(dialog->focusWidget(), edit("block_1"));

    typeLayout({"1", "1", "1", "1", "1", "1", "1", "1"});
    edit("FrmName")->clear();
    dialog->registerClicked();
    EXPECT_EQ(prompts.warnings.last(), QStringLiteral("入力値エラー|文字を入力して下さい。"));
    EXPECT_EQ(dialog->focusWidget(), edit("FrmName"));
    EXPECT_EQ(dialog->mode(), 1);
    EXPECT_EQ(readBytes(file()), before);

    // The second キャンセル drops the edit.
    dialog->cancelEditClicked();
    EXPECT_EQ(dialog->mode(), 0);
    EXPECT_EQ(list()->count(), 2);
}

TEST_F(FormEditTest, ChangeStoresIntoTheSelectedEntry)
{
    open(3);
    select(2);
    dialog->changeClicked();
    EXPECT_EQ(dialog->target(), 2);
    edit("FrmName")->setText("changed");
    dialog->registerClicked();
    const SheetFormatTable saved = parseSheetFormats(readBytes(file()));
    ASSERT_EQ(saved.count, 3);
    EXPECT_EQ(saved[2].name(), "changed");
    EXPECT_EQ(saved[3].name(), QStringLiteral("形式3"));
}

TEST_F(FormEditTest, DeleteAsksAndRewritesEitherWay)
{
    open(5);
    select(3);
    prompts.answers = {false};
    dialog->deleteClicked();
    EXPECT_EQ(prompts.questions.last(), QStringLiteral("Faciora|形式3を削除してよろしいですか？"));
    EXPECT_EQ(readBytes(file()), encodeSheetFormats(tableOf(5)));

    select(3);
    prompts.answers = {true};
    dialog->deleteClicked();
    const SheetFormatTable saved = parseSheetFormats(readBytes(file()));
    ASSERT_EQ(saved.count, 4);
    const QStringList expected = {"形式1", "形式2", "形式4", "形式5"};
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(saved[i].name(), expected[i - 1]);
    EXPECT_EQ(list()->count(), 4);
    EXPECT_EQ(dialog->mode(), 0);
}

TEST_F(FormEditTest, AFullTableRefusesAddButDeletesAnyEntry)
{
    open(50);
    dialog->addClicked();
    EXPECT_EQ(prompts.messages, QStringList{"Faciora|最大登録数を超えています"});
    EXPECT_EQ(dialog->mode(), 0);

    select(50);
    prompts.answers = {true};
    dialog->deleteClicked();
    EXPECT_EQ(parseSheetFormats(readBytes(file())).count, 49);
    dialog->addClicked();
    EXPECT_EQ(dialog->target(), 50);
    EXPECT_EQ(dialog->mode(), 1);
}

TEST_F(FormEditTest, AnUnreadableFileIsReportedAndNeverReplaced)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("PRTSET.DFT"));
    open(-1);
    ASSERT_EQ(prompts.warnings.size(), 1);
    EXPECT_TRUE(prompts.warnings[0].contains("PRTSET.DFT"));
    dialog->addClicked();
    edit("FrmName")->setText("x");
    typeLayout({"1", "1", "1", "1", "1", "1", "1", "1"});
    dialog->registerClicked();
    EXPECT_EQ(prompts.warnings.size(), 2);  // the refused save, not the load again
    EXPECT_TRUE(QFileInfo(file()).isDir());
    EXPECT_EQ(dialog->mode(), 1);  // what was typed stays
}

TEST_F(FormEditTest, LengthLimitsApplyToTypingOnly)
{
    open(0);
    dialog->addClicked();
    QLineEdit* rows = edit("block_0");
    QTest::keyClicks(rows, "12");
    EXPECT_EQ(rows->text(), "1");
    QTest::keyClicks(edit("PictSize_0"), "12345");
    EXPECT_EQ(edit("PictSize_0")->text(), "123");
    QLineEdit* name = edit("FrmName");
    QTest::keyClicks(name, QString(40, u'a'));
    EXPECT_EQ(name->text().size(), 30);
    // A longer text read from a file is shown whole.
    rows->setText("10");
    EXPECT_EQ(rows->text(), "10");
}
