#pragma once
#include <QProcess>
#include <QStringList>
#include <memory>
#include <string>

// A real HTTP server on 127.0.0.1, on a free port, for as long as the object lives.
class TestServer {
  public:
    // `python3 -m http.server` serving `folder`.
    static TestServer Plain(const std::string& folder);
    // tests/support/odd_http_server.py serving `folder`, misbehaving as asked by the path, and
    // a proxy that appends the URLs it forwards to `record`.
    static TestServer Odd(const std::string& folder, const std::string& record = "/dev/null");

    TestServer(TestServer&&) = default;
    ~TestServer();

    // 0 when the server did not come up within ten seconds.
    int Port() const { return port_; }
    std::string Url(const std::string& path) const;
    // Ends the server now; its port is then refused.
    void Stop();

  private:
    explicit TestServer(const QStringList& arguments);
    std::unique_ptr<QProcess> process_;
    int port_ = 0;
};
