#include "support/LocalHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <sstream>
#include <stdexcept>

namespace meridavolt::testing {

namespace {

constexpr auto readTimeout = std::chrono::seconds(10);

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 304: return "Not Modified";
    case 404: return "Not Found";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

sockaddr_in loopback(std::uint16_t port, const std::string& host = "127.0.0.1")
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

std::uint16_t boundPort(int socket)
{
    sockaddr_in address{};
    socklen_t length = sizeof(address);
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

// Reads one request; false when the client sent none in time or closed early.
bool readRequest(int client, const std::atomic<bool>& stopping, HttpRequest& request)
{
    std::string data;
    std::size_t headerEnd = std::string::npos;
    std::size_t bodyLength = 0;
    const auto deadline = std::chrono::steady_clock::now() + readTimeout;
    for (;;) {
        if (headerEnd != std::string::npos && data.size() >= headerEnd + 4 + bodyLength) break;
        if (stopping || std::chrono::steady_clock::now() > deadline) return false;
        pollfd poller{client, POLLIN, 0};
        if (::poll(&poller, 1, 100) <= 0) continue;
        char buffer[8192];
        const auto count = ::recv(client, buffer, sizeof(buffer), 0);
        if (count <= 0) return false;
        data.append(buffer, static_cast<std::size_t>(count));
        if (headerEnd == std::string::npos && (headerEnd = data.find("\r\n\r\n")) != std::string::npos) {
            std::istringstream head(data.substr(0, headerEnd));
            std::string line;
            std::getline(head, line);
            std::istringstream requestLine(line);
            requestLine >> request.method >> request.target;
            request.path = request.target.substr(0, request.target.find('?'));
            while (std::getline(head, line)) {
                if (!line.empty() && line.back() == '\r') line.pop_back();
                const auto colon = line.find(':');
                if (colon == std::string::npos) continue;
                auto value = line.substr(colon + 1);
                value.erase(0, value.find_first_not_of(' '));
                request.headers[lowered(line.substr(0, colon))] = value;
            }
            if (auto length = request.headers.find("content-length"); length != request.headers.end()) {
                bodyLength = std::stoul(length->second);
            }
        }
    }
    request.body = data.substr(headerEnd + 4, bodyLength);
    return true;
}

void sendAll(int client, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const auto count = ::send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (count <= 0) return;
        sent += static_cast<std::size_t>(count);
    }
}

}  // namespace

LocalHttpServer::LocalHttpServer(std::uint16_t port, std::string host) : host_(std::move(host))
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse));
    auto address = loopback(port, host_);
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        ::listen(listener_, 64) != 0) {
        throw std::runtime_error("LocalHttpServer: cannot listen on " + host_);
    }
    port_ = boundPort(listener_);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("LocalHttpServer: no pipe");
    wakeRead_ = pipeEnds[0];
    wakeWrite_ = pipeEnds[1];
    thread_ = std::thread([this] { run(); });
}

LocalHttpServer::~LocalHttpServer()
{
    (void)!::write(wakeWrite_, "x", 1);
    thread_.join();
    ::close(listener_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

std::string LocalHttpServer::url(const std::string& path) const { return urlOnHost(host_, path); }

std::string LocalHttpServer::urlOnHost(const std::string& host, const std::string& path) const
{
    return "http://" + host + ":" + std::to_string(port_) + path;
}

void LocalHttpServer::serve(const std::string& path, HttpResponse response)
{
    handle(path, [response = std::move(response)](const HttpRequest&) { return response; });
}

void LocalHttpServer::serve(const std::string& path, const std::string& html)
{
    HttpResponse response;
    response.body = html;
    serve(path, std::move(response));
}

void LocalHttpServer::handle(const std::string& path, Handler handler)
{
    std::lock_guard lock(mutex_);
    handlers_[path] = std::move(handler);
}

std::vector<HttpRequest> LocalHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

int LocalHttpServer::requestCount(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(requests_.begin(), requests_.end(), [&](const HttpRequest& r) { return r.path == path; }));
}

HttpRequest LocalHttpServer::lastRequest(const std::string& path) const
{
    std::lock_guard lock(mutex_);
    auto found = std::find_if(requests_.rbegin(), requests_.rend(),
                              [&](const HttpRequest& r) { return r.path == path; });
    return found == requests_.rend() ? HttpRequest{} : *found;
}

void LocalHttpServer::clearRequests()
{
    std::lock_guard lock(mutex_);
    requests_.clear();
}

std::uint16_t LocalHttpServer::unusedPort()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    auto address = loopback(0);
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    const auto port = boundPort(probe);
    ::close(probe);
    return port;
}

void LocalHttpServer::run()
{
    // One thread per connection: a browser may open a connection and send
    // nothing on it for a while, which must not hold up the others.
    std::vector<std::thread> connections;
    for (;;) {
        pollfd pollers[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(pollers, 2, -1) < 0) continue;
        if (pollers[1].revents != 0) break;
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        connections.emplace_back([this, client] {
            answer(client);
            ::close(client);
        });
    }
    stopping_ = true;
    for (auto& connection : connections) connection.join();
}

void LocalHttpServer::answer(int client)
{
    HttpRequest request;
    if (!readRequest(client, stopping_, request)) return;
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        if (auto found = handlers_.find(request.path); found != handlers_.end()) handler = found->second;
    }
    HttpResponse response;
    if (handler) {
        response = handler(request);
    } else {
        response.status = 404;
        response.body = "<h1>not found</h1>";
    }
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + reasonPhrase(response.status) + "\r\n";
    head += "Content-Type: " + response.contentType + "\r\n";
    head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    head += "Cache-Control: no-store\r\nConnection: close\r\n";
    for (const auto& [name, value] : response.headers) head += name + ": " + value + "\r\n";
    head += "\r\n";
    sendAll(client, request.method == "HEAD" ? head : head + response.body);
}

}  // namespace meridavolt::testing
