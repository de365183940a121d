#include "orders/orders_script.h"

#include <charconv>
#include <fstream>
#include <ostream>
#include <sstream>

#include "chart/geometry.h"
#include "orders/orders.h"

namespace velmora {
namespace {

constexpr std::size_t kMaxScriptBytes = 4 * 1024 * 1024;

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), last, value);
    if (text.empty() || ec != std::errc() || ptr != last) return std::nullopt;
    return value;
}

int Arg(const ScriptOrder& order, std::size_t i, int fallback = 0) {
    if (i >= order.Args.size()) return fallback;
    return ParseInt(order.Args[i]).value_or(fallback);
}

// Every argument is a whole number.
std::optional<std::string> Numbers(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (!ParseInt(a)) return "'" + a + "' is not a whole number";
    }
    return std::nullopt;
}

// The first argument is a strike group 1..4; the rest are whole numbers.
std::optional<std::string> GroupAndNumbers(const std::vector<std::string>& args) {
    if (auto bad = Numbers(args)) return bad;
    const int g = ParseInt(args.front()).value_or(0);
    if (g < 1 || g > 4) return "strike group " + args.front() + " is not 1..4";
    return std::nullopt;
}

std::optional<int> LoadKind(std::string_view word) {
    if (word == "ship" || word == "対艦" || word == "対艦兵装") return 0;
    if (word == "ground" || word == "対地" || word == "対地兵装") return 1;
    return std::nullopt;
}

std::optional<std::string> GroupAndLoad(const std::vector<std::string>& args) {
    if (auto bad = GroupAndNumbers({args.front()})) return bad;
    if (!LoadKind(args[1])) return "weapon load '" + args[1] + "' is not ship or ground";
    return std::nullopt;
}

std::optional<std::string> Anything(const std::vector<std::string>&) { return std::nullopt; }

OrderRefusal Refused(std::string why) { return OrderRefusal(std::move(why)); }

// The answers an "answer" line gave go first; `fallback` fills in the
// regroup or target question when the script said nothing.
void QueueAnswers(ScriptContext& c, std::vector<std::string> then,
                  std::optional<std::string> fallback = std::nullopt) {
    if (c.Answers.empty() && fallback) c.Ui.Answer(*fallback);
    for (const std::string& a : c.Answers) c.Ui.Answer(a);
    for (std::string& a : then) c.Ui.Answer(std::move(a));
}

OrderRefusal NeedsFleet(const ScriptContext& c) {
    if (SelectedFleetRecord(c.State) == nullptr) return Refused("no fleet is selected");
    return std::nullopt;
}

OrderRefusal NeedsNoWindow(const ScriptContext& c) {
    if (c.Formation || c.Launch) return Refused("the strike-group window is open");
    return std::nullopt;
}

MapClickResult Click(ScriptContext& c, MouseButton button, Point at) {
    return MapClick(c.State, c.Ui, c.Overlay, button, at);
}

OrderRefusal ToggleSectorAt(ScriptContext& c, Point at) {
    if (auto r = NeedsFleet(c)) return r;
    const auto before = SelectedFleetRecord(c.State)->SearchSectors;
    OrderSearchSectors(c.State, c.Overlay);
    Click(c, MouseButton::kLeft, at);
    const bool changed = SelectedFleetRecord(c.State)->SearchSectors != before;
    Click(c, MouseButton::kRight, at);  // leaves the sector mode
    if (!changed) return Refused("the point lies in no sector within the search radius");
    return std::nullopt;
}

// A point in the middle of sector s, halfway out to the search radius.
Point SectorMiddle(const GameState& state, int s) {
    const TFleet& f = *SelectedFleetRecord(state);
    const int radius = AircraftRange(state, f.ScoutType);
    return PolarOffset(f.Position.X, f.Position.Y, 22.5 + 45.0 * s, radius / 2.0);
}

