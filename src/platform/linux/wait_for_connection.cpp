#include "platform/linux/wait_for_connection.h"

#include <poll.h>

ConnectionState WaitForConnection(int fd, const timespec* timeout, const sigset_t& wait_mask)
{
    pollfd connection = {fd, POLLIN, 0};
    if (ppoll(&connection, 1, timeout, &wait_mask) <= 0) return ConnectionState::Quiet;
    // The client library reads what the server sent before it went and then
    // finds nothing more: only the connection's own state tells.
    if ((connection.revents & (POLLHUP | POLLERR)) != 0) return ConnectionState::Closed;
    return ConnectionState::Ready;
}
