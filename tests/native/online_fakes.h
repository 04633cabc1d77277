// An HTTP client for the online services' tests: answers by URL, records
// every request, and answers 0 (no answer) for anything not set up.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/http_api.h"

namespace orvix::testing {

class TScriptedHttp : public IHttpClient {
 public:
  void Answer(const std::wstring& url, int status, const std::string& body) {
    std::lock_guard lock(mutex_);
    answers_[url] = HttpResponse{status, Bytes(body.begin(), body.end())};
  }
  std::vector<std::wstring> Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
  }

  HttpResponse Get(const std::wstring& url) override { return Take(L"GET " + url, url); }
  HttpResponse PostForm(const std::wstring& url, const std::string& body) override {
    return Take(L"POST " + url + (body.empty() ? L"" : L" with a body"), url);
  }

 private:
  HttpResponse Take(const std::wstring& request, const std::wstring& url) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
    const auto found = answers_.find(url);
    return found == answers_.end() ? HttpResponse{} : found->second;
  }

  mutable std::mutex mutex_;
  std::map<std::wstring, HttpResponse> answers_;
  std::vector<std::wstring> requests_;
};

}  // namespace orvix::testing
