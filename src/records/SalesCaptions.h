#pragma once
// The captions of the sales record list that printing and export repeat: the heading above the
// list and the five column captions, in both languages (UTF-8).
#include <array>
#include <string>

#include "common/Language.h"
#include "records/SalesRows.h"

namespace korvan::SalesCaptions {

inline constexpr Tr kHeading{"记录列表", "Record List"};
inline constexpr std::array<Tr, SalesRows::kFields> kColumns{{
    {"交易时间", "Transaction time"},
    {"商品名", "Commodity Name"},
    {"重量/数量", "N.W/Q'TY"},
    {"单价", "Price"},
    {"金额", "Total"},
}};
// Printing and export refuse an empty list with this notice (the English text ends in a space).
inline constexpr Tr kNoRecord{"没有记录", "No record "};
// An exported workbook no program could open: the path where it was saved follows.
inline constexpr Tr kNoProgram{"没有可以打开工作簿的程序。工作簿保存在: ",
                               "No program could open the workbook. It is saved at: "};

inline std::array<std::string, SalesRows::kFields> columns(Lang lang) {
    std::array<std::string, SalesRows::kFields> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = kColumns[i].get(lang);
    return texts;
}

} // namespace korvan::SalesCaptions
