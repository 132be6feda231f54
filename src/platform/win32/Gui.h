// Helpers shared by the Win32 forms and message dialogs: text conversion at the API boundary,
// sizes scaled by the screen's DPI, fonts, placement, and the message pump's keyboard routing.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tk::gui {

// The program's strings are UTF-8; every window text goes through the W functions.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// Dots per inch of the screen (96 unless the user enlarged the display).
int ScreenDpi();
// A length given at 96 DPI, in pixels of this screen.
int Scale(int pixelsAt96);
// A font of `points` at the screen's DPI; the caller deletes it.
HFONT CreatePointFont(const std::string& name, int points);

// The primary screen's work area (the screen less the taskbar).
RECT WorkArea();
// Moves a top-level window so that it sits in the middle of the work area.
void CenterOnWorkArea(HWND window);

// The program's main icon, from the resources, or the system's application icon.
HICON MainIcon(int size);

// Windows whose keyboard input goes through IsDialogMessage (Tab, Enter, Escape, access
// letters): the forms and the message dialogs.
bool WantsDialogKeys(HWND topLevel);
const wchar_t* FormClassName();

} // namespace tk::gui
