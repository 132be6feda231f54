// The fake backend's boxes: recorded and answered from the test's script.
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/SysUtils.h"
#include "platform/fake/Fake.h"

namespace tk {

int ShowMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    auto& answers = fake::DialogAnswers();
    int answer = (buttons & mbYes) ? mrYes : mrOk;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    fake::Dialogs().push_back({DialogCaption(type), text, buttons, false, answer});
    fake::Journal().push_back(std::string("dialog ") + DialogCaption(type) + ": " + text);
    if (answer == fake::RaiseError)
        throw Exception(fake::SimulatedFailureText);
    return answer;
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    fake::Dialogs().push_back({caption, text, mbOK, true, mrOk});
    fake::Journal().push_back("error box " + caption + ": " + text);
}

} // namespace tk
