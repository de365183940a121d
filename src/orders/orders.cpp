#include "orders/orders.h"

#include <algorithm>
#include <charconv>

#include "chart/geometry.h"
#include "orders/save_slots.h"
#include "scenario/save_game.h"
#include "turn/turn_sequence.h"

namespace velmora {
namespace {

constexpr std::string_view kTargetListCaption = "目標";
constexpr std::string_view kDistanceCaption = "距離表示";
constexpr std::string_view kDistancePrompt = "距離を入力してください。";

bool IsComputerMarkerInSight(const GameState& state, const TFleet& marker) {
    return marker.Side != state.PlayerSide && marker.Active != 0 && marker.DetectLevel > 0;
}

bool Listed(const std::vector<InspectEntry>& list, int index) {
    return std::any_of(list.begin(), list.end(),
                       [index](const InspectEntry& e) { return e.Index == index; });
}

bool NearAndTracking(const TFleet& marker, Point p, int fleet) {
    return MapDistance(marker.Position, p) <= kInspectRadius && marker.TrackedFleet == fleet;
}

// Sum of the ASW aircraft aboard the fleet's ships (negative counts ignored).
int AswAircraftOn(const TFleet& fleet) {
    int sum = 0;
    const int count = std::clamp(fleet.ShipCount, 0, kShipSlots);
    for (int i = 0; i < count; ++i) {
        sum += std::max(0, fleet.Ships[static_cast<std::size_t>(i)].AircraftAboard[5]);
    }
    return sum;
}

int SearchRadius(const GameState& state, const TFleet& fleet) {
    return AircraftRange(state, fleet.ScoutType);
}

int AswWedgeRadius(const GameState& state, const TFleet& fleet) {
    return AswAircraftOn(fleet) > 0 ? AircraftRange(state, fleet.AirTypes[5]) : kAswFallbackRadius;
}

void AddAll(MapOverlay& overlay, std::vector<MapDrawing> drawings) {
    for (MapDrawing& d : drawings) overlay.Add(std::move(d));
}

// Toggles the flag of the sector containing p; kNoSector when none does.
int ToggleSector(const TFleet& fleet, Point p, int search_radius,
                 std::array<std::uint8_t, 8>& flags) {
    const int s = SectorOf(fleet.Position, p, search_radius);
    if (s < 0 || s >= 8) return kNoSector;
    std::uint8_t& flag = flags[static_cast<std::size_t>(s)];
    flag = flag == 0 ? 1 : 0;
    return s;
}

// Reads the number the player typed; -1 when it is not a whole number.
int ParseRadius(const std::string& text) {
    int value = -1;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return -1;
    return value;
}

std::string WaypointRefusal() {
    return "航路点は " + std::to_string(kMaxPlayerWaypoints) + " 個までです";
}

std::string OutsideSearchRadius(const GameState& state) {
    const TFleet* fleet = SelectedFleetRecord(state);
    const int radius = fleet != nullptr ? SearchRadius(state, *fleet) : 0;
    return "索敵範囲（半径 " + std::to_string(radius) + "）の外です";
}

void LeaveSectorMode(GameState& state, Frontend& ui, MapOverlay& overlay) {
    state.MapMode = kMapModeNormal;
    RedrawMapView(ui, overlay);
}

}  // namespace

int FirstPlayerFleet(const GameState& state) {
    for (int i = 0; i < kFleetCount; ++i) {
        const TFleet& f = state.FleetTable[static_cast<std::size_t>(i)];
        if (f.Active != 0 && f.Side == state.PlayerSide) return i;
    }
    return kNoFleet;
}

int AircraftRange(const GameState& state, int type_index) {
    return state.AircraftTypeAt(type_index).Range;
}

TFleet* SelectedFleetRecord(GameState& state) {
    if (state.SelectedFleet >= kFleetCount) return nullptr;
    return &state.FleetTable[state.SelectedFleet];
}

const TFleet* SelectedFleetRecord(const GameState& state) {
    if (state.SelectedFleet >= kFleetCount) return nullptr;
    return &state.FleetTable[state.SelectedFleet];
}

bool SelectFleet(GameState& state, Frontend& ui, int n) {
    if (n < 0 || n >= kFleetCount) return false;
    if (state.FleetTable[static_cast<std::size_t>(n)].Active == 0) return false;
    state.SelectedFleet = static_cast<std::uint8_t>(n);
    ui.RefreshPalette();
    return true;
}

bool AddWaypoint(GameState& state, Point p) {
    TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return false;
    const int length = std::clamp(fleet->RouteLength, 0, kRouteSlots - 1);
    if (length >= kMaxPlayerWaypoints) return false;
    // Route[0] is the newest waypoint: the older ones move up one place.
    std::copy_backward(fleet->Route.begin(), fleet->Route.begin() + length,
                       fleet->Route.begin() + length + 1);
    fleet->Route[0] = p;
    fleet->RouteLength = length + 1;
    return true;
}

bool RemoveNewestWaypoint(GameState& state) {
    TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr || fleet->RouteLength <= 0) return false;
    const int length = std::min(fleet->RouteLength, kRouteSlots);
    std::copy(fleet->Route.begin() + 1, fleet->Route.begin() + length, fleet->Route.begin());
    fleet->RouteLength = length - 1;
    return true;
}

