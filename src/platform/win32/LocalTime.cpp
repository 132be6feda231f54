// UTC to local time as Windows converts file times: by the offset in force now.
#include "platform/SystemTime.h"

#include <windows.h>

namespace tk {

void UtcToLocalSystemTime(const SYSTEMTIME& utc, SYSTEMTIME& local) {
    const ::SYSTEMTIME in{utc.wYear, utc.wMonth,  utc.wDayOfWeek, utc.wDay,
                          utc.wHour, utc.wMinute, utc.wSecond,    utc.wMilliseconds};
    FILETIME fileTime, localFileTime;
    ::SYSTEMTIME out = in;
    // Results not examined: a valid clock record always converts.
    SystemTimeToFileTime(&in, &fileTime);
    FileTimeToLocalFileTime(&fileTime, &localFileTime);
    FileTimeToSystemTime(&localFileTime, &out);
    local = {out.wYear, out.wMonth,  out.wDayOfWeek, out.wDay,
             out.wHour, out.wMinute, out.wSecond,    out.wMilliseconds};
}

} // namespace tk
