// The version every program reports (--version, the about window).
#pragma once

#include <string_view>

namespace velmora {

inline constexpr std::string_view kVersionText = "Velmora 1.00";

}  // namespace velmora
