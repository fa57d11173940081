#pragma once
// The collision categories of the play field: one bit each in a geometry's category and
// collide masks, named by the class names that behaviour sets and stop motions use.
#include <cstdint>
#include <string>

enum CollisionCategory : std::uint32_t {
    COLLISION_BALL = 1,
    COLLISION_BRICK = 2,
    COLLISION_GOOBER = 8,
    COLLISION_PADDLE = 16,
    COLLISION_POWERUP = 32,
    COLLISION_SHIELD = 64,
    COLLISION_WALL = 128,
};

// The category bit of a class name: Ball and ActiveBall, Brick, Goober, Paddle, Powerup,
// Shield, Wall and DangerousWall; 0 for any other name.
std::uint32_t CollisionCategoryOf(const std::string& className);
