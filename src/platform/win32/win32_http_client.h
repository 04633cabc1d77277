// The HTTP client of the Windows build: WinHTTP without a proxy, following
// redirects, HTTPS where the address says so. Every request is bounded: the
// name lookup, the connection, the sending and each wait for data have their
// own time-out, the whole answer a deadline and a size limit, so that a
// server that never answers can hold neither a worker nor the program's
// exit. The main window hands one to the news check and the score database
// download.
#pragma once

#include <cstddef>
#include <string>

#include "platform/http_api.h"

namespace orvix::win32 {

struct HttpLimits {
  int resolveMs = 10000;
  int connectMs = 10000;
  int sendMs = 15000;
  int receiveMs = 15000;  // each wait for the next data
  int totalMs = 60000;    // the whole answer
  std::size_t maxBody = 32 * 1024 * 1024;
};

class Win32HttpClient : public IHttpClient {
 public:
  explicit Win32HttpClient(HttpLimits limits = {}) : limits_(limits) {}

  HttpResponse Get(const std::wstring& url) override;
  HttpResponse PostForm(const std::wstring& url, const std::string& body) override;

 private:
  HttpResponse Request(const wchar_t* verb, const std::wstring& url, const wchar_t* headers,
                       const std::string& body);

  HttpLimits limits_;
};

}  // namespace orvix::win32
