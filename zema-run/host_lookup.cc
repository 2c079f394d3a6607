#include "zema-run/host_lookup.h"

#include <unistd.h>

#include <filesystem>

std::vector<std::string> hostCandidates(const std::string& self, int elfClass) {
  std::string dir = std::filesystem::path(self).parent_path().string();
  if (elfClass == 1) {
    return {
        dir + "/../lib/zema/i386/zema-host",  // installed: <prefix>/bin/zema-run
        dir + "/../../i386/zema-host",        // build tree: build/x64/zema-run/zema-run
        std::string(ZEMA_INSTALL_PREFIX) + "/lib/zema/i386/zema-host",
    };
  }
  return {
      dir + "/zema-host",     // installed side by side
      dir + "/../zema-host",  // build tree
      std::string(ZEMA_INSTALL_PREFIX) + "/bin/zema-host",
  };
}

std::string findHost(const std::string& self, int elfClass) {
  for (const std::string& candidate : hostCandidates(self, elfClass)) {
    std::error_code ec;
    if (access(candidate.c_str(), X_OK) == 0 && std::filesystem::is_regular_file(candidate, ec))
      return std::filesystem::weakly_canonical(candidate, ec).string();
  }
  return "";
}

std::string selfPath() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}
