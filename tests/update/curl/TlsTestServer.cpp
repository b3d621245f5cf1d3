#include "TlsTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace meridavolt::testing {

namespace {

bool writeAll(SSL* ssl, std::string_view bytes)
{
    while (!bytes.empty()) {
        const int written = SSL_write(ssl, bytes.data(), static_cast<int>(bytes.size()));
        if (written <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    default: return "Status";
    }
}

}  // namespace

TlsTestServer::TlsTestServer(EVP_PKEY* key, X509* certificate)
{
    // A client that hangs up mid-body must not end the test process.
    std::signal(SIGPIPE, SIG_IGN);
    context_ = SSL_CTX_new(TLS_server_method());
    if (!context_ || SSL_CTX_use_certificate(context_, certificate) != 1 || SSL_CTX_use_PrivateKey(context_, key) != 1) {
        throw std::runtime_error("TLS test server: certificate");
    }
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listener_, 16) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("TLS test server: listen");
    }
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { acceptConnections(); });
}

TlsTestServer::~TlsTestServer()
{
    stopping_ = true;
    acceptor_.join();
    ::close(listener_);
    std::vector<std::thread> connections;
    {
        std::lock_guard lock(mutex_);
        connections.swap(connections_);
    }
    for (auto& connection : connections) connection.join();
    SSL_CTX_free(context_);
}

void TlsTestServer::serve(const std::string& path, TlsResponse response)
{
    std::lock_guard lock(mutex_);
    routes_[path] = std::move(response);
}

std::vector<TlsRequest> TlsTestServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

int TlsTestServer::requestCount(const std::string& path) const
{
    int count = 0;
    for (const auto& request : requests()) count += request.path == path ? 1 : 0;
    return count;
}

void TlsTestServer::acceptConnections()
{
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 20) <= 0) continue;
        const int socket = ::accept(listener_, nullptr, nullptr);
        if (socket < 0) continue;
        std::lock_guard lock(mutex_);
        connections_.emplace_back([this, socket] { answer(socket); });
    }
}

// Lasts while the server runs and the client is still connected. What the
// client sends meanwhile (a TLS alert) is read and dropped.
void TlsTestServer::waitWhileStalled(int socket)
{
    while (!stopping_) {
        pollfd waiting{socket, POLLIN, 0};
        if (::poll(&waiting, 1, 20) <= 0) continue;
        char buffer[256];
        const auto received = ::recv(socket, buffer, sizeof buffer, MSG_DONTWAIT);
        if (received == 0 || (received < 0 && errno != EAGAIN && errno != EWOULDBLOCK)) return;
    }
}

void TlsTestServer::answer(int socket)
{
    timeval patience{5, 0};
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    SSL* ssl = SSL_new(context_);
    SSL_set_fd(ssl, socket);

    std::string head;
    std::this_thread::sleep_for(handshakeDelay_.load());
    if (SSL_accept(ssl) == 1) {
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            const int read = SSL_read(ssl, buffer, sizeof buffer);
            if (read <= 0) break;
            head.append(buffer, static_cast<std::size_t>(read));
        }
    }
    const std::size_t pathStart = head.find(' ');
    const std::size_t pathEnd = head.find(' ', pathStart + 1);
    if (pathStart != std::string::npos && pathEnd != std::string::npos) {
        const std::string path = head.substr(pathStart + 1, pathEnd - pathStart - 1);
        TlsResponse response{.status = 404, .body = "not here"};
        {
            std::lock_guard lock(mutex_);
            requests_.push_back({path, head.substr(0, head.find("\r\n\r\n") + 2)});
            if (auto route = routes_.find(path); route != routes_.end()) response = route->second;
        }
        if (response.stallBeforeHead) {
            waitWhileStalled(socket);
        } else {
            std::string reply = "HTTP/1.1 " + std::to_string(response.status) + " " + reasonPhrase(response.status) + "\r\n";
            for (const auto& [name, value] : response.headers) reply += name + ": " + value + "\r\n";
            if (response.framing == TlsResponse::Framing::contentLength) {
                reply += "Content-Length: " + std::to_string(response.announcedLength.value_or(response.body.size())) + "\r\n";
            } else if (response.framing == TlsResponse::Framing::chunked) {
                reply += "Transfer-Encoding: chunked\r\n";
            }
            reply += "Connection: close\r\n\r\n";
            const std::string_view body =
                std::string_view(response.body).substr(0, response.stallAfterBodyBytes.value_or(response.body.size()));
            bool open = true;
            if (response.headTrickle.count() > 0) {
                for (std::size_t start = 0; open && start < reply.size() && !stopping_;) {
                    const std::size_t end = reply.find("\r\n", start) + 2;
                    std::this_thread::sleep_for(response.headTrickle);
                    open = writeAll(ssl, std::string_view(reply).substr(start, end - start));
                    start = end;
                }
            } else {
                open = writeAll(ssl, reply);
            }
            if (response.framing == TlsResponse::Framing::chunked) {
                for (std::size_t offset = 0; open && offset < body.size(); offset += 4096) {
                    const auto chunk = body.substr(offset, 4096);
                    char size[32];
                    std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
                    open = writeAll(ssl, size) && writeAll(ssl, chunk) && writeAll(ssl, "\r\n");
                }
            } else if (response.trickle.count() > 0) {
                for (std::size_t offset = 0; open && offset < body.size() && !stopping_; ++offset) {
                    open = writeAll(ssl, body.substr(offset, 1));
                    std::this_thread::sleep_for(response.trickle);
                }
            } else if (open) {
                open = writeAll(ssl, body);
            }
            if (response.stallAfterBodyBytes) {
                waitWhileStalled(socket);
            } else if (open && response.framing == TlsResponse::Framing::chunked) {
                writeAll(ssl, "0\r\n\r\n");
            }
        }
        SSL_shutdown(ssl);
    }
    SSL_free(ssl);
    ::close(socket);
}

}  // namespace meridavolt::testing
