#pragma once
// Link status codes and the outcome texts of a transfer, in both languages.
#include <cstddef>
#include <string>

#include "common/Language.h"

namespace korvan {

namespace LinkCode {
inline constexpr int kData = 200; // an answer arrived (internal; never shown)
inline constexpr int kUsbOpenFailed = 211;
inline constexpr int kUsbWriteFailed = 212;
inline constexpr int kUsbReadFailed = 213;
inline constexpr int kUsbNoAnswer = 214;
inline constexpr int kUpdateFileOpenFailed = 215;
inline constexpr int kUpdateFileSizeFailed = 216;
inline constexpr int kUpdateFileEmpty = 217; // an image of 0 bytes: nothing to send
inline constexpr int kSocketSetupFailed = 221;
inline constexpr int kSocketVersion = 222;
inline constexpr int kLocalAddressFailed = 223;
inline constexpr int kSendSocketFailed = 224;
inline constexpr int kNetworkNoAnswer = 225;
inline constexpr int kNetworkSendFailed = 226; // a datagram to the scale could not be sent
inline constexpr int kEnded = 244;
inline constexpr int kSerialOpenFailed = 251;
inline constexpr int kSerialNoAnswer = 253;
inline constexpr int kSerialSendFailed = 254; // the serial device refused the bytes
} // namespace LinkCode

// What the consumer of a transfer does with a status code above 200.
enum class OutcomeAction {
    PromptAndClose, // show the message, then close the transfer
    SetResult,      // keep the message as the job's result; the end report shows it
};

struct LinkOutcome {
    int code = 0;
    std::string message; // UTF-8, in the language the transfer started with
    OutcomeAction action = OutcomeAction::PromptAndClose;

    bool closes() const { return action == OutcomeAction::PromptAndClose; }
};

namespace LinkOutcomes {

// The message of a status code (211 to 254; 244 has none of its own: it shows the result text).
// An unknown code gives an empty text.
Tr message(int code);
// No-answer codes only set the result; every other code prompts and closes.
OutcomeAction action(int code);
// The outcome of a code in a language (244 takes `result` as its message).
LinkOutcome make(int code, Lang lang, const std::string& result = {});

// Results decided by the job routine from the scale's answers.
Tr busy();
Tr dataError();
Tr completed(); // follows the step count without a space
Tr recordsCleared();
// The program image changed (shrank, grew or was rewritten) while its blocks were being sent.
Tr updateFileChanged();
// The scale sent its end byte before the PC had sent all records (and its own end byte).
std::string endedEarly(Lang lang, long long sent, long long total);
// A read of sales records the operator stopped: `records` lines were read and kept.
std::string stoppedAfter(Lang lang, long long records);
// Shown in the count label while the USB device is searched again.
Tr reconnecting();
// The worker thread could not be started (same words in both languages).
Tr threadFailed();
// The local port of the network link is held by another program (code 221 in that case).
std::string portInUse(Lang lang, unsigned port);
// A download record that does not fit in one message of the link: `row` counted from 1.
std::string recordTooLong(Lang lang, long long row, std::size_t size, std::size_t limit);
std::string labelHeaderTooLong(Lang lang, std::size_t size, std::size_t limit);
// A record whose inner line break would fall on a USB report border, where the scale would take
// the record as ended.
std::string recordUnframable(Lang lang, long long row);
std::string labelHeaderUnframable(Lang lang);

} // namespace LinkOutcomes
} // namespace korvan
