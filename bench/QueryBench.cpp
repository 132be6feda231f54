// How much CPU a query burns while it waits, and how long a query takes on loopback.
//
//   query_bench TIME_PORT SILENT_PORT REFUSED_PORT
//
// The ports are the fixture server's (tests/fixtures/timeserver.py): one that answers the Time
// protocol, one that accepts and stays silent, one where nothing listens. Run it through
// bench/run-query-bench.sh, which starts that server inside scripts/sandbox.
#include "netclients/NMTime.h"
#include "platform/Forms.h"
#include "platform/MessageLoop.h"
#include "platform/SysUtils.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Wall = std::chrono::steady_clock;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Share {
    double wall;
    double cpu;
};

Share Measure(const std::function<void()>& work) {
    double cpu0 = CpuSeconds();
    auto wall0 = Wall::now();
    work();
    return {std::chrono::duration<double>(Wall::now() - wall0).count(), CpuSeconds() - cpu0};
}

void ReportShare(const char* what, Share s) {
    std::printf("%-48s wall %7.1f ms  cpu %6.2f ms  cpu/wall %6.2f %%\n", what, s.wall * 1e3,
                s.cpu * 1e3, 100.0 * s.cpu / s.wall);
}

void QueryExpectingFailure(TNMTime& client) {
    try {
        client.TimeStr();
        std::puts("unexpected answer");
    } catch (const tk::Exception&) {
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s TIME_PORT SILENT_PORT REFUSED_PORT\n", argv[0]);
        return 2;
    }
    tk::Application->Initialize();
    TNMTime client(nullptr);
    client.Host = "127.0.0.1";
    client.TimeOut = 2000;

    // A waiting query: asleep until its time limit.
    client.Port = std::atoi(argv[3]);
    ReportShare("refused: connect wait, TimeOut 2000 ms",
                Measure([&] { QueryExpectingFailure(client); }));
    client.Port = std::atoi(argv[2]);
    ReportShare("silent: receive wait, TimeOut 2000 ms",
                Measure([&] { QueryExpectingFailure(client); }));

    // The same wait done by spinning, to show what the measure reports for a busy wait.
    ReportShare("reference: spinning 2000 ms on ProcessMessages", Measure([] {
                    bool elapsed = false;
                    tk::StartTimer(2000, [&] { elapsed = true; });
                    while (!elapsed)
                        tk::Application->ProcessMessages();
                }));

    // Whole queries against the fixture on loopback.
    client.Port = std::atoi(argv[1]);
    constexpr int rounds = 300;
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        auto t0 = Wall::now();
        client.TimeInt();
        ms.push_back(std::chrono::duration<double, std::milli>(Wall::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("time query on loopback, %d rounds: median %.3f ms  p90 %.3f ms  max %.3f ms\n",
                rounds, ms[rounds / 2], ms[rounds * 9 / 10], ms.back());
    return 0;
}
