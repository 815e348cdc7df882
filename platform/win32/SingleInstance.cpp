#include "platform/win32/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/WideString.h"
#include "platform/win32/PlatformHarness.h"
#include "platform/win32/Win32Window.h"

namespace {

struct Listener {
    std::u16string className;
    int socket;
};

std::vector<Listener> g_listeners;

// FNV-1a, to keep long class names within the socket name limit.
uint64_t HashText(const std::string& text)
{
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash;
}

// Abstract socket name: user, display and class; the first byte of sun_path stays 0.
socklen_t MakeAddress(const char16_t* className, sockaddr_un* address)
{
    memset(address, 0, sizeof(*address));
    address->sun_family = AF_UNIX;
    const char* display = getenv("DISPLAY");
    std::string name = "VadadiDazidev/" + std::to_string(getuid()) + "/" + (display ? display : "") + "/" +
                       GetInstanceScope() + "/";
    std::string utf8Class = Utf16ToUtf8(className);
    size_t room = sizeof(address->sun_path) - 1;
    if (name.size() + utf8Class.size() > room)
        name += std::to_string(HashText(utf8Class));
    else
        name += utf8Class;
    if (name.size() > room)
        name.resize(room);
    memcpy(address->sun_path + 1, name.data(), name.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

bool SameClass(const std::u16string& a, const char16_t* b)
{
    return a == (b ? b : u"");
}

} // namespace

bool OpenInstanceRendezvous(const char16_t* className)
{
    for (const Listener& listener : g_listeners) {
        if (SameClass(listener.className, className))
            return true;
    }
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    socklen_t length = MakeAddress(className, &address);
    int on = 1;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        setsockopt(fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof(on)) != 0) {
        close(fd);
        return false;
    }
    g_listeners.push_back(Listener{className ? className : u"", fd});
    return true;
}

void CloseInstanceRendezvous(const char16_t* className)
{
    for (auto it = g_listeners.begin(); it != g_listeners.end(); ++it) {
        if (SameClass(it->className, className)) {
            close(it->socket);
            g_listeners.erase(it);
            return;
        }
    }
}

bool SendInstanceRequest(const char16_t* className, InstanceRequest request, uint8_t argument)
{
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    socklen_t length = MakeAddress(className, &address);
    uint8_t packet[2] = {static_cast<uint8_t>(request), argument};
    ssize_t sent = sendto(fd, packet, sizeof(packet), MSG_DONTWAIT | MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&address), length);
    close(fd);
    return sent == static_cast<ssize_t>(sizeof(packet));
}

void PollInstanceRequests(InstanceRequestHandler handler)
{
    for (size_t i = 0; i < g_listeners.size(); ++i) {
        for (;;) {
            uint8_t packet[2];
            iovec part{packet, sizeof(packet)};
            alignas(cmsghdr) char control[CMSG_SPACE(sizeof(ucred))];
            msghdr header{};
            header.msg_iov = &part;
            header.msg_iovlen = 1;
            header.msg_control = control;
            header.msg_controllen = sizeof(control);
            ssize_t received = recvmsg(g_listeners[i].socket, &header, MSG_DONTWAIT);
            if (received < 0)
                break;
            const cmsghdr* message = CMSG_FIRSTHDR(&header);
            bool sameUser = false;
            if (message && message->cmsg_level == SOL_SOCKET && message->cmsg_type == SCM_CREDENTIALS) {
                ucred credentials;
                memcpy(&credentials, CMSG_DATA(message), sizeof(credentials));
                sameUser = credentials.uid == getuid();
            }
            if (received != 2 || !sameUser)
                continue;
            std::u16string className = g_listeners[i].className;
            handler(className.c_str(), static_cast<InstanceRequest>(packet[0]), packet[1]);
            if (i >= g_listeners.size())
                return;
        }
    }
}

bool BringRunningCopyToFront(const char16_t* className)
{
    if (!SendInstanceRequest(className, InstanceRequest::Probe, 0))
        return false;
    SendInstanceRequest(className, InstanceRequest::Show, SW_SHOW);
    SendInstanceRequest(className, InstanceRequest::Foreground, 0);
    return true;
}
