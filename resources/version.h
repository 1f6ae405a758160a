#pragma once
// Version of the library, shared by the version resource and the About text.
#define TORVANE_VERSION_BINARY 1, 0, 0, 0
#define TORVANE_VERSION_TEXT "1.0.0.0"
#ifdef _WIN64
#define TORVANE_FILE_NAME "TorvaneScriptDialog64.dll"
#else
#define TORVANE_FILE_NAME "TorvaneScriptDialog.dll"
#endif
