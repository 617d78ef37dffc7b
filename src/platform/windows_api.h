// <windows.h> without the macros that would rename the platform's own
// operations (CopyFile, CreateDirectory, DeleteFile, MessageBox).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#undef CopyFile
#undef CreateDirectory
#undef DeleteFile
#undef MessageBox
