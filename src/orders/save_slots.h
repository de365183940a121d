// The save slots as the menus show them, and loading a slot whose scenario
// is not the one set up (or before any set-up, from the title screen).
#pragma once

#include <filesystem>
#include <string>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

// "セーブ2 — 5ターン 5時 払暁 — Strait — 2026-12-11 16:40", or what the slot
// holds instead ("（空き）", "（セーブファイルではありません）").
std::string SlotLabel(const std::filesystem::path& dir, int slot);

// Loads the slot. When the save names a scenario other than the one set up,
// or no game is set up, that scenario is set up first (quietly: its start
// events are the save's past). A scenario that cannot be set up is named in
// an "エラー" message and nothing changes.
bool LoadSlotWithScenario(GameState& state, Frontend& ui, const std::filesystem::path& dir,
                          int slot);

}  // namespace velmora
