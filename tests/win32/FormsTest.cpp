// The Win32 form, button and list box on a test form laid out as the program's window, and
// the application object's message pump.
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "platform/win32/Resources.h"
#include "win32/WindowDriver.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <thread>

namespace {

using namespace tk;

int Scaled(int pixels) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return MulDiv(pixels, dpi, 96);
}

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner = nullptr)
        : TForm(owner), Button1(this, this), ListBox1(this, this) {
        Left = 305;
        Top = 297;
        ClientWidth = 379;
        ClientHeight = 85;
        BorderStyle = TBorderStyle::bsSingle;
        BorderIcons = biSystemMenu | biMinimize;
        Position = TPosition::poScreenCenter;
        SetCaption("Form1");
        Button1.Left = 16;
        Button1.Top = 16;
        Button1.Width = 345;
        Button1.Height = 49;
        Button1.Caption = "Mets mon PC à l'heure !";
        Button1.Font = {"Arial", 14};
        Button1.ParentFont = false;
        Button1.OnClick = [this](TObject* sender) {
            ++clicks;
            lastSender = sender;
        };
        ListBox1.Left = 200;
        ListBox1.Top = 8;
        ListBox1.Width = 121;
        ListBox1.Height = 50;
        ListBox1.TabOrder = 1;
        ListBox1.Visible = false;
        CreateHandle();
    }
    HWND Window() const { return reinterpret_cast<HWND>(Handle()); }
    HWND ButtonWindow() const { return wintest::ChildrenOf(Window(), L"Button").at(0); }
    HWND ListWindow() const { return wintest::ChildrenOf(Window(), L"ListBox").at(0); }

    TButton Button1;
    TListBox ListBox1;
    int clicks = 0;
    TObject* lastSender = nullptr;
};

LOGFONTW FontOf(HWND window) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

TEST(Form, ClientAreaIsTheLayoutsSizeAtTheScreensDpi) {
    TTestForm form;
    RECT client{};
    GetClientRect(form.Window(), &client);
    EXPECT_EQ(client.right, Scaled(379));
    EXPECT_EQ(client.bottom, Scaled(85));
}

struct BorderCase {
    const char* name;
    TBorderStyle border;
    unsigned icons;
    LONG_PTR present;
    LONG_PTR absent;
};

void PrintTo(const BorderCase& c, std::ostream* os) {
    *os << c.name;
}

class FormBorder : public testing::TestWithParam<BorderCase> {};

TEST_P(FormBorder, GivesTheWindowStyles) {
    const BorderCase& c = GetParam();
    TForm form(nullptr);
    form.ClientWidth = 100;
    form.ClientHeight = 50;
    form.BorderStyle = c.border;
    form.BorderIcons = c.icons;
    form.CreateHandle();
    const LONG_PTR style = GetWindowLongPtrW(reinterpret_cast<HWND>(form.Handle()), GWL_STYLE);
    EXPECT_EQ(style & c.present, c.present);
    EXPECT_EQ(style & c.absent, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Borders, FormBorder,
    testing::Values(
        BorderCase{"SingleWithMinimize", TBorderStyle::bsSingle, biSystemMenu | biMinimize,
                   WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX | WS_THICKFRAME},
        BorderCase{"SingleAsksMaximizeInVain", TBorderStyle::bsSingle,
                   biSystemMenu | biMinimize | biMaximize, WS_CAPTION | WS_SYSMENU,
                   WS_MAXIMIZEBOX | WS_THICKFRAME},
        BorderCase{"Sizeable", TBorderStyle::bsSizeable, biSystemMenu | biMinimize | biMaximize,
                   WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX, 0},
        BorderCase{"NoSystemMenu", TBorderStyle::bsSingle, 0, WS_CAPTION,
                   WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX}),
    [](const testing::TestParamInfo<BorderCase>& info) { return std::string(info.param.name); });

TEST(Form, IsHiddenUntilShownThenCentredOnTheScreen) {
    TTestForm form;
    const HWND window = form.Window();
    EXPECT_FALSE(IsWindowVisible(window));
    form.SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT frame{}, area{};
    GetWindowRect(window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((frame.left + frame.right) / 2.0, (area.left + area.right) / 2.0, 1.0);
    EXPECT_NEAR((frame.top + frame.bottom) / 2.0, (area.top + area.bottom) / 2.0, 1.0);
    form.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(form.Window(), window) << "the handle outlives hiding";
}

TEST(Form, WithoutCentringTakesItsStoredPlace) {
    TForm form(nullptr);
    form.Left = 40;
    form.Top = 30;
    form.ClientWidth = 100;
    form.ClientHeight = 50;
    form.CreateHandle();
    form.SetVisible(true);
    RECT frame{};
    GetWindowRect(reinterpret_cast<HWND>(form.Handle()), &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.top, 30);
}

TEST(Form, CaptionReachesTheWindowInUnicode) {
    TTestForm form;
    EXPECT_EQ(wintest::WideTextOf(form.Window()), L"Form1");
    form.SetCaption("Pendulix");
    EXPECT_EQ(wintest::WideTextOf(form.Window()), L"Pendulix");
    form.SetCaption("Réglé à l'heure");
    EXPECT_EQ(wintest::WideTextOf(form.Window()), L"R\u00e9gl\u00e9 \u00e0 l'heure");
}

TEST(Form, HasTheButtonFaceBackgroundAndTheProgramsIcon) {
    TTestForm form;
    const HWND window = form.Window();
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    const auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(window, GCLP_HICON));
    const auto ours = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_PENDULIX), IMAGE_ICON,
                   GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), LR_SHARED));
    ASSERT_NE(ours, nullptr) << "the test program carries the program's resources";
    EXPECT_EQ(icon, ours);
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0)), ours);
}

