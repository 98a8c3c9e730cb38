#include "platform/net_socket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ifaddrs.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool make_non_blocking(int fd)
{
    const int flags = fcntl(fd, F_GETFL, 0);
    if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) < 0) return false;
    // A putt is a few dozen bytes: it leaves at once rather than waiting for company.
    const int one = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return true;
}

std::string system_error(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

}  // namespace

int net_listen(int port, std::string* error)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (error) *error = system_error("socket");
        return -1;
    }
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || listen(fd, 8) < 0 ||
        !make_non_blocking(fd)) {
        if (error) *error = system_error("cannot listen on the port");
        close(fd);
        return -1;
    }
    return fd;
}

int net_local_port(int fd)
{
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (fd < 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) return 0;
    return ntohs(address.sin_port);
}

int net_accept(int listenFd)
{
    if (listenFd < 0) return -1;
    const int fd = accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return -1;
    if (!make_non_blocking(fd)) {
        close(fd);
        return -1;
    }
    return fd;
}

bool net_connect(NetSocket& socket, const std::string& host, int port, std::string* error)
{
    net_close(socket);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0 || !found) {
        if (error) *error = "unknown address " + host;
        return false;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || !make_non_blocking(fd)) {
        if (error) *error = system_error("socket");
        if (fd >= 0) close(fd);
        freeaddrinfo(found);
        return false;
    }
    const int result = connect(fd, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    if (result < 0 && errno != EINPROGRESS) {
        if (error) *error = system_error("cannot connect");
        close(fd);
        return false;
    }
    socket.fd = fd;
    socket.connecting = result < 0;
    return true;
}

bool net_flush(NetSocket& socket)
{
    if (socket.fd < 0) return false;
    if (socket.connecting) {
        int failure = 0;
        socklen_t length = sizeof failure;
        if (getsockopt(socket.fd, SOL_SOCKET, SO_ERROR, &failure, &length) < 0 || failure != 0) return false;
        sockaddr_in peer{};
        socklen_t peerLength = sizeof peer;
        if (getpeername(socket.fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) < 0) return true;   // not yet
        socket.connecting = false;
    }
    while (!socket.outgoing.empty()) {
        const ssize_t n = send(socket.fd, socket.outgoing.data(), socket.outgoing.size(), MSG_NOSIGNAL);
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        socket.outgoing.erase(0, static_cast<size_t>(n));
    }
    return true;
}

bool net_receive(NetSocket& socket, std::string& into, size_t limit)
{
    if (socket.fd < 0) return false;
    if (socket.connecting) return true;
    char buffer[16384];
    while (limit > 0) {
        const ssize_t n = recv(socket.fd, buffer, limit < sizeof buffer ? limit : sizeof buffer, 0);
        if (n == 0) return false;
        if (n < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        into.append(buffer, static_cast<size_t>(n));
        limit -= static_cast<size_t>(n);
    }
    return true;
}

void net_close_fd(int& fd)
{
    if (fd >= 0) close(fd);
    fd = -1;
}

void net_close(NetSocket& socket)
{
    net_close_fd(socket.fd);
    socket.outgoing.clear();
    socket.connecting = false;
}

bool parse_host_port(const std::string& text, std::string& host, int& port)
{
    const size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size() || colon > 255) return false;
    const std::string digits = text.substr(colon + 1);
    if (digits.size() > 5) return false;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return false;
    host = text.substr(0, colon);
    port = value;
    return true;
}

std::vector<std::string> local_addresses()
{
    std::vector<std::string> found;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) == 0) {
        for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
            if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET) continue;
            char text[INET_ADDRSTRLEN] = {};
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (!inet_ntop(AF_INET, &address->sin_addr, text, sizeof text)) continue;
            if (std::strncmp(text, "127.", 4) != 0) found.push_back(text);
        }
        freeifaddrs(list);
    }
    if (found.empty()) found.push_back("127.0.0.1");
    return found;
}
