// Burrower's apples: friction and gravity, wobbling over a dug square, breaking through the
// earth line below, falling and crushing, and sliding when pushed.
#pragma once

namespace kelvra {

// Every live apple's move of one step.
void StepApples();

}  // namespace kelvra
