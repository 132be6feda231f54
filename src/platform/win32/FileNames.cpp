// File names on Windows: a directory ends at "\" or at the drive's ":".
#include "platform/SysUtils.h"

namespace tk {

const char* const PathDelimiters = "\\:";

} // namespace tk
