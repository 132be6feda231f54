// File names on Linux: a directory ends at "/".
#include "platform/SysUtils.h"

namespace tk {

const char* const PathDelimiters = "/";

} // namespace tk
