#pragma once
// The game's fixed frame. Every pass of the main loop advances the game by one frame, and
// timers, motions, animations and physics count in frames: a duration in milliseconds is
// so many frames of FRAME_PERIOD_MS, a speed in pixels per second moves
// speed * FRAME_PERIOD_SECONDS pixels a frame.
#include <cstdint>

constexpr std::uint32_t FRAME_PERIOD_MS = 32;
constexpr double FRAME_PERIOD_SECONDS = FRAME_PERIOD_MS / 1000.0;
