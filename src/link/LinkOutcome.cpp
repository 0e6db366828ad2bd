#include "LinkOutcome.h"

#include <cstdio>

namespace korvan::LinkOutcomes {

Tr message(int code) {
    switch (code) {
    case LinkCode::kUsbOpenFailed:
        return {"USB接口打开失败", "USB interface failed to open"};
    case LinkCode::kUsbWriteFailed:
        return {"USB写数据错误", "USB Write Data Error"};
    case LinkCode::kUsbReadFailed:
        return {"USB读数据错误", "USB read data error"};
    case LinkCode::kUsbNoAnswer:
        return {"USB接口没有应答", "USB interface did not respond"};
    case LinkCode::kUpdateFileOpenFailed:
        return {"Failed to open the file", "Failed to open the file"};
    case LinkCode::kUpdateFileSizeFailed:
        return {"获取文件大小失败", "Failed to get file size"};
    case LinkCode::kUpdateFileEmpty:
        return {"程序文件是空的, 没有可更新的内容", "The program file is empty: nothing to update"};
    case LinkCode::kSocketSetupFailed:
        return {"套接字库加载失败", "Socket library loading failed"};
    case LinkCode::kSocketVersion:
        return {"套接字库不支持 2.2版", "Socket Library does not support Version 2.2"};
    case LinkCode::kLocalAddressFailed:
        return {"获取本机IP地址失败", "Failed to get native IP address"};
    case LinkCode::kSendSocketFailed:
        return {"创建UPD套接字失败", "Failed to create UPD socket"};
    case LinkCode::kNetworkNoAnswer:
        return {"网口 没有应答", "No answer from the Internet ports"};
    case LinkCode::kNetworkSendFailed:
        return {"网口发送数据失败", "Sending to the scale over the network failed"};
    case LinkCode::kSerialOpenFailed:
        return {"串口打开失败", "Serial port failed to open"};
    case LinkCode::kSerialNoAnswer:
        return {"串口没有应答", "Serial port did not respond"};
    case LinkCode::kSerialSendFailed:
        return {"串口发送数据失败", "Sending to the scale over the serial port failed"};
    default:
        return {"", ""};
    }
}

OutcomeAction action(int code) {
    // A silent scale ends the job through the end report, so the operator sees one message.
    switch (code) {
    case LinkCode::kUsbNoAnswer:
    case LinkCode::kNetworkNoAnswer:
    case LinkCode::kSerialNoAnswer:
        return OutcomeAction::SetResult;
    default:
        return OutcomeAction::PromptAndClose;
    }
}

LinkOutcome make(int code, Lang lang, const std::string& result) {
    LinkOutcome outcome;
    outcome.code = code;
    outcome.action = action(code);
    outcome.message = code == LinkCode::kEnded ? result : message(code).get(lang);
    return outcome;
}

Tr busy() {
    return {"电子秤正在使用", "Electronic scales in use"};
}
Tr dataError() {
    return {"数据错误", "Data error"};
}
Tr completed() {
    return {"条数据传送完成", "Data download completed"};
}
Tr recordsCleared() {
    return {"电子秤内记录清除完成", "Electronic scale record clearance completed"};
}
Tr updateFileChanged() {
    return {"程序文件在发送过程中被修改, 升级未完成", "The file changed while it was sent"};
}
Tr reconnecting() {
    return {"连接中.", "In connection."};
}
Tr threadFailed() {
    return {"Failed to create thread", "Failed to create thread"};
}

namespace {

template <typename... Args> std::string format(const char* pattern, Args... args) {
    char text[256];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}

} // namespace

std::string portInUse(Lang lang, unsigned port) {
    return lang == Lang::Chinese ? format("本机端口%u已被其他程序占用", port)
                                 : format("Port %u on this PC is in use by another program", port);
}

std::string recordTooLong(Lang lang, long long row, std::size_t size, std::size_t limit) {
    return lang == Lang::Chinese
               ? format("第%lld行记录太长, 无法发送 (%zu字节, 最多%zu字节)", row, size, limit)
               : format("Row %lld is too long to send (%zu bytes, at most %zu)", row, size, limit);
}

std::string labelHeaderTooLong(Lang lang, std::size_t size, std::size_t limit) {
    return lang == Lang::Chinese
               ? format("标签头记录太长, 无法发送 (%zu字节, 最多%zu字节)", size, limit)
               : format("The label header is too long to send (%zu bytes, at most %zu)", size,
                        limit);
}

std::string endedEarly(Lang lang, long long sent, long long total) {
    return lang == Lang::Chinese
               ? format("电子秤在发送%lld条记录(共%lld条)后结束了传送", sent, total)
               : format("The scale ended the download after %lld of %lld records", sent, total);
}

std::string stoppedAfter(Lang lang, long long records) {
    return lang == Lang::Chinese
               ? format("已读取%lld条记录后停止", records)
               : format("Stopped after %lld record%s", records, records == 1 ? "" : "s");
}

std::string recordUnframable(Lang lang, long long row) {
    return lang == Lang::Chinese
               ? format("第%lld行记录无法通过USB发送: 记录中的换行正好落在报告边界上", row)
               : format("Row %lld cannot be sent over USB: a line break inside it falls on a "
                        "report border",
                        row);
}

std::string labelHeaderUnframable(Lang lang) {
    return lang == Lang::Chinese
               ? std::string("标签头记录无法通过USB发送: 记录中的换行正好落在报告边界上")
               : std::string("The label header cannot be sent over USB: a line break inside it "
                             "falls on a report border");
}

} // namespace korvan::LinkOutcomes
