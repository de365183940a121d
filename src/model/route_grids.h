// The computer's route search grids: working memory of one search, kept in
// the game state so that a search allocates nothing.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace velmora {

inline constexpr int kRouteGridSize = 51;   // indices 0..50
inline constexpr int kRoutePathSlots = 51;  // paths kept per cell
inline constexpr int kRouteCandidateSlots = 5000;
inline constexpr int kRoutePathDigits = 8;  // the search writes at most 5

// A path of direction digits 1..6.
struct RoutePath {
    std::array<std::uint8_t, kRoutePathDigits> Digits{};
    std::uint8_t Length = 0;

    // False (nothing changed) when the path is full.
    bool Append(int digit) {
        if (Length >= kRoutePathDigits) return false;
        Digits[Length++] = static_cast<std::uint8_t>(digit);
        return true;
    }
    int operator[](int k) const { return Digits[static_cast<std::size_t>(k)]; }
    friend bool operator==(const RoutePath&, const RoutePath&) = default;
};

struct RouteCell {
    std::int32_t X = 0;
    std::int32_t Y = 0;
};

class RouteSearchGrids {
  public:
    RouteSearchGrids()
        : budget_(kCells, 0),
          visited_(kCells, -1),
          path_count_(kCells, 0),
          paths_(kCells * kRoutePathSlots) {
        Candidates.reserve(kRouteCandidateSlots);
    }

    // Cells outside 0..50 have no entry: callers check InGrid first.
    static bool InGrid(int x, int y) {
        return x >= 0 && y >= 0 && x < kRouteGridSize && y < kRouteGridSize;
    }
    std::int32_t& RouteBudget(int x, int y) { return budget_[Index(x, y)]; }
    std::int32_t& RouteVisited(int x, int y) { return visited_[Index(x, y)]; }
    std::int32_t& RoutePathCount(int x, int y) { return path_count_[Index(x, y)]; }
    RoutePath& RoutePaths(int x, int y, int slot) {
        return paths_[Index(x, y) * kRoutePathSlots + static_cast<std::size_t>(slot)];
    }
    std::int32_t RouteBudget(int x, int y) const { return budget_[Index(x, y)]; }
    std::int32_t RouteVisited(int x, int y) const { return visited_[Index(x, y)]; }
    std::int32_t RoutePathCount(int x, int y) const { return path_count_[Index(x, y)]; }
    const RoutePath& RoutePaths(int x, int y, int slot) const {
        return paths_[Index(x, y) * kRoutePathSlots + static_cast<std::size_t>(slot)];
    }

    std::vector<RouteCell> Candidates;

    // Scratch memory says nothing about the game: two states that differ
    // only here are the same game.
    friend bool operator==(const RouteSearchGrids&, const RouteSearchGrids&) { return true; }

  private:
    static constexpr std::size_t kCells = static_cast<std::size_t>(kRouteGridSize) * kRouteGridSize;
    static std::size_t Index(int x, int y) {
        return static_cast<std::size_t>(x) * kRouteGridSize + static_cast<std::size_t>(y);
    }
    std::vector<std::int32_t> budget_;
    std::vector<std::int32_t> visited_;
    std::vector<std::int32_t> path_count_;
    std::vector<RoutePath> paths_;
};

}  // namespace velmora
