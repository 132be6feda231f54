// The qt loop's services seen from the toolkit: one-shot timers, work posted from another
// thread, and socket notifications in WSAAsyncSelect's order.
#include "platform/MessageLoop.h"
#include "platform/Forms.h"
#include "platform/Sockets.h"
#include "support/LoopbackServer.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

template <class Done> void RunUntil(Done done, std::chrono::milliseconds limit = 5s) {
    const auto end = Clock::now() + limit;
    bool expired = false;
    const tk::TimerId guard =
        tk::StartTimer(static_cast<unsigned>(limit.count()), [&] { expired = true; });
    while (!done() && !expired) {
        tk::Application->ProcessMessages();
        if (!done() && !expired)
            tk::Application->WaitMessage();
    }
    tk::StopTimer(guard);
    ASSERT_LT(Clock::now(), end + 1s);
    ASSERT_FALSE(expired) << "nothing happened in time";
}

TEST(QtLoop, TimersFireOnceInTheirOrderAfterTheirDelay) {
    std::vector<int> fired;
    const auto start = Clock::now();
    tk::StartTimer(60, [&] { fired.push_back(60); });
    tk::StartTimer(20, [&] { fired.push_back(20); });
    RunUntil([&] { return fired.size() == 2; });
    EXPECT_EQ(fired, (std::vector<int>{20, 60}));
    EXPECT_GE(Clock::now() - start, 60ms);
    // One-shot: nothing more comes.
    bool later = false;
    tk::StartTimer(80, [&] { later = true; });
    RunUntil([&] { return later; });
    EXPECT_EQ(fired.size(), 2u);
}

TEST(QtLoop, StoppedTimerNeverFires) {
    bool stoppedFired = false, otherFired = false;
    const tk::TimerId stopped = tk::StartTimer(10, [&] { stoppedFired = true; });
    ASSERT_NE(stopped, 0u);
    tk::StopTimer(stopped);
    tk::StartTimer(50, [&] { otherFired = true; });
    RunUntil([&] { return otherFired; });
    EXPECT_FALSE(stoppedFired);
    tk::StopTimer(stopped); // harmless once gone
}

TEST(QtLoop, WorkPostedFromAnotherThreadRunsOnTheGuiThreadInOrder) {
    std::vector<int> order;
    std::vector<std::thread::id> threads;
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i)
            tk::PostToLoop([&, i] {
                order.push_back(i);
                threads.push_back(std::this_thread::get_id());
            });
    });
    worker.join();
    RunUntil([&] { return order.size() == 3; });
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    for (const auto& id : threads)
        EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(QtLoop, WaitMessageSleepsUntilWorkArrives) {
    bool done = false;
    std::thread worker([&] {
        std::this_thread::sleep_for(50ms);
        tk::PostToLoop([&] { done = true; });
    });
    const auto start = Clock::now();
    while (!done)
        tk::Application->WaitMessage();
    worker.join();
    EXPECT_GE(Clock::now() - start, 40ms);
}

struct Notification {
    tk::SocketEvent event;
    int error;
    bool operator==(const Notification&) const = default;
};

// `chunk`: how many bytes each Read takes.
std::vector<Notification> Connect(std::uint16_t port, int chunk) {
    std::vector<Notification> seen;
    tk::SocketHandle s = tk::OpenTcpSocket();
    EXPECT_NE(s, tk::InvalidSocket);
    bool ended = false;
    tk::WatchSocket(s, [&](tk::SocketEvent event, int error) {
        seen.push_back({event, error});
        if (event == tk::SocketEvent::Read) {
            char buffer[64];
            int readError = 0;
            tk::Receive(s, buffer, chunk, readError);
        }
        if (event == tk::SocketEvent::Close || (event == tk::SocketEvent::Connect && error != 0))
            ended = true;
    });
    EXPECT_EQ(tk::StartConnect(s, htonl(INADDR_LOOPBACK), htons(port)), 0);
    RunUntil([&] { return ended; });
    tk::UnwatchSocket(s);
    tk::CloseSocket(s);
    return seen;
}

TEST(QtLoop, SocketNotificationsOfAnAnswerThenClose) {
    LoopbackServer server("0123456789");
    const auto seen = Connect(static_cast<std::uint16_t>(server.Port()), 64);
    using E = tk::SocketEvent;
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front(), (Notification{E::Connect, 0}));
    EXPECT_EQ(seen[1], (Notification{E::Write, 0}));
    EXPECT_EQ(seen[2], (Notification{E::Read, 0}));
    EXPECT_EQ(seen.back(), (Notification{E::Close, 0}));
}

TEST(QtLoop, RefusedConnectionIsOneConnectWithItsError) {
    // A port that was just released: nothing listens there.
    std::uint16_t port = 0;
    {
        LoopbackServer closed("");
        port = static_cast<std::uint16_t>(closed.Port());
    }
    const auto seen = Connect(port, 64);
    EXPECT_EQ(seen, (std::vector<Notification>{{tk::SocketEvent::Connect, ECONNREFUSED}}));
}

TEST(QtLoop, ReadIsAnnouncedAgainWhileDataIsLeft) {
    LoopbackServer server("abcdef");
    const auto seen = Connect(static_cast<std::uint16_t>(server.Port()), 1);
    int reads = 0;
    for (const auto& n : seen)
        reads += n.event == tk::SocketEvent::Read ? 1 : 0;
    // One byte per Read: each of the six is announced, and the close only after the last.
    EXPECT_EQ(reads, 6);
    EXPECT_EQ(seen.back(), (Notification{tk::SocketEvent::Close, 0}));
}

} // namespace
