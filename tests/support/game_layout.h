// Where the game's window has what a player reaches, in window coordinates,
// taken from the game's own layout.
#pragma once

#include "ui/window/layout.h"

namespace xdrive::layout {

inline constexpr int kBoardLeft = ::layout::kBoard.left;
inline constexpr int kBoardTop = ::layout::kBoard.top;
inline constexpr int kBoardWidth = ::layout::kBoard.width;
inline constexpr int kBoardHeight = ::layout::kBoard.height;
inline constexpr int kNeuCentreX = ::layout::kNeu.left + ::layout::kNeu.width / 2;
inline constexpr int kNeuCentreY = ::layout::kNeu.top + ::layout::kNeu.height / 2;
inline constexpr int kQuitCentreX = ::layout::kQuit.left + ::layout::kQuit.width / 2;
inline constexpr int kQuitCentreY = ::layout::kQuit.top + ::layout::kQuit.height / 2;

} // namespace xdrive::layout
