// Whole-file reading and replacing over Win32 files.
#include "platform/Files.h"

#include "platform/SysUtils.h"
#include "platform/win32/Gui.h"

#include <windows.h>

namespace tk {

bool FileExists(const std::string& fileName) {
    if (fileName.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(gui::Widen(fileName).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string TemporaryNameFor(const std::string& fileName) {
    return fileName + ".tmp";
}

std::string ReadWholeFile(const std::string& fileName) {
    // Others may read the log meanwhile, not write it.
    const HANDLE file = CreateFileW(gui::Widen(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EFOpenError("Impossible d'ouvrir le fichier " + fileName);
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    BOOL ok;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(file);
    if (!ok)
        throw EFOpenError("Impossible d'ouvrir le fichier " + fileName);
    return bytes;
}

void ReplaceFileContents(const std::string& fileName, std::string_view bytes) {
    const std::wstring temporary = gui::Widen(TemporaryNameFor(fileName));
    const HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw EFCreateError("Impossible de créer le fichier " + fileName);
    std::size_t written = 0;
    bool ok = true;
    while (ok && written < bytes.size()) {
        DWORD n = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1 << 20));
        ok = WriteFile(file, bytes.data() + written, chunk, &n, nullptr) && n > 0;
        written += n;
    }
    // The new content must be on the disk before it replaces the old.
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (!ok) {
        DeleteFileW(temporary.c_str());
        throw EWriteError("Erreur d'écriture dans le flux");
    }
    if (!MoveFileExW(temporary.c_str(), gui::Widen(fileName).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        throw EFCreateError("Impossible de créer le fichier " + fileName);
    }
}

} // namespace tk
