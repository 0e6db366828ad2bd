#pragma once
// The main menu's entries: position, command number and caption in both languages.
#include <array>

#include "common/Language.h"

namespace korvan::MenuCaptions {

// Screen and language commands.
enum Command : int {
    DoBusiness = 32772,
    ReportForm = 32774,
    ScaleReport = 32776,
    ScaleParameters = 32778,
    CommunicationSettings = 32781,
    UserSettings = 32782,
    ProgramUpdate = 32793,
    Scales = 32800,
    CommoditySettings = 32786,
    LabelSettings = 32787,
    CommodityDescription = 32789,
    LanguageChinese = 32794,
    LanguageEnglish = 32795,
    // Standard commands of the frame (no command number of their own).
    Close = 1,
    Exit = 2,
    Toolbar = 3,
    StatusBar = 4,
    About = 5,
};

struct Entry {
    int menu;    // top-level position
    int item;    // position inside the menu; -1 for the top-level caption itself
    int command; // 0 for top-level captions
    Tr caption;
};

inline constexpr int kMenus = 8;
inline const std::array<Entry, 26> kEntries{{
    {0, -1, 0, {"文件(&F)", "File(&F)"}},
    {0, 1, Close, {"关闭(&C)", "Close(&C)"}},
    {0, 2, Exit, {"退出(&X)", "Exit(&X)"}},
    {1, -1, 0, {"前台", "Reception"}},
    {1, 0, DoBusiness, {"营业", "Do business"}},
    {2, -1, 0, {"查询", "Query"}},
    {2, 0, ReportForm, {"报表", "Report form"}},
    {2, 1, ScaleReport, {"电子秤记录", "Scale Report"}},
    {3, -1, 0, {"参数设置", "Parameter Settings"}},
    {3, 0, ScaleParameters, {"秤参数设置", "Scale parameter setting"}},
    {3, 1, CommunicationSettings, {"通讯设置", "Communication settings"}},
    {3, 2, UserSettings, {"用户设置", "User Settings"}},
    {3, 3, ProgramUpdate, {"程序更新", "Program update"}},
    {3, 4, Scales, {"秤列表", "Scales"}},
    {4, -1, 0, {"数据设置", "Data Settings"}},
    {4, 0, CommoditySettings, {"商品设置", "Commodity Settings"}},
    {4, 1, LabelSettings, {"标签设置", "Label settings"}},
    {4, 2, CommodityDescription, {"商品说明", "Commodity description"}},
    {5, -1, 0, {"视窗(&V)", "View(&V)"}},
    {5, 0, Toolbar, {"工具栏(&T)", "Toolbar(&T)"}},
    {5, 1, StatusBar, {"状态栏(&S)", "Status bar(&S)"}},
    {6, -1, 0, {"帮助(&H)", "Help(&H)"}},
    {6, 0, About, {"关于 Korvan(&A)", "About Korvan(&A)"}},
    {7, -1, 0, {"语言(Language)", "Language"}},
    {7, 0, LanguageChinese, {"中文", "Chinese"}},
    {7, 1, LanguageEnglish, {"英文(English)", "English"}},
}};

} // namespace korvan::MenuCaptions
