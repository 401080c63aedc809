// The frames of a language-server stream: "Content-Length: N" and other
// headers, a blank line, then N bytes of JSON.

#ifndef QUENVARSPELL_LSP_MESSAGE_READER_H_
#define QUENVARSPELL_LSP_MESSAGE_READER_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quenvar::lsp {

// One frame of the stream: a message body, or why bytes were dropped.
struct Frame {
  std::string body;
  std::string error;  // empty for a body
};

// Cuts the bytes a client sends into frames. A body longer than kMaxBody is
// skipped unread and reported; bytes that are no header (a wrong
// Content-Length, a missing one, garbage) are dropped up to the next
// "Content-Length:" and reported once. Memory stays within kMaxBody and a
// little more.
class MessageReader {
 public:
  static constexpr std::size_t kMaxBody = std::size_t{64} << 20;

  // Takes the next bytes of the stream and appends the frames they
  // complete to frames, in order.
  void Feed(std::string_view bytes, std::vector<Frame>& frames);

 private:
  // Reads frames from buffer_ until it holds no complete one.
  void Cut(std::vector<Frame>& frames);
  // Drops buffer_ up to the next "Content-Length:" at or after from, and
  // reports the first drop of a run. False when none is there yet.
  bool Resync(std::size_t from, std::vector<Frame>& frames, std::string reason);

  std::string buffer_;
  std::size_t body_length_ = 0;   // of the body being read, after its header
  bool in_body_ = false;
  std::size_t skip_left_ = 0;     // of a body too long to keep
  bool dropping_ = false;         // reported bytes being dropped
};

}  // namespace quenvar::lsp

#endif  // QUENVARSPELL_LSP_MESSAGE_READER_H_