int ToggleSearchSector(GameState& state, Point p, MapOverlay& overlay) {
    TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return kNoSector;
    const int radius = SearchRadius(state, *fleet);
    const int s = ToggleSector(*fleet, p, radius, fleet->SearchSectors);
    if (s != kNoSector) AddAll(overlay, SectorWedge(*fleet, radius, s));
    return s;
}

int ToggleAswSector(GameState& state, Point p, MapOverlay& overlay) {
    TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return kNoSector;
    const int s = ToggleSector(*fleet, p, SearchRadius(state, *fleet), fleet->AswSectors);
    if (s != kNoSector) AddAll(overlay, SectorWedge(*fleet, AswWedgeRadius(state, *fleet), s));
    return s;
}

std::vector<InspectEntry> InspectionList(GameState& state, Point p) {
    std::vector<InspectEntry> list;
    for (int i = 0; i < kFleetCount; ++i) {
        // A marker tracking this fleet may come before it, on an even draw...
        for (int j = 0; j < kContactCount; ++j) {
            const TFleet& marker = state.ContactTable[static_cast<std::size_t>(j)];
            if (!IsComputerMarkerInSight(state, marker)) continue;
            const int draw = state.Roll(100);
            if (draw < 50 && NearAndTracking(marker, p, i)) {
                list.push_back({marker.Designation.str(), kMarkerIndexBase + j});
            }
        }
        const TFleet& fleet = state.FleetTable[static_cast<std::size_t>(i)];
        if (fleet.Side != state.PlayerSide && fleet.Active != 0 && fleet.DetectLevel > 0 &&
            MapDistance(fleet.Position, p) <= kInspectRadius) {
            list.push_back({fleet.Designation.str(), i});
        }
        // ...otherwise after it, so the order never gives the real fleet away.
        for (int j = 0; j < kContactCount; ++j) {
            const TFleet& marker = state.ContactTable[static_cast<std::size_t>(j)];
            if (!IsComputerMarkerInSight(state, marker) || !NearAndTracking(marker, p, i)) continue;
            if (!Listed(list, kMarkerIndexBase + j)) {
                list.push_back({marker.Designation.str(), kMarkerIndexBase + j});
            }
        }
    }
    return list;
}

void InspectFleets(GameState& state, Frontend& ui, Point p) {
    const std::vector<InspectEntry> list = InspectionList(state, p);
    if (list.empty()) return;
    std::vector<std::string> names;
    names.reserve(list.size());
    for (const InspectEntry& e : list) names.push_back(e.Name);
    const int picked = ui.PickTarget(kTargetListCaption, names);
    if (picked < 0 || picked >= static_cast<int>(list.size())) return;
    const int index = list[static_cast<std::size_t>(picked)].Index;
    if (index >= kMarkerIndexBase) {
        ui.ShowSearchInfo(state.ContactTable[static_cast<std::size_t>(index - kMarkerIndexBase)]);
    } else {
        ui.ShowSearchInfo(state.FleetTable[static_cast<std::size_t>(index)]);
    }
}

void RedrawMapView(Frontend& ui, MapOverlay& overlay) {
    overlay.Clear();
    ui.RedrawMap();
}

MapClickResult MapClick(GameState& state, Frontend& ui, MapOverlay& overlay, MouseButton button,
                        Point click) {
    MapClickResult result;
    if (button == MouseButton::kRight) {
        result.OpenPopup = true;
        result.PopupAt = click;
    }
    if (state.MapMode == kMapModeNormal && button == MouseButton::kLeft) {
        const int own = OwnFleetAt(state, click);
        if (own != kNoFleet && own != state.SelectedFleet && SelectFleet(state, ui, own))
            RedrawMapView(ui, overlay);
    }
    if (state.MapMode == kMapModeMove) {
        if (button == MouseButton::kRight) {
            if (RemoveNewestWaypoint(state)) RedrawMapView(ui, overlay);
            return result;
        }
        if (SelectedFleetRecord(state) != nullptr) {
            if (!AddWaypoint(state, click)) {
                result.Refusal = WaypointRefusal();
                return result;
            }
            RedrawMapView(ui, overlay);
        }
    }
    // A toggled sector redraws the map with exactly the sectors now set.
    if (state.MapMode == kMapModeSearch) {
        if (button == MouseButton::kLeft) {
            if (ToggleSearchSector(state, click, overlay) != kNoSector) {
                RedrawMapView(ui, overlay);
            } else if (SelectedFleetRecord(state) != nullptr) {
                result.Refusal = OutsideSearchRadius(state);
            }
        } else {
            LeaveSectorMode(state, ui, overlay);
        }
    }
    if (state.MapMode == kMapModeAswSearch) {
        if (button == MouseButton::kLeft) {
            if (ToggleAswSector(state, click, overlay) != kNoSector) {
                RedrawMapView(ui, overlay);
            } else if (SelectedFleetRecord(state) != nullptr) {
                result.Refusal = OutsideSearchRadius(state);
            }
        } else {
            LeaveSectorMode(state, ui, overlay);
        }
    }
    // The symbols sit 8 pixels up and left of the fleet positions.
    const Point p{click.X - 8, click.Y - 8};
    if (state.MapMode == kMapModeAirRaidTarget || state.MapMode == kMapModeAswTarget) {
        result.TargetPoint = p;
    }
    if (state.MapMode == kMapModeNormal || state.MapMode == kMapModeMove)
        InspectFleets(state, ui, p);
    return result;
}

