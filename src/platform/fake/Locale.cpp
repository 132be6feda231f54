// The test backend's formats: fixed French ones, so that tests never follow the machine's locale.
#include "platform/DateTime.h"

namespace tk {

void LoadFormatSettings() {
    FormatSettings.ShortDateFormat = "dd/MM/yyyy";
    FormatSettings.LongTimeFormat = "HH:mm:ss";
    FormatSettings.TimeAMString = "AM";
    FormatSettings.TimePMString = "PM";
}

} // namespace tk