OrderRefusal EditBox(ScriptContext& c, const ScriptOrder& o, FormationBox box, int g,
                     std::size_t value_arg) {
    if (!c.Formation) return Refused("the formation window is not open");
    const bool group_box = box == FormationBox::kFighters || box == FormationBox::kAttackers;
    if (group_box && c.Formation->InTheAir(g)) {
        return Refused("strike group " + std::to_string(g + 1) + " is in the air");
    }
    std::optional<std::string> regroup;
    if (group_box && c.Formation->AsksRegroup(g)) regroup = "yes";
    QueueAnswers(c, {o.Args[value_arg]}, regroup);
    if (!c.Formation->EditCount(c.Ui, box, g)) return Refused("the window kept the old value");
    return std::nullopt;
}

const std::vector<OrderVerb> kVerbs{
    {"select", "select FLEET", 1, 1, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (!SelectFleet(c.State, c.Ui, Arg(o, 0))) return Refused("fleet is not in play");
         return std::nullopt;
     }},
    {"move", "move X Y", 2, 2, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (auto r = NeedsFleet(c)) return r;
         const int before = SelectedFleetRecord(c.State)->RouteLength;
         OrderMove(c.State, c.Ui, c.Overlay);
         Click(c, MouseButton::kLeft, {Arg(o, 0), Arg(o, 1)});
         if (SelectedFleetRecord(c.State)->RouteLength == before)
             return Refused("the fleet has ten waypoints already");
         return std::nullopt;
     }},
    {"unmove", "unmove", 0, 0, Numbers,
     [](ScriptContext& c, const ScriptOrder&) -> OrderRefusal {
         if (auto r = NeedsFleet(c)) return r;
         const int before = SelectedFleetRecord(c.State)->RouteLength;
         OrderMove(c.State, c.Ui, c.Overlay);
         Click(c, MouseButton::kRight, SelectedFleetRecord(c.State)->Position);
         if (SelectedFleetRecord(c.State)->RouteLength == before)
             return Refused("the fleet has no waypoint");
         return std::nullopt;
     }},
    {"search", "search X Y", 2, 2, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) { return ToggleSectorAt(c, {Arg(o, 0), Arg(o, 1)}); }},
    {"sector", "sector N", 1, 1,
     [](const std::vector<std::string>& a) -> std::optional<std::string> {
         if (auto bad = Numbers(a)) return bad;
         const int s = ParseInt(a[0]).value_or(-1);
         if (s < 0 || s > 7) return "sector " + a[0] + " is not 0..7";
         return std::nullopt;
     },
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (auto r = NeedsFleet(c)) return r;
         return ToggleSectorAt(c, SectorMiddle(c.State, Arg(o, 0)));
     }},
    {"distance", "distance RADIUS", 1, 1, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (auto r = NeedsFleet(c)) return r;
         QueueAnswers(c, {o.Args[0]});
         if (!OrderDistance(c.State, c.Ui, c.Overlay)) return Refused("no circle was drawn");
         return std::nullopt;
     }},
    {"weather", "weather", 0, 0, Numbers,
     [](ScriptContext& c, const ScriptOrder&) -> OrderRefusal {
         OrderWeather(c.State, c.Overlay);
         return std::nullopt;
     }},
    {"inspect", "inspect X Y [ENTRY]", 2, 3, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (InspectionList(c.State, {Arg(o, 0) - 8, Arg(o, 1) - 8}).empty())
             return Refused("no known enemy fleet there");
         QueueAnswers(c, {o.Args.size() > 2 ? o.Args[2] : "0"});
         c.State.MapMode = kMapModeNormal;
         Click(c, MouseButton::kLeft, {Arg(o, 0), Arg(o, 1)});
         return std::nullopt;
     }},
    {"formation", "formation", 0, 0, Numbers,
     [](ScriptContext& c, const ScriptOrder&) -> OrderRefusal {
         if (auto r = NeedsFleet(c)) return r;
         if (auto r = NeedsNoWindow(c)) return r;
         c.Formation.emplace(c.State, c.State.SelectedFleet);
         return std::nullopt;
     }},
    {"fighters", "fighters GROUP COUNT", 2, 2, GroupAndNumbers,
     [](ScriptContext& c, const ScriptOrder& o) {
         return EditBox(c, o, FormationBox::kFighters, Arg(o, 0) - 1, 1);
     }},
    {"attackers", "attackers GROUP COUNT", 2, 2, GroupAndNumbers,
     [](ScriptContext& c, const ScriptOrder& o) {
         return EditBox(c, o, FormationBox::kAttackers, Arg(o, 0) - 1, 1);
     }},
    {"patrol", "patrol COUNT", 1, 1, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) { return EditBox(c, o, FormationBox::kPatrol, 0, 0); }},
    {"scouts", "scouts COUNT", 1, 1, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) { return EditBox(c, o, FormationBox::kSearch, 0, 0); }},
    {"load", "load GROUP ship|ground", 2, 2, GroupAndLoad,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (!c.Formation) return Refused("the formation window is not open");
         const int g = Arg(o, 0) - 1;
         QueueAnswers(c, {}, std::string("yes"));
         if (!c.Formation->ChangeLoad(c.Ui, g, *LoadKind(o.Args[1])))
             return Refused("the weapon load stays as it was");
         return std::nullopt;
     }},
    {"decide", "decide", 0, 0, Numbers,
     [](ScriptContext& c, const ScriptOrder&) -> OrderRefusal {
         if (c.Formation) {
             if (!c.Formation->Decide())
                 return Refused("the formation does not fit the pools or the deck; the window stays open");
             c.Formation.reset();
             return std::nullopt;
         }
         if (c.Launch) {
             c.Launch->Close();
             c.Launch.reset();
             return std::nullopt;
         }
         return Refused("the strike-group window is not open");
     }},
    {"launch", "launch", 0, 0, Numbers,
     [](ScriptContext& c, const ScriptOrder&) -> OrderRefusal {
         if (auto r = NeedsFleet(c)) return r;
         if (auto r = NeedsNoWindow(c)) return r;
         c.Launch.emplace(c.State, c.State.SelectedFleet);
         return std::nullopt;
     }},
    {"attack", "attack GROUP", 1, 1, GroupAndNumbers,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (!c.Launch) return Refused("the launch window is not open");
         const int g = Arg(o, 0) - 1;
         if (!c.Launch->CanSelect(g))
             return Refused("strike group " + o.Args[0] +
                            " cannot take off now (not ready, empty, or not between 5 and 19 o'clock)");
         QueueAnswers(c, {});
         if (!c.Launch->SelectGroup(c.Ui, g)) return Refused("the target question was cancelled");
         return std::nullopt;
     }},
    {"target", "target X Y [ENTRY]", 2, 3, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (!c.Launch) return Refused("the launch window is not open");
         if (c.Launch->LastSelected() < 0) return Refused("no strike group is selected");
         QueueAnswers(c, {o.Args.size() > 2 ? o.Args[2] : "0"});
         const MapClickResult click = Click(c, MouseButton::kLeft, {Arg(o, 0), Arg(o, 1)});
         if (!click.TargetPoint) return Refused("the map is not waiting for a target");
         const std::optional<int> target = c.Launch->ChooseStrikeTarget(c.Ui, *click.TargetPoint);
         if (!target) return Refused("no known enemy fleet in range there");
         c.Launch->Launch(c.Ui, *target);
         c.Launch.reset();
         return std::nullopt;
     }},
    {"answer", "answer WORD", 1, 1, Anything,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         c.Answers.push_back(o.Args[0]);
         return std::nullopt;
     }},
    {"save", "save SLOT", 1, 1, Numbers,
     [](ScriptContext& c, const ScriptOrder& o) -> OrderRefusal {
         if (!OrderSave(c.State, c.Ui, c.SaveDir, Arg(o, 0))) return Refused("the game was not saved");
         return std::nullopt;
     }},
};

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(first, last - first + 1));
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

}  // namespace

