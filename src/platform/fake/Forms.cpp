// The fake backend's application, forms and controls: no window, a journal instead.
#include "platform/Forms.h"
#include "platform/DateTime.h"
#include "platform/StdCtrls.h"
#include "platform/fake/Fake.h"
#include "platform/fake/Loop.h"

namespace tk {

namespace {
void Record(std::string line) {
    auto& journal = fake::Journal();
    if (line == "ProcessMessages" && !journal.empty() && journal.back() == line)
        return;
    journal.push_back(std::move(line));
}
} // namespace

struct TForm::Native {};
void TForm::NativeDeleter::operator()(Native* native) const {
    delete native;
}
struct TControl::Native {};
void TControl::NativeDeleter::operator()(Native* native) const {
    delete native;
}

void TApplication::Initialize() {
    LoadFormatSettings();
}

void TApplication::ProcessMessages() {
    Record("ProcessMessages");
    auto& events = fake::PendingEvents();
    while (!events.empty()) {
        auto event = std::move(events.front());
        events.pop_front();
        event();
    }
    fake::DispatchPendingMessages();
}

void TApplication::WaitMessage() {
    if (!fake::PendingEvents().empty())
        return;
    fake::WaitForMessage();
}

std::string TApplication::ExeName() const {
    return fake::TheExeName();
}

void TForm::CreateHandle() {
    SetNative(std::unique_ptr<Native, NativeDeleter>(new Native));
}
void TForm::UpdateCaption() {
    Record(Name + " caption " + Caption());
}
void TForm::UpdateVisible() {
    Record(Name + (Visible() ? " shown" : " hidden"));
}
std::uintptr_t TForm::Handle() const {
    return reinterpret_cast<std::uintptr_t>(this);
}

void TButton::UpdateEnabled() {
    Record(Name + (Enabled() ? " enabled" : " disabled"));
}

} // namespace tk
