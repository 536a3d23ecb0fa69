// A program that the checks for Windows 95 must refuse, so that a check which
// has stopped seeing anything cannot pass unnoticed: it imports a function
// that Windows first had in Vista, and is built to compute with SSE2.
#include <windows.h>

int main()
{
    volatile double scale = 1.5;
    return int(double(GetTickCount64()) * scale) & 1;
}