const std::vector<OrderVerb>& OrderVerbs() { return kVerbs; }

const OrderVerb* FindOrderVerb(std::string_view name) {
    for (const OrderVerb& v : kVerbs) {
        if (v.Name == name) return &v;
    }
    return nullptr;
}

std::optional<OrdersScript> ParseOrdersScript(std::string_view text, const std::string& file,
                                              std::string& error) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    OrdersScript script;
    script.File = file;
    std::optional<int> turn;
    int line_number = 0;
    auto fail = [&](const std::string& message) {
        error = file + ":" + std::to_string(line_number) + ": error: " + message;
        return std::nullopt;
    };
    while (!text.empty()) {
        ++line_number;
        const std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (const std::size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
        const std::vector<std::string> words = Words(Trim(line));
        if (words.empty()) continue;
        if (words[0] == "turn") {
            const std::optional<int> n = words.size() == 2 ? ParseInt(words[1]) : std::nullopt;
            if (!n || *n < 1) return fail("usage: turn NUMBER (1 or more)");
            if (turn && *n < *turn) return fail("turn " + words[1] + " comes after turn " + std::to_string(*turn));
            turn = n;
            script.Turns[*n];
            continue;
        }
        const OrderVerb* verb = FindOrderVerb(words[0]);
        if (verb == nullptr) return fail("unknown order '" + words[0] + "'");
        if (!turn) return fail("'" + words[0] + "' comes before the first turn line");
        std::vector<std::string> args(words.begin() + 1, words.end());
        const int count = static_cast<int>(args.size());
        if (count < verb->MinArgs || count > verb->MaxArgs)
            return fail("usage: " + std::string(verb->Usage));
        if (auto bad = verb->Check(args)) return fail(*bad);
        script.Turns[*turn].push_back({line_number, words[0], std::move(args)});
    }
    return script;
}

