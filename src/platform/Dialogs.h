// Modal message dialogs.
#pragma once

#include <string>

namespace tk {

// The kind gives the caption and the system icon: "Erreur" (stop), "Information"
// (information), "Confirmation" (question mark).
enum class TMsgDlgType { mtError, mtInformation, mtConfirmation };

enum TMsgDlgBtn : unsigned { mbYes = 1, mbNo = 2, mbOK = 4 };
using TMsgDlgButtons = unsigned; // mbOK, or mbYes | mbNo

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// Shows a modal box centred on the screen and waits until it is closed. "\r" in the text
// breaks lines. mbOK: one "OK" button, the default, also chosen by Escape (mrOk).
// mbYes | mbNo: "&Oui" (the default, mrYes) and "&Non"; Escape and the close box give mrNo.
// Once the application has been asked to terminate, shows nothing and returns mrCancel.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// Backend: the box itself, as MessageDlg describes it.
int ShowMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons);

// The caption of each kind.
const char* DialogCaption(TMsgDlgType type);

} // namespace tk
