#include "game/dialog_state.h"

DialogState dialogState;
