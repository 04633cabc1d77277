// A small HTTP/1.1 server on 127.0.0.1 for the Windows tests of the HTTP
// client and the online services: it answers each path as set up, records
// every request, and can hold a request unanswered until it stops.
#pragma once

#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvix::test {

class LoopbackHttpServer {
 public:
  LoopbackHttpServer();  // listening on a free port; Port() is 0 when that failed
  ~LoopbackHttpServer();
  LoopbackHttpServer(const LoopbackHttpServer&) = delete;
  LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

  int Port() const { return port_; }
  std::wstring Url(const std::string& path) const;
  void Serve(const std::string& path, int status, std::string body);
  // Reads the request and never answers it.
  void Hang(const std::string& path);
  // "METHOD path content-type body-size" of each request, in order.
  std::vector<std::string> Requests() const;

 private:
  struct Answer {
    int status = 404;
    std::string body;
    bool hang = false;
  };
  void Run();
  void Handle(std::uintptr_t client);

  std::uintptr_t listener_;
  int port_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable stopped_;
  bool stopping_ = false;
  std::map<std::string, Answer> answers_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace orvix::test
