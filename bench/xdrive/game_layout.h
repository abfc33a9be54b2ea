// Where the game's window has what a player reaches, in window coordinates
// (origin at the content's top-left corner), for whoever drives it from outside.
#pragma once

namespace xdrive::layout {

inline constexpr int kBoardLeft = 20; // feld
inline constexpr int kBoardTop = 20;
inline constexpr int kBoardWidth = 600;
inline constexpr int kBoardHeight = 690;
inline constexpr int kNeuCentreX = 761 + 100 / 2;
inline constexpr int kNeuCentreY = 656 + 40 / 2;
inline constexpr int kQuitCentreX = 868 + 20 / 2; // the "X" button
inline constexpr int kQuitCentreY = 7 + 20 / 2;

} // namespace xdrive::layout
