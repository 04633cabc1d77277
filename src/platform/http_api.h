// HTTP/1.1 requests: the news check's form POST, the vote and the score
// database download.
#pragma once

#include <string>

#include "formats/text_codec.h"

namespace orvix {

struct HttpResponse {
  int status = 0;  // 0 when no answer arrived
  Bytes body;
};

class IHttpClient {
 public:
  virtual ~IHttpClient() = default;
  virtual HttpResponse Get(const std::wstring& url) = 0;
  // A form-encoded POST (application/x-www-form-urlencoded).
  virtual HttpResponse PostForm(const std::wstring& url, const std::string& body) = 0;
};

}  // namespace orvix