std::optional<OrdersScript> ReadOrdersScript(const std::filesystem::path& path, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = path.string() + ": error: not a readable file";
        return std::nullopt;
    }
    if (std::filesystem::file_size(path, ec) > kMaxScriptBytes) {
        error = path.string() + ": error: larger than 4 MiB";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof()) {
        error = path.string() + ": error: cannot be read";
        return std::nullopt;
    }
    return ParseOrdersScript(text.str(), path.string(), error);
}

OrdersPlayer::OrdersPlayer(OrdersScript script, GameState& state, RecordingFrontend& ui,
                           std::filesystem::path save_dir, std::ostream& warnings)
    : script_(std::move(script)), context_{state, ui, std::move(save_dir), {}, {}, {}, {}},
      warnings_(warnings) {}

void OrdersPlayer::Warn(int line, const std::string& text) {
    warnings_ << script_.File << ":" << line << ": warning: " << text << "\n";
}

void OrdersPlayer::PlayTurn() {
    const auto found = script_.Turns.find(context_.State.Turn);
    if (found == script_.Turns.end()) return;
    int window_line = 0;
    for (const ScriptOrder& order : found->second) {
        const OrderVerb* verb = FindOrderVerb(order.Verb);
        if (verb == nullptr) continue;
        if (order.Verb == "formation" || order.Verb == "launch") window_line = order.Line;
        const OrderRefusal refusal = verb->Run(context_, order);
        if (refusal) Warn(order.Line, order.Verb + ": " + *refusal + "; skipped");
        if (order.Verb != "answer") {
            context_.Answers.clear();
            context_.Ui.ClearAnswers();
        }
    }
    // The turn cannot end with the formation window open: it closes unchanged.
    if (context_.Formation || context_.Launch) {
        Warn(window_line, "the strike-group window was still open at the end of the turn; closed without changes");
        if (context_.Launch) context_.Launch->Close();
        context_.Formation.reset();
        context_.Launch.reset();
    }
}

}  // namespace velmora
