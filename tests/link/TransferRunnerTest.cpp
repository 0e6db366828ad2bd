#include "link/TransferRunner.h"

#include "FakeChannel.h"
#include "link/RecordBuilder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <condition_variable>

using namespace korvan;
using namespace std::chrono_literals;
using korvan::test::FakeChannel;
using korvan::test::FakeLink;

namespace {

class Observer : public TransferObserver {
public:
    std::vector<TransferProgress> progresses;
    std::vector<LinkOutcome> outcomes;
    std::vector<TransferReport> reports;

    void progress(const TransferProgress& p) override { progresses.push_back(p); }
    void outcome(const LinkOutcome& o) override { outcomes.push_back(o); }
    void finished(const TransferReport& r) override { reports.push_back(r); }
};

ChannelFactory::Function fake(std::shared_ptr<FakeLink> link) {
    return [link](const LinkSettings&) -> std::unique_ptr<Channel> {
        return std::make_unique<FakeChannel>(link);
    };
}

LinkSettings network() {
    LinkSettings s;
    s.setMode(LinkMode::Network);
    s.targetIp = "127.0.0.1";
    return s;
}

JobRequest commodities(int rows) {
    CommodityPayload payload;
    for (int i = 0; i < rows; ++i)
        payload.rows.push_back(
            {"P" + std::to_string(i), "1", "1.00", true, true, "0", "0", false, "0", "0"});
    return {std::move(payload)};
}

} // namespace

TEST(TransferRunner, DownloadRunsToTheScalesEndByte) {
    auto link = std::make_shared<FakeLink>(test::goodScale());
    Observer observer;
    const JobRequest request = commodities(3);
    TransferRunner runner(request, network(), fake(link), observer, Lang::English);
    EXPECT_EQ(runner.title(), "Network download progress");
    ASSERT_TRUE(runner.start());
    const TransferReport report = runner.waitAndProcess();

    EXPECT_EQ(report.code, LinkCode::kEnded);
    EXPECT_EQ(report.message, "3Data download completed");
    EXPECT_TRUE(report.completed);
    std::vector<std::string> expected = {"\xAA", "\x13"};
    for (int i = 0; i < 3; ++i)
        expected.push_back(RecordBuilder::build(request, i));
    expected.push_back("\x0F");
    EXPECT_EQ(link->sent(), expected);
    EXPECT_TRUE(link->closed());

    ASSERT_FALSE(observer.progresses.empty());
    EXPECT_EQ(observer.progresses.front().total, 3);
    EXPECT_EQ(observer.progresses.back().position, 3);
    EXPECT_EQ(observer.progresses.back().countText, "3");
    ASSERT_EQ(observer.outcomes.size(), 1u);
    EXPECT_TRUE(observer.outcomes[0].closes());
    EXPECT_EQ(observer.reports.size(), 1u);
}

TEST(TransferRunner, NotifyAndProcessPendingOnTheConsumersThread) {
    // The dialog's way: the worker only notifies; the consumer thread does all the work.
    std::vector<std::string> lines;
    for (int i = 0; i < 50; ++i)
        lines.push_back("t" + std::to_string(i) + "\x0Cn\x0Cw\x0Cp\x0C" + "a\r\n");
    auto link = std::make_shared<FakeLink>(test::goodScale(lines));
    Observer observer;
    std::vector<SalesRecord> records;
    const JobRequest request{
        ReadRecordsPayload{4, [&](const SalesRecord& r) { records.push_back(r); }}};

    std::mutex mutex;
    std::condition_variable woke;
    int notifications = 0;
    TransferRunner runner(request, network(), fake(link), observer, Lang::English);
    ASSERT_TRUE(runner.start([&] {
        std::lock_guard lock(mutex);
        ++notifications;
        woke.notify_one();
    }));
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!runner.isFinished() && std::chrono::steady_clock::now() < deadline) {
        {
            std::unique_lock lock(mutex);
            woke.wait_for(lock, 50ms, [&] { return notifications > 0; });
            notifications = 0;
        }
        runner.processPending();
    }
    ASSERT_TRUE(runner.isFinished());
    EXPECT_EQ(runner.report().message, "50Data download completed");
    ASSERT_EQ(records.size(), 50u);
    EXPECT_EQ(records.front().row, 4);
    EXPECT_EQ(records.back().fields[0], "t49");
    EXPECT_EQ(records.back().fields[4], "a");
}

