#include "addons/browser_text_file.h"

#include "formats/text_codec.h"
#include "platform/file_helpers.h"

namespace orvix {
namespace {

bool IsValidUtf8(std::string_view bytes) { return ToUtf8(FromUtf8(bytes)) == bytes; }

}  // namespace

bool ReadBrowserTextFile(const std::wstring& path, TBrowserTextFile& file) {
  Bytes bytes;
  if (!ReadFileBytes(path, bytes, kBrowserTextFileMax)) return false;
  TextEncoding marked = TextEncoding::Ansi;
  std::wstring text = DecodeTextFile(bytes, &marked);
  if (marked == TextEncoding::Utf16LeBom) {
    file.encoding = TBrowserTextEncoding::Utf16LeBom;
  } else if (marked == TextEncoding::Utf8Bom) {
    file.encoding = TBrowserTextEncoding::Utf8Bom;
  } else {
    const std::string_view raw(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    file.encoding = IsValidUtf8(raw) ? TBrowserTextEncoding::Utf8 : TBrowserTextEncoding::Ansi;
    if (file.encoding == TBrowserTextEncoding::Utf8) text = FromUtf8(raw);
  }
  file.text = std::move(text);
  return true;
}

bool WriteBrowserTextFile(const std::wstring& path, const TBrowserTextFile& file) {
  Bytes bytes;
  switch (file.encoding) {
    case TBrowserTextEncoding::Utf8: {
      const std::string body = ToUtf8(file.text);
      bytes.assign(body.begin(), body.end());
      break;
    }
    case TBrowserTextEncoding::Utf8Bom:
      bytes = EncodeTextFile(file.text, TextEncoding::Utf8Bom);
      break;
    case TBrowserTextEncoding::Utf16LeBom:
      bytes = EncodeTextFile(file.text, TextEncoding::Utf16LeBom);
      break;
    case TBrowserTextEncoding::Ansi:
      // A character the code page cannot hold would come back as "?": the
      // file is left alone rather than damaged.
      if (!FitsAnsiCodePage(file.text)) return false;
      bytes = EncodeTextFile(file.text, TextEncoding::Ansi);
      break;
  }
  return ReplaceFileBytes(path, bytes);
}

}  // namespace orvix
