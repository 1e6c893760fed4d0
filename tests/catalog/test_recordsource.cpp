#include "catalog/categories.h"
#include "catalog/recordsource.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace catalog;

TEST(RecordSource, OnlyTheThreeExactTextsAreAccepted)
{
    EXPECT_EQ(parseRecordSource(u"SELECT * FROM people ORDER BY PictureID,FileNo,who_main"),
              RecordSource::ListOrder);
    EXPECT_EQ(parseRecordSource(u"SELECT * FROM people ORDER BY FileNo,who_main"), RecordSource::MergeOrder);
    EXPECT_EQ(parseRecordSource(u"select * from people where pictureid = 2 order by fileno,who_main"),
              RecordSource::PhotoOrder);
    for (RecordSource s : {RecordSource::ListOrder, RecordSource::MergeOrder, RecordSource::PhotoOrder})
        EXPECT_EQ(parseRecordSource(recordSourceText(s)), s);

    const char16_t* refused[] = {
        u"select * from people order by PictureID,FileNo,who_main",   // case
        u"SELECT * FROM people ORDER BY PictureID, FileNo, who_main",  // spacing
        u"SELECT * FROM people  ORDER BY FileNo,who_main",
        u"SELECT * FROM people ORDER BY FileNo,who_main ",
        u"SELECT * FROM people WHERE pictureid = 2 ORDER BY fileno,who_main",
        u"SELECT * FROM people ORDER BY FileNo,who_main; DROP TABLE people",
        u"SELECT * FROM people",
        u"",
    };
    for (const char16_t* text : refused)
        EXPECT_FALSE(parseRecordSource(QStringView(text))) << QString::fromUtf16(text).toStdString();
}

TEST(Criterion, TheFormsTheProgramsBuild)
{
    using F = Criterion::Form;
    struct Case {
        const char16_t* text;
        F form;
        int pictureId, fileNo, low, high;
    } cases[] = {
        {u"PictureID = 7", F::Category, 7, 0, 0, 0},
        {u"PictureID = 0", F::Category, 0, 0, 0, 0},
        {u"PictureID = 9 AND FileNo = 12", F::Part, 9, 12, 0, 0},
        {u"PictureID = 11 and FileNo = 3", F::Part, 11, 3, 0, 0},
        {u"FileNo = 25", F::FileNoOnly, 0, 25, 0, 0},
        {u"FileNo = -3", F::FileNoOnly, 0, -3, 0, 0},
        {u"PictureID = 1 and FileNo >= 1601 and FileNo <= 1700", F::Range, 1, 0, 1601, 1700},
        {u"PictureID = 4 AND FileNo >= 1000 AND FileNo <= 1800", F::Range, 4, 0, 1000, 1800},
        {u"PictureID = 4 and FileNo >= 32767 and FileNo <= -32768", F::Range, 4, 0, 32767, -32768},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        const auto parsed = parseCriterion(QStringView(c.text));
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->form, c.form);
        EXPECT_EQ(parsed->pictureId, c.pictureId);
        EXPECT_EQ(parsed->fileNo, c.fileNo);
        EXPECT_EQ(parsed->low, c.low);
        EXPECT_EQ(parsed->high, c.high);
    }
    EXPECT_EQ(parseCriterion(categoryCriterion(5))->pictureId, 5);
    EXPECT_EQ(parseCriterion(partCriterion(9, 40))->fileNo, 40);
    EXPECT_EQ(parseCriterion(fileNoCriterion(8))->form, F::FileNoOnly);
}

TEST(Criterion, AnythingElseIsRefused)
{
    const char16_t* refused[] = {
        u"",
        u"PictureID=7",
        u"PictureID =  7",
        u"pictureid = 7",
        u"PictureID = 7 ",
        u"PictureID = 7 OR 1=1",
        u"PictureID = 7; DROP TABLE people",
        u"PictureID = 7 And FileNo = 1",
        u"PictureID = 7 AND FileNo = 1 AND who_main = 'x'",
        u"PictureID = x",
        u"PictureID = +7",
        u"PictureID = 7.5",
        u"PictureID = 32768",
        u"FileNo = 99999999999999999999",
        u"PictureID = 1 and FileNo >= 1601",
        u"PictureID = 1 and FileNo <= 1700 and FileNo >= 1601",
        u"FileNo = 3 AND PictureID = 1",
        u"who_main = 'a'",
    };
    for (const char16_t* text : refused)
        EXPECT_FALSE(parseCriterion(QStringView(text))) << QString::fromUtf16(text).toStdString();
}

TEST(Categories, RowsCompanionsAndCaptions)
{
    const int threeRows[] = {6, 9, 10, 11, 12, 13, 14, 17};
    for (int c = kFirstCategory; c <= kLastCategory; ++c) {
        const bool three = std::find(std::begin(threeRows), std::end(threeRows), c) != std::end(threeRows);
        EXPECT_EQ(RowsPerPart(c), c == kPhotoCategory ? 1 : three ? 3 : 2) << c;
    }
    EXPECT_EQ(RowsPerPart(0), 0);
    EXPECT_EQ(RowsPerPart(23), 0);

    EXPECT_EQ(CompanionCategory(9), 10);
    EXPECT_EQ(CompanionCategory(10), 9);
    EXPECT_EQ(CompanionCategory(11), 12);
    EXPECT_EQ(CompanionCategory(12), 11);
    for (int c : {0, 1, 6, 8, 13, 22, 23})
        EXPECT_EQ(CompanionCategory(c), 0) << c;

    EXPECT_EQ(categoryCaption(7), QStringLiteral("輪郭"));
    EXPECT_EQ(categoryCaption(2), QStringLiteral("ﾕｰｻﾞﾊﾟｰﾂ"));
    EXPECT_EQ(categoryCaption(17), QStringLiteral("ｵﾌﾟｼｮﾝ"));
    EXPECT_EQ(categoryCaption(22), QStringLiteral("吹き出し"));
    EXPECT_TRUE(categoryCaption(10).isEmpty());
    EXPECT_TRUE(categoryCaption(12).isEmpty());
    EXPECT_TRUE(categoryCaption(0).isEmpty());
}
