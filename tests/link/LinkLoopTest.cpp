#include "link/LinkLoop.h"

#include "FakeChannel.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <thread>

using namespace korvan;
using namespace std::chrono_literals;
using korvan::test::FakeChannel;
using korvan::test::FakeLink;

namespace {

class Recorder : public LinkLoop::Events {
public:
    std::function<void(const std::string&)> onReceived;

    void received(std::string chunk) override {
        {
            std::lock_guard lock(mutex_);
            chunks_.push_back(chunk);
        }
        changed_.notify_all();
        if (onReceived)
            onReceived(chunk);
    }
    void status(int code) override {
        std::lock_guard lock(mutex_);
        codes_.push_back(code);
    }
    void countText(std::string text) override {
        std::lock_guard lock(mutex_);
        texts_.push_back(text);
    }
    bool waitForChunks(std::size_t n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return chunks_.size() >= n; });
    }
    std::vector<std::string> chunks() {
        std::lock_guard lock(mutex_);
        return chunks_;
    }
    std::vector<int> codes() {
        std::lock_guard lock(mutex_);
        return codes_;
    }
    std::vector<std::string> texts() {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> chunks_;
    std::vector<int> codes_;
    std::vector<std::string> texts_;
};

} // namespace

TEST(LinkLoop, SilenceSendsTheEndByteOnceAndReportsTheNoAnswerCode) {
    auto link = std::make_shared<FakeLink>(FakeLink::Scale{}, test::fastTiming(10));
    FakeChannel channel(link);
    LinkControl control;
    Recorder events;
    control.start();
    EXPECT_EQ(LinkLoop(channel, control, events).run(), 0);
    EXPECT_EQ(link->sent(), (std::vector<std::string>{"\xAA", "\x0F"}));
    EXPECT_EQ(events.codes(), std::vector<int>{LinkCode::kNetworkNoAnswer});
    EXPECT_EQ(link->polls(), 11); // more than the limit, not one more
}

TEST(LinkLoop, AnswersAreHandedOnUpToTheFirstZeroByteAndResetSilence) {
    // The scale answers every message, then falls silent: only the last wait counts.
    auto link = std::make_shared<FakeLink>(
        [](const std::string& m) -> std::vector<std::string> {
            if (m == "\xAA")
                return {std::string("\xAA\0junk", 6)};
            return {};
        },
        test::fastTiming(10));
    FakeChannel channel(link);
    LinkControl control;
    Recorder events;
    control.start();
    EXPECT_EQ(LinkLoop(channel, control, events).run(), 0);
    EXPECT_EQ(events.chunks(), std::vector<std::string>{"\xAA"});
    EXPECT_EQ(events.codes(), std::vector<int>{LinkCode::kNetworkNoAnswer});
}

TEST(LinkLoop, AnswersWithinThePauseAreTakenAtOnceAndMessagesLeaveWhenItEnds) {
    ChannelTiming timing = test::fastTiming(1000);
    timing.pauseAfterSend = 300ms;
    timing.pollWait = 2s; // a message posted after the pause must cut this short
    std::vector<std::chrono::steady_clock::time_point> sentAt;
    auto link = std::make_shared<FakeLink>(
        [&](const std::string&) -> std::vector<std::string> {
            sentAt.push_back(std::chrono::steady_clock::now());
            return {"\x0D"};
        },
        timing);
    FakeChannel channel(link);
    LinkControl control;
    Recorder events;
    std::chrono::steady_clock::time_point firstAnswer;
    events.onReceived = [&](const std::string&) {
        if (events.chunks().size() == 1) {
            firstAnswer = std::chrono::steady_clock::now();
            control.post("\x13"); // within the pause of the hello
        }
    };
    control.start();
    // These tests look at what the loop sends and when; its end code is tested elsewhere.
    std::thread worker([&] { static_cast<void>(LinkLoop(channel, control, events).run()); });
    ASSERT_TRUE(events.waitForChunks(2));
    std::this_thread::sleep_for(200ms); // the loop now waits in its long poll
    const auto posted = std::chrono::steady_clock::now();
    control.post("\x0F");
    ASSERT_TRUE(events.waitForChunks(3));
    control.stop();
    worker.join();
    ASSERT_EQ(sentAt.size(), 3u);
    EXPECT_LT(firstAnswer - sentAt[0], 200ms);
    EXPECT_GE(sentAt[1] - sentAt[0], 300ms);
    EXPECT_LT(sentAt[1] - sentAt[0], 400ms);
    EXPECT_LT(sentAt[2] - posted, 150ms);
}

