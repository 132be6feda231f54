// The fake backend's controls, for tests: a journal of what the program did to the platform,
// scripted dialog answers, a fake clock, a scripted dial-up service, and GUI events to deliver
// while messages are processed. Nothing here touches a real clock or shows a window.
#pragma once

#include "platform/Dialogs.h"
#include "platform/SystemTime.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tk::fake {

// Everything the program asked of the platform, in order, one short line each, e.g.
// "Form1 shown", "Button1 disabled", "ProcessMessages", "dialog Information: ...",
// "SetSystemTime 2024-01-15 12:34:56.000", "InternetAutodial(2, Form1)". Repeated
// "ProcessMessages" lines are kept as one.
std::vector<std::string>& Journal();

struct ShownDialog {
    std::string caption; // "Erreur", "Information", "Confirmation", or the title of an error box
    std::string text;
    TMsgDlgButtons buttons = mbOK;
    bool errorBox = false; // the default error display rather than a message dialog
    int answer = mrNone;
};
std::vector<ShownDialog>& Dialogs();
// Answers for the next message dialogs, in order; a dialog without one gets its default
// button (mrOk, or mrYes for a question). RaiseError makes that dialog raise an Exception
// (SimulatedFailureText), standing for any failure inside a stage.
std::deque<int>& DialogAnswers();
inline constexpr int RaiseError = -1;
inline constexpr const char* SimulatedFailureText = "Panne simulée";

struct Clock {
    SYSTEMTIME now{2024, 1, 1, 15, 12, 0, 0, 0}; // what GetSystemTime reads (UTC)
    bool refuse = false;                         // SetSystemTime fails, as without the right
    std::vector<SYSTEMTIME> set;                 // every value SetSystemTime was given
    int taskbarNotices = 0;
    int localOffsetMinutes = 0; // local time = UTC + this
};
Clock& TheClock();

struct DialUpService {
    bool connected = true;    // what InternetGetConnectedState answers
    bool dialSucceeds = true; // what InternetAutodial answers
};
DialUpService& TheDialUp();

// Work to do (as a user would: a click, the close box) at the next ProcessMessages.
std::deque<std::function<void()>>& PendingEvents();

// The program file's full path, as ExeName() gives it.
void SetExeName(std::string path);
const std::string& TheExeName();

// Forgets everything above and starts again from the defaults.
void Reset();

// "2024-01-15 12:34:56.000" — how the journal writes a clock record.
std::string Describe(const SYSTEMTIME& t);

} // namespace tk::fake
