#include "loopback_http_server.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>

namespace orvix::test {
namespace {

bool StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

std::string HeaderValue(const std::string& head, const std::string& name) {
  std::size_t at = 0;
  while ((at = head.find("\r\n", at)) != std::string::npos) {
    at += 2;
    if (_strnicmp(head.c_str() + at, name.c_str(), name.size()) == 0 && head[at + name.size()] == ':') {
      const std::size_t start = head.find_first_not_of(' ', at + name.size() + 1);
      return head.substr(start, head.find("\r\n", start) - start);
    }
  }
  return "";
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() : listener_(INVALID_SOCKET) {
  if (!StartWinsock()) return;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 8) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    closesocket(listener);
    return;
  }
  listener_ = listener;
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();
  if (listener_ != INVALID_SOCKET) closesocket(static_cast<SOCKET>(listener_));
  if (thread_.joinable()) thread_.join();
}

std::wstring LoopbackHttpServer::Url(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

void LoopbackHttpServer::Serve(const std::string& path, int status, std::string body) {
  std::lock_guard lock(mutex_);
  answers_[path] = Answer{status, std::move(body), false};
}

void LoopbackHttpServer::Hang(const std::string& path) {
  std::lock_guard lock(mutex_);
  answers_[path] = Answer{0, "", true};
}

std::vector<std::string> LoopbackHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LoopbackHttpServer::Run() {
  while (true) {
    const SOCKET client = accept(static_cast<SOCKET>(listener_), nullptr, nullptr);
    if (client == INVALID_SOCKET) return;  // closed: the server stops
    Handle(client);
    closesocket(client);
  }
}

void LoopbackHttpServer::Handle(std::uintptr_t raw) {
  const auto client = static_cast<SOCKET>(raw);
  std::string received;
  char buffer[4096];
  std::size_t headEnd;
  while ((headEnd = received.find("\r\n\r\n")) == std::string::npos) {
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    received.append(buffer, n);
  }
  const std::string head = received.substr(0, headEnd);
  const std::size_t length = std::strtoul(HeaderValue(head, "Content-Length").c_str(), nullptr, 10);
  while (received.size() < headEnd + 4 + length) {
    const int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    received.append(buffer, n);
  }
  const std::string line = head.substr(0, head.find("\r\n"));
  const std::string method = line.substr(0, line.find(' '));
  const std::size_t pathStart = line.find(' ') + 1;
  const std::string path = line.substr(pathStart, line.find(' ', pathStart) - pathStart);

  std::unique_lock lock(mutex_);
  requests_.push_back(method + " " + path + " " + HeaderValue(head, "Content-Type") + " " + std::to_string(length));
  const auto found = answers_.find(path);
  const Answer answer = found == answers_.end() ? Answer{} : found->second;
  if (answer.hang) {
    stopped_.wait(lock, [&] { return stopping_; });
    return;
  }
  lock.unlock();
  const std::string reply = "HTTP/1.1 " + std::to_string(answer.status) + " Answer\r\nContent-Length: " +
                            std::to_string(answer.body.size()) + "\r\nConnection: close\r\n\r\n" + answer.body;
  send(client, reply.data(), static_cast<int>(reply.size()), 0);
  shutdown(client, SD_SEND);
}

}  // namespace orvix::test
