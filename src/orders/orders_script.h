// Orders scripts: a plain-text list of the player's orders, grouped by turn,
// that a headless game gives through the same orders API as the windows.
//
//   # comment
//   turn 1
//   select 0
//   formation
//   attackers 1 12
//   decide
//
// Reading checks every line before anything is played; a line the rules
// refuse when its turn comes is reported as a warning and skipped.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frontend/recording_frontend.h"
#include "model/game_state.h"
#include "orders/formation_session.h"
#include "orders/map_composition.h"

namespace velmora {

struct ScriptOrder {
    int Line = 0;
    std::string Verb;
    std::vector<std::string> Args;
};

struct OrdersScript {
    std::string File;
    // Orders by the turn they are given in, in file order.
    std::map<int, std::vector<ScriptOrder>> Turns;
};

// What the orders of a script work on while it plays.
struct ScriptContext {
    GameState& State;
    RecordingFrontend& Ui;
    std::filesystem::path SaveDir;
    MapOverlay Overlay;
    std::optional<FormationSession> Formation;
    std::optional<LaunchSession> Launch;
    // Answers given by "answer" lines for the next order's questions.
    std::vector<std::string> Answers;
};

// Why an order did not take effect, or nothing when it did.
using OrderRefusal = std::optional<std::string>;

// One verb of the script: its words, how many arguments it takes, which of
// them must be whole numbers, and what it does. Add a row to extend.
struct OrderVerb {
    std::string_view Name;
    std::string_view Usage;  // "fighters GROUP COUNT"
    int MinArgs = 0;
    int MaxArgs = 0;
    // Checks the arguments while reading; returns a message when they are bad.
    std::function<std::optional<std::string>(const std::vector<std::string>&)> Check;
    std::function<OrderRefusal(ScriptContext&, const ScriptOrder&)> Run;
};

const std::vector<OrderVerb>& OrderVerbs();
const OrderVerb* FindOrderVerb(std::string_view name);

// Reads a script; on a bad line returns nothing and sets `error` to
// "FILE:LINE: error: ...".
std::optional<OrdersScript> ParseOrdersScript(std::string_view text, const std::string& file,
                                              std::string& error);
std::optional<OrdersScript> ReadOrdersScript(const std::filesystem::path& path,
                                             std::string& error);

// Plays a script turn by turn against one game.
class OrdersPlayer {
public:
    OrdersPlayer(OrdersScript script, GameState& state, RecordingFrontend& ui,
                 std::filesystem::path save_dir, std::ostream& warnings);
    // Gives the orders of the game's current turn, if the script has any.
    void PlayTurn();

private:
    void Warn(int line, const std::string& text);

    OrdersScript script_;
    ScriptContext context_;
    std::ostream& warnings_;
};

}  // namespace velmora
