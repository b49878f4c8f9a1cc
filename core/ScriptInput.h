// Reading a script's bytes from the outside world within a fixed limit: a file
// (regular, or a named pipe or device read as a stream) or a stream such as
// standard input. Nothing larger than the limit is ever held in memory: a
// longer input is refused after reading one byte past the limit.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>

namespace lintaro {

// Largest script input: 5000 lines of 4999 characters with their line ends
// (CR LF), rounded up. Nothing longer can be a script the checker accepts.
inline constexpr std::size_t kMaxScriptBytes = 25'000'000;

enum class InputStatus {
  kRead,
  kUnreadable,  // missing, a folder, no permission, a read error
  kTooLarge,    // more than the limit
};

struct ScriptInput {
  InputStatus status = InputStatus::kUnreadable;
  std::string bytes;  // the whole input when kRead, empty otherwise
};

// Reads a file up to `limit` bytes.
ScriptInput readScriptInput(const std::string& path, std::size_t limit = kMaxScriptBytes);
// Reads a stream to its end, up to `limit` bytes.
ScriptInput readScriptStream(std::istream& in, std::size_t limit = kMaxScriptBytes);

// The French message for an input that could not be read: "Impossible d'ouvrir
// le fichier \"<name>\" !" when unreadable, a message naming the limit when too large.
std::string inputFailureMessage(InputStatus status, const std::string& name);

}  // namespace lintaro
