// Stand-in for the Windows 95/98 password control panel, built as
// PASSWORD.CPL beside the saver. VerifyScreenSavePwd answers with the digit
// in the file named by LUMENFALL_VERIFY_ANSWER_FILE, read at each call so
// that a test can change its mind, and logs each call, with whether it got a
// window and whether the system is marked as running a saver, to the file
// named by LUMENFALL_VERIFY_LOG.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND window)
{
    char path[MAX_PATH] = "";
    int answer = '0';
    GetEnvironmentVariableA("LUMENFALL_VERIFY_ANSWER_FILE", path, sizeof path);
    if (FILE* file = std::fopen(path, "r")) answer = std::fgetc(file), std::fclose(file);
    BOOL running = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    GetEnvironmentVariableA("LUMENFALL_VERIFY_LOG", path, sizeof path);
    if (FILE* log = std::fopen(path, "a")) {
        std::fprintf(log, "VerifyScreenSavePwd window=%d answer=%c running=%d\n", IsWindow(window), answer, running);
        std::fclose(log);
    }
    return answer == '1';
}
