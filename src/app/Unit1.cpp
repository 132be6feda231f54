// The main window: layout, settings and start-up.
#include "app/Unit1.h"

#include "platform/IniFiles.h"
#include "platform/SysUtils.h"
#include "sync/ActivityLog.h"
#include "sync/SyncRun.h"

using namespace tk;

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* Owner)
    : TForm(Owner), Button1(this, this), NMTime1(this), NMDayTime1(this), ListBox1(this, this) {
    Name = "Form1";
    Left = 305; // stored, but the window is centred when shown
    Top = 297;
    ClientWidth = 379;
    ClientHeight = 85;
    BorderStyle = TBorderStyle::bsSingle;
    BorderIcons = biSystemMenu | biMinimize;
    Position = TPosition::poScreenCenter;
    Font = {"MS Sans Serif", 8};
    SetCaption("Form1");
    OnCreate = [this](TObject* sender) { FormCreate(sender); };

    Button1.Name = "Button1";
    Button1.Left = 16;
    Button1.Top = 16;
    Button1.Width = 345;
    Button1.Height = 49;
    Button1.Caption = "Mets mon PC à l'heure !";
    Button1.Font = {"Arial", 14};
    Button1.ParentFont = false;
    Button1.TabOrder = 0;
    Button1.OnClick = [this](TObject* sender) { Button1Click(sender); };

    // Both clients ask the same server; only the port differs.
    auto placeClient = [this](TPowersock& client, const char* name, std::int32_t port) {
        client.Name = name;
        client.Host = DefaultTimeServer;
        client.Port = port;
        client.TimeOut = 5000;
        client.ReportLevel = 0;
        client.OnConnectionFailed = [this](TObject* sender) { NMTime1ConnectionFailed(sender); };
    };
    placeClient(NMTime1, "NMTime1", 37);
    placeClient(NMDayTime1, "NMDayTime1", 13);

    ListBox1.Name = "ListBox1";
    ListBox1.Left = 200;
    ListBox1.Top = 8;
    ListBox1.Width = 121;
    ListBox1.Height = 50;
    ListBox1.ItemHeight = 13;
    ListBox1.TabOrder = 1;
    ListBox1.Visible = false;
}

void TForm1::FormCreate(TObject* /*Sender*/) {
    ProgramDir = ExtractFilePath(Application->ExeName());
    SetCaption(Application->Title());
    ReadSettings();
    LoadActivityLog(ListBox1.Items, ProgramDir, LogFile, SilentMode);
    SetVisible(!SilentMode);
    // A visible window is drawn before a start-up run begins.
    Application->ProcessMessages();
    if (SilentMode)
        AutoSynchro = true;
    if (AskDisconnect)
        AutoDisconnect = false;
    if (AutoSynchro)
        Button1Click(this);
}

void TForm1::ReadSettings() {
    const TIniFile ini(ProgramDir + "Pendulix.ini");
    auto read = [&ini](const char* key, bool fallback) {
        return ini.ReadInteger("config", key, fallback ? 1 : 0) != 0;
    };
    const TSettings defaults;
    AutoConnect = read("AutoConnect", defaults.AutoConnect);
    AutoSynchro = read("AutoSynchro", defaults.AutoSynchro);
    AskDisconnect = read("AskDisconnect", defaults.AskDisconnect);
    AutoDisconnect = read("AutoDisconnect", defaults.AutoDisconnect);
    SilentMode = read("SilentMode", defaults.SilentMode);
    LogFile = read("LogFile", defaults.LogFile);
    CorrigeDate = read("CorrigeDate", defaults.CorrigeDate);
}

TSettings TForm1::Settings() const {
    return {AutoConnect, AutoSynchro, AskDisconnect, AutoDisconnect,
            SilentMode,  LogFile,     CorrigeDate};
}

void TForm1::Button1Click(TObject* /*Sender*/) {
    TSyncRun run{Button1,    NMTime1,  NMDayTime1,     ConnFailed,
                 Settings(), Handle(), ListBox1.Items, ProgramDir};
    run.Execute();
}

void TForm1::NMTime1ConnectionFailed(TObject* /*Sender*/) {
    ConnFailed = true;
}
