// The scenario's presentation for a turn: music, a caption sequence and a
// conversation from the event slot of the current turn.
#pragma once

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// Plays the event slot numbered Turn; a turn past the last slot plays nothing.
void RunTurnEvents(GameState&, Frontend&);

// Shows the conversation of slot EventIndex from TalkCursor on.
void RunConversation(GameState&, Frontend&);

}  // namespace velmora
