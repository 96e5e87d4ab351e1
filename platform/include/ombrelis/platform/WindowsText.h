#pragma once

#include <string>

namespace ombrelis::platform {

/// The program's UTF-8 text as the UTF-16 that the wide Windows calls take, character for
/// character: a name reaches the system exactly as the user typed it, whatever the code page.
/// Throws SystemError (naming `name` in `action`) when the text is not valid UTF-8.
/// Windows only.
std::wstring toUtf16(const std::string& text, const std::string& action);

/// UTF-16 from the system as UTF-8. Windows only.
std::string toUtf8(const std::wstring& text);

} // namespace ombrelis::platform
