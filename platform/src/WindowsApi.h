#pragma once

// <windows.h> for the Windows build's sources, with what mingw-w64's headers lack.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#ifndef ERROR_DIRECTORY_NOT_SUPPORTED
#define ERROR_DIRECTORY_NOT_SUPPORTED 336L
#endif
#ifndef ERROR_DISK_QUOTA_EXCEEDED
#define ERROR_DISK_QUOTA_EXCEEDED 1295L
#endif
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// Declared by mingw-w64 only for a _WIN32_WINNT no build uses; Windows 10 1709 and later.
inline constexpr auto kFileDispositionInfoEx = static_cast<FILE_INFO_BY_HANDLE_CLASS>(21);
