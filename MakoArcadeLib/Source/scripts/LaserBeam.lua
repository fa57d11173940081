-- Resource tables of the laser beams and of the emitter the paddle shows while it has the
-- laser. The beam's image runs upright; beams of vertical paddles turn it.
Resources.LaserVertical = { image = "Laser.Beam.png" }
Resources.LaserHorizontal = { image = "Laser.Beam.png" }
Resources.LaserEmitter = { image = "Laser.Emitter.png" }
Resources.LaserEmitterLeft = { resource = "LaserEmitter", alignment = "MidRight" }
Resources.LaserEmitterRight = { resource = "LaserEmitter", alignment = "MidLeft" }
Resources.LaserEmitterTop = { resource = "LaserEmitter", alignment = "MidBottom" }
Resources.LaserEmitterBottom = { resource = "LaserEmitter", alignment = "MidTop" }
