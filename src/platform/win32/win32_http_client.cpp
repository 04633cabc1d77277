#include "platform/win32/win32_http_client.h"

#include <memory>
#include <vector>

#include "platform/win32/windows_api.h"

#include <winhttp.h>

namespace orvix::win32 {
namespace {

struct InternetCloser {
  void operator()(HINTERNET handle) const { ::WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

}  // namespace

HttpResponse Win32HttpClient::Get(const std::wstring& url) {
  return Request(L"GET", url, WINHTTP_NO_ADDITIONAL_HEADERS, "");
}

HttpResponse Win32HttpClient::PostForm(const std::wstring& url, const std::string& body) {
  return Request(L"POST", url, L"Content-Type: application/x-www-form-urlencoded\r\n", body);
}

HttpResponse Win32HttpClient::Request(const wchar_t* verb, const std::wstring& url, const wchar_t* headers,
                                      const std::string& body) {
  HttpResponse response;
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = static_cast<::DWORD>(-1);
  parts.dwUrlPathLength = static_cast<::DWORD>(-1);
  parts.dwExtraInfoLength = static_cast<::DWORD>(-1);
  if (!::WinHttpCrackUrl(url.c_str(), 0, 0, &parts)) return response;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
  path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (path.empty()) path = L"/";

  const InternetHandle session(::WinHttpOpen(L"Orvix Uninstaller", WINHTTP_ACCESS_TYPE_NO_PROXY,
                                             WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session ||
      !::WinHttpSetTimeouts(session.get(), limits_.resolveMs, limits_.connectMs, limits_.sendMs, limits_.receiveMs))
    return response;
  const InternetHandle connection(::WinHttpConnect(session.get(), host.c_str(), parts.nPort, 0));
  if (!connection) return response;
  const ::DWORD flags = parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0;
  const InternetHandle request(::WinHttpOpenRequest(connection.get(), verb, path.c_str(), nullptr,
                                                    WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!request) return response;
  // The wait for the answer's headers has a time-out of its own (Wine
  // waits for ever without one).
  ::DWORD responseTimeout = static_cast<::DWORD>(limits_.receiveMs);
  if (!::WinHttpSetTimeouts(request.get(), limits_.resolveMs, limits_.connectMs, limits_.sendMs, limits_.receiveMs) ||
      !::WinHttpSetOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                          sizeof responseTimeout))
    return response;
  const auto size = static_cast<::DWORD>(body.size());
  void* data = body.empty() ? WINHTTP_NO_REQUEST_DATA : const_cast<char*>(body.data());
  if (!::WinHttpSendRequest(request.get(), headers, static_cast<::DWORD>(-1L), data, size, size, 0) ||
      !::WinHttpReceiveResponse(request.get(), nullptr))
    return response;

  ::DWORD status = 0;
  ::DWORD statusSize = sizeof status;
  if (!::WinHttpQueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &statusSize, WINHTTP_NO_HEADER_INDEX))
    return response;

  // Each read waits at most the receive time-out; the deadline bounds a
  // server that sends a byte now and then.
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(limits_.totalMs);
  Bytes answer;
  std::vector<std::uint8_t> block(16 * 1024);
  while (true) {
    ::DWORD read = 0;
    if (!::WinHttpReadData(request.get(), block.data(), static_cast<::DWORD>(block.size()), &read)) return response;
    if (read == 0) break;
    if (answer.size() + read > limits_.maxBody || ::GetTickCount64() > deadline) return response;
    answer.insert(answer.end(), block.begin(), block.begin() + read);
  }
  response.status = static_cast<int>(status);
  response.body = std::move(answer);
  return response;
}

}  // namespace orvix::win32
