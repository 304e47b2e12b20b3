#include "http_server.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace {
const char* Reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

// Binds a TCP socket to 127.0.0.1 on a port the system picks; returns the port.
SOCKET BindLoopback(unsigned short& port) {
    SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        ::closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

bool StartWinsock() {
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

void SendAll(SOCKET s, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        const int chunk = static_cast<int>(std::min<size_t>(data.size() - sent, 65536));
        const int n = ::send(s, data.data() + sent, chunk, 0);
        if (n <= 0) return;  // the client gave up: nothing more to tell it
        sent += static_cast<size_t>(n);
    }
}
}  // namespace

HttpServer::~HttpServer() { Stop(); }

bool HttpServer::Start() {
    m_wsaStarted = StartWinsock();
    if (!m_wsaStarted) return false;
    m_listener = BindLoopback(m_port);
    if (m_listener == INVALID_SOCKET || ::listen(m_listener, 8) != 0) return false;
    m_stop = false;
    m_thread = std::thread([this] { Run(); });
    return true;
}

void HttpServer::Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    ReleaseStalled();
    if (m_listener != INVALID_SOCKET) ::closesocket(m_listener);
    m_listener = INVALID_SOCKET;
    if (m_wsaStarted) ::WSACleanup();
    m_wsaStarted = false;
}

std::wstring HttpServer::Address() const { return L"http://127.0.0.1:" + std::to_wstring(m_port); }

void HttpServer::Serve(int status, const std::string& body) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_status = status;
    m_body = body;
    m_neverAnswer = false;
}

void HttpServer::NeverAnswer() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_neverAnswer = true;
}

void HttpServer::ReleaseStalled() {
    std::lock_guard<std::mutex> lock(m_mutex);
    for (SOCKET s : m_stalled) ::closesocket(s);
    m_stalled.clear();
}

std::string HttpServer::LastPath() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastPath;
}

void HttpServer::Run() {
    while (!m_stop) {
        // Wakes every 100 ms to see whether it should stop.
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait{0, 100000};
        if (::select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET client = ::accept(m_listener, nullptr, nullptr);
        if (client != INVALID_SOCKET) Handle(client);
    }
}

void HttpServer::Handle(SOCKET client) {
    // The request head, read with a time limit so that a silent client cannot stop the server.
    DWORD timeout = 3000;
    ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        const int n = ::recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        request.append(buffer, static_cast<size_t>(n));
    }
    ++m_requests;
    std::string response;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const size_t start = request.find(' ');
        const size_t end = start == std::string::npos ? start : request.find(' ', start + 1);
        m_lastPath = end == std::string::npos ? std::string() : request.substr(start + 1, end - start - 1);
        if (m_neverAnswer) {
            m_stalled.push_back(client);
            return;
        }
        response = "HTTP/1.1 " + std::to_string(m_status) + " " + Reason(m_status) +
                   "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(m_body.size()) +
                   "\r\nConnection: close\r\n\r\n" + m_body;
    }
    SendAll(client, response);
    ::shutdown(client, SD_SEND);
    // Let the client read to the end before the socket goes, or it may see a reset.
    while (::recv(client, buffer, sizeof buffer, 0) > 0) {
    }
    ::closesocket(client);
}

RefusingPort::RefusingPort() {
    m_wsaStarted = StartWinsock();
    if (m_wsaStarted) m_socket = BindLoopback(m_port);
}

RefusingPort::~RefusingPort() {
    if (m_socket != INVALID_SOCKET) ::closesocket(m_socket);
    if (m_wsaStarted) ::WSACleanup();
}

std::wstring RefusingPort::Address() const { return L"http://127.0.0.1:" + std::to_wstring(m_port); }
