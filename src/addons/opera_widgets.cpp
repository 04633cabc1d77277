#include "addons/opera_widgets.h"

#include <pugixml.hpp>

#include <cstring>

#include "formats/text_codec.h"
#include "platform/file_helpers.h"

namespace orvix {
namespace {

constexpr std::uint64_t kMaxXmlFile = 4u << 20;
constexpr char kEnabledValue[] = "GadgetEnabledOnStartup";

// Everything the file holds is kept (declaration, comments, white space and
// CR LF), so that a save changes only what was changed.
constexpr unsigned kParseOptions = (pugi::parse_default & ~pugi::parse_eol) | pugi::parse_declaration |
                                   pugi::parse_comments | pugi::parse_pi | pugi::parse_doctype |
                                   pugi::parse_ws_pcdata;

struct XmlFile {
  pugi::xml_document document;
  Bytes original;
  bool utf16 = false;
};

bool LoadXml(const std::wstring& path, XmlFile& file) {
  if (!ReadFileBytes(path, file.original, kMaxXmlFile)) return false;
  file.utf16 = file.original.size() >= 2 && file.original[0] == 0xFF && file.original[1] == 0xFE;
  return file.document.load_buffer(file.original.data(), file.original.size(), kParseOptions, pugi::encoding_auto)
             .status == pugi::status_ok;
}

struct ByteWriter : pugi::xml_writer {
  Bytes bytes;
  void write(const void* data, size_t size) override {
    const auto* begin = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), begin, begin + size);
  }
};

// The parser keeps no white space outside the root element, so a UTF-8
// file is saved as its old text with only the root element written anew;
// a UTF-16 one is written whole.
bool SaveXml(const std::wstring& path, const XmlFile& file) {
  ByteWriter writer;
  const pugi::xml_node root = file.document.document_element();
  if (file.utf16) {
    file.document.save(writer, "", pugi::format_raw | pugi::format_no_declaration | pugi::format_write_bom,
                       pugi::encoding_utf16_le);
    return ReplaceFileBytes(path, writer.bytes);
  }
  const std::string text(file.original.begin(), file.original.end());
  const std::string name = root.name();
  std::size_t begin = text.find("<" + name);
  while (begin != std::string::npos && begin + 1 + name.size() < text.size() &&
         std::strchr(" \t\r\n/>", text[begin + 1 + name.size()]) == nullptr)
    begin = text.find("<" + name, begin + 1);
  const std::size_t closing = text.rfind("</" + name);
  const std::size_t end = closing == std::string::npos ? closing : text.find('>', closing);
  if (begin == std::string::npos || end == std::string::npos || end < begin) return false;
  root.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  Bytes bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(begin));
  bytes.insert(bytes.end(), writer.bytes.begin(), writer.bytes.end());
  bytes.insert(bytes.end(), text.begin() + static_cast<std::ptrdiff_t>(end + 1), text.end());
  return ReplaceFileBytes(path, bytes);
}

// <preferences> as the document's root element or one of its children.
pugi::xml_node Preferences(const pugi::xml_document& document) {
  const pugi::xml_node root = document.document_element();
  if (std::strcmp(root.name(), "preferences") == 0) return root;
  return root.child("preferences");
}

pugi::xml_node Section(pugi::xml_node preferences, const char* id) {
  return preferences.find_child_by_attribute("section", "id", id);
}

pugi::xml_node Value(pugi::xml_node section, const char* id) {
  return section.find_child_by_attribute("value", "id", id);
}

}  // namespace

std::vector<std::wstring> ReadOperaWidgetIds(const std::wstring& widgetsDat) {
  std::vector<std::wstring> ids;
  XmlFile file;
  if (!LoadXml(widgetsDat, file)) return ids;
  for (pugi::xml_node section : Preferences(file.document).children("section")) {
    const std::wstring id = FromUtf8(section.attribute("id").value());
    if (!id.empty()) ids.push_back(id);
  }
  return ids;
}

bool ReadOperaWidgetPrefs(const std::wstring& prefsDat, TOperaWidgetPrefs& prefs) {
  XmlFile file;
  if (!LoadXml(prefsDat, file)) return false;
  const pugi::xml_node preferences = Preferences(file.document);
  prefs.name = FromUtf8(Value(Section(preferences, "ui"), "name").text().get());
  prefs.enabled = std::strcmp(Value(Section(preferences, "user"), kEnabledValue).text().get(), "yes") == 0;
  return true;
}

bool SetOperaWidgetEnabled(const std::wstring& prefsDat, bool enabled) {
  XmlFile file;
  if (!LoadXml(prefsDat, file)) return false;
  pugi::xml_node user = Section(Preferences(file.document), "user");
  if (!user) return false;
  pugi::xml_node value = Value(user, kEnabledValue);
  if (!enabled) {
    if (!value || !user.remove_child(value)) return false;
  } else if (value) {
    value.text().set("yes");
  } else {
    value = user.append_child("value");
    value.append_attribute("id").set_value(kEnabledValue);
    value.append_attribute("xml:space").set_value("preserve");
    value.text().set("yes");
  }
  return SaveXml(prefsDat, file);
}

}  // namespace orvix
