// The music list.
#include "media/MusicList.h"

#include <algorithm>
#include <filesystem>

#include "base/Paths.h"

namespace kelvra {

std::vector<std::string> BuildMusicList(const std::string& folder) {
  std::vector<std::string> mid, rmi;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    std::string path = entry.path().string();
    std::string ext = ExtractFileExt(path);
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (ext == "mid") mid.push_back(path);
    if (ext == "rmi") rmi.push_back(path);
  }
  std::sort(mid.begin(), mid.end());
  std::sort(rmi.begin(), rmi.end());
  mid.insert(mid.end(), rmi.begin(), rmi.end());
  return mid;
}

}  // namespace kelvra
