#include "game/GameState.h"

TGameState GameState;

void ResetGameState() {
  GameState = TGameState{};
}