TEST(TransferRunner, SilenceSetsTheResultAndTheEndReportShowsIt) {
    auto link = std::make_shared<FakeLink>(
        [](const std::string& m) -> std::vector<std::string> {
            return m == "\xAA" ? std::vector<std::string>{"\xAA"} : std::vector<std::string>{};
        },
        test::fastTiming(10));
    Observer observer;
    TransferRunner runner(commodities(1), network(), fake(link), observer, Lang::Chinese);
    runner.start();
    const TransferReport report = runner.waitAndProcess();
    ASSERT_EQ(observer.outcomes.size(), 2u);
    EXPECT_EQ(observer.outcomes[0].code, LinkCode::kNetworkNoAnswer);
    EXPECT_FALSE(observer.outcomes[0].closes());
    EXPECT_EQ(report.code, LinkCode::kEnded);
    EXPECT_EQ(report.message, "网口 没有应答");
    EXPECT_FALSE(report.completed);
    const auto sent = link->sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "\x0F"), 1);
    EXPECT_EQ(sent.back(), "\x0F");
}

TEST(TransferRunner, ScaleRefusalsEndTheJob) {
    for (const auto& [answer, message] : std::vector<std::pair<std::string, std::string>>{
             {"\x0B", "Electronic scales in use"}, {"\x0E", "Data error"}}) {
        auto link =
            std::make_shared<FakeLink>([answer](const std::string& m) -> std::vector<std::string> {
                return m == "\xAA" ? std::vector<std::string>{"\xAA"}
                                   : std::vector<std::string>{answer};
            });
        Observer observer;
        TransferRunner runner(commodities(2), network(), fake(link), observer, Lang::English);
        runner.start();
        const TransferReport report = runner.waitAndProcess();
        EXPECT_EQ(report.message, message);
        EXPECT_FALSE(report.completed);
        EXPECT_EQ(link->sent(), (std::vector<std::string>{"\xAA", "\x13"}));
    }
}

TEST(TransferRunner, NoLinkEndsAtOnceWithAnEmptyResult) {
    Observer observer;
    LinkSettings none;
    TransferRunner runner(commodities(2), none, ChannelFactory::standard(), observer,
                          Lang::English);
    runner.start();
    const TransferReport report = runner.waitAndProcess();
    EXPECT_EQ(report.code, LinkCode::kEnded);
    EXPECT_EQ(report.message, "");
    EXPECT_FALSE(report.completed);
    EXPECT_EQ(runner.title(), "Download progress");
}

TEST(TransferRunner, OpenFailurePromptsAndCloses) {
    auto link = std::make_shared<FakeLink>(test::goodScale());
    link->openFailure = LinkCode::kSendSocketFailed;
    Observer observer;
    TransferRunner runner(commodities(2), network(), fake(link), observer, Lang::English);
    runner.start();
    const TransferReport report = runner.waitAndProcess();
    EXPECT_EQ(report.code, LinkCode::kSendSocketFailed);
    EXPECT_EQ(report.message, "Failed to create UPD socket");
    ASSERT_EQ(observer.outcomes.size(), 1u);
    EXPECT_TRUE(observer.outcomes[0].closes());
    EXPECT_TRUE(link->sent().empty());
    EXPECT_TRUE(link->closed());
}

