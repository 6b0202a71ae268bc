// The Burrower game's operations, as the shared code calls them through the kinds' table.
#pragma once

namespace kelvra {

class TKindOps;

TKindOps& BurrowerOps();

}  // namespace kelvra
