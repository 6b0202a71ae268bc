// The temporary file the file-reading fuzz targets get their input through.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace kelvra::fuzz {

inline std::string& InputFileName() {
  static std::string name;
  return name;
}

// Writes the input to a file made once per process, named "<temp><suffix>" and removed at
// exit; returns its name.
inline const std::string& WriteInput(const std::string& suffix, const uint8_t* data, size_t size) {
  std::string& name = InputFileName();
  if (name.empty()) {
    std::string pattern = "/tmp/kelvra-fuzz-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd >= 0) close(fd);
    name = pattern + suffix;
    std::rename(pattern.c_str(), name.c_str());
    std::atexit([] { std::remove(InputFileName().c_str()); });
  }
  if (FILE* f = std::fopen(name.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return name;
}

}  // namespace kelvra::fuzz
