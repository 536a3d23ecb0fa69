// Test tool: prints whether the system is marked as running a screen saver,
// as SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING) answers another process
// than the saver: "running=1", "running=0", or "running=unknown" when the
// system gives no answer.
#include <windows.h>

#include <cstdio>

int main()
{
    BOOL running = FALSE;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) {
        std::printf("running=unknown\n");
        return 1;
    }
    std::printf("running=%d\n", running ? 1 : 0);
    return 0;
}
