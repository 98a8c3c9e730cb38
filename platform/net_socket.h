// Plain TCP sockets for network play: non-blocking, polled once a frame, never waited on.
// TCP delivers in order and without loss, which is all the putts in lockstep need.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// A connection's bytes still to send, and its socket (-1 once closed).
struct NetSocket {
    int fd = -1;
    std::string outgoing;      // queued bytes not yet taken by the system
    bool connecting = false;   // a connect still under way
};

// Listens on every address of this machine at port (0: one the system chooses). The
// listening socket's descriptor, or -1 with why in error.
int net_listen(int port, std::string* error);
// The port a socket is bound to (0 when unknown).
int net_local_port(int fd);
// A connection waiting on a listening socket, made non-blocking; -1 when none waits.
int net_accept(int listenFd);
// Starts connecting to host:port without waiting (name resolution of a numeric address or
// "localhost" is immediate). False with why in error.
bool net_connect(NetSocket& socket, const std::string& host, int port, std::string* error);

// Sends what it can of socket.outgoing. False once the connection has failed.
bool net_flush(NetSocket& socket);
// Appends to into what has arrived, at most limit bytes this call. False once the peer has
// closed or the connection failed (what arrived before is still appended).
bool net_receive(NetSocket& socket, std::string& into, size_t limit);
// Closes the socket (harmless when already closed) and drops what was queued.
void net_close(NetSocket& socket);
void net_close_fd(int& fd);

// Reads "HOST:PORT" (a port 1..65535). False on anything else.
bool parse_host_port(const std::string& text, std::string& host, int& port);
// This machine's IPv4 addresses other than loopback, for telling friends where to join
// ("127.0.0.1" when there is none).
std::vector<std::string> local_addresses();
