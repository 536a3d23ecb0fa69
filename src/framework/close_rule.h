// When the saver ends, for every host. Each host's floor translates its own
// input into these events; one decision says which of them end full-screen
// saving: a key, one of the main buttons, the pointer wandering more than a
// few pixels from its reference, loss of activation or of the keyboard
// focus, a power event, and the shell's AutoPlay query. A host asks only
// while its close rules are on (never in preview), and queues the close it
// is told of, to be handled after the event that asked for it. A saver
// tried out in an ordinary window of its own ends only on Escape or the
// window manager's close.
#pragma once

#include "platform/wintypes.h"

// Largest pointer travel (sum of both axes, in pixels) that passes unnoticed.
constexpr DWORD MOUSE_THRESHOLD = 4;

enum class SaverInput {
    KeyDown,
    EscapeDown,      // the Escape key, told apart where a host runs in a window
    CloseRequested,  // the window manager asks the saver's window to close
    ButtonDown,      // one of the three main buttons
    PointerAt,       // the pointer's absolute position, on the screen
    FocusLost,       // the saver lost activation or the keyboard focus
    CriticalResume,  // the system resumed from a critical suspension
    PowerBroadcast,  // any of the power-management broadcasts
    AutoPlayQuery,   // the shell asks whether it may start AutoPlay
};

struct SaverEvent {
    SaverInput input;
    POINT pointer = {0, 0};  // PointerAt only
};

struct CloseDecision {
    bool close;
    // Where the pointer's travel is measured from after the event.
    POINT reference;
};

// The decision on one event, given where pointer travel is measured from.
// Travel beyond the threshold also makes the pointer's position the new
// reference; smaller moves leave it, so that they add up against it.
CloseDecision DecideClose(const SaverEvent& event, POINT reference);

// Whether `event` ends a run in an ordinary window of the saver's own.
bool EndsWindowedRun(const SaverEvent& event);
