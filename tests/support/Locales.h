#pragma once
// Real locales for tests, compiled with localedef into a private folder, so
// no test depends on the locales a machine happens to have generated.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

// The folder to use as LOCPATH once the locale Name (e.g. "it_IT.UTF-8",
// from the source Input and Charset) is built; empty when that fails.
inline std::string CompiledLocaleDir(const std::string& Input, const std::string& Charset,
                                     const std::string& Name) {
  const auto dir = std::filesystem::temp_directory_path() / "astrevo-locales";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const auto target = dir / Name;
  if (!std::filesystem::exists(target)) {
    // Test programs run in parallel: build aside, then move into place.
    const auto aside = dir / (Name + ".tmp" + std::to_string(getpid()));
    const std::string cmd =
        "localedef -i " + Input + " -f " + Charset + " " + aside.string() + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != -1) std::filesystem::rename(aside, target, ec);
    std::filesystem::remove_all(aside, ec);
  }
  return std::filesystem::exists(target) ? dir.string() : std::string();
}
