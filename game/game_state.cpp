#include "game/game_state.h"

GameState gameState;
AimInput aimInput;
