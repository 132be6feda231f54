// The platform-independent half of the application object, forms and controls.
#include "platform/Forms.h"
#include "platform/Dialogs.h"
#include "platform/StdCtrls.h"

#include <algorithm>

namespace tk {

namespace {
TApplication theApplication;
}
TApplication* Application = &theApplication;

TApplication::TApplication() : TComponent(nullptr) {}
TApplication::~TApplication() = default;

void TApplication::Adopt(std::unique_ptr<TForm> form) {
    TForm* created = form.get();
    forms_.push_back(std::move(form));
    if (mainForm_ == nullptr)
        mainForm_ = created;
    created->CreateHandle();
    // As a window's creation handler may fail half-way: the window stays, the loop still runs.
    try {
        if (created->OnCreate)
            created->OnCreate(created);
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TApplication::Run() {
    if (ShowMainForm && mainForm_ != nullptr)
        mainForm_->SetVisible(true);
    while (!terminated_) {
        ProcessMessages();
        if (!terminated_)
            WaitMessage();
    }
}

void TApplication::ShowException(const std::exception& e) {
    if (terminated_)
        return;
    ShowErrorBox(title_, e.what());
}

void TForm::SetCaption(const std::string& caption) {
    caption_ = caption;
    UpdateCaption();
}

void TForm::SetVisible(bool visible) {
    visible_ = visible;
    UpdateVisible();
}

void TForm::Close() {
    SetVisible(false);
    if (Application->MainForm() == this)
        Application->Terminate();
}

TControl::TControl(TComponent* owner, TForm* parent) : TComponent(owner), parent_(parent) {
    parent_->controls_.push_back(this);
}

TControl::~TControl() {
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
}

void TButton::SetEnabled(bool enabled) {
    enabled_ = enabled;
    UpdateEnabled();
}

void TButton::Click() {
    if (!enabled_ || !OnClick)
        return;
    // A handler's failure ends at the message loop, shown by the default error display.
    try {
        OnClick(this);
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
}

} // namespace tk
