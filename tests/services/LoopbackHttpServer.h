#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace oryn::test
{
/** A tiny HTTP/1.1 server on 127.0.0.1 for the update checker's tests, written on plain
    sockets so that it shares nothing with the client under test. One connection at a time;
    every read and wait is bounded. */
class LoopbackHttpServer
{
public:
    struct Response
    {
        int status = 200;
        std::string body;
        std::string location; // sent as "Location" when not empty
        bool neverAnswer = false; // keeps the connection open and says nothing
    };

    struct Request
    {
        std::string method;
        std::string path;
        std::map<std::string, std::string> headers; // names in lower case
    };

    LoopbackHttpServer();
    ~LoopbackHttpServer();

    int getPort() const noexcept { return port; }
    /** "http://127.0.0.1:<port>" followed by the path. */
    std::string urlFor (const std::string& path) const;

    void setRoute (const std::string& path, Response response);
    std::vector<Request> getRequests() const;

    /** A loopback port that nothing listens on. */
    static int findClosedPort();

private:
    void serve();
    void handle (int connection);

    int listener = -1;
    int port = 0;
    std::atomic<bool> stopping{ false };
    mutable std::mutex lock;
    std::map<std::string, Response> routes;
    std::vector<Request> requests;
    std::vector<int> silentConnections;
    std::thread thread;
};
} // namespace oryn::test
