#include "shell/Settings.h"

#include <cstdio>

#include "core/Files.h"

namespace lintaro {

namespace {

std::int32_t readInt32(const unsigned char* bytes) {
  const std::uint32_t v =
      static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
      (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return static_cast<std::int32_t>(v);
}

void writeInt32(unsigned char* bytes, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

Settings loadSettings(const std::string& path) {
  std::FILE* file = openFile(path, "rb");
  if (file == nullptr) return {};
  std::array<unsigned char, kSettingsFileSize> bytes{};
  const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  if (got < bytes.size()) return {};
  Settings s;
  s.showReport = readInt32(&bytes[0]);
  s.showInfo = readInt32(&bytes[4]);
  s.hideAlerts = readInt32(&bytes[8]);
  s.tribunal = readInt32(&bytes[12]);
  s.bloodmoon = readInt32(&bytes[16]);
  return s;
}

bool saveSettings(const Settings& settings, const std::string& path) {
  std::array<unsigned char, kSettingsFileSize> bytes{};
  writeInt32(&bytes[0], settings.showReport);
  writeInt32(&bytes[4], settings.showInfo);
  writeInt32(&bytes[8], settings.hideAlerts);
  writeInt32(&bytes[12], settings.tribunal);
  writeInt32(&bytes[16], settings.bloodmoon);
  std::FILE* file = openFile(path, "wb");
  if (file == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  ok = std::fclose(file) == 0 && ok;
  return ok;
}

}  // namespace lintaro
