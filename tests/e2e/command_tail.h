// The test tools pass the rest of their own command line on byte for byte:
// this finds where it starts, after a number of leading fields (a field is
// quoted or ends at a blank).
#pragma once

#include <cstring>

inline const char* CommandTailAfter(const char* line, int fields)
{
    for (int field = 0; field < fields; ++field) {
        if (*line == '"') {
            const char* close = std::strchr(line + 1, '"');
            line = close ? close + 1 : line + std::strlen(line);
        } else {
            while (*line && *line != ' ' && *line != '\t') ++line;
        }
        while (*line == ' ' || *line == '\t') ++line;
    }
    return line;
}
