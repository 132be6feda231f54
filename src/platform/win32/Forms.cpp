// The Win32 application object, forms and controls: real windows and the thread's message
// queue.
#include "platform/Forms.h"

#include "platform/DateTime.h"
#include "platform/StdCtrls.h"
#include "platform/win32/Gui.h"

#include <commctrl.h>

#include <algorithm>

namespace tk {

struct TForm::Native {
    HWND window = nullptr;
    HFONT font = nullptr;
    HWND lastFocus = nullptr; // the control that gets the focus back when the form is activated
};

void TForm::NativeDeleter::operator()(Native* native) const {
    if (native->window != nullptr && IsWindow(native->window)) {
        SetWindowLongPtrW(native->window, GWLP_USERDATA, 0);
        DestroyWindow(native->window);
    }
    if (native->font != nullptr)
        DeleteObject(native->font);
    delete native;
}

struct TControl::Native {
    HWND window = nullptr;
    HFONT ownFont = nullptr; // only when the control does not take its form's font
};

void TControl::NativeDeleter::operator()(Native* native) const {
    if (native->window != nullptr && IsWindow(native->window)) {
        SetWindowLongPtrW(native->window, GWLP_USERDATA, 0);
        DestroyWindow(native->window);
    }
    if (native->ownFont != nullptr)
        DeleteObject(native->ownFont);
    delete native;
}

namespace {

// Control identifiers start above IDOK..IDNO, so that the dialog manager's Escape (IDCANCEL)
// is never taken for a control.
constexpr int kFirstControlId = 100;

void FocusControl(TForm::Native& native) {
    HWND target = native.lastFocus;
    if (target == nullptr || !IsChild(native.window, target) || !IsWindowEnabled(target) ||
        !IsWindowVisible(target))
        target = GetNextDlgTabItem(native.window, nullptr, FALSE);
    if (target != nullptr)
        SetFocus(target);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr || form->native() == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);

    switch (message) {
    case WM_CLOSE:
        form->Close();
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            auto* button = reinterpret_cast<TButton*>(
                GetWindowLongPtrW(reinterpret_cast<HWND>(lParam), GWLP_USERDATA));
            if (button != nullptr)
                button->Click();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(window, focus))
                form->native()->lastFocus = focus;
        }
        break;
    case WM_SETFOCUS:
        FocusControl(*form->native());
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(form->native()->font);
    case DM_GETDEFID: {
        // Enter clicks the focused button, as in a dialog whose default follows the focus.
        HWND focus = GetFocus();
        const LRESULT code = focus != nullptr && IsChild(window, focus)
                                 ? SendMessageW(focus, WM_GETDLGCODE, 0, 0)
                                 : 0;
        if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0)
            return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterFormClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = FormProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hIcon = gui::MainIcon(GetSystemMetrics(SM_CXICON));
        windowClass.hIconSm = gui::MainIcon(GetSystemMetrics(SM_CXSMICON));
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = gui::FormClassName();
        return RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

DWORD FormStyle(const TForm& form) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    if (form.BorderIcons & biSystemMenu)
        style |= WS_SYSMENU;
    if (form.BorderIcons & biMinimize)
        style |= WS_MINIMIZEBOX;
    if (form.BorderStyle == TBorderStyle::bsSizeable) {
        style |= WS_THICKFRAME;
        if (form.BorderIcons & biMaximize)
            style |= WS_MAXIMIZEBOX;
    }
    return style;
}

