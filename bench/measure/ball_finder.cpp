#include "ball_finder.h"

#include <algorithm>

namespace measure {

namespace {

// The ball's lit face: every channel at least this bright, and the channels
// this close together. The board is far darker, the stones and the paddle far
// more colourful; the ball's dark rim does not count.
constexpr int kMinChannel = 110;
constexpr int kMaxSpread = 30;

// Every second pixel of every second row is looked at: a 30 x 30 ball still
// shows about a hundred of them, and a search costs a quarter.
constexpr int kStep = 2;
// Fewer hits than this are a sliver at the picture's edge, not a ball to follow.
constexpr int kMinHits = 12;
// A patch wider or taller than the ball is something else.
constexpr int kMaxExtent = 32;

// The obstacle's plate, in board coordinates: grey steel, so never searched.
constexpr int kObstacleLeft = 250;
constexpr int kObstacleTop = 400;
constexpr int kObstacleRight = 350; // exclusive
constexpr int kObstacleBottom = 425;

[[nodiscard]] bool onObstacle(int x, int y)
{
    return x >= kObstacleLeft && x < kObstacleRight && y >= kObstacleTop && y < kObstacleBottom;
}

} // namespace

bool looksLikeBall(std::uint32_t rgb)
{
    const int r = static_cast<int>((rgb >> 16) & 0xFFU);
    const int g = static_cast<int>((rgb >> 8) & 0xFFU);
    const int b = static_cast<int>(rgb & 0xFFU);
    const int low = std::min({ r, g, b });
    const int high = std::max({ r, g, b });
    return low >= kMinChannel && high - low <= kMaxSpread;
}

std::optional<BallSighting> findBall(const BoardImage& image)
{
    int hits = 0;
    int minX = image.width;
    int maxX = -1;
    int minY = image.height;
    int maxY = -1;
    for (int y = 0; y < image.height; y += kStep) {
        for (int x = 0; x < image.width; x += kStep) {
            if (onObstacle(image.left + x, image.top + y) || !looksLikeBall(image.at(x, y))) {
                continue;
            }
            ++hits;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    if (hits < kMinHits || maxX - minX > kMaxExtent || maxY - minY > kMaxExtent) {
        return std::nullopt;
    }
    return BallSighting { image.left + (minX + maxX) / 2, image.top + (minY + maxY) / 2 };
}

} // namespace measure
