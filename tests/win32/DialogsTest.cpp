// The Win32 message boxes, driven from inside their own modal loop: what each kind shows, and
// what every way of answering gives.
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "win32/WindowDriver.h"

#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

namespace {

using namespace tk;
using wintest::BoxDriver;

struct Seen {
    std::string caption;
    HICON icon = nullptr;
    std::vector<std::string> buttons;
    int defaultId = 0;
    bool defaultStyled = false;
    bool focusOnDefault = false;
    std::wstring text;
    RECT textRect{};
    RECT frame{};
    HWND owner = nullptr;
};

Seen Inspect(HWND box) {
    Seen seen;
    seen.caption = wintest::TextOf(box);
    for (HWND button : wintest::ChildrenOf(box, L"Button"))
        seen.buttons.push_back(wintest::TextOf(button));
    for (HWND item : wintest::ChildrenOf(box, L"Static")) {
        if (GetWindowLongPtrW(item, GWL_STYLE) & SS_ICON) {
            seen.icon = reinterpret_cast<HICON>(SendMessageW(item, STM_GETICON, 0, 0));
        } else {
            seen.text = wintest::WideTextOf(item);
            seen.textRect = wintest::ChildRect(item);
        }
    }
    const LRESULT defId = SendMessageW(box, DM_GETDEFID, 0, 0);
    if (HIWORD(defId) == DC_HASDEFID) {
        seen.defaultId = LOWORD(defId);
        HWND button = GetDlgItem(box, seen.defaultId);
        seen.defaultStyled = (GetWindowLongPtrW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
        seen.focusOnDefault = GetFocus() == button;
    }
    GetWindowRect(box, &seen.frame);
    seen.owner = GetWindow(box, GW_OWNER);
    return seen;
}

// Shows a box, looks at it once it is on screen, then answers it with `answer`.
int ShowAndAnswer(TMsgDlgType type, TMsgDlgButtons buttons, Seen& seen,
                  const std::function<void(HWND)>& answer, const std::string& text = "Texte") {
    BoxDriver driver([&](HWND box) {
        seen = Inspect(box);
        answer(box);
    });
    const int result = ShowMessageDialog(text, type, buttons);
    EXPECT_TRUE(driver.Acted()) << "the box never showed";
    EXPECT_FALSE(driver.ForcedClosed()) << "the box ignored its answer";
    return result;
}

void PressEnter(HWND) {
    wintest::PostKey(GetFocus(), VK_RETURN);
}

struct KindCase {
    const char* name;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    const char* caption;
    LPCWSTR icon;
    std::vector<std::string> buttonTexts;
    int defaultId;
    int enterGives;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

class BoxKind : public testing::TestWithParam<KindCase> {};

TEST_P(BoxKind, ShowsCaptionIconButtonsAndDefault) {
    const KindCase& c = GetParam();
    Seen seen;
    const int result = ShowAndAnswer(c.type, c.buttons, seen, PressEnter);
    EXPECT_EQ(seen.caption, c.caption);
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, c.icon));
    EXPECT_EQ(seen.buttons, c.buttonTexts);
    EXPECT_EQ(seen.defaultId, c.defaultId);
    EXPECT_TRUE(seen.defaultStyled);
    EXPECT_TRUE(seen.focusOnDefault);
    EXPECT_EQ(result, c.enterGives);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BoxKind,
    testing::Values(
        KindCase{"Error", TMsgDlgType::mtError, mbOK, "Erreur", IDI_HAND, {"OK"}, IDOK, mrOk},
        KindCase{"Information",
                 TMsgDlgType::mtInformation,
                 mbOK,
                 "Information",
                 IDI_ASTERISK,
                 {"OK"},
                 IDOK,
                 mrOk},
        KindCase{"Confirmation",
                 TMsgDlgType::mtConfirmation,
                 mbYes | mbNo,
                 "Confirmation",
                 IDI_QUESTION,
                 {"&Oui", "&Non"},
                 IDYES,
                 mrYes}),
    [](const testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

struct AnswerCase {
    const char* name;
    TMsgDlgButtons buttons;
    std::function<void(HWND)> answer;
    int expected;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class BoxAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(BoxAnswer, GivesTheExpectedResult) {
    const AnswerCase& c = GetParam();
    Seen seen;
    EXPECT_EQ(ShowAndAnswer(TMsgDlgType::mtConfirmation, c.buttons, seen, c.answer), c.expected);
}

void Click(HWND box, int id) {
    SendMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, BoxAnswer,
    testing::Values(
        AnswerCase{"QuestionEnter", mbYes | mbNo, PressEnter, mrYes},
        AnswerCase{"QuestionEscape", mbYes | mbNo,
                   [](HWND) { wintest::PostKey(GetFocus(), VK_ESCAPE); }, mrNo},
        AnswerCase{"QuestionCloseBox", mbYes | mbNo,
                   [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, mrNo},
        AnswerCase{"QuestionWmClose", mbYes | mbNo,
                   [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }, mrNo},
        AnswerCase{"QuestionAltN", mbYes | mbNo,
                   [](HWND) { wintest::PostSysChar(GetFocus(), L'n'); }, mrNo},
        AnswerCase{"QuestionAltO", mbYes | mbNo,
                   [](HWND) { wintest::PostSysChar(GetFocus(), L'o'); }, mrYes},
        AnswerCase{"QuestionTabThenEnter", mbYes | mbNo,
                   [](HWND) {
                       // Enter goes to whichever button has the focus by then: "&Non".
                       wintest::PostKey(GetFocus(), VK_TAB);
                       wintest::PostKey(GetFocus(), VK_RETURN);
                   },
                   mrNo},
        AnswerCase{"QuestionClickOui", mbYes | mbNo, [](HWND box) { Click(box, IDYES); }, mrYes},
        AnswerCase{"QuestionClickNon", mbYes | mbNo, [](HWND box) { Click(box, IDNO); }, mrNo},
        AnswerCase{"OkEnter", mbOK, PressEnter, mrOk},
        AnswerCase{"OkEscape", mbOK, [](HWND) { wintest::PostKey(GetFocus(), VK_ESCAPE); }, mrOk},
        AnswerCase{"OkCloseBox", mbOK,
                   [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); }, mrOk}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.name); });

TEST(MessageBox, BreaksTheTextIntoLinesAtCarriageReturns) {
    Seen seen;
    ShowAndAnswer(TMsgDlgType::mtError, mbOK, seen, PressEnter,
                  "Erreur de connexion au serveur.\rMerci de bien vouloir réessayer.");
    EXPECT_EQ(seen.text,
              L"Erreur de connexion au serveur.\r\nMerci de bien vouloir r\u00e9essayer.");
    Seen oneLine;
    ShowAndAnswer(TMsgDlgType::mtError, mbOK, oneLine, PressEnter,
                  "Erreur de connexion au serveur.");
    const int twoLines = seen.textRect.bottom - seen.textRect.top;
    const int oneLineHeight = oneLine.textRect.bottom - oneLine.textRect.top;
    EXPECT_GT(oneLineHeight, 0);
    EXPECT_EQ(twoLines, 2 * oneLineHeight);
    // The two lines take no more width than the longer one.
    EXPECT_LT(seen.textRect.right - seen.textRect.left,
              oneLine.textRect.right - oneLine.textRect.left + 80);
}

TEST(MessageBox, IsCentredOnTheScreen) {
    Seen seen;
    ShowAndAnswer(TMsgDlgType::mtInformation, mbOK, seen, PressEnter);
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_NEAR((seen.frame.left + seen.frame.right) / 2.0, (area.left + area.right) / 2.0, 1.0);
    EXPECT_NEAR((seen.frame.top + seen.frame.bottom) / 2.0, (area.top + area.bottom) / 2.0, 1.0);
}

int ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
}
void CALLBACK EscapeAfterFiveTicks(HWND, UINT, UINT_PTR id, DWORD) {
    if (ticks < 5)
        return;
    KillTimer(nullptr, id);
    wintest::PostKey(GetFocus(), VK_ESCAPE);
}

TEST(MessageBox, KeepsDispatchingOtherMessagesWhileOpen) {
    // Nothing else dispatches this thread's messages while the box is up: every tick counted
    // comes from the box's own loop, and without them the box is never answered.
    ticks = 0;
    const UINT_PTR counter = SetTimer(nullptr, 0, 10, &CountTick);
    Seen seen;
    const int result = ShowAndAnswer(TMsgDlgType::mtConfirmation, mbYes | mbNo, seen,
                                     [](HWND) { SetTimer(nullptr, 0, 10, &EscapeAfterFiveTicks); });
    KillTimer(nullptr, counter);
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(result, mrNo);
}

// The process's main form, made once: it stays for the life of the test program, hidden
// between tests.
TForm* MainTestForm() {
    struct TMainForm : TForm {
        explicit TMainForm(TComponent* owner) : TForm(owner) {
            ClientWidth = 200;
            ClientHeight = 60;
            Position = TPosition::poScreenCenter;
        }
    };
    static TMainForm* form = nullptr;
    if (form == nullptr) {
        if (Application->MainForm() != nullptr)
            return Application->MainForm();
        Application->CreateForm(form);
    }
    return form;
}

TEST(MessageBox, IsModalOverTheVisibleMainForm) {
    TForm* main = MainTestForm();
    main->SetVisible(true);
    auto mainWindow = reinterpret_cast<HWND>(main->Handle());
    bool mainEnabledDuringBox = true;
    Seen seen;
    const int result =
        ShowAndAnswer(TMsgDlgType::mtConfirmation, mbYes | mbNo, seen, [&](HWND box) {
            mainEnabledDuringBox = IsWindowEnabled(mainWindow) != FALSE;
            PostMessageW(box, WM_CLOSE, 0, 0);
        });
    EXPECT_EQ(result, mrNo);
    EXPECT_EQ(seen.owner, mainWindow);
    EXPECT_FALSE(mainEnabledDuringBox);
    EXPECT_TRUE(IsWindowEnabled(mainWindow));
    main->SetVisible(false);
}

TEST(MessageBox, WithTheMainFormHiddenStandsAloneInTheTaskbar) {
    MainTestForm()->SetVisible(false);
    Seen seen;
    HWND box = nullptr;
    ShowAndAnswer(TMsgDlgType::mtConfirmation, mbYes | mbNo, seen, [&](HWND shown) {
        box = shown;
        PressEnter(shown);
    });
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_NE(box, nullptr);
}

TEST(ErrorBox, ShowsTheGivenCaptionTheStopIconAndOk) {
    Seen seen;
    BoxDriver driver([&](HWND box) {
        seen = Inspect(box);
        wintest::PostKey(GetFocus(), VK_ESCAPE);
    });
    ShowErrorBox("Pendulix", "Impossible d'écrire le journal.");
    EXPECT_TRUE(driver.Acted());
    EXPECT_FALSE(driver.ForcedClosed());
    EXPECT_EQ(seen.caption, "Pendulix");
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_HAND));
    EXPECT_EQ(seen.buttons, std::vector<std::string>{"OK"});
    EXPECT_EQ(seen.text, L"Impossible d'\u00e9crire le journal.");
}

} // namespace
