// The Monsters game's operations, as the shared code calls them through the kinds' table.
#pragma once

namespace kelvra {

class TKindOps;

TKindOps& MonstersOps();

}  // namespace kelvra
