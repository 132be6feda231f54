// The settings file's reader object; the reading itself is the backend's.
#include "platform/IniFiles.h"

#include "platform/SysUtils.h"

namespace tk {

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& fallback) const {
    return ReadProfileString(fileName_, section, key, fallback);
}

std::int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key,
                                   std::int32_t fallback) const {
    return StrToIntDef(ReadString(section, key, ""), fallback);
}

} // namespace tk
