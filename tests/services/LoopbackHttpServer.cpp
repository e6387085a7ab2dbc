#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <stdexcept>

namespace oryn::test
{
namespace
{
    constexpr int pollIntervalMs = 20;
    constexpr int requestTimeoutMs = 3000;
    constexpr size_t maxRequestBytes = 64 * 1024;
    constexpr int backlog = 8;

    sockaddr_in loopbackAddress (int port)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons ((uint16_t) port);
        address.sin_addr.s_addr = htonl (INADDR_LOOPBACK);
        return address;
    }

    int boundLoopbackSocket()
    {
        const int fd = ::socket (AF_INET, SOCK_STREAM, 0);
        if (fd < 0)
            throw std::runtime_error ("socket");

        auto address = loopbackAddress (0);
        if (::bind (fd, reinterpret_cast<sockaddr*> (&address), sizeof (address)) != 0)
        {
            ::close (fd);
            throw std::runtime_error ("bind");
        }

        return fd;
    }

    int portOf (int fd)
    {
        sockaddr_in address{};
        socklen_t length = sizeof (address);
        ::getsockname (fd, reinterpret_cast<sockaddr*> (&address), &length);
        return ntohs (address.sin_port);
    }

    std::string lowerCase (std::string text)
    {
        std::transform (text.begin(), text.end(), text.begin(), [] (unsigned char c)
                        { return (char) std::tolower (c); });
        return text;
    }

    std::string reasonFor (int status)
    {
        switch (status)
        {
            case 200:
                return "OK";
            case 301:
                return "Moved Permanently";
            case 302:
                return "Found";
            case 404:
                return "Not Found";
            default:
                return "Status";
        }
    }

    void sendAll (int fd, const std::string& data)
    {
        size_t sent = 0;
        while (sent < data.size())
        {
            const auto n = ::send (fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            sent += (size_t) n;
        }
    }
} // namespace

LoopbackHttpServer::LoopbackHttpServer()
{
    listener = boundLoopbackSocket();
    port = portOf (listener);
    ::listen (listener, backlog);
    thread = std::thread ([this]
                          { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    stopping = true;
    thread.join();

    for (const int fd : silentConnections)
        ::close (fd);

    ::close (listener);
}

std::string LoopbackHttpServer::urlFor (const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string (port) + path;
}

void LoopbackHttpServer::setRoute (const std::string& path, Response response)
{
    const std::lock_guard<std::mutex> sl (lock);
    routes[path] = std::move (response);
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::getRequests() const
{
    const std::lock_guard<std::mutex> sl (lock);
    return requests;
}

int LoopbackHttpServer::findClosedPort()
{
    const int fd = boundLoopbackSocket();
    const int closedPort = portOf (fd);
    ::close (fd);
    return closedPort;
}

void LoopbackHttpServer::serve()
{
    while (! stopping)
    {
        pollfd pfd{ listener, POLLIN, 0 };
        if (::poll (&pfd, 1, pollIntervalMs) <= 0)
            continue;

        const int connection = ::accept (listener, nullptr, nullptr);
        if (connection >= 0)
            handle (connection);
    }
}

void LoopbackHttpServer::handle (int connection)
{
    std::string received;
    int waitedMs = 0;

    while (received.find ("\r\n\r\n") == std::string::npos && received.size() < maxRequestBytes
           && waitedMs < requestTimeoutMs && ! stopping)
    {
        pollfd pfd{ connection, POLLIN, 0 };
        if (::poll (&pfd, 1, pollIntervalMs) <= 0)
        {
            waitedMs += pollIntervalMs;
            continue;
        }

        char buffer[4096];
        const auto n = ::recv (connection, buffer, sizeof (buffer), 0);
        if (n <= 0)
            break;
        received.append (buffer, (size_t) n);
    }

    Request request;
    std::istringstream lines (received.substr (0, received.find ("\r\n\r\n")));
    std::string line;
    if (std::getline (lines, line))
    {
        std::istringstream words (line);
        words >> request.method >> request.path;
    }

    while (std::getline (lines, line))
    {
        if (! line.empty() && line.back() == '\r')
            line.pop_back();

        const auto colon = line.find (':');
        if (colon == std::string::npos)
            continue;

        auto value = line.substr (colon + 1);
        value.erase (0, value.find_first_not_of (' '));
        request.headers[lowerCase (line.substr (0, colon))] = value;
    }

    Response response{ 404, "not found", {}, false };
    {
        const std::lock_guard<std::mutex> sl (lock);
        requests.push_back (request);
        if (const auto route = routes.find (request.path); route != routes.end())
            response = route->second;

        if (response.neverAnswer)
        {
            silentConnections.push_back (connection);
            return;
        }
    }

    std::string reply = "HTTP/1.1 " + std::to_string (response.status) + " " + reasonFor (response.status) + "\r\n";
    reply += "Content-Type: text/plain\r\n";
    reply += "Content-Length: " + std::to_string (response.body.size()) + "\r\n";
    if (! response.location.empty())
        reply += "Location: " + response.location + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += response.body;

    sendAll (connection, reply);
    ::shutdown (connection, SHUT_WR);
    ::close (connection);
}
} // namespace oryn::test
