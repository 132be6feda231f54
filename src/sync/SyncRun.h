// The synchronisation run: what a click on the button does, from disabling it to ending the
// program.
#pragma once

#include "netclients/NMDayTim.h"
#include "netclients/NMTime.h"
#include "platform/StdCtrls.h"
#include "sync/Settings.h"

#include <cstdint>
#include <string>

// What a run works with: the main window's parts and settings.
struct TSyncRun {
    tk::TButton& Button1;
    TNMTime& NMTime1;
    TNMDayTime& NMDayTime1;
    bool& ConnFailed; // set by the clients' OnConnectionFailed
    TSettings Settings;
    std::uintptr_t Window; // the main window's handle, for the dialling service
    tk::TStringList& LogLines;
    std::string ProgramDir;

    // Runs every stage in order. Ends the program (asks the application to terminate) unless
    // a server query failed in a visible window, which leaves the button enabled for a retry.
    void Execute();
};

// The error box of a failed server query.
inline constexpr const char* ConnectionErrorText =
    "Erreur de connexion au serveur.\rMerci de bien vouloir réessayer.";
