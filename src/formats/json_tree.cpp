// The JSON tree and its parser: nlohmann-json's event (SAX) parser feeds our
// own nodes, so that numbers keep their source text and the depth stays
// bounded.
#include "formats/json_tree.h"

#include <charconv>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "formats/text_codec.h"

namespace orvix {
namespace {

std::wstring AsciiText(std::string_view text) { return std::wstring(text.begin(), text.end()); }

// Builds the tree from parser events. `open_` holds the arrays and objects
// still being read: only the innermost one grows, so pointers to the outer
// ones stay valid.
class TreeBuilder {
 public:
  using json = nlohmann::json;

  TreeBuilder(TJsonNode& root, int maxDepth) : root_(root), maxDepth_(maxDepth) {}

  bool null() { return Add(TJsonNode()); }
  bool boolean(bool value) { return Add(TJsonNode::Bool(value)); }
  bool number_integer(json::number_integer_t value) { return Add(TJsonNode::NumberText(std::to_wstring(value))); }
  bool number_unsigned(json::number_unsigned_t value) { return Add(TJsonNode::NumberText(std::to_wstring(value))); }
  bool number_float(json::number_float_t, const json::string_t& source) {
    return Add(TJsonNode::NumberText(AsciiText(source)));
  }
  bool string(json::string_t& value) { return Add(TJsonNode::String(FromUtf8(value))); }
  bool binary(json::binary_t&) { return Fail(L"binary value"); }
  bool start_object(std::size_t) { return Open(TJsonNode::Object()); }
  bool key(json::string_t& name) {
    key_ = FromUtf8(name);
    return true;
  }
  bool end_object() { return Close(); }
  bool start_array(std::size_t) { return Open(TJsonNode::Array()); }
  bool end_array() { return Close(); }
  bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception&) {
    return Fail(L"not valid JSON at byte " + std::to_wstring(position));
  }

  const std::wstring& Error() const { return error_; }

 private:
  TJsonNode* Add(TJsonNode node) {
    if (open_.empty()) {
      root_ = std::move(node);
      return &root_;
    }
    TJsonNode& parent = *open_.back();
    if (parent.IsObject()) {
      parent.Members().emplace_back(std::move(key_), std::move(node));
      key_.clear();
      return &parent.Members().back().second;
    }
    parent.Elements().push_back(std::move(node));
    return &parent.Elements().back();
  }
  bool Open(TJsonNode container) {
    if (static_cast<int>(open_.size()) >= maxDepth_) return Fail(L"nested too deeply");
    open_.push_back(Add(std::move(container)));
    return true;
  }
  bool Close() {
    open_.pop_back();
    return true;
  }
  bool Fail(std::wstring reason) {
    if (error_.empty()) error_ = std::move(reason);
    return false;
  }

  TJsonNode& root_;
  int maxDepth_;
  std::vector<TJsonNode*> open_;
  std::wstring key_;
  std::wstring error_;
};

}  // namespace

TJsonNode TJsonNode::Bool(bool value) {
  TJsonNode node;
  node.kind_ = TJsonKind::Bool;
  node.bool_ = value;
  return node;
}

TJsonNode TJsonNode::String(std::wstring text) {
  TJsonNode node;
  node.kind_ = TJsonKind::String;
  node.text_ = std::move(text);
  return node;
}

TJsonNode TJsonNode::NumberText(std::wstring text) {
  TJsonNode node;
  node.kind_ = TJsonKind::Number;
  node.text_ = std::move(text);
  return node;
}

TJsonNode TJsonNode::Number(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return NumberText(AsciiText(std::string_view(buffer, result.ptr - buffer)));
}

TJsonNode TJsonNode::Integer(std::int64_t value) { return NumberText(std::to_wstring(value)); }

TJsonNode TJsonNode::Array() {
  TJsonNode node;
  node.kind_ = TJsonKind::Array;
  return node;
}

TJsonNode TJsonNode::Object() {
  TJsonNode node;
  node.kind_ = TJsonKind::Object;
  return node;
}

std::optional<std::int64_t> TJsonNode::IntegerValue() const {
  if (kind_ != TJsonKind::Number) return std::nullopt;
  const std::string ascii(text_.begin(), text_.end());
  std::int64_t value = 0;
  const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
  if (result.ec != std::errc() || result.ptr != ascii.data() + ascii.size()) return std::nullopt;
  return value;
}

// A name given twice in one object counts by its last occurrence, as JSON
// readers (browsers among them) take it.
TJsonNode* TJsonNode::Find(std::wstring_view name) {
  for (auto it = members_.rbegin(); it != members_.rend(); ++it) {
    if (it->first == name) return &it->second;
  }
  return nullptr;
}

const TJsonNode* TJsonNode::Find(std::wstring_view name) const { return const_cast<TJsonNode*>(this)->Find(name); }

TJsonNode* TJsonNode::FindPath(std::initializer_list<std::wstring_view> names) {
  TJsonNode* node = this;
  for (std::wstring_view name : names) {
    node = node->Find(name);
    if (node == nullptr) return nullptr;
  }
  return node;
}

const TJsonNode* TJsonNode::FindPath(std::initializer_list<std::wstring_view> names) const {
  return const_cast<TJsonNode*>(this)->FindPath(names);
}

TJsonNode& TJsonNode::Set(std::wstring_view name, TJsonNode value) {
  if (kind_ != TJsonKind::Object) *this = Object();
  if (TJsonNode* existing = Find(name)) {
    *existing = std::move(value);
    return *existing;
  }
  members_.emplace_back(std::wstring(name), std::move(value));
  return members_.back().second;
}

bool TJsonNode::Remove(std::wstring_view name) {
  const std::size_t before = members_.size();
  std::erase_if(members_, [&](const Member& member) { return member.first == name; });
  return members_.size() != before;
}

bool ParseJson(std::string_view utf8, TJsonNode& root, std::wstring* error, const TJsonLimits& limits) {
  root = TJsonNode();
  auto fail = [&](std::wstring reason) {
    root = TJsonNode();
    if (error != nullptr) *error = std::move(reason);
    return false;
  };
  if (utf8.size() > limits.maxBytes) return fail(L"larger than " + std::to_wstring(limits.maxBytes) + L" bytes");
  if (utf8.starts_with("\xEF\xBB\xBF")) utf8.remove_prefix(3);
  TreeBuilder builder(root, limits.maxDepth);
  bool parsed = false;
  try {
    parsed = nlohmann::json::sax_parse(utf8.begin(), utf8.end(), &builder);
  } catch (const std::exception&) {
    parsed = false;
  }
  if (!parsed) return fail(builder.Error().empty() ? L"not valid JSON" : builder.Error());
  return true;
}

}  // namespace orvix
