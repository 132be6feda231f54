// The fake dial-up service: answers from the test's script, every call in the journal.
#include "platform/DialUp.h"
#include "platform/Forms.h"
#include "platform/fake/Fake.h"

#include <string>

namespace tk {

namespace {
std::string WindowName(std::uintptr_t handle) {
    TForm* main = Application->MainForm();
    if (main != nullptr && main->Handle() == handle)
        return main->Name;
    return std::to_string(handle);
}
} // namespace

bool InternetGetConnectedState(std::uint32_t& flags, std::uint32_t reserved) {
    bool connected = fake::TheDialUp().connected;
    flags = connected ? 0x02 /* LAN */ : 0x20 /* offline */;
    fake::Journal().push_back("InternetGetConnectedState(" + std::to_string(reserved) + ")");
    return connected;
}

bool InternetAutodial(std::uint32_t flags, std::uintptr_t parentWindow) {
    fake::Journal().push_back("InternetAutodial(" + std::to_string(flags) + ", " +
                              WindowName(parentWindow) + ")");
    bool up = fake::TheDialUp().dialSucceeds;
    if (up)
        fake::TheDialUp().connected = true;
    return up;
}

bool InternetAutodialHangup(std::uint32_t reserved) {
    fake::Journal().push_back("InternetAutodialHangup(" + std::to_string(reserved) + ")");
    fake::TheDialUp().connected = false;
    return true;
}

} // namespace tk
