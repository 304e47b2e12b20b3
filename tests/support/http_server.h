// A small HTTP server on 127.0.0.1 inside the test process, for the program's
// update check: it answers every request with the status and body set last, or
// accepts and never answers.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class HttpServer {
public:
    HttpServer() = default;
    // Stops the server.
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Listens on a free port of 127.0.0.1 and serves from a thread of its own.
    bool Start();
    // Closes every connection and ends the thread.
    void Stop();

    // "http://127.0.0.1:port"
    std::wstring Address() const;
    // What the following requests get.
    void Serve(int status, const std::string& body);
    // Following requests are read and then left without an answer.
    void NeverAnswer();
    // Closes the connections left without an answer.
    void ReleaseStalled();
    // Requests received since the start, and the path of the last one.
    int Requests() const { return m_requests.load(); }
    std::string LastPath() const;

private:
    void Run();
    void Handle(SOCKET client);

    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    bool m_wsaStarted = false;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    mutable std::mutex m_mutex;  // guards what follows
    int m_status = 200;
    std::string m_body;
    bool m_neverAnswer = false;
    std::string m_lastPath;
    std::vector<SOCKET> m_stalled;
};

// A port of 127.0.0.1 that is bound but not listening, so that connecting to it
// is refused for as long as the object lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;
    std::wstring Address() const;

private:
    SOCKET m_socket = INVALID_SOCKET;
    unsigned short m_port = 0;
    bool m_wsaStarted = false;
};