TEST(LinkLoop, ChannelFailuresEndTheLoopWithTheirCode) {
    auto link = std::make_shared<FakeLink>(test::goodScale());
    link->sendFailureAt = 1;
    FakeChannel channel(link);
    LinkControl control;
    Recorder events;
    events.onReceived = [&](const std::string&) { control.post("\x13"); };
    control.start();
    EXPECT_EQ(LinkLoop(channel, control, events).run(), LinkCode::kUsbWriteFailed);
}

TEST(LinkLoop, ReconnectSendsTheHelloAgainOrFails) {
    auto link = std::make_shared<FakeLink>(test::goodScale());
    link->reconnectResult = 0;
    FakeChannel channel(link);
    LinkControl control;
    Recorder events;
    int answers = 0;
    events.onReceived = [&](const std::string&) {
        if (++answers == 1)
            control.requestReconnect();
        else
            control.stop();
    };
    control.start();
    EXPECT_EQ(LinkLoop(channel, control, events).run(), 0);
    EXPECT_EQ(link->sent(), (std::vector<std::string>{"\xAA", "\xAA"}));
    EXPECT_EQ(events.texts(), std::vector<std::string>{"In connection."});

    auto lost = std::make_shared<FakeLink>(test::goodScale());
    lost->reconnectResult = LinkCode::kUsbOpenFailed;
    FakeChannel lostChannel(lost);
    LinkControl lostControl;
    Recorder lostEvents;
    lostEvents.onReceived = [&](const std::string&) { lostControl.requestReconnect(); };
    lostControl.start();
    EXPECT_EQ(LinkLoop(lostChannel, lostControl, lostEvents).run(), LinkCode::kUsbOpenFailed);

    // A link without a reconnect step sends nothing more and falls silent.
    auto network = std::make_shared<FakeLink>(test::goodScale(), test::fastTiming(5));
    FakeChannel networkChannel(network);
    LinkControl networkControl;
    Recorder networkEvents;
    networkEvents.onReceived = [&](const std::string&) { networkControl.requestReconnect(); };
    networkControl.start();
    EXPECT_EQ(LinkLoop(networkChannel, networkControl, networkEvents).run(), 0);
    EXPECT_EQ(network->sent(), (std::vector<std::string>{"\xAA", "\x0F"}));
    EXPECT_EQ(networkEvents.codes(), std::vector<int>{LinkCode::kNetworkNoAnswer});
}

TEST(LinkLoop, OneAnswerPerMessageStopsPollingUntilTheNextMessage) {
    ChannelTiming usb = test::fastTiming(0);
    usb.pollWait = 20ms;
    usb.oneAnswerPerMessage = true;
    usb.noAnswerCode = LinkCode::kUsbNoAnswer;
    auto link = std::make_shared<FakeLink>(test::goodScale(), usb);
    FakeChannel channel(link);
    LinkControl control;
    Recorder events;
    control.start();
    // These tests look at what the loop sends and when; its end code is tested elsewhere.
    std::thread worker([&] { static_cast<void>(LinkLoop(channel, control, events).run()); });
    ASSERT_TRUE(events.waitForChunks(1));
    // Five poll times pass without a second poll.
    EXPECT_FALSE(link->waitUntil([](const FakeLink& l) { return l.polls_ > 1; }, 100ms));
    EXPECT_EQ(link->polls(), 1);
    EXPECT_TRUE(events.codes().empty()); // waiting for the routine is no silence

    // A message without an answer: one empty read is already silence.
    {
        std::lock_guard lock(link->mutex);
        link->scale = {};
    }
    control.post("\x0D");
    worker.join();
    EXPECT_EQ(events.codes(), std::vector<int>{LinkCode::kUsbNoAnswer});
    EXPECT_EQ(link->sent().back(), "\x0F");
}
