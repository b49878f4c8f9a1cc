// The user's settings, shared by the window and the console program, and
// their file "Scrivlex3.dat": five signed 32-bit little-endian integers.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace lintaro {

inline constexpr const char* kSettingsFileName = "Scrivlex3.dat";
inline constexpr std::size_t kSettingsFileSize = 20;

struct Settings {
  std::int32_t showReport = 1;  // open the report after a check
  std::int32_t showInfo = 1;    // lists of used names in the report
  std::int32_t hideAlerts = 0;  // leave the alerts out of the report
  std::int32_t tribunal = 0;    // the mod may use Tribunal's commands
  std::int32_t bloodmoon = 0;   // the mod may use Bloodmoon's commands

  bool operator==(const Settings&) const = default;
};

// The settings of a file; the defaults when it is missing or shorter than 20
// bytes.
Settings loadSettings(const std::string& path = kSettingsFileName);
// Writes the 20 bytes; false when the file cannot be written.
bool saveSettings(const Settings& settings, const std::string& path = kSettingsFileName);

}  // namespace lintaro
