// The dispatch to the games: puts each game's operations into the kinds' table, so that
// the shared code below reaches every game without naming one.
#pragma once

namespace kelvra {

// Installs Brickfall, Monsters and Burrower into the kinds' table. The main control, the
// headless game and every tool or test that loads levels call it first; again is harmless.
void InstallGames();

}  // namespace kelvra
