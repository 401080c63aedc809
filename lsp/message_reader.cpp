#include "lsp/message_reader.h"

#include <algorithm>

namespace quenvar::lsp {
namespace {

constexpr std::string_view kLengthHeader = "Content-Length:";
constexpr std::string_view kHeaderEnd = "\r\n\r\n";
// Longer header blocks are garbage: clients send two short lines.
constexpr std::size_t kMaxHeader = 4096;

bool IsTokenChar(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
  });
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The body length a header block names; 0 with ok false when a line is no
// header or the block names no length of at most 18 digits.
struct ParsedHeader {
  bool ok = false;
  std::size_t length = 0;
};

ParsedHeader ParseHeader(std::string_view block) {
  ParsedHeader parsed;
  bool has_length = false;
  while (!block.empty()) {
    const std::size_t end = std::min(block.find("\r\n"), block.size());
    const std::string_view line = block.substr(0, end);
    block.remove_prefix(std::min(end + 2, block.size()));
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos ||
        !std::ranges::all_of(line.substr(0, colon), IsTokenChar)) {
      return {};
    }
    if (!EqualsIgnoringCase(line.substr(0, colon), "Content-Length")) continue;
    const std::string_view value = Trimmed(line.substr(colon + 1));
    if (value.empty() || value.size() > 18 ||
        !std::ranges::all_of(value, [](char c) { return c >= '0' && c <= '9'; })) {
      return {};
    }
    parsed.length = 0;
    for (char digit : value) parsed.length = parsed.length * 10 + std::size_t(digit - '0');
    has_length = true;
  }
  parsed.ok = has_length;
  return parsed;
}

}  // namespace

void MessageReader::Feed(std::string_view bytes, std::vector<Frame>& frames) {
  const std::size_t skipped = std::min(skip_left_, bytes.size());
  skip_left_ -= skipped;
  bytes.remove_prefix(skipped);
  buffer_.append(bytes);
  Cut(frames);
}

void MessageReader::Cut(std::vector<Frame>& frames) {
  while (true) {
    if (in_body_) {
      if (buffer_.size() < body_length_) return;
      frames.push_back({buffer_.substr(0, body_length_), {}});
      buffer_.erase(0, body_length_);
      in_body_ = false;
      dropping_ = false;
      continue;
    }
    const std::size_t end = buffer_.find(kHeaderEnd);
    if (end == std::string::npos) {
      if (buffer_.size() <= kMaxHeader) return;
      if (!Resync(1, frames, "a header longer than 4 KiB")) return;
      continue;
    }
    const ParsedHeader header = ParseHeader(std::string_view(buffer_).substr(0, end));
    if (!header.ok) {
      if (!Resync(1, frames, "bytes that are no message header")) return;
      continue;
    }
    buffer_.erase(0, end + kHeaderEnd.size());
    if (header.length > kMaxBody) {
      frames.push_back({{}, "a message of " + std::to_string(header.length) +
                                " bytes, over the limit of 64 MiB, skipped"});
      dropping_ = false;
      skip_left_ = header.length;
      const std::size_t skipped = std::min(skip_left_, buffer_.size());
      skip_left_ -= skipped;
      buffer_.erase(0, skipped);
      continue;
    }
    in_body_ = true;
    body_length_ = header.length;
  }
}

bool MessageReader::Resync(std::size_t from, std::vector<Frame>& frames,
                           std::string reason) {
  if (!dropping_) frames.push_back({{}, std::move(reason)});
  dropping_ = true;
  const std::size_t next = buffer_.find(kLengthHeader, from);
  if (next != std::string::npos) {
    buffer_.erase(0, next);
    return true;
  }
  // Keep what may be the start of a header cut by the end of the bytes.
  buffer_.erase(0, buffer_.size() - std::min(buffer_.size(), kLengthHeader.size() - 1));
  return false;
}

}  // namespace quenvar::lsp
