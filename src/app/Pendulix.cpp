// Pendulix: sets the computer's clock from an Internet time server.
#include "app/Unit1.h"

#include "platform/Forms.h"

#include <exception>

int main() {
    using tk::Application;
    try {
        Application->Initialize();
        Application->SetTitle("Pendulix");
        // FormCreate decides whether the window shows (not in silent mode).
        Application->ShowMainForm = false;
        Application->CreateForm(Form1);
        Application->Run();
    } catch (const std::exception& e) {
        Application->ShowException(e);
        return 1;
    }
    return 0;
}
