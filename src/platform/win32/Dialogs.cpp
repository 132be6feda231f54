// The message dialogs and the default error box: our own modal box, not MessageBox, whose
// Yes/No box answers neither Escape nor its close box and takes its button texts from the
// system's language.
#include "platform/Dialogs.h"

#include "platform/Forms.h"
#include "platform/win32/Gui.h"

#include <algorithm>
#include <vector>

namespace tk {

namespace {

struct BoxButton {
    int id;
    const char* text;
};

struct Box {
    std::wstring caption;
    std::wstring text;
    LPCWSTR icon;
    std::vector<BoxButton> buttons; // the first is the default
    int escapeId;                   // what Escape and the close box choose
    HFONT font = nullptr;
    int chosen = 0;
};

// A dialog template without controls: the box makes its controls in pixels once it knows the
// text's size.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE dialog;
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

// "\r" alone breaks a line in the program's texts; the static control wants CR LF.
std::wstring WithLineBreaks(const std::wstring& text) {
    std::wstring lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        lines += text[i];
        if (text[i] == L'\r' && (i + 1 == text.size() || text[i + 1] != L'\n'))
            lines += L'\n';
    }
    return lines;
}

SIZE TextSize(HWND dialog, HFONT font, const std::wstring& text, int maxWidth, UINT flags) {
    HDC dc = GetDC(dialog);
    HGDIOBJ old = SelectObject(dc, font);
    RECT bounds{0, 0, maxWidth, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | flags);
    if (bounds.right > maxWidth) {
        bounds = {0, 0, maxWidth, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                  DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | flags);
    }
    SelectObject(dc, old);
    ReleaseDC(dialog, dc);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

HWND AddControl(HWND dialog, const wchar_t* windowClass, const std::wstring& text, DWORD style,
                int id, RECT place, HFONT font) {
    HWND control = CreateWindowExW(
        0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

void LayOut(HWND dialog, Box& box) {
    using gui::Scale;
    const int margin = Scale(12);
    const int iconSize = GetSystemMetrics(SM_CXICON);
    const RECT area = gui::WorkArea();
    const std::wstring text = WithLineBreaks(box.text);
    const SIZE textSize = TextSize(dialog, box.font, text, (area.right - area.left) / 2, 0);

    const int textLeft = margin + iconSize + Scale(12);
    const int contentHeight = std::max<int>(iconSize, textSize.cy);
    const int textTop = margin + (contentHeight - textSize.cy) / 2;
    HWND iconControl = AddControl(dialog, L"STATIC", L"", SS_ICON, -1,
                                  {margin, margin, margin + iconSize, margin + iconSize}, box.font);
    SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, box.icon)),
                 0);
    AddControl(dialog, L"STATIC", text, SS_LEFT | SS_NOPREFIX, -1,
               {textLeft, textTop, textLeft + textSize.cx, textTop + textSize.cy}, box.font);

    int buttonWidth = Scale(75);
    for (const BoxButton& button : box.buttons) {
        const SIZE size = TextSize(dialog, box.font, gui::Widen(button.text), 10000, DT_SINGLELINE);
        buttonWidth = std::max<int>(buttonWidth, size.cx + Scale(24));
    }
    const int buttonHeight = Scale(25);
    const int buttonGap = Scale(8);
    const int count = static_cast<int>(box.buttons.size());
    const int rowWidth = count * buttonWidth + (count - 1) * buttonGap;
    const int clientWidth = std::max<int>(textLeft + textSize.cx, margin + rowWidth) + margin;
    const int buttonTop = margin + contentHeight + Scale(16);
    const int clientHeight = buttonTop + buttonHeight + margin;

    int left = (clientWidth - rowWidth) / 2;
    for (std::size_t i = 0; i < box.buttons.size(); ++i) {
        const DWORD kind = i == 0 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        AddControl(dialog, L"BUTTON", gui::Widen(box.buttons[i].text), WS_TABSTOP | kind,
                   box.buttons[i].id,
                   {left, buttonTop, left + buttonWidth, buttonTop + buttonHeight}, box.font);
        left += buttonWidth + buttonGap;
    }
    SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(box.buttons.front().id), 0);

    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    gui::CenterOnWorkArea(dialog);
    SetWindowTextW(dialog, box.caption.c_str());
}

INT_PTR CALLBACK BoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        LayOut(dialog, *reinterpret_cast<Box*>(lParam));
        return FALSE; // the focus is set once the box is shown
    }
    auto* box = reinterpret_cast<Box*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (box == nullptr || message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDCANCEL) {
        box->chosen = box->escapeId; // Escape, the close box, Alt+F4
        return TRUE;
    }
    for (const BoxButton& button : box->buttons)
        if (button.id == id)
            box->chosen = id;
    return TRUE;
}

int Show(Box box) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    box.font = CreateFontIndirectW(&metrics.lfMessageFont);

    // Modal over the main form while it is on screen; otherwise (silent mode) a box of its own
    // in the taskbar, so the user can find it.
    HWND owner = nullptr;
    if (Application->MainForm() != nullptr) {
        auto handle = reinterpret_cast<HWND>(Application->MainForm()->Handle());
        if (handle != nullptr && IsWindowVisible(handle))
            owner = handle;
    }
    EmptyTemplate layout{};
    layout.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
    layout.dialog.dwExtendedStyle = owner != nullptr ? 0 : WS_EX_APPWINDOW;
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &layout.dialog, owner,
                                             BoxProc, reinterpret_cast<LPARAM>(&box));
    if (dialog == nullptr) {
        DeleteObject(box.font);
        return box.escapeId;
    }
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    SendMessageW(dialog, WM_NEXTDLGCTL,
                 reinterpret_cast<WPARAM>(GetDlgItem(dialog, box.buttons.front().id)), TRUE);

    // Our own modal loop: timers, sockets and posted work go on while the box waits.
    while (box.chosen == 0 && IsWindow(dialog)) {
        Application->ProcessMessages();
        if (box.chosen == 0)
            Application->WaitMessage();
    }
    // The owner takes the activation back only if it is enabled before the box goes away.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    DestroyWindow(dialog);
    DeleteObject(box.font);
    return box.chosen != 0 ? box.chosen : box.escapeId;
}

LPCWSTR IconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtError:
        return IDI_HAND;
    case TMsgDlgType::mtInformation:
        return IDI_ASTERISK;
    case TMsgDlgType::mtConfirmation:
        return IDI_QUESTION;
    }
    return IDI_HAND;
}

int ToModalResult(int id) {
    switch (id) {
    case IDYES:
        return mrYes;
    case IDNO:
        return mrNo;
    default:
        return mrOk;
    }
}

} // namespace

int ShowMessageDialog(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    Box box{gui::Widen(DialogCaption(type)), gui::Widen(text), IconOf(type), {}, IDOK};
    if ((buttons & (mbYes | mbNo)) != 0) {
        box.buttons = {{IDYES, "&Oui"}, {IDNO, "&Non"}};
        box.escapeId = IDNO;
    } else {
        box.buttons = {{IDOK, "OK"}};
    }
    return ToModalResult(Show(std::move(box)));
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
    Show(Box{gui::Widen(caption), gui::Widen(text), IDI_HAND, {{IDOK, "OK"}}, IDOK});
}

} // namespace tk
