// Dial-up handling around a run.
#include "sync/Connection.h"

#include "platform/DialUp.h"
#include "platform/Dialogs.h"

using namespace tk;

bool IsConnected() {
    std::uint32_t flags = 0;
    return InternetGetConnectedState(flags, 0);
}

bool EnsureConnection(bool AutoConnect, std::uintptr_t window) {
    if (IsConnected())
        return true;
    return InternetAutodial(AutoConnect ? INTERNET_AUTODIAL_FORCE_UNATTENDED : 0, window);
}

void DisconnectIfWanted(bool AskDisconnect, bool AutoDisconnect) {
    int answer = mrNo;
    if (AskDisconnect)
        answer = MessageDlg("Voulez-vous fermer la connexion à Internet ?",
                            TMsgDlgType::mtConfirmation, mbYes | mbNo);
    if (AutoDisconnect || answer == mrYes)
        InternetAutodialHangup(0);
}
