#pragma once

// The file system of the machine the program is built for.
#ifdef _WIN32
#include <ombrelis/platform/Win32FileSystem.h>
namespace ombrelis::platform {
using NativeFileSystem = Win32FileSystem;
}
#else
#include <ombrelis/platform/PosixFileSystem.h>
namespace ombrelis::platform {
using NativeFileSystem = PosixFileSystem;
}
#endif