TEST(Form, FontIsMsSansSerifEightPoints) {
    TTestForm form;
    const LOGFONTW font = FontOf(form.Window());
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -Scaled(11));
}

TEST(Button, HasItsLayoutTextAndArialFourteenPoints) {
    TTestForm form;
    const HWND button = form.ButtonWindow();
    EXPECT_EQ(wintest::WideTextOf(button), L"Mets mon PC \u00e0 l'heure !");
    const RECT place = wintest::ChildRect(button);
    EXPECT_EQ(place.left, Scaled(16));
    EXPECT_EQ(place.top, Scaled(16));
    EXPECT_EQ(place.right - place.left, Scaled(345));
    EXPECT_EQ(place.bottom - place.top, Scaled(49));
    const LOGFONTW font = FontOf(button);
    EXPECT_STREQ(font.lfFaceName, L"Arial");
    EXPECT_EQ(font.lfHeight, -Scaled(19));
    EXPECT_TRUE(GetWindowLongPtrW(button, GWL_STYLE) & WS_TABSTOP);
}

TEST(Button, TakesTheFormsFontWithParentFont) {
    TForm plain(nullptr);
    plain.ClientWidth = 100;
    plain.ClientHeight = 50;
    TButton button(nullptr, &plain);
    button.Width = 80;
    button.Height = 25;
    plain.CreateHandle();
    EXPECT_STREQ(
        FontOf(wintest::ChildrenOf(reinterpret_cast<HWND>(plain.Handle()), L"Button").at(0))
            .lfFaceName,
        L"MS Sans Serif");
}

TEST(Button, ClickFiresOnClickWithTheButtonAsSender) {
    TTestForm form;
    form.SetVisible(true);
    SendMessageW(form.ButtonWindow(), BM_CLICK, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form.clicks, 1);
    EXPECT_EQ(form.lastSender, &form.Button1);
}

TEST(Button, DisabledIgnoresAClickUntilEnabledAgain) {
    TTestForm form;
    form.SetVisible(true);
    form.Button1.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(form.ButtonWindow()));
    SendMessageW(form.ButtonWindow(), BM_CLICK, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form.clicks, 0);
    form.Button1.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(form.ButtonWindow()));
    SendMessageW(form.ButtonWindow(), BM_CLICK, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form.clicks, 1);
}

TEST(Button, HasTheFocusAndAnswersEnterAndSpace) {
    TTestForm form;
    form.SetVisible(true);
    SetForegroundWindow(form.Window());
    Application->ProcessMessages();
    ASSERT_EQ(GetFocus(), form.ButtonWindow());
    wintest::PostKey(GetFocus(), VK_RETURN);
    Application->ProcessMessages();
    EXPECT_EQ(form.clicks, 1);
    wintest::PostKey(GetFocus(), VK_SPACE);
    Application->ProcessMessages();
    EXPECT_EQ(form.clicks, 2);
}

TEST(ListBox, ExistsButIsNeverShown) {
    TTestForm form;
    form.SetVisible(true);
    const HWND list = form.ListWindow();
    EXPECT_FALSE(IsWindowVisible(list));
    const RECT place = wintest::ChildRect(list);
    EXPECT_EQ(place.left, Scaled(200));
    EXPECT_EQ(place.top, Scaled(8));
    EXPECT_EQ(place.right - place.left, Scaled(121));
    EXPECT_EQ(place.bottom - place.top, Scaled(50));
}

TEST(Form, CloseBoxHidesAFormThatIsNotTheMainOne) {
    TTestForm form;
    form.SetVisible(true);
    SendMessageW(form.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(IsWindowVisible(form.Window()));
    EXPECT_TRUE(IsWindow(form.Window())) << "closing hides, the window stays";
    EXPECT_FALSE(Application->Terminated());
}

TEST(Form, DestroysItsWindows) {
    HWND window = nullptr;
    HWND button = nullptr;
    {
        TTestForm form;
        window = form.Window();
        button = form.ButtonWindow();
    }
    EXPECT_FALSE(IsWindow(button));
    EXPECT_FALSE(IsWindow(window));
}

TEST(Application, ExeNameIsTheProgramFilesFullPath) {
    const std::string name = Application->ExeName();
    ASSERT_GT(name.size(), 3u);
    EXPECT_EQ(name.substr(1, 2), ":\\");
    EXPECT_EQ(name.substr(name.size() - 15), "win32_tests.exe");
}

TEST(Application, ProcessMessagesHandlesEveryPendingMessage) {
    static int seen = 0;
    seen = 0;
    for (int i = 0; i < 3; ++i)
        SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            ++seen;
        });
    Sleep(20);
    Application->ProcessMessages();
    EXPECT_EQ(seen, 3);
    MSG left;
    EXPECT_FALSE(PeekMessageW(&left, nullptr, 0, 0, PM_NOREMOVE));
}

TEST(Application, WaitMessageReturnsForAMessageAlreadySeen) {
    TTestForm form;
    PostMessageW(form.Window(), WM_NULL, 0, 0);
    MSG peeked;
    ASSERT_TRUE(PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    // Should the wait block, a late message from another thread still ends it.
    std::thread late([window = form.Window()] {
        std::this_thread::sleep_for(std::chrono::seconds(3));
        PostMessageW(window, WM_NULL, 0, 0);
    });
    const auto start = std::chrono::steady_clock::now();
    Application->WaitMessage();
    const auto waited = std::chrono::steady_clock::now() - start;
    late.join();
    Application->ProcessMessages();
    EXPECT_LT(waited, std::chrono::seconds(1));
}

} // namespace
