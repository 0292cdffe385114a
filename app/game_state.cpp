#include "app/game_state.h"

#include <cstring>
#include <new>

GameState gameState;

void resetGameState() {
  gameState.~GameState();
  new (&gameState) GameState();
}
