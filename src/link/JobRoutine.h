#pragma once
// The job routine: decides, answer by answer, what the PC sends next, counts the steps and
// settles the job's result. Pure logic, run on the thread that consumes the transfer; it never
// touches the channel.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "common/Language.h"
#include "link/JobRequest.h"
#include "link/UpdateImage.h"

namespace korvan {

class JobRoutine {
public:
    // Block mode values.
    static constexpr int kBlockModeOff = 0;
    static constexpr int kBlockModeOn = 1;
    static constexpr int kBlockModeReconnect = 50;
    // A sales record line longer than this without a line end is taken as a faulty scale.
    static constexpr std::size_t kMaxRecordLine = 4096;

    JobRoutine(JobRequest request, Lang lang);

    // Gets the job ready to run. Program update: opens the image and takes its block count as
    // the step total. Returns 0, or the link code of the failure (215, 216; 217 for an image
    // of no bytes, refused before anything is sent).
    [[nodiscard]] int prepare();

    // Builds every record the job will send and checks each fits in one message of the link
    // (`maxMessage` bytes; 0 for no limit) and that the link can carry it (`carries`, when
    // given). A record that does not fit would go out cut or not at all, and the scale would
    // replace its table with the rows before it: the job is then refused before anything is
    // sent. Returns "" when all fit, else the refusal text.
    std::string checkMessageSizes(std::size_t maxMessage,
                                  const std::function<bool(std::string_view)>& carries = {}) const;

    // Handles one chunk of bytes from the scale and returns the next message ("" when
    // nothing is to be sent). Once the routine has finished, chunks are ignored. In a read
    // records job every complete line of a chunk becomes a record and a step; the chunk is
    // answered with one acknowledgement (the end byte once the step total is met).
    std::string onAnswer(std::string_view chunk);

    // Ends the job from outside (a status code, Cancel) with this result text. After a stop
    // request the result says how many records were kept, whatever ended the job.
    void stop(std::string result);

    // Asks a read records job to end after the line the scale is sending now: every complete
    // line is kept, the end byte goes out in place of the next request, and the result reads
    // "Stopped after N records". Other jobs run to their end (a download cut short would leave
    // the scale a partial table); returns whether the job will stop.
    bool requestStop();
    // Records a read records job has handed on so far.
    long recordsTaken() const { return nextListRow_ - firstListRow(); }

    bool finished() const { return finished_; }
    // The scale confirmed the end of the job (its end byte arrived).
    bool completed() const { return completed_; }
    const std::string& result() const { return result_; }

    const JobRequest& request() const { return request_; }
    Lang language() const { return lang_; }
    std::int64_t stepCounter() const { return stepCounter_; }
    std::int64_t stepTotal() const { return stepTotal_; }
    // Steps the progress bar has advanced.
    std::int64_t progressPosition() const { return progress_; }
    // The count label: the step counter, or the bytes sent for a program update.
    const std::string& countText() const { return countText_; }

    int blockMode() const { return blockMode_; }
    // True once after the scale asked for a USB reconnect.
    bool takeReconnectRequest();
    bool recordLinesMode() const { return recordLines_; }
    // A read records job holds the start of a sales line and waits for its rest.
    bool awaitsRestOfLine() const { return !finished_ && recordLines_ && !accumulator_.empty(); }
    std::size_t accumulatedBytes() const { return accumulator_.size(); }
    long nextListRow() const { return nextListRow_; }
    std::uint64_t bytesRead() const { return image_.bytesRead(); }

    // Splits one sales record line into its five trimmed fields.
    static SalesRecord parseSalesRecord(std::string_view line);

private:
    std::string rules(std::string_view inbox);
    std::string nextMessage();
    std::string onRecordChunk(std::string_view chunk);
    // Takes every complete sales line waiting in the accumulator, each counted as a step, up
    // to the step total. Returns the next message: an acknowledgement when a line was taken,
    // the end byte when the step total stopped the read, "" when no line was complete.
    std::string takeCompleteLines();
    void step();
    void finish(std::string result);
    std::string stoppedText() const;
    void showCount(std::int64_t value);
    bool isJob(JobKind kind) const { return request_.kind() == kind; }
    // Read records: the list row the first record goes to.
    long firstListRow() const;

    JobRequest request_;
    Lang lang_;
    UpdateImage image_;

    std::int64_t stepCounter_ = 0;
    std::int64_t stepTotal_ = 0;
    std::int64_t progress_ = 0;
    std::string countText_ = "0";
    std::string result_;
    bool finished_ = false;
    bool completed_ = false;
    bool endSent_ = false; // the PC has sent its end byte after the last step
    bool stopRequested_ = false;
    bool stopSent_ = false; // the end byte went out because of a stop request

    bool recordLines_ = false;
    std::string accumulator_;
    long nextListRow_ = 0;

    int blockMode_ = kBlockModeOff;
    bool reconnectRequested_ = false;
};

} // namespace korvan
