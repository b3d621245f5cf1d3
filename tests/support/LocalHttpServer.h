#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace meridavolt::testing {

// A request as the server received it.
struct HttpRequest {
    std::string method;
    std::string target;  // path with its query, as sent: "/page?x=1"
    std::string path;    // the target without its query
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
};

struct HttpResponse {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;  // extra headers, e.g. Set-Cookie
};

// A small HTTP/1.1 server for window tests: listens on 127.0.0.1 at a free
// port from the moment it is constructed, answers on its own thread (so the
// test's main loop stays free), closes each connection after one response,
// and records every request. Paths not served get 404.
//
//     LocalHttpServer server;
//     server.serve("/", "<h1>hello</h1>");
//     view.load(server.url("/"));
//     ... wait ...
//     EXPECT_EQ(server.requestCount("/"), 1);
//
// Pages may be reached as "127.0.0.1" or "localhost" (two different origins
// for the browser): see urlOnHost. Everything is thread-safe.
class LocalHttpServer {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    // Port 0 takes any free port; a given port is for tests that need a
    // server to appear where a connection was refused before. host: another
    // loopback address ("127.0.0.2") for a site of its own.
    explicit LocalHttpServer(std::uint16_t port = 0, std::string host = "127.0.0.1");
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    std::uint16_t port() const { return port_; }
    // "http://<host given at construction>:<port><path>"
    std::string url(const std::string& path = "/") const;
    // "http://<host>:<port><path>", for a second origin ("localhost").
    std::string urlOnHost(const std::string& host, const std::string& path = "/") const;

    // Serves a fixed response (or HTML body) at an exact path; a query is ignored.
    void serve(const std::string& path, HttpResponse response);
    void serve(const std::string& path, const std::string& html);
    // Computes the response for each request to the path (called on the server thread).
    void handle(const std::string& path, Handler handler);

    std::vector<HttpRequest> requests() const;
    int requestCount(const std::string& path) const;
    // The most recent request to a path; an empty request when there was none.
    HttpRequest lastRequest(const std::string& path) const;
    void clearRequests();

    // A port on 127.0.0.1 where nothing listens (bound, then released), for
    // tests of a refused connection.
    static std::uint16_t unusedPort();

private:
    void run();
    void answer(int client);

    std::string host_;
    int listener_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stopping_ = false;
    mutable std::mutex mutex_;
    std::map<std::string, Handler> handlers_;
    std::vector<HttpRequest> requests_;
    std::thread thread_;
};

}  // namespace meridavolt::testing