TEST(TransferRunner, ProgramUpdateGoesOverUsbAndAMissingFileFailsFirst) {
    test::TempDir dir;
    const JobRequest request{UpdatePayload{dir / "missing.bin"}};
    LinkSettings settings = network();
    bool channelMade = false;
    Observer observer;
    TransferRunner runner(
        request, settings,
        [&](const LinkSettings& s) -> std::unique_ptr<Channel> {
            channelMade = true;
            EXPECT_EQ(s.mode, LinkMode::Usb);
            return nullptr;
        },
        observer, Lang::English);
    EXPECT_EQ(runner.settings().mode, LinkMode::Usb);
    EXPECT_EQ(runner.title(), "Program updates");
    EXPECT_FALSE(runner.start());
    const TransferReport report = runner.waitAndProcess();
    EXPECT_EQ(report.code, LinkCode::kUpdateFileOpenFailed);
    EXPECT_EQ(report.message, "Failed to open the file");
    EXPECT_FALSE(channelMade);
}

TEST(TransferRunner, CancelAndDestructionStopTheWorker) {
    ChannelTiming patient = test::fastTiming(1000000);
    auto link = std::make_shared<FakeLink>(FakeLink::Scale{}, patient);
    Observer observer;
    {
        TransferRunner runner(commodities(1), network(), fake(link), observer, Lang::English);
        runner.start();
        ASSERT_TRUE(link->waitUntil([](const FakeLink& l) { return !l.sent_.empty(); }));
        runner.cancel();
        const TransferReport report = runner.waitAndProcess();
        EXPECT_EQ(report.code, LinkCode::kEnded);
        EXPECT_FALSE(report.completed);
    }
    // Destroyed while running and never processed: the destructor stops and joins.
    auto other = std::make_shared<FakeLink>(FakeLink::Scale{}, patient);
    const auto begun = std::chrono::steady_clock::now();
    {
        TransferRunner runner(commodities(1), network(), fake(other), observer, Lang::English);
        runner.start();
        ASSERT_TRUE(other->waitUntil([](const FakeLink& l) { return !l.sent_.empty(); }));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 2s);
    EXPECT_TRUE(other->closed());
}

TEST(TransferRunner, AFailedSendEndsTheJobAtOnce) {
    // A scale that would wait for ever: only the failure can end the job soon.
    auto link = std::make_shared<FakeLink>(test::goodScale(), test::fastTiming(1000000));
    link->sendFailureAt = 2; // the first record
    link->sendFailureCode = LinkCode::kNetworkSendFailed;
    Observer observer;
    TransferRunner runner(commodities(2), network(), fake(link), observer, Lang::English);
    const auto begun = std::chrono::steady_clock::now();
    ASSERT_TRUE(runner.start());
    const TransferReport report = runner.waitAndProcess();
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 5s);
    EXPECT_EQ(report.code, LinkCode::kNetworkSendFailed);
    EXPECT_EQ(report.message, "Sending to the scale over the network failed");
    EXPECT_FALSE(report.completed);
    EXPECT_EQ(link->sent(), (std::vector<std::string>{"\xAA", "\x13"}));
    EXPECT_TRUE(link->closed());
}

TEST(TransferRunner, ARecordTooLongForTheLinkIsRefusedBeforeTheChannelOpens) {
    ChannelTiming small = test::fastTiming();
    small.maxMessage = 64;
    auto link = std::make_shared<FakeLink>(test::goodScale(), small);
    const JobRequest request{
        DescriptionPayload{{{"1", "fits"}, {"2", "fits too"}, {"3", std::string(63, 'x')}}}};
    Observer observer;
    TransferRunner runner(request, network(), fake(link), observer, Lang::Chinese);
    EXPECT_FALSE(runner.start());
    const TransferReport report = runner.waitAndProcess();
    EXPECT_EQ(report.message, "第3行记录太长, 无法发送 (65字节, 最多64字节)");
    ASSERT_EQ(observer.outcomes.size(), 1u);
    EXPECT_TRUE(observer.outcomes[0].closes());
    EXPECT_EQ(link->opens(), 0);
    EXPECT_TRUE(link->sent().empty());
}
