// Finding the ball in a picture of the board, the way a player's eye does: the
// ball is the one light grey thing on the dark-brown board. The stones are
// coloured, the paddle is copper; only the obstacle is grey too, so its place
// is left out of the search.
#pragma once

#include <cstdint>
#include <optional>

namespace measure {

// Pixels of the board, 0xRRGGBB in the low 24 bits (the high byte is ignored,
// as in a 24-bit X image), row after row, `stride` pixels apart.
struct BoardImage {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    // Where the picture's top-left pixel lies on the board: a picture may show
    // only part of it.
    int left = 0;
    int top = 0;

    [[nodiscard]] std::uint32_t at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(stride)
            + static_cast<std::size_t>(x)];
    }
};

// The ball's centre in board coordinates.
struct BallSighting {
    int x = 0;
    int y = 0;
};

// True for a pixel of the ball's lit face: bright and nearly colourless.
[[nodiscard]] bool looksLikeBall(std::uint32_t rgb);

// The ball's centre, or nothing when no ball-sized light grey patch is in the
// picture (the ball is hidden, or only a sliver of it is inside).
[[nodiscard]] std::optional<BallSighting> findBall(const BoardImage& image);

} // namespace measure
