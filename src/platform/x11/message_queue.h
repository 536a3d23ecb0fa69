// The X11 host's stand-in for a Win32 thread message queue. Messages come out
// in the order Windows hands them to GetMessage: posted messages first, then
// input translated from the X server, then the quit request, and a paint for
// an invalidated window only when nothing else is waiting. Pure bookkeeping:
// it knows nothing of X, so the order can be checked on its own.
#pragma once

#include <deque>
#include <vector>

#include "platform/wintypes.h"

class MessageQueue {
public:
    void Post(const MSG& message) { posted_.push_back(message); }
    void PushInput(const MSG& message) { input_.push_back(message); }
    void PostQuit(int code);

    // A window with an update region gets WM_PAINT while the queue is
    // otherwise empty; validating it (BeginPaint) stops them.
    void Invalidate(HWND window);
    void Validate(HWND window);
    bool IsInvalid(HWND window) const;
    // A destroyed window gets nothing more: its queued messages are dropped.
    void Forget(HWND window);

    // The next message, or false when none is waiting. The quit request comes
    // out as WM_QUIT with its code in wParam and is then forgotten.
    bool Take(MSG* message);
    // PeekMessage's search: the first posted or input message for the window
    // (any window when null) within [first, last] (0, 0: every message).
    bool Peek(MSG* message, HWND window, UINT first, UINT last, bool remove);

    bool Empty() const { return posted_.empty() && input_.empty() && !quit_ && invalid_.empty(); }

private:
    std::deque<MSG> posted_;
    std::deque<MSG> input_;
    std::vector<HWND> invalid_;  // in order of invalidation
    bool quit_ = false;
    int quit_code_ = 0;
};
