// File names in the test backend, which runs on POSIX systems: a directory ends at "/".
#include "platform/SysUtils.h"

namespace tk {

const char* const PathDelimiters = "/";

} // namespace tk
