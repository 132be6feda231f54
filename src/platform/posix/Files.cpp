// Whole-file reading and replacing over POSIX files.
#include "platform/Files.h"

#include "platform/SysUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace tk {

bool FileExists(const std::string& fileName) {
    struct stat status;
    return !fileName.empty() && ::stat(fileName.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

std::string TemporaryNameFor(const std::string& fileName) {
    return fileName + ".tmp";
}

std::string ReadWholeFile(const std::string& fileName) {
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError("Impossible d'ouvrir le fichier " + fileName);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ::close(fd);
            throw EFOpenError("Impossible d'ouvrir le fichier " + fileName);
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

void ReplaceFileContents(const std::string& fileName, std::string_view bytes) {
    const std::string temporary = TemporaryNameFor(fileName);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw EFCreateError("Impossible de créer le fichier " + fileName);
    auto fail = [&](auto error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw error;
    };
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(EWriteError("Erreur d'écriture dans le flux"));
        written += static_cast<std::size_t>(n);
    }
    // The new content must be on the disk before it replaces the old.
    if (::fsync(fd) != 0)
        fail(EWriteError("Erreur d'écriture dans le flux"));
    if (::close(fd) != 0) {
        ::unlink(temporary.c_str());
        throw EWriteError("Erreur d'écriture dans le flux");
    }
    if (std::rename(temporary.c_str(), fileName.c_str()) != 0) {
        ::unlink(temporary.c_str());
        throw EFCreateError("Impossible de créer le fichier " + fileName);
    }
}

} // namespace tk
