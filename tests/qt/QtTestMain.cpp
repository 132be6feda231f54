// The main of the test programs that link the qt backend. Qt draws offscreen unless the caller
// chose a platform (xcb under Xvfb for screenshots). The qt backend can set the real clock, so
// its tests run only where the kernel refuses that: inside scripts/sandbox's user namespace.
#include "platform/Forms.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool InFirstUserNamespace() {
    std::ifstream map("/proc/self/uid_map");
    std::string inside, outside, count;
    map >> inside >> outside >> count;
    return count == "4294967295";
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    if (!testing::GTEST_FLAG(list_tests) && InFirstUserNamespace()) {
        std::fprintf(stderr,
                     "%s: this program may reach the real clock; run it inside "
                     "scripts/sandbox\n",
                     argv[0]);
        return 125;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    tk::Application->Initialize();
    return RUN_ALL_TESTS();
}
