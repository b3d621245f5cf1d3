#pragma once

#include "TestCertificates.h"

#include <openssl/ssl.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace meridavolt::testing {

// What the server answers on one path.
struct TlsResponse {
    enum class Framing { contentLength, chunked, closeDelimited };

    int status = 200;
    std::vector<std::pair<std::string, std::string>> headers{};
    std::string body{};
    Framing framing = Framing::contentLength;
    std::optional<std::size_t> announcedLength{};   // a Content-Length other than the body's
    bool stallBeforeHead = false;                   // accept the request, then say nothing
    std::optional<std::size_t> stallAfterBodyBytes{}; // send this much of the body, then nothing
    std::chrono::milliseconds trickle{0};           // pause between single body bytes
    std::chrono::milliseconds headTrickle{0};       // pause before each line of the head
};

struct TlsRequest {
    std::string path;
    std::string head;  // request line and headers as received
};

// An HTTPS/1.1 server on 127.0.0.1 at a free port, with the certificate it is
// given. One thread per connection, one response per connection; unknown
// paths get 404. Stalls last until the client goes away or the server stops.
class TlsTestServer {
public:
    TlsTestServer(EVP_PKEY* key, X509* certificate);
    ~TlsTestServer();
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    std::uint16_t port() const { return port_; }
    void serve(const std::string& path, TlsResponse response);
    // Every later connection waits this long before its TLS handshake.
    void delayHandshakes(std::chrono::milliseconds delay) { handshakeDelay_ = delay; }
    std::vector<TlsRequest> requests() const;
    int requestCount(const std::string& path) const;

private:
    void acceptConnections();
    void answer(int socket);
    void waitWhileStalled(int socket);

    SSL_CTX* context_ = nullptr;
    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_ = false;
    std::atomic<std::chrono::milliseconds> handshakeDelay_{std::chrono::milliseconds(0)};
    std::thread acceptor_;

    mutable std::mutex mutex_;
    std::map<std::string, TlsResponse> routes_;
    std::vector<TlsRequest> requests_;
    std::vector<std::thread> connections_;
};

}  // namespace meridavolt::testing
