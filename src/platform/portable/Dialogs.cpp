// Message dialogs: what every backend's box has in common.
#include "platform/Dialogs.h"

#include "platform/Forms.h"

namespace tk {

const char* DialogCaption(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtError:
        return "Erreur";
    case TMsgDlgType::mtInformation:
        return "Information";
    case TMsgDlgType::mtConfirmation:
        return "Confirmation";
    }
    return "";
}

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    // Once the user has asked to quit, no box may hold the program back; a question then
    // counts as unanswered.
    if (Application->Terminated())
        return mrCancel;
    return ShowMessageDialog(text, type, buttons);
}

} // namespace tk
