#include "platform/x11/message_queue.h"

#include <algorithm>

namespace {
bool Matches(const MSG& message, HWND window, UINT first, UINT last)
{
    if (window != nullptr && message.hwnd != window) return false;
    if (first == 0 && last == 0) return true;
    return message.message >= first && message.message <= last;
}

bool TakeMatching(std::deque<MSG>& queue, MSG* message, HWND window, UINT first, UINT last, bool remove)
{
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (!Matches(*it, window, first, last)) continue;
        *message = *it;
        if (remove) queue.erase(it);
        return true;
    }
    return false;
}

void DropFor(std::deque<MSG>& queue, HWND window)
{
    queue.erase(std::remove_if(queue.begin(), queue.end(), [window](const MSG& m) { return m.hwnd == window; }),
                queue.end());
}
}  // namespace

void MessageQueue::PostQuit(int code)
{
    quit_ = true;
    quit_code_ = code;
}

void MessageQueue::Invalidate(HWND window)
{
    if (!IsInvalid(window)) invalid_.push_back(window);
}

void MessageQueue::Validate(HWND window)
{
    invalid_.erase(std::remove(invalid_.begin(), invalid_.end(), window), invalid_.end());
}

bool MessageQueue::IsInvalid(HWND window) const
{
    return std::find(invalid_.begin(), invalid_.end(), window) != invalid_.end();
}

void MessageQueue::Forget(HWND window)
{
    DropFor(posted_, window);
    DropFor(input_, window);
    Validate(window);
}

bool MessageQueue::Take(MSG* message)
{
    if (TakeMatching(posted_, message, nullptr, 0, 0, true)) return true;
    if (TakeMatching(input_, message, nullptr, 0, 0, true)) return true;
    if (quit_) {
        quit_ = false;
        *message = MSG{};
        message->message = WM_QUIT;
        message->wParam = WPARAM(quit_code_);
        return true;
    }
    if (!invalid_.empty()) {
        // The paint stays due until the window validates itself, as Windows
        // keeps sending WM_PAINT while the update region is not empty.
        *message = MSG{};
        message->hwnd = invalid_.front();
        message->message = WM_PAINT;
        return true;
    }
    return false;
}

bool MessageQueue::Peek(MSG* message, HWND window, UINT first, UINT last, bool remove)
{
    return TakeMatching(posted_, message, window, first, last, remove) ||
           TakeMatching(input_, message, window, first, last, remove);
}
