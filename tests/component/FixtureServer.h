// What the component tests share: where the fixture server listens (PENDULIX_FIXTURE_PORTS,
// set by tests/fixtures), pinned time formats, and a way to see what a query raised.
#pragma once

#include "platform/DateTime.h"
#include "platform/Psock.h"
#include "platform/SysUtils.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace component {

// The port of one of the fixture's behaviours, e.g. "TIME_NORMAL"; fails the test when the
// environment does not name it.
inline std::int32_t FixturePort(const std::string& name) {
    const char* ports = std::getenv("PENDULIX_FIXTURE_PORTS");
    std::string list = ports ? std::string(",") + ports + "," : std::string();
    std::string key = "," + name + "=";
    auto at = list.find(key);
    if (at == std::string::npos) {
        ADD_FAILURE() << "PENDULIX_FIXTURE_PORTS has no " << name << " (run through ctest)";
        return 0;
    }
    return std::atoi(list.c_str() + at + key.size());
}

inline constexpr std::int32_t ShortTimeOut = 300; // ms: keeps the waits of the suite short

// What a call raised: its class ("ESockError", "Exception" for the general class, "none"),
// its text, and how long the call took.
struct Outcome {
    std::string kind = "none";
    std::string message;
    std::string value;
    std::chrono::milliseconds elapsed{0};
};

template <class F> Outcome Attempt(F&& call) {
    Outcome outcome;
    auto start = std::chrono::steady_clock::now();
    try {
        outcome.value = call();
    } catch (const tk::ESockError& e) {
        outcome.kind = "ESockError";
        outcome.message = e.Message;
    } catch (const tk::Exception& e) {
        outcome.kind = "Exception";
        outcome.message = e.Message;
    }
    outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return outcome;
}

// Pins the long time format to 24-hour "HH:mm:ss", whatever the machine's locale.
class ComponentTest : public testing::Test {
protected:
    void SetUp() override {
        saved_ = tk::FormatSettings;
        tk::FormatSettings = tk::TFormatSettings{"dd/MM/yyyy", "HH:mm:ss", "AM", "PM"};
    }
    void TearDown() override { tk::FormatSettings = saved_; }

    // Processes messages for `ms` milliseconds, as a program busy elsewhere would.
    static void ProcessMessagesFor(unsigned ms) {
        bool elapsed = false;
        tk::TimerId timer = tk::StartTimer(ms, [&] { elapsed = true; });
        ASSERT_NE(timer, 0u);
        tk::TPowersock::ProcessMessagesUntil([&] { return elapsed; });
    }

private:
    tk::TFormatSettings saved_;
};

} // namespace component
