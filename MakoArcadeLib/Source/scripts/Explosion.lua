-- Resource tables of explosions and their particles.

-- A blast made from a table goes off at the centre of the rectangle it is given: radius 32,
-- a sensor that lives 2 ticks, damage 1, harmless to the paddle. Bricks and goobers make
-- their own blasts from their explosive power.
Resources.Explosion = {
    class = "Explosion",
}
