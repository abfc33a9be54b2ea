// SPDX-FileCopyrightText: 2026 The Zindra developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The board's lines, sizes and stone layout, in pixels of the board canvas
// feld (origin at its top-left corner, y downward).
#pragma once

#include <array>
#include <cstdint>

namespace board {

inline constexpr std::int32_t kWidth = 600;  // feld's size
inline constexpr std::int32_t kHeight = 690;

inline constexpr std::int32_t kBallSize = 30;  // the ball is 30 x 30
inline constexpr std::int32_t kBallHalf = 15;  // ballx + 15 is its centre column
inline constexpr std::int32_t kMausWidth = 100;  // the paddle is 100 x 25
inline constexpr std::int32_t kMausHeight = 25;
inline constexpr std::int32_t kMausHalf = 50;
inline constexpr std::int32_t kMausMin = 0;  // mausx is clamped to 0..500
inline constexpr std::int32_t kMausMax = 500;
inline constexpr std::int32_t kMausStart = 200;  // mausx after open
inline constexpr std::int32_t kMausAboveBottom = 75;  // mausy = window height - 75

inline constexpr std::int32_t kLeftEdge = 0;  // ball turns when ballx + w < 0
inline constexpr std::int32_t kRightEdge = 570;  // 600 less the ball: turns when ballx + w > 570
inline constexpr std::int32_t kTopEdge = 2;  // sent down when bally + s < 2
inline constexpr std::int32_t kStoneZone = 175;  // stones are evaluated while bally < 175
inline constexpr std::int32_t kObstacleTop = 400;  // obstacle band 400..425
inline constexpr std::int32_t kObstacleBottom = 425;
inline constexpr std::int32_t kObstacleX = 250;  // obstacle's top-left corner
inline constexpr std::int32_t kObstacleY = 400;
inline constexpr std::int32_t kObstacleSpan = 100;  // centre column 250..350 hits it
inline constexpr std::int32_t kPaddleBandTop = 655;  // ball's lower edge 655..665 meets the paddle
inline constexpr std::int32_t kPaddleBandBottom = 665;
inline constexpr std::int32_t kLossLine = 640;  // lost when bally + s > 640
inline constexpr std::int32_t kBallResting = 625;  // bally on the paddle (625 + 30 = 655)
inline constexpr std::int32_t kBallLaunched = 600;  // bally at a launch
inline constexpr std::int32_t kBallOnPaddle = 35;  // ballx = mausx + 35 centres it
inline constexpr std::int32_t kBallAfterLevel = 500;  // bally after a cleared set

// Pointer to paddle: feld's left offset in the window (20) plus half the paddle.
inline constexpr std::int32_t kPointerToMaus = 70;

inline constexpr std::int32_t kStoneWidth = 100;
inline constexpr std::int32_t kStoneHeight = 30;
inline constexpr std::int32_t kStonePitch = 107;  // 100 wide, 7 between
inline constexpr std::int32_t kStonesPerRow = 5;
inline constexpr std::int32_t kPointsPerSet = 255;  // 5 x (20 + 15 + 10 + 5 + 1)
inline constexpr std::int32_t kMaxShownScore = 9999;  // more shows as 0000
inline constexpr std::int32_t kBalls = 4;  // balls per game

// Steps per tick in pixels (negative: up, left).
inline constexpr std::int32_t kStepAfterOpen = -1;
inline constexpr std::int32_t kStepNewGame = -5;
inline constexpr std::int32_t kStepAfterLoss = -4;
inline constexpr std::int32_t kStepFromTop = 2;
inline constexpr std::int32_t kStepFromObstacle = 2;
inline constexpr std::int32_t kStepFromPaddle = -5;
inline constexpr std::int32_t kStepUpFromStone = -2;  // a falling ball that strikes
inline constexpr std::int32_t kStepDownFromStone = 2;  // plus level: a rising ball that strikes
inline constexpr double kPaddleSlope = 12.0;  // w = (landing offset - 50) / 12

// Notes and General MIDI instruments.
inline constexpr int kEdgeNote = 60;  // edges and the obstacle
inline constexpr int kLossNote = 50;
inline constexpr int kPaddleNote = 62;
inline constexpr int kScoreNote = 62;
inline constexpr int kBounceInstrument = 14;
inline constexpr int kScoreInstrument = 128;
inline constexpr int kLoud = 127;

inline constexpr std::uint32_t kStoneFrame = 0x663300;  // dark-brown frame of every stone

// The rows from top to bottom.
enum class Row { Rot = 0, Gruen = 1, Blau = 2, Gelb = 3, Lila = 4 };
inline constexpr std::array<std::int32_t, 5> kRowY = {5, 40, 75, 110, 145};
inline constexpr std::array<std::int32_t, 5> kRowFirstX = {9, 61, 9, 61, 9};  // green and yellow shifted
inline constexpr std::array<std::int32_t, 5> kRowPoints = {20, 15, 10, 5, 1};

} // namespace board
