#pragma once
// What a level needs of the game to fill the play field: the game controller implements
// it, and a Level (logic/Level) hands every brick, actor, wall and shield it makes to it.
// The container owns what it is given from then on.
#include <string>

class Actor;
class Brick;
class Shield;
class Wall;

class LevelContainer
{
public:
    virtual ~LevelContainer() = default;

    // Each files the object under its groupID, gives it the level's world, puts it into
    // the group of its kind and onto the play layer.
    virtual void AddBrick(Brick* brick) = 0;
    // Sorts the actor by its class: balls (with or without the spawn circle), bricks,
    // drop targets, power-ups, goobers; anything else is an extra actor.
    virtual void AddActor(Actor* actor) = 0;
    virtual void AddShield(Shield* shield) = 0;
    virtual void AddWall(Wall* wall) = 0;
    // The game screen's background shows the image resource of that name.
    virtual void SetBackgroundImage(const std::string& imageName) = 0;
    // The level's artefact (null for none); a previous one is killed.
    virtual void SetArtefact(Actor* artefact) = 0;
};
