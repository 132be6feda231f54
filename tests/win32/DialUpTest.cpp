// The dial-up calls reach WinInet with their arguments and bring its answers back.
#include "platform/DialUp.h"

#include <windows.h>

#include <wininet.h>

#include <gtest/gtest.h>

namespace {

TEST(DialUp, ConnectedStateIsWinInetsAnswerAndFlags) {
    DWORD nativeFlags = 0;
    const bool native = ::InternetGetConnectedState(&nativeFlags, 0) != FALSE;
    std::uint32_t flags = 0xFFFFFFFF;
    EXPECT_EQ(tk::InternetGetConnectedState(flags, 0), native);
    EXPECT_EQ(flags, nativeFlags);
}

TEST(DialUp, AutodialAndHangupReturnWinInetsAnswer) {
    const bool dialled = ::InternetAutodial(2, nullptr) != FALSE;
    EXPECT_EQ(tk::InternetAutodial(2, 0), dialled);
    const bool hungUp = ::InternetAutodialHangup(0) != FALSE;
    EXPECT_EQ(tk::InternetAutodialHangup(0), hungUp);
}

} // namespace