void CreateControl(TForm& form, TControl& control, int id) {
    HWND parent = form.native()->window;
    const wchar_t* windowClass = nullptr;
    std::wstring text;
    DWORD style = WS_CHILD | (control.Visible ? WS_VISIBLE : 0);
    if (auto* button = dynamic_cast<TButton*>(&control)) {
        windowClass = WC_BUTTONW;
        text = gui::Widen(button->Caption);
        style |= WS_TABSTOP | BS_PUSHBUTTON | (button->Enabled() ? 0 : WS_DISABLED);
    } else if (dynamic_cast<TListBox*>(&control) != nullptr) {
        // Its lines live in Items; this program never shows the box.
        windowClass = WC_LISTBOXW;
        style |= WS_TABSTOP | WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    } else {
        return;
    }
    auto native = std::unique_ptr<TControl::Native, TControl::NativeDeleter>(new TControl::Native);
    native->window = CreateWindowExW(
        0, windowClass, text.c_str(), style, gui::Scale(control.Left), gui::Scale(control.Top),
        gui::Scale(control.Width), gui::Scale(control.Height), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    if (native->window == nullptr)
        return;
    SetWindowLongPtrW(native->window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
    HFONT font = form.native()->font;
    if (!control.ParentFont) {
        native->ownFont = gui::CreatePointFont(control.Font.Name, control.Font.Size);
        font = native->ownFont;
    }
    SendMessageW(native->window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (auto* list = dynamic_cast<TListBox*>(&control))
        SendMessageW(native->window, LB_SETITEMHEIGHT, 0, gui::Scale(list->ItemHeight));
    control.SetNative(std::move(native));
}

} // namespace

void TApplication::Initialize() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    LoadFormatSettings();
    RegisterFormClass();
}

void TApplication::ProcessMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        HWND topLevel = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        if (topLevel != nullptr && gui::WantsDialogKeys(topLevel) &&
            IsDialogMessageW(topLevel, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void TApplication::WaitMessage() {
    // Unlike ::WaitMessage, this also returns for messages that a peek has already seen.
    MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

std::string TApplication::ExeName() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return gui::Narrow(path);
        }
        path.resize(path.size() * 2);
    }
}

void TForm::CreateHandle() {
    RegisterFormClass();
    auto native = std::unique_ptr<Native, NativeDeleter>(new Native);
    native->font = gui::CreatePointFont(Font.Name, Font.Size);
    SetNative(std::move(native));

    const DWORD style = FormStyle(*this);
    RECT frame{0, 0, gui::Scale(ClientWidth), gui::Scale(ClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    HWND window = CreateWindowExW(0, gui::FormClassName(), gui::Widen(Caption()).c_str(), style,
                                  Left, Top, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), this);
    this->native()->window = window;
    if (window == nullptr)
        return;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(this->native()->font), FALSE);
    // Also the window's own icons, so that the taskbar and Alt+Tab can ask the window itself.
    SendMessageW(window, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(gui::MainIcon(GetSystemMetrics(SM_CXICON))));
    SendMessageW(window, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(gui::MainIcon(GetSystemMetrics(SM_CXSMICON))));

    // Windows made in tab order: the z-order is what Tab follows.
    std::vector<TControl*> ordered = Controls();
    std::stable_sort(ordered.begin(), ordered.end(), [](const TControl* a, const TControl* b) {
        return a->TabOrder < b->TabOrder;
    });
    int id = kFirstControlId;
    for (TControl* control : ordered)
        CreateControl(*this, *control, id++);
    if (Visible())
        UpdateVisible();
}

void TForm::UpdateCaption() {
    if (native() != nullptr && native()->window != nullptr)
        SetWindowTextW(native()->window, gui::Widen(Caption()).c_str());
}

void TForm::UpdateVisible() {
    if (native() == nullptr || native()->window == nullptr)
        return;
    HWND window = native()->window;
    if (!Visible()) {
        ShowWindow(window, SW_HIDE);
        return;
    }
    if (IsWindowVisible(window))
        return;
    if (Position == TPosition::poScreenCenter)
        gui::CenterOnWorkArea(window);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
}

std::uintptr_t TForm::Handle() const {
    return native() != nullptr ? reinterpret_cast<std::uintptr_t>(native()->window) : 0;
}

void TButton::UpdateEnabled() {
    if (native() != nullptr && native()->window != nullptr)
        EnableWindow(native()->window, Enabled() ? TRUE : FALSE);
}

} // namespace tk
