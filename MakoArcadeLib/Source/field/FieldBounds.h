#pragma once
// The play field's inner rectangle in screen pixels: what lies between the walls. The
// wall resources (scripts/Wall.lua) are laid out around it and give it as the script
// values x2 (left), x3 (right), y2 (top) and y3 (bottom); the level takes it from there
// when it builds the walls (Level::CreateWalls) and owns it for the level. Everything that
// keeps itself inside the field asks Current(); scripts ask GetFieldBounds().
//
// Main thread only.
struct FieldBounds
{
    int left = 16;
    int right = 624;
    int top = 36;
    int bottom = 485;

    // The rectangle the wall scripts lay out; the shipped field where they give none.
    static FieldBounds FromScripts();
    // The running level's field once its walls are built; otherwise FromScripts().
    static FieldBounds Current();
};
