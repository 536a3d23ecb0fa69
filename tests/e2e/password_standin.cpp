// Test stand-in for the Windows 95/98 password control panel: the tests build
// it as PASSWORD.CPL beside the saver. VerifyScreenSavePwd answers with the
// first character of the file named by LUMENFALL_VERIFY_ANSWER_FILE (so that
// a test can change its mind while the saver runs) or, without that file,
// with LUMENFALL_VERIFY_ANSWER (1 or 0; 0 when unset). It appends one line per
// call, with whether the system is marked as running a screen saver, to the
// file named by LUMENFALL_VERIFY_LOG.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {
void ReadAnswer(char* answer, DWORD size)
{
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("LUMENFALL_VERIFY_ANSWER_FILE", path, sizeof path) > 0) {
        if (FILE* file = std::fopen(path, "r")) {
            const int first = std::fgetc(file);
            std::fclose(file);
            if (first != EOF) {
                answer[0] = char(first);
                answer[1] = '\0';
                return;
            }
        }
    }
    GetEnvironmentVariableA("LUMENFALL_VERIFY_ANSWER", answer, size);
}
}  // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    char answer[16] = "0";
    ReadAnswer(answer, sizeof answer);
    BOOL running = FALSE;
    const BOOL known = SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    char log_path[MAX_PATH];
    if (GetEnvironmentVariableA("LUMENFALL_VERIFY_LOG", log_path, sizeof log_path) > 0) {
        if (FILE* log = std::fopen(log_path, "a")) {
            std::fprintf(log, "VerifyScreenSavePwd window=%lu answer=%s running=%s\n",
                         static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)), answer,
                         known ? (running ? "1" : "0") : "unknown");
            std::fclose(log);
        }
    }
    return std::atoi(answer) != 0;
}
