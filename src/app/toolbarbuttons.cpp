#include "app/toolbarbuttons.h"

namespace app {

std::span<const PartButton> partButtons()
{
    // Keys and tool tips are the picker's categories (its strip has the same buttons).
    static constexpr PartButton kButtons[] = {
        {"rinkaku", u"輪郭", 0},       {"kamigata", u"髪型", 0},  {"maegami", u"前髪", 0},
        {"me", u"目", 0},              {"mayuge", u"まゆげ", 0},  {"mimi", u"耳", 0},
        {"hana", u"鼻", 0},            {"kuchi", u"口", 0},
        {"hige", u"ひげ", 1},          {"hokuro", u"ほくろ", 1},  {"shiwa", u"しわ", 1},
        {"megane", u"めがね", 1},      {"option", u"ｵﾌﾟｼｮﾝ", 1},
        {"boushi", u"帽子", 2},        {"karada", u"体", 2},      {"anitop", u"動物の頭", 2},
        {"anibottom", u"動物の体", 2}, {"fukidashi", u"ふきだし", 2},
        {"haikei", u"背景", 2},        {"user", u"ﾕｰｻﾞﾊﾟｰﾂ", 2},
        {"moji", u"文字", 3},
    };
    return kButtons;
}

const std::array<FileButtonInfo, 6>& fileButtonTable()
{
    static const std::array<FileButtonInfo, 6> kButtons{{
        {FileButton::NewImage, "NewImage", u"新規作成"},
        {FileButton::OpenImage, "OpenImage", u"開く"},
        {FileButton::SaveImage, "SaveImage", u"保存"},
        {FileButton::PrintImage, "PrintImage", u"印刷"},
        {FileButton::UndoImage, "UndoImage", u"戻る"},
        {FileButton::RedoImage, "RedoImage", u"進む"},
    }};
    return kButtons;
}

}  // namespace app
