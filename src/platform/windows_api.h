// <windows.h> without the macros that would rename the platform's own
// operations (CreateDirectory, DeleteFile, MessageBox).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// The known folders (Program Files, the user's local application data).
#include <shlobj.h>

#undef CreateDirectory
#undef DeleteFile
#undef MessageBox
