#include "imaging/engine/errors.h"

#include <gtest/gtest.h>

using imaging::DecodeError;

TEST(DecodeError, GivesTheTextsOfTheTable)
{
    struct Row { int code; const char* text; };
    const Row rows[] = {
        {20000, "特定できない異常が発生しました。"},
        {20001, "空きﾒﾓﾘが不足しています。"},
        {20003, "空きﾒﾓﾘが不足しています。"},
        {20006, "ﾌｧｲﾙが存在しません。処理を中止します。"},
        {20009, "ﾌｧｲﾙﾌｫｰﾏｯﾄが無効です。"},
        {20029, "Escapeｷｰが押されました。"},
        {20063, "固定ﾊﾟﾚｯﾄのﾃﾞｰﾀが見つかりません。"},
        {20064, "固定ﾊﾟﾚｯﾄのﾃﾞｰﾀが見つかりません。"},
        {20074, "ﾗｲﾝ終端-(EOL) ｺｰﾄﾞの位置が不正です。"},
        {20077, "ﾗｲﾝ終端-(EOL) ｺｰﾄﾞの位置が不正です。"},
        {20090, "TWAIN－操作がｷｬﾝｾﾙされました。"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(DecodeError(r.code), QString::fromUtf8(r.text)) << r.code;
    for (int code = 20030; code <= 20062; ++code)
        EXPECT_EQ(DecodeError(code), QStringLiteral("Internal Error - Call Support")) << code;
}

TEST(DecodeError, IsEmptyForCodesItDoesNotKnow)
{
    for (int code : {0, 20010, 20016, 20020, 20066, 20069, 20091, 32755, -1})
        EXPECT_TRUE(DecodeError(code).isEmpty()) << code;
}
