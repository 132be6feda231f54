// Controls placed on a form: the push button and the list box.
#pragma once

#include "platform/Classes.h"
#include "platform/Forms.h"

#include <memory>
#include <string>

namespace tk {

// A control of a form; it registers with its parent form, which makes its native window.
class TControl : public TComponent {
public:
    TControl(TComponent* owner, TForm* parent);
    ~TControl() override;

    int Left = 0, Top = 0, Width = 0, Height = 0;
    TFont Font{"MS Sans Serif", 8};
    bool ParentFont = true; // false: Font applies, else the form's
    int TabOrder = 0;
    bool Visible = true; // layout: decides whether the control is ever shown

    TForm* Parent() const { return parent_; }
    // The backend's window; it defines Native and how it is destroyed.
    struct Native;
    struct NativeDeleter {
        void operator()(Native* native) const; // backend
    };
    Native* native() const { return native_.get(); }
    void SetNative(std::unique_ptr<Native, NativeDeleter> native) { native_ = std::move(native); }

private:
    TForm* parent_;
    std::unique_ptr<Native, NativeDeleter> native_;
};

class TButton : public TControl {
public:
    using TControl::TControl;
    std::string Caption;
    TNotifyEvent OnClick;

    bool Enabled() const { return enabled_; }
    // A disabled button cannot be clicked.
    void SetEnabled(bool enabled);
    void UpdateEnabled(); // backend: the native button takes Enabled()
    // What a user's click does: fires OnClick, unless disabled. An exception out of OnClick
    // goes to the default error display.
    void Click();

private:
    bool enabled_ = true;
};

// A list of text lines; this program's is never shown and only holds lines.
class TListBox : public TControl {
public:
    using TControl::TControl;
    TStringList Items;
    int ItemHeight = 13;
};

} // namespace tk
