#include "physics/CollisionCategory.h"

std::uint32_t CollisionCategoryOf(const std::string& className)
{
    if (className == "Ball" || className == "ActiveBall")
        return COLLISION_BALL;
    if (className == "Brick")
        return COLLISION_BRICK;
    if (className == "Goober")
        return COLLISION_GOOBER;
    if (className == "Paddle")
        return COLLISION_PADDLE;
    if (className == "Powerup")
        return COLLISION_POWERUP;
    if (className == "Shield")
        return COLLISION_SHIELD;
    if (className == "Wall" || className == "DangerousWall")
        return COLLISION_WALL;
    return 0;
}
