// wininspect: looks at another program's top-level window from outside, for the program-level
// tests of Pendulix.exe under Wine.
//
//   wininspect show TITLE [MS]   waits up to MS milliseconds (default 10000) for a visible
//                                window titled TITLE, then prints its properties
//   wininspect info TITLE        prints the properties of the window titled TITLE, visible or not
//   wininspect close TITLE       sends WM_CLOSE to it
//   wininspect list              prints every top-level window: class, visibility, title
//   wininspect resources EXE     prints what the program file carries: icon, manifest, version
//
// Properties are printed one "key=value" a line, in UTF-8. Exit status: 0 done, 1 no such
// window, 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring Wide(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

std::wstring TextOf(HWND window) {
    // WM_GETTEXT crosses processes; GetWindowText would not read another process's controls.
    wchar_t buffer[512] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 2000,
                        nullptr);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

struct Search {
    std::wstring title;
    HWND found = nullptr;
};

// The program's own window with that title; message boxes (dialog class) never count.
HWND FindTopLevel(const std::wstring& title) {
    Search search{title};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto* s = reinterpret_cast<Search*>(context);
            if (ClassOf(window) == L"#32770")
                return TRUE;
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            if (s->title == text) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Print(const char* key, long long value) {
    std::printf("%s=%lld\n", key, value);
}
void Print(const char* key, const std::string& value) {
    std::printf("%s=%s\n", key, value.c_str());
}

void Describe(HWND window) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    RECT client{}, frame{}, area{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    Print("title", Utf8(TextOf(window)));
    Print("class", Utf8(ClassOf(window)));
    Print("visible", IsWindowVisible(window) ? 1 : 0);
    Print("dpi", dpi);
    Print("client_width", client.right - client.left);
    Print("client_height", client.bottom - client.top);
    Print("frame_left", frame.left);
    Print("frame_top", frame.top);
    Print("frame_right", frame.right);
    Print("frame_bottom", frame.bottom);
    Print("workarea_left", area.left);
    Print("workarea_top", area.top);
    Print("workarea_right", area.right);
    Print("workarea_bottom", area.bottom);
    Print("caption", (style & WS_CAPTION) == WS_CAPTION ? 1 : 0);
    Print("sysmenu", (style & WS_SYSMENU) ? 1 : 0);
    Print("minimizebox", (style & WS_MINIMIZEBOX) ? 1 : 0);
    Print("maximizebox", (style & WS_MAXIMIZEBOX) ? 1 : 0);
    Print("thickframe", (style & WS_THICKFRAME) ? 1 : 0);
    int buttons = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = ClassOf(child);
        if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
            RECT place{};
            GetWindowRect(child, &place);
            MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&place), 2);
            const std::string n = "button" + std::to_string(buttons++);
            Print((n + "_text").c_str(), Utf8(TextOf(child)));
            Print((n + "_enabled").c_str(), IsWindowEnabled(child) ? 1 : 0);
            Print((n + "_visible").c_str(), IsWindowVisible(child) ? 1 : 0);
            Print((n + "_left").c_str(), place.left);
            Print((n + "_top").c_str(), place.top);
            Print((n + "_width").c_str(), place.right - place.left);
            Print((n + "_height").c_str(), place.bottom - place.top);
        } else if (lstrcmpiW(kind.c_str(), L"ListBox") == 0) {
            Print("listbox_visible", IsWindowVisible(child) ? 1 : 0);
        }
    }
    Print("buttons", buttons);
}

int Usage() {
    std::fprintf(stderr, "usage: wininspect show TITLE [MS] | info TITLE | close TITLE | list | "
                         "resources EXE\n");
    return 2;
}

std::string VersionString(const std::vector<char>& block, const wchar_t* name) {
    struct Translation {
        WORD language, codePage;
    };
    Translation* translations = nullptr;
    UINT size = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &size) ||
        size < sizeof(Translation))
        return {};
    wchar_t path[128];
    swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language,
             translations->codePage, name);
    wchar_t* value = nullptr;
    if (!VerQueryValueW(block.data(), path, reinterpret_cast<void**>(&value), &size) || size == 0)
        return {};
    return Utf8(std::wstring(value, size - 1));
}

int Resources(const char* exe) {
    const std::wstring path = Wide(exe);
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        std::fprintf(stderr, "wininspect: cannot open %s\n", exe);
        return 1;
    }
    Print("icon", FindResourceW(module, MAKEINTRESOURCEW(1), RT_GROUP_ICON) != nullptr ? 1 : 0);
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    std::string text;
    if (manifest != nullptr) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
        text.assign(bytes, SizeofResource(module, manifest));
    }
    Print("manifest", manifest != nullptr ? 1 : 0);
    Print("manifest_common_controls_6",
          text.find("Microsoft.Windows.Common-Controls") != std::string::npos &&
                  text.find("6.0.0.0") != std::string::npos
              ? 1
              : 0);
    Print("manifest_dpi_aware",
          text.find("<dpiAware>true</dpiAware>") != std::string::npos ? 1 : 0);
    Print("manifest_as_invoker", text.find("\"asInvoker\"") != std::string::npos ? 1 : 0);
    FreeLibrary(module);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<char> block(size);
    if (size != 0 && GetFileVersionInfoW(path.c_str(), 0, size, block.data())) {
        Print("product_name", VersionString(block, L"ProductName"));
        Print("product_version", VersionString(block, L"ProductVersion"));
        Print("file_version", VersionString(block, L"FileVersion"));
        Print("file_description", VersionString(block, L"FileDescription"));
    }
    return 0;
}

void List() {
    EnumWindows(
        [](HWND window, LPARAM) -> BOOL {
            wchar_t text[256] = {};
            GetWindowTextW(window, text, 256);
            std::printf("%s\t%d\t%s\n", Utf8(ClassOf(window)).c_str(),
                        IsWindowVisible(window) ? 1 : 0, Utf8(text).c_str());
            for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT))
                std::printf("  %s\t%s\n", Utf8(ClassOf(child)).c_str(),
                            Utf8(TextOf(child)).c_str());
            return TRUE;
        },
        0);
}

} // namespace

int main(int argc, char** argv) {
    SetProcessDPIAware();
    if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
        List();
        return 0;
    }
    if (argc < 3)
        return Usage();
    if (std::strcmp(argv[1], "resources") == 0)
        return Resources(argv[2]);
    const std::string command = argv[1];
    const std::wstring title = Wide(argv[2]);
    if (command == "show") {
        const DWORD limit =
            argc > 3 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) : 10000;
        const DWORD start = GetTickCount();
        for (;;) {
            HWND window = FindTopLevel(title);
            if (window != nullptr && IsWindowVisible(window)) {
                Describe(window);
                return 0;
            }
            if (GetTickCount() - start > limit)
                break;
            Sleep(50);
        }
        std::fprintf(stderr, "wininspect: no visible window titled %s\n", argv[2]);
        return 1;
    }
    HWND window = FindTopLevel(title);
    if (window == nullptr) {
        std::fprintf(stderr, "wininspect: no window titled %s\n", argv[2]);
        return 1;
    }
    if (command == "info") {
        Describe(window);
        return 0;
    }
    if (command == "close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    }
    return Usage();
}
