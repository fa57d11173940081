-- Resource tables of the ball and paddle spawners: level starts shown as objects, made by
-- class name like any other object (a level editor or a test places them; play never does).
Resources.BallSpawner = { class = "BallSpawner", position = { 304, 200 }, velocity = { 0, 120 } }
Resources.PaddleSpawner = {
    class = "PaddleSpawner", position = { 304, 200 }, facePositive = false, vertical = false,
}
Resources.BallAndPaddleSpawner = {
    class = "PaddleSpawner", resource = "PaddleSpawner",
    ballStart = { paddleName = "firstBallSpawn" },
}
Resources.VerticalPaddleSpawner = {
    class = "PaddleSpawner", position = { 40, 200 }, facePositive = true, vertical = true,
}
