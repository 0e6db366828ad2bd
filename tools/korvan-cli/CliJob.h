#pragma once
// The korvan-cli commands that run one transfer job with the scale. Each puts its request
// together from the data directory's record files, the way the starting screen would from its
// rows and fields.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "CliCommand.h"
#include "link/JobRequest.h"
#include "link/TransferObserver.h"
#include "records/StoreText.h"

namespace korvan::cli {

class CliJob : public CliCommand {
public:
    CliJob(std::string group, std::string name, std::string help, JobKind kind);
    CliOutcome run(const CliContext& context) override;

protected:
    // The request, or why it cannot be made (an input file that cannot be read or is refused).
    struct Prepared {
        std::optional<JobRequest> request;
        std::string error;
    };
    // Called once per scale: each scale's job gets a request of its own.
    virtual Prepared prepare(const CliContext& context) = 0;
    // The outcome once the transfer has ended; `job` counts the prepared requests from 0 (the
    // scale of a job for several scales).
    virtual CliOutcome outcome(const CliContext& context, const TransferReport& report,
                               std::size_t job);

private:
    // The job for the scales of record/scales.rec that --scale names.
    CliOutcome runOnScales(const CliContext& context);

    JobKind kind_;
};

class SendCommodities : public CliJob {
public:
    SendCommodities();

private:
    void addOptions(CLI::App& command) override;
    Prepared prepare(const CliContext& context) override;
    std::string family_ = "vamo";
};

class SendDescriptions : public CliJob {
public:
    SendDescriptions();

private:
    Prepared prepare(const CliContext& context) override;
};

// Store name, shop phone or store address: one line of record/xpwz.rec.
class SendStoreText : public CliJob {
public:
    explicit SendStoreText(StoreText::Field field);

private:
    Prepared prepare(const CliContext& context) override;
    StoreText::Field field_;
};

class SendDateTime : public CliJob {
public:
    SendDateTime();

private:
    void addOptions(CLI::App& command) override;
    Prepared prepare(const CliContext& context) override;
    std::string at_; // empty: now
};

class SendLabel : public CliJob {
public:
    SendLabel();

private:
    void addOptions(CLI::App& command) override;
    Prepared prepare(const CliContext& context) override;
    std::string file_; // empty: the file record/dqlabel.rec names
};

// Appends what it reads to record/dzcjl.rec.
class ReadRecords : public CliJob {
public:
    ReadRecords();

private:
    Prepared prepare(const CliContext& context) override;
    CliOutcome outcome(const CliContext& context, const TransferReport& report,
                       std::size_t job) override;
    std::deque<std::vector<SalesRecord>> batches_; // per job, as they arrive
};

class ClearRecords : public CliJob {
public:
    ClearRecords();
    std::string usageProblem() const override;

private:
    void addOptions(CLI::App& command) override;
    Prepared prepare(const CliContext& context) override;
    bool yes_ = false;
};

class Update : public CliJob {
public:
    Update();

private:
    void addOptions(CLI::App& command) override;
    Prepared prepare(const CliContext& context) override;
    std::string file_;
};

} // namespace korvan::cli
