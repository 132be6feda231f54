// The settings reader on Linux: the portable reader, which gives what Windows gives.
#include "platform/IniFiles.h"

namespace tk {

std::string ReadProfileString(const std::string& fileName, const std::string& section,
                              const std::string& key, const std::string& fallback) {
    return PortableProfileString(fileName, section, key, fallback);
}

} // namespace tk
