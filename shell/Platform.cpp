#include "shell/Platform.h"

namespace lintaro {

std::string configFolder(const EnvironmentReader& variable, bool windows) {
  const auto set = [](const char* value) { return value != nullptr && value[0] != '\0'; };
  if (windows) {
    const char* appData = variable("APPDATA");
    return set(appData) ? std::string(appData) + "\\Lintaro" : std::string();
  }
  const char* config = variable("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/lintaro";
  const char* home = variable("HOME");
  if (set(home)) return std::string(home) + "/.config/lintaro";
  return {};
}

bool SystemPlatform::openDocument(const std::string& target) {
  return openWithDefaultProgram(target);
}
std::string SystemPlatform::currentDirectory() {
  return lintaro::currentDirectory();
}
std::string SystemPlatform::programDirectory() {
  return lintaro::programDirectory();
}
std::string SystemPlatform::configDirectory() {
  return userConfigDirectory();
}
bool SystemPlatform::startConsole(const std::string& program) {
  return startInTerminal(program);
}

}  // namespace lintaro
