#include "framework/command_line.h"

namespace {
bool IsSeparator(char c) { return c == ' ' || c == '-' || c == '/'; }

LPCSTR SkipSpaces(LPCSTR text)
{
    while (*text == ' ') ++text;
    return text;
}
}  // namespace

RunRequest ParseCommandTail(LPCSTR tail)
{
    LPCSTR text = tail != nullptr ? tail : "";
    while (IsSeparator(*text)) ++text;
    // Bytes from 128 up are negative chars and fall to the default.
    switch (*text) {
    case '\0':
        return {RunMode::ConfigureUnowned, 0};
    case 's':
    case 'S':
        return {RunMode::FullScreen, 0};
    case 'p':
    case 'P':
    case 'l':
    case 'L':
        return {RunMode::Preview, ParseHandle(SkipSpaces(text + 1))};
    case 'c':
    case 'C':
        return {RunMode::Configure, text[1] == ':' ? ParseHandle(text + 2) : 0};
    case 'a':
    case 'A':
        return {RunMode::ChangePassword, ParseHandle(SkipSpaces(text + 1))};
    default:
        return {RunMode::None, 0};
    }
}

DWORD ParseHandle(LPCSTR text)
{
    DWORD value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) value = DWORD(value * 10u + DWORD(*text - '0'));
    return value;
}
