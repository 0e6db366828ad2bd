#include "SheetRead.h"

#include "common/Language.h"

namespace korvan {

std::string SheetRead::message() const {
    static const Tr kNotSheet{"无法读取该表格文件, 文件已损坏或格式不对",
                              "The file is not a spreadsheet that can be read, or it is damaged"};
    static const Tr kTooLarge{"表格文件太大", "The spreadsheet file is too large"};
    switch (problem) {
    case Problem::None:
        return {};
    case Problem::File:
        return io.message();
    case Problem::NotSheet:
        return kNotSheet.get();
    case Problem::TooLarge:
        return kTooLarge.get();
    }
    return {};
}

} // namespace korvan
