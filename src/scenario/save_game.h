// Save slots: the game state as record images, its texts, the weather and
// the generator, signed, versioned and checksummed (docs/save-format.md).
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frontend/frontend.h"
#include "model/game_state.h"

namespace velmora {

inline constexpr int kSaveSlots = 5;
// The slot the game writes at every turn end ("オートセーブ").
inline constexpr int kAutoSaveSlot = 0;
inline constexpr std::uint32_t kSaveFormatVersion = 2;

// $XDG_DATA_HOME/velmora, else ~/.local/share/velmora.
std::filesystem::path DefaultSaveDirectory();

// dir/"Save1.dat" .. dir/"Save5.dat", dir/"AutoSave.dat" for slot 0: saving
// and loading use the same name.
std::filesystem::path SlotPath(const std::filesystem::path& dir, int slot);

// What a slot holds, for the menus and for loading before any set-up.
struct SlotSummary {
    enum class Kind { kEmpty, kNotASave, kSave };
    Kind What = Kind::kEmpty;
    int Turn = 0;
    int Hour = 0;
    std::string ScenarioFile;
    std::filesystem::file_time_type Written{};
};
SlotSummary DescribeSlot(const std::filesystem::path& dir, int slot);

// The file's bytes for a state.
std::vector<std::uint8_t> EncodeSave(const GameState& state);

// Applies a file's bytes onto a copy of base (the scenario tables the file
// does not hold come from base); nothing when the bytes are not a save.
std::unique_ptr<GameState> DecodeSave(const std::vector<std::uint8_t>& bytes,
                                      const GameState& base);

// Writes slot 1..5 through a temporary file renamed over the slot. On failure
// shows "エラー" with the file and the reason, keeps the old slot, returns false.
bool SaveGame(const GameState& state, Frontend& frontend, const std::filesystem::path& dir,
              int slot);

// Reads slot 0..5. A slot with no file says so; a file that is not a whole
// save of this version is refused with "エラー". Either way the state is left
// untouched.
bool LoadGame(GameState& state, Frontend& frontend, const std::filesystem::path& dir, int slot);
// The same, with the scenario tables the file does not hold taken from base.
bool LoadGameOnto(GameState& state, const GameState& base, Frontend& frontend,
                  const std::filesystem::path& dir, int slot);

// The message for slot 1..5 ("セーブ3") or the autosave, when it holds no file.
std::string EmptySlotMessage(int slot);
// "セーブ3" or "オートセーブ".
std::string SlotName(int slot);

}  // namespace velmora
