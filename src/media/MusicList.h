// The music list: the pieces of the music folder that the games play in turn.
#pragma once

#include <string>
#include <vector>

namespace kelvra {

// Every ".mid" file of `folder`, then every ".rmi" file, each group in name order
// (extensions compared without regard to case).
std::vector<std::string> BuildMusicList(const std::string& folder);

}  // namespace kelvra
