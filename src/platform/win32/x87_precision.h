// The Windows build computes on the x87 (no SSE), whose registers hold 64-bit
// mantissas unless told otherwise, and MinGW's start-up code leaves them so.
// With the precision control at 53 bits every sum, difference, product,
// quotient and square root of doubles rounds exactly as an SSE2 or x86-64
// build rounds it, so the scene's spawns are the same in every build.
#pragma once

// Sets the x87 precision control of the calling thread to 53 bits. The
// process's first act, in the program and in each Windows test program,
// before any arithmetic whose result matters.
void UseDoublePrecision();
