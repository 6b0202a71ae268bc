// The editing history every level carries (a list of states and a position in it), and
// the level-list operations the editor applies alike to the three kinds' level records.
// The records keep their position and length in fields of their own; these keep them
// equal to the list, so that play, saving and drawing find the state at the position.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

namespace kelvra {

// States kept per level. An edit beyond it drops the oldest state, so that a long session
// cannot take the memory a level could need: at 1024, a Brickfall level of 1536 walls
// keeps at most 24 MiB of history, a Monsters level 1.5 MiB, a Burrower level 276 KiB.
constexpr size_t kMaxHistoryStates = 1024;

template <class Level>
int HistoryPosition(const Level& level) {
  return int(level.historyIndex);
}

template <class Level>
int HistoryLength(const Level& level) {
  return int(level.history.size());
}

// Undo and redo steps available from the current position.
template <class Level>
int UndoSteps(const Level& level) {
  return HistoryPosition(level);
}
template <class Level>
int RedoSteps(const Level& level) {
  return HistoryLength(level) - HistoryPosition(level) - 1;
}

// Puts a copy of the current state after the position and moves there; the states that
// could be redone are dropped first, the oldest ones when the list is full.
template <class Level>
void PushHistoryState(Level& level) {
  auto& h = level.history;
  size_t pos = size_t(level.historyIndex);
  h.resize(pos + 1);
  h.push_back(h[pos]);
  ++pos;
  if (h.size() > kMaxHistoryStates) {
    const size_t drop = h.size() - kMaxHistoryStates;
    h.erase(h.begin(), h.begin() + std::ptrdiff_t(drop));
    pos -= drop;
  }
  level.historyIndex = decltype(level.historyIndex)(pos);
  level.historyLength = decltype(level.historyLength)(h.size());
}

// Moves the position by `delta` (-1 undo, +1 redo) when a state is there.
template <class Level>
bool MoveHistory(Level& level, int delta) {
  const int to = HistoryPosition(level) + delta;
  if (to < 0 || to >= HistoryLength(level)) return false;
  level.historyIndex = decltype(level.historyIndex)(to);
  return true;
}

// A record whose position or length is out of step with its list (hand-made, or from an
// older tool) is brought into step before the editor relies on them.
template <class Level>
void NormaliseHistory(Level& level) {
  if (level.history.empty()) level.history.resize(1);
  const int last = int(level.history.size()) - 1;
  level.historyIndex = decltype(level.historyIndex)(std::clamp(HistoryPosition(level), 0, last));
  level.historyLength = decltype(level.historyLength)(level.history.size());
}

// Inserts `level` after index `current` (or first, in an empty list) and returns its index.
template <class Level>
int InsertLevelAfter(std::vector<Level>& levels, int current, const Level& level) {
  const int at = levels.empty() ? 0 : std::clamp(current + 1, 0, int(levels.size()));
  levels.insert(levels.begin() + at, level);
  return at;
}

template <class Level>
void EraseLevel(std::vector<Level>& levels, int index) {
  if (index >= 0 && index < int(levels.size())) levels.erase(levels.begin() + index);
}

}  // namespace kelvra
