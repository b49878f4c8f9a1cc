#include "lsp/Framing.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace lintaro::lsp {

namespace {

constexpr std::string_view kContentLength = "content-length:";
constexpr std::size_t kChunk = 64 * 1024;

char lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// One header line without its line end; false at the end of the input.
// Only the last kMaxHeaderLine bytes of a longer line are kept, and then
// `cut` is set.
bool readHeaderLine(std::istream& in, std::string& line, bool& cut) {
  line.clear();
  cut = false;
  std::streambuf* buffer = in.rdbuf();
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(std::ios::eofbit);
      return false;
    }
    if (c == '\n') break;
    line.push_back(static_cast<char>(c));
    if (line.size() >= 2 * kMaxHeaderLine) {
      line.erase(0, line.size() - kMaxHeaderLine);
      cut = true;
    }
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

// The value of a Content-Length header: decimal digits only, at most 18.
std::optional<std::uint64_t> lengthValue(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
    text.remove_suffix(1);
  if (text.empty() || text.size() > 18) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

// Reads `length` bytes as they come, appending them to `body` when given;
// false when the input ends first.
bool consumeBytes(std::istream& in, std::uint64_t length, std::string* body) {
  std::array<char, kChunk> chunk{};
  while (length > 0) {
    const auto want = static_cast<std::streamsize>(std::min<std::uint64_t>(length, kChunk));
    in.read(chunk.data(), want);
    const std::streamsize got = in.gcount();
    if (got <= 0) return false;
    if (body != nullptr) body->append(chunk.data(), static_cast<std::size_t>(got));
    length -= static_cast<std::uint64_t>(got);
  }
  return true;
}

// Reads `length` bytes into `body` as they come; false when the input ends
// first.
bool readBody(std::istream& in, std::uint64_t length, std::string& body) {
  body.clear();
  body.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(length, kChunk)));
  return consumeBytes(in, length, &body);
}

bool skipBytes(std::istream& in, std::uint64_t length) {
  return consumeBytes(in, length, nullptr);
}

}  // namespace

Frame readFrame(std::istream& in) {
  Frame frame;
  std::string line;
  std::string folded;
  for (;;) {
    bool anyLine = false;
    bool junk = false;
    bool lengthSeen = false;
    std::optional<std::uint64_t> length;
    for (;;) {
      bool cut = false;
      if (!readHeaderLine(in, line, cut)) {
        frame.status = FrameStatus::kEnd;
        return frame;
      }
      if (line.empty() && !cut) break;
      anyLine = true;
      folded.resize(line.size());
      std::transform(line.begin(), line.end(), folded.begin(), lower);
      const std::size_t at = folded.rfind(kContentLength);
      if (at != std::string::npos) {
        if (at > 0 || cut) junk = true;
        lengthSeen = true;
        length = lengthValue(std::string_view(line).substr(at + kContentLength.size()));
      } else if (cut || line.find(':') == std::string::npos) {
        junk = true;
      }
    }
    if (!anyLine) continue;  // a stray empty line between frames
    frame.junkBefore = junk;
    if (!lengthSeen || !length) {
      frame.status = FrameStatus::kMalformedHeader;
      return frame;
    }
    if (*length > kMaxBodyBytes) {
      frame.status = skipBytes(in, *length) ? FrameStatus::kTooLarge : FrameStatus::kEnd;
      return frame;
    }
    frame.status = readBody(in, *length, frame.body) ? FrameStatus::kMessage : FrameStatus::kEnd;
    return frame;
  }
}

void writeFrame(std::ostream& out, std::string_view body) {
  out << "Content-Length: " << body.size() << "\r\n\r\n";
  out.write(body.data(), static_cast<std::streamsize>(body.size()));
  out.flush();
}

}  // namespace lintaro::lsp
