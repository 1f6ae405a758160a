// A program that ShellExecute tests launch: it reports how it was started,
// then ends with a given exit code, either after a pause or when the test
// signals a named event.
//
//   child_process_gui.exe REPORT EXIT-CODE EVENT|- MILLISECONDS [ANY...]
//
// REPORT receives one line: "pid=N show=N flags=N cmdlen=N" (the show
// command and flags of the start-up information, the length of the command
// line). With an event name, the program waits for that event at most
// MILLISECONDS; with "-", it just pauses that long. Built as a window
// program, as documents and programs started through the shell are.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 5) return 100;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    ::GetStartupInfoA(&si);
    if (std::strcmp(argv[1], "-") != 0) {
        if (FILE* f = std::fopen(argv[1], "w")) {
            std::fprintf(f, "pid=%lu show=%u flags=%lu cmdlen=%u\n", ::GetCurrentProcessId(),
                         static_cast<unsigned>(si.wShowWindow), si.dwFlags,
                         static_cast<unsigned>(std::strlen(::GetCommandLineA())));
            std::fclose(f);
        }
    }
    const int code = std::atoi(argv[2]);
    const DWORD ms = static_cast<DWORD>(std::strtoul(argv[4], nullptr, 10));
    if (std::strcmp(argv[3], "-") != 0) {
        // The handle closes as the program ends.
        if (HANDLE event = ::OpenEventA(SYNCHRONIZE, FALSE, argv[3])) ::WaitForSingleObject(event, ms);
    } else {
        ::Sleep(ms);
    }
    return code;
}
