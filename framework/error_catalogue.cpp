#include "framework/error_catalogue.h"

#include "runtime/codepage.h"

namespace fw {
namespace {

constexpr std::size_t kMaxTextBytes = 255;
constexpr std::size_t kMaxEntries = 0xFFFF;

void putU16(ErrorBlock& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xFF));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putText(ErrorBlock& out, const std::string& s) {
  out.push_back(static_cast<std::uint8_t>(s.size()));
  out.insert(out.end(), s.begin(), s.end());
}

// Sequential reader that refuses to run past the end of the block.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> data) : data_(data) {}
  bool u8(std::uint8_t& v) {
    if (pos_ + 1 > data_.size()) return false;
    v = data_[pos_++];
    return true;
  }
  bool u16(std::uint16_t& v) {
    if (pos_ + 2 > data_.size()) return false;
    v = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  bool text(std::string& s) {
    std::uint8_t len = 0;
    if (!u8(len) || pos_ + len > data_.size()) return false;
    s.assign(reinterpret_cast<const char*>(data_.data() + pos_), len);
    pos_ += len;
    return true;
  }
  bool atEnd() const { return pos_ == data_.size(); }
  std::size_t pos() const { return pos_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

}  // namespace

ErrorBlockResult encodeErrorBlock(std::span<const ErrorEntry> entries) {
  ErrorBlockResult r;
  if (entries.size() > kMaxEntries) {
    r.error = "too many messages for one block: " + std::to_string(entries.size());
    return r;
  }
  ErrorBlock out;
  putU16(out, static_cast<std::uint16_t>(entries.size()));
  for (const ErrorEntry& e : entries) {
    if (e.title.size() > kMaxTextBytes || e.text.size() > kMaxTextBytes) {
      r.error = "message " + std::to_string(e.id) + ": title or text longer than 255 bytes";
      return r;
    }
    putU16(out, e.id);
    out.push_back(e.severity);
    putText(out, e.title);
    putText(out, e.text);
  }
  r.ok = true;
  r.block = std::move(out);
  return r;
}

ErrorEntriesResult decodeErrorBlock(std::span<const std::uint8_t> block) {
  ErrorEntriesResult r;
  Reader in(block);
  std::uint16_t count = 0;
  if (!in.u16(count)) {
    r.error = "message block too short for its entry count";
    return r;
  }
  std::vector<ErrorEntry> entries;
  entries.reserve(count);
  for (std::uint16_t i = 0; i < count; ++i) {
    ErrorEntry e;
    if (!in.u16(e.id) || !in.u8(e.severity) || !in.text(e.title) || !in.text(e.text)) {
      r.error = "message block truncated in entry " + std::to_string(i + 1) + " of " +
                std::to_string(count);
      return r;
    }
    entries.push_back(std::move(e));
  }
  if (!in.atEnd()) {
    r.error = "message block has " + std::to_string(block.size() - in.pos()) +
              " bytes after its last entry";
    return r;
  }
  r.ok = true;
  r.entries = std::move(entries);
  return r;
}

ErrorBlockResult buildErrorBlock(std::span<const ErrorText> table) {
  std::vector<ErrorEntry> entries;
  entries.reserve(table.size());
  for (const ErrorText& t : table) {
    bool lossy = false;
    ErrorEntry e;
    e.id = t.id;
    e.severity = t.severity;
    e.title = rt::utf8ToCp1252(t.title ? t.title : "", &lossy);
    e.text = rt::utf8ToCp1252(t.text ? t.text : "", &lossy);
    if (lossy) {
      ErrorBlockResult r;
      r.error = "message " + std::to_string(t.id) + " has a character outside Windows-1252";
      return r;
    }
    entries.push_back(std::move(e));
  }
  return encodeErrorBlock(entries);
}

}  // namespace fw
