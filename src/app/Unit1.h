// The main window: its layout, the settings, start-up, and the handlers its layout binds.
#pragma once

#include "netclients/NMDayTim.h"
#include "netclients/NMTime.h"
#include "platform/Forms.h"
#include "platform/StdCtrls.h"
#include "sync/Settings.h"

#include <string>

// The public server asked by both clients; it answers the Time and the Daytime protocols.
inline constexpr const char* DefaultTimeServer = "time.nist.gov";

class TForm1 : public tk::TForm {
public:
    explicit TForm1(tk::TComponent* Owner);

    tk::TButton Button1;
    TNMTime NMTime1;
    TNMDayTime NMDayTime1;
    tk::TListBox ListBox1; // never shown: holds the activity log's lines
    bool ConnFailed = false;
    bool AutoSynchro = false;
    bool AskDisconnect = false;
    bool AutoDisconnect = false;
    bool SilentMode = false;
    bool LogFile = false;
    bool CorrigeDate = false;
    bool AutoConnect = false;
    std::string ProgramDir; // ends with its separator

    void FormCreate(tk::TObject* Sender);
    void Button1Click(tk::TObject* Sender);
    void NMTime1ConnectionFailed(tk::TObject* Sender);

    // The settings as every run sees them (after the start-up rules).
    TSettings Settings() const;

private:
    void ReadSettings();
};

extern TForm1* Form1;
