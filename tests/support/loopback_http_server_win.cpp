#include "support/loopback_http_server_win.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace tastomat::test {
namespace {

struct WinsockUser {
    WinsockUser() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    }
    ~WinsockUser() { WSACleanup(); }
};

bool readable(SOCKET s, int timeout_ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) == 1;
}

bool send_all(SOCKET s, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        const int chunk = static_cast<int>(std::min<size_t>(data.size() - sent, 1 << 16));
        const int n = send(s, data.data() + sent, chunk, 0);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

std::string lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

LoopbackRequest parse(const std::string& head) {
    LoopbackRequest request;
    size_t line_end = head.find("\r\n");
    const std::string first = head.substr(0, line_end);
    const size_t a = first.find(' '), b = first.rfind(' ');
    request.method = first.substr(0, a);
    request.path = first.substr(a + 1, b - a - 1);
    while (line_end != std::string::npos && line_end + 2 < head.size()) {
        const size_t start = line_end + 2;
        line_end = head.find("\r\n", start);
        const std::string line = head.substr(start, line_end - start);
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        const size_t value = line.find_first_not_of(' ', colon + 1);
        request.headers[lower(line.substr(0, colon))] =
            value == std::string::npos ? std::string() : line.substr(value);
    }
    return request;
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    static WinsockUser winsock;
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // the system picks a free one
    int length = sizeof address;
    if (listener_ == INVALID_SOCKET ||
        bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (listener_ != INVALID_SOCKET) closesocket(listener_);
        throw std::runtime_error("loopback server cannot listen");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stop_ = true;
    thread_.join();
    closesocket(listener_);
    for (SOCKET s : held_) closesocket(s);
}

std::string LoopbackHttpServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<LoopbackRequest> LoopbackHttpServer::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

void LoopbackHttpServer::serve() {
    // Polled rather than blocked in accept, so that the destructor can end the thread.
    while (!stop_) {
        if (!readable(listener_, 100)) continue;
        const SOCKET client = accept(listener_, nullptr, nullptr);
        if (client != INVALID_SOCKET) answer(client);
    }
}

void LoopbackHttpServer::answer(SOCKET client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && !stop_) {
        if (!readable(client, 100)) continue;
        const int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<size_t>(n));
    }
    if (head.find("\r\n\r\n") == std::string::npos) {
        closesocket(client);
        return;
    }
    const LoopbackRequest request = parse(head);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    const LoopbackReply reply = handler_(request);
    if (reply.never_answer) {
        held_.push_back(client);
        return;
    }
    std::string out = "HTTP/1.1 " + std::to_string(reply.status) + " Test\r\n";
    if (reply.content_length || reply.announced_length)
        out += "Content-Length: " +
               std::to_string(reply.announced_length.value_or(reply.body.size())) + "\r\n";
    for (const auto& [name, value] : reply.headers)
        out.append(name).append(": ").append(value).append("\r\n");
    out += "Connection: close\r\n\r\n";
    if (request.method != "HEAD") out += reply.body;
    send_all(client, out);
    shutdown(client, SD_SEND);
    closesocket(client);
}

}  // namespace tastomat::test
