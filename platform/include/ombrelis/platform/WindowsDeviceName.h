#pragma once

#include <string>

namespace ombrelis::platform {

/// True when Windows would take `name` for a device rather than a file, whatever its folder:
/// a last part of NUL, CON, PRN, AUX, COM0-9, LPT0-9 (also with ¹ ² ³), CONIN$ or CONOUT$,
/// in any case, even followed by blanks, an extension or a stream ("nul.txt", "Com1 .log");
/// or a name in the device namespace (\\.\...). Pure text rule, so it is tested everywhere.
bool isWindowsDeviceName(const std::string& name);

} // namespace ombrelis::platform
