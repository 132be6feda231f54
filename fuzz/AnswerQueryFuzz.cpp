// The protocol clients' answers, taken from any server reply over the socket component: the
// first byte picks the client and the call, the rest is the reply. A Daytime reply comes back
// byte for byte; a Time answer is four bytes read big-endian; anything else fails with the
// component's texts; and nothing of a reply reaches the query after it.
#include "netclients/NMDayTim.h"
#include "netclients/NMTime.h"
#include "netclients/Query.h"
#include "platform/Forms.h"
#include "platform/fake/Fake.h"
#include "support/Check.h"
#include "support/PairSockets.h"
#include "support/Reference.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <type_traits>

namespace {

// Never contacted: connections end at the socket pair.
const char* const ServerAddress = "192.0.2.1";
// A reply sent second, so that the first one's leftovers would show.
const std::string NextDaytimeReply = "24-06-01 12:00:00\r\n";
const std::string NextTimeAnswer = std::string("\xEA\x12\x34\x56", 4);
constexpr std::int32_t NextTimeInt = static_cast<std::int32_t>(0xEA123456U - 4294967296LL);

// What a failed query should say for a reply the server sends at once and then closes: the
// server said nothing, too much, or (Time) other than four bytes.
std::string FailureFor(const std::string& reply, bool time) {
    if (reply.empty() || reply.size() > netclients::MaxAnswerBytes || (time && reply.size() != 4))
        return netclients::BadAnswerText;
    return {};
}

std::string ExpectedTimeStr(const std::string& four) {
    std::uint64_t count = 0;
    for (const char c : four)
        count = count * 256 + static_cast<unsigned char>(c);
    if (count < 2147483648ULL)
        count += 4294967296ULL;
    const int s = static_cast<int>(count % 86400);
    return fuzzref::TwoDigits(s / 3600) + ":" + fuzzref::TwoDigits(s / 60 % 60) + ":" +
           fuzzref::TwoDigits(s % 60);
}

template <class Client, class Query, class Check>
void Run(const std::string& reply, Query query, Check check) {
    constexpr bool time = std::is_same_v<Client, TNMTime>;
    const int endsBefore = fuzzsock::OpenEnds();
    {
        Client client(nullptr);
        client.Host = ServerAddress;
        const std::string failure = FailureFor(reply, time);
        fuzzsock::ScriptReply(reply);
        try {
            check(query(client));
            FUZZ_CHECK(failure.empty());
        } catch (const tk::Exception& e) {
            if (e.Message != failure)
                std::fprintf(stderr, "failed with: %s\n", e.Message.c_str());
            FUZZ_CHECK(!failure.empty() && e.Message == failure);
        }
        FUZZ_CHECK(!client.Connected());
        if constexpr (time) {
            fuzzsock::ScriptReply(NextTimeAnswer);
            FUZZ_CHECK(client.TimeInt() == NextTimeInt);
        } else {
            fuzzsock::ScriptReply(NextDaytimeReply);
            FUZZ_CHECK(client.DayTimeText() == NextDaytimeReply);
        }
    }
    FUZZ_CHECK(fuzzsock::OpenEnds() == endsBefore);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    tk::Application->Initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string reply(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        Run<TNMDayTime>(
            reply, [](TNMDayTime& c) { return c.DayTimeText(); },
            [&](const std::string& text) { FUZZ_CHECK(text == reply); });
        break;
    case 1:
        Run<TNMTime>(
            reply, [](TNMTime& c) { return c.TimeInt(); },
            [&](std::int32_t value) {
                FUZZ_CHECK(static_cast<std::uint32_t>(value) ==
                           (static_cast<std::uint32_t>(static_cast<unsigned char>(reply[0])) << 24 |
                            static_cast<std::uint32_t>(static_cast<unsigned char>(reply[1])) << 16 |
                            static_cast<std::uint32_t>(static_cast<unsigned char>(reply[2])) << 8 |
                            static_cast<std::uint32_t>(static_cast<unsigned char>(reply[3]))));
            });
        break;
    default:
        Run<TNMTime>(
            reply, [](TNMTime& c) { return c.TimeStr(); },
            [&](const std::string& text) { FUZZ_CHECK(text == ExpectedTimeStr(reply)); });
        break;
    }
    tk::fake::Reset();
    return 0;
}
