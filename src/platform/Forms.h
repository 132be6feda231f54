// The application object and the form: what the program's one window needs.
//
// The portable part lives in portable/Forms.cpp; each backend defines the members marked
// "backend" (the native window and the message loop) in its own Forms.cpp.
#pragma once

#include "platform/Classes.h"

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class TControl;

struct TFont {
    std::string Name;
    int Size = 8; // points
};

enum class TBorderStyle { bsSizeable, bsSingle };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum class TPosition { poDesigned, poScreenCenter };

// A top-level window. Its layout fields are set by the derived form's constructor; its
// native window is made by CreateHandle() once the layout is complete.
class TForm : public TComponent {
public:
    explicit TForm(TComponent* owner) : TComponent(owner) {}

    // Layout (set before CreateHandle; sizes in pixels at 96 dots per inch).
    int Left = 0, Top = 0, ClientWidth = 0, ClientHeight = 0;
    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition Position = TPosition::poDesigned;
    TFont Font{"MS Sans Serif", 8};
    TNotifyEvent OnCreate;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Visible() const { return visible_; }
    // Shows (centred on the screen with poScreenCenter) or hides the window at once.
    void SetVisible(bool visible);
    // The system's window handle (HWND on Windows), the same whether shown or hidden. backend
    std::uintptr_t Handle() const;
    // What the close box does: hides the window; for the main form, asks the application to
    // terminate.
    void Close();

    void CreateHandle();  // backend: makes the native window and its controls
    void UpdateCaption(); // backend: the native window takes Caption()
    void UpdateVisible(); // backend: the native window takes Visible()
    const std::vector<TControl*>& Controls() const { return controls_; }

    // The backend's window; it defines Native and how it is destroyed.
    struct Native;
    struct NativeDeleter {
        void operator()(Native* native) const; // backend
    };
    Native* native() const { return native_.get(); }
    void SetNative(std::unique_ptr<Native, NativeDeleter> native) { native_ = std::move(native); }

private:
    friend class TControl;
    std::string caption_;
    bool visible_ = false;
    std::vector<TControl*> controls_;
    std::unique_ptr<Native, NativeDeleter> native_;
};

// The application object. One per process: `Application`.
class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    // Prepares the toolkit (backend): the message loop, the user's locale formats.
    void Initialize();

    // The taskbar text and the caption of the default error display.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }

    // True: Run() shows the main form. False: the form's own code decides.
    bool ShowMainForm = true;

    // Creates a form of class F owned by the application (the first one becomes the main
    // form): F's constructor sets the layout, then the native window is made and OnCreate
    // fired. An exception out of OnCreate goes to ShowException; the form stays.
    template <class F> void CreateForm(F*& reference) {
        auto form = std::make_unique<F>(this);
        reference = form.get();
        Adopt(std::move(form));
    }
    TForm* MainForm() const { return mainForm_; }

    // The message loop: returns once Terminate() has been asked and control is back in it.
    void Run();
    // Handles every pending message (window input, timers, socket notifications, posted
    // work) and returns when none is left. backend
    void ProcessMessages();
    // Sleeps until a message arrives; returns at once if one is pending. backend
    void WaitMessage();

    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // The default error display: the exception's message in a box with the stop icon and
    // the title as caption. Shows nothing once Terminate() has been asked.
    void ShowException(const std::exception& e);

    // The program file's full path (UTF-8). backend
    std::string ExeName() const;

private:
    void Adopt(std::unique_ptr<TForm> form);
    std::string title_;
    bool terminated_ = false;
    TForm* mainForm_ = nullptr;
    std::vector<std::unique_ptr<TForm>> forms_;
};

extern TApplication* Application;

// Backend: shows the default error box (stop icon, one OK button) and waits for it.
void ShowErrorBox(const std::string& caption, const std::string& text);

} // namespace tk
