// The captions of the battle window, where ground combat is told.
#pragma once

#include <string_view>

#include "frontend/frontend.h"

namespace velmora {

inline constexpr std::string_view kBattleCaption = "戦闘";
// Surface encounters rename the window for the rest of the game.
inline constexpr std::string_view kSurfaceBattleCaption = "水上戦闘";

// A new game: the window starts again under its first caption.
inline void ResetBattleWindow(Frontend& ui) { ui.SetBattleCaption(kBattleCaption); }

}  // namespace velmora
