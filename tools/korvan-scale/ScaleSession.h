#pragma once
// The scale's side of the conversation with one PC, independent of the link that carries it:
// each message the PC sent goes in, the scale's answer comes out (bytes to send, the pause before
// them, and a report line when a job ended). Transports frame the messages, send the answers and
// print the reports.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RecordDecoder.h"
#include "ScaleJob.h"
#include "ScaleStore.h"

namespace korvan::sim {

struct SessionOptions {
    bool busy = false;              // answer the hello with 0x0B
    std::optional<int> dataErrorAt; // answer message k of a job with 0x0E (the hello is 1)
    std::optional<int> silentAfter; // answer messages 1..k of a job, then nothing
    std::optional<int> endAt;       // answer message k of a job with the end byte 0x0F, ending it
    std::chrono::milliseconds delay{0};
    bool ackParen = false;    // acknowledge with ")" instead of 0x0D
    int splitLines = 1;       // send each sales record line in this many pieces
    bool inlineProbe = false; // links without a probe port: 0xA5 outside a job is a probe
};

struct Answer {
    std::vector<std::string> chunks;     // sent in order, each as one unit of the link
    std::chrono::milliseconds delay{0};  // pause before the first chunk
    std::vector<std::string> jobReports; // "job ..." lines of jobs that ended here
    std::string note;                    // diagnostic for the operator of the simulator

    bool silent() const { return chunks.empty(); }
};

class ScaleSession {
public:
    // Bounds against a PC (or anything else) that never stops sending.
    static constexpr std::size_t kMaxRecords = 100000;
    static constexpr std::size_t kMaxImageBytes = 64u << 20;
    static constexpr std::size_t kBlockSize = 64;

    ScaleSession(ScaleStore& store, SessionOptions options);

    Answer receive(std::string_view message);
    // The link test byte (the network test sends it to its own port): 0xA5 answers 0xA5, or
    // 0x0B when the scale is set busy. Anything else is not answered.
    Answer probe(std::string_view message) const;

    bool inJob() const { return phase_ != Phase::Idle && phase_ != Phase::Silent; }
    // While update blocks flow a message is a raw 64-byte block that may hold zero bytes; links
    // that pad their messages with zeros must then pass the whole block.
    bool expectsBlock() const { return phase_ == Phase::UpdateBlocks; }

private:
    enum class Phase {
        Idle,
        AwaitCommand,
        Download,
        ReadRecords,
        ClearRecords,
        UpdateBlocks,
        Silent
    };

    Answer startJob();
    Answer outsideJob(std::string_view message) const;
    std::optional<Answer> injectedFault();
    Answer onCommand(std::string_view message);
    Answer onRecord(std::string_view message);
    Answer onSalesRequest(std::string_view message);
    Answer onClear(std::string_view message);
    Answer onBlock(std::string_view message);
    Answer commitDownload();

    Answer reply(std::string bytes) const;
    Answer finish(char answerByte, const std::string& outcome);
    Answer dataError(const std::string& reason);
    std::string report(const std::string& outcome) const;
    std::string ack() const;
    void resetJob();

    ScaleStore& store_;
    SessionOptions options_;

    Phase phase_ = Phase::Idle;
    std::optional<ScaleJob> job_;
    int messageCount_ = 0;
    bool restartedForUpdate_ = false; // "(" was answered; the next update command is acknowledged

    // Data of the running job, stored only when it ends with the end byte.
    std::size_t records_ = 0;
    std::vector<CommodityRecord> commodities_;
    std::vector<std::string> texts_;
    LabelHeader labelHeader_;
    std::vector<LabelElement> labelElements_;
    std::optional<DateTimeSetting> dateTime_;
    std::string image_;
    ScaleStore::SalesList salesServed_;
    std::size_t nextSale_ = 0;
};

} // namespace korvan::sim
