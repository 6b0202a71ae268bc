// Loading and saving the largest Brickfall level set: 256 levels of 1536 walls (6.3 MB).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "brickfall/BrickLevel.h"
#include "common/Com.h"
#include "common/LevelSet.h"
#include "platform/Headless.h"

namespace {

using namespace kelvra;

struct BenchFile {
  std::string dir, file;
  BenchFile() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvra-bench-XXXXXX").string();
    dir = mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
    file = dir + "/Max.BrL";
  }
  ~BenchFile() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

void MakeMaximumSet() {
  ResetCom();
  gCom.kind = gkBrickfall;
  NewLevelSet(gCom.kind);
  gBrickLevels.resize(kMaxLevels);
  for (int l = 0; l < kMaxLevels; ++l) {
    TLevel& level = gBrickLevels[size_t(l)];
    NewBrickLevel(level);
    TWalls& walls = level.Walls();
    walls.resize(kMaxWalls);
    for (int i = 0; i < kMaxWalls; ++i)
      walls[size_t(i)] =
          TWall{(i % 32) * 16, (i / 32) * 8, 0, uint8_t(i % 6), uint8_t(i % kBonusKinds), {}};
  }
}

void BM_SaveMaximumBrickfallSet(benchmark::State& state) {
  HeadlessPlatform headless;
  SetPlatform(&headless);
  BenchFile f;
  MakeMaximumSet();
  for (auto _ : state) {
    if (!SaveLevelSet(gCom.kind, f.file)) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) *
                          int64_t(std::filesystem::file_size(f.file)));
  SetPlatform(nullptr);
}
BENCHMARK(BM_SaveMaximumBrickfallSet)->Unit(benchmark::kMillisecond);

void BM_LoadMaximumBrickfallSet(benchmark::State& state) {
  HeadlessPlatform headless;
  SetPlatform(&headless);
  BenchFile f;
  MakeMaximumSet();
  if (!SaveLevelSet(gCom.kind, f.file)) state.SkipWithError("save failed");
  for (auto _ : state) {
    if (!LoadLevelSet(gCom.kind, f.file)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(gBrickLevels.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) *
                          int64_t(std::filesystem::file_size(f.file)));
  SetPlatform(nullptr);
}
BENCHMARK(BM_LoadMaximumBrickfallSet)->Unit(benchmark::kMillisecond);

}  // namespace
