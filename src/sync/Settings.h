// The seven settings a run reads, as the main window holds them after start-up.
#pragma once

struct TSettings {
    bool AutoConnect = false;
    bool AutoSynchro = false;
    bool AskDisconnect = true;
    bool AutoDisconnect = false;
    bool SilentMode = false;
    bool LogFile = false;
    bool CorrigeDate = false;
};
