// The base protocol of the Language Server Protocol: messages framed by a
// header block ("Content-Length: N", optionally other headers, each line ended
// by CR LF, then an empty line) followed by N bytes of JSON.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

namespace lintaro::lsp {

// Largest message body read; a larger one is skipped unread.
inline constexpr std::size_t kMaxBodyBytes = std::size_t{64} << 20;
// Longest part of a header line that is kept (its end: a header glued to the
// end of a stray body is still found).
inline constexpr std::size_t kMaxHeaderLine = 1024;

enum class FrameStatus {
  kMessage,          // a body was read
  kEnd,              // the input ended (possibly in the middle of a frame)
  kMalformedHeader,  // a header block without a usable Content-Length
  kTooLarge,         // the body was larger than kMaxBodyBytes and was skipped
};

struct Frame {
  FrameStatus status = FrameStatus::kEnd;
  std::string body;
  // Bytes that were no header stood before the Content-Length of this frame.
  bool junkBefore = false;
};

// Reads the next frame. Memory use is bounded by the body actually received
// (at most kMaxBodyBytes), never by the length a header claims.
Frame readFrame(std::istream& in);

// Writes one message and flushes.
void writeFrame(std::ostream& out, std::string_view body);

}  // namespace lintaro::lsp
