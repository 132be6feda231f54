// The fake backend's recorded state and scripts.
#include "platform/fake/Fake.h"

#include <cstdio>

namespace tk::fake {

namespace {
struct State {
    std::vector<std::string> journal;
    std::vector<ShownDialog> dialogs;
    std::deque<int> answers;
    Clock clock;
    DialUpService dialUp;
    std::deque<std::function<void()>> events;
    std::string exeName = "/opt/pendulix/Pendulix";
};
State& state() {
    static State s;
    return s;
}
} // namespace

std::vector<std::string>& Journal() {
    return state().journal;
}
std::vector<ShownDialog>& Dialogs() {
    return state().dialogs;
}
std::deque<int>& DialogAnswers() {
    return state().answers;
}
Clock& TheClock() {
    return state().clock;
}
DialUpService& TheDialUp() {
    return state().dialUp;
}
std::deque<std::function<void()>>& PendingEvents() {
    return state().events;
}
void SetExeName(std::string path) {
    state().exeName = std::move(path);
}
const std::string& TheExeName() {
    return state().exeName;
}
void Reset() {
    state() = State{};
}

std::string Describe(const SYSTEMTIME& t) {
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth,
                  t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
    return text;
}

} // namespace tk::fake