std::vector<MapDrawing> ModeOverlay(const GameState& state) {
    const TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return {};
    // The circle says where a click sets a sector, the wedges what is set.
    std::vector<MapDrawing> out;
    if (state.MapMode == kMapModeSearch) {
        out = SectorWedges(*fleet, SearchRadius(state, *fleet), fleet->SearchSectors);
    } else if (state.MapMode == kMapModeAswSearch) {
        out = SectorWedges(*fleet, AswWedgeRadius(state, *fleet), fleet->AswSectors);
    } else {
        return out;
    }
    out.insert(out.begin(), DistanceCircle(*fleet, SearchRadius(state, *fleet)));
    return out;
}

int OwnFleetAt(const GameState& state, Point p) {
    const int half = kMapSymbolSize / 2;
    for (int i = kFleetCount - 1; i >= 0; --i) {
        const TFleet& f = state.FleetTable[static_cast<std::size_t>(i)];
        if (f.Active == 0 || f.Side != state.PlayerSide) continue;
        if (p.X >= f.Position.X - half && p.X < f.Position.X + half && p.Y >= f.Position.Y - half &&
            p.Y < f.Position.Y + half)
            return i;
    }
    return kNoFleet;
}

bool OrderMove(GameState& state, Frontend& ui, MapOverlay& overlay) {
    if (SelectedFleetRecord(state) == nullptr) return false;
    state.MapMode = kMapModeMove;
    RedrawMapView(ui, overlay);
    return true;
}

bool OrderSearchSectors(GameState& state, MapOverlay& overlay) {
    const TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return false;
    state.MapMode = kMapModeSearch;
    // Drawn over a fresh map, so pressing it again shows the same sectors.
    overlay.Clear();
    AddAll(overlay, ModeOverlay(state));
    return true;
}

bool OrderAswSearchSectors(GameState& state, MapOverlay& overlay) {
    const TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return false;
    state.MapMode = kMapModeAswSearch;
    overlay.Clear();
    AddAll(overlay, ModeOverlay(state));
    return true;
}

std::optional<int> OrderDistance(GameState& state, Frontend& ui, MapOverlay& overlay) {
    const TFleet* fleet = SelectedFleetRecord(state);
    if (fleet == nullptr) return std::nullopt;
    RedrawMapView(ui, overlay);
    // A cancelled input leaves "0": a circle of radius 0.
    std::string value = "0";
    ui.AskNumber(kDistanceCaption, kDistancePrompt, value, kDistanceMaximum);
    const int a = ParseRadius(value);
    if (a < 0) return std::nullopt;
    // The input window holds the value at the maximum; a front end that does
    // not must not make the box overflow.
    const int radius = std::min(a, kDistanceMaximum);
    overlay.Add(DistanceCircle(*fleet, radius));
    return radius;
}

void OrderWeather(const GameState& state, MapOverlay& overlay) {
    AddAll(overlay, WeatherDrawings(state));
}

bool PopupCancel(GameState& state, Frontend& ui, MapOverlay& overlay) {
    if (state.FleetViewOpen == 0) return false;
    state.FleetViewOpen = 0;
    RedrawMapView(ui, overlay);
    return true;
}

void MouseMoved(GameState& state, Frontend& ui, Point p) {
    state.MouseX = p.X;
    state.MouseY = p.Y;
    UpdateCaption(state, ui);
}

bool OrderEndTurn(GameState& state, Frontend& ui) {
    return EndTurn(state, ui);
}

bool OrderSave(const GameState& state, Frontend& ui, const std::filesystem::path& dir, int slot) {
    return SaveGame(state, ui, dir, slot);
}

bool OrderLoad(GameState& state, Frontend& ui, const std::filesystem::path& dir, int slot) {
    if (!LoadSlotWithScenario(state, ui, dir, slot)) return false;
    // The selection is not saved: keep it only while it names a fleet in play.
    if (state.SelectedFleet >= kFleetCount || state.FleetTable[state.SelectedFleet].Active == 0) {
        state.SelectedFleet = static_cast<std::uint8_t>(FirstPlayerFleet(state));
    }
    ui.RefreshPalette();
    return true;
}

}  // namespace velmora
