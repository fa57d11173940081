-- Resource tables of the play field's walls.
--
-- The play area (x2..x3, y2..y3) is cut out of a rectangle reaching far beyond the
-- screen (x1..x4, y1..y4), so nothing that flies fast leaves the field between two
-- sub-steps. The bottom wall reaches bottomWallGive pixels above the lava's surface.
-- Objects that keep themselves inside the field read x2, x3, y2 and y3.
local screenWidth, screenHeight = 640, 480

bottomWallGive = 20
x1 = -2048
x2 = 16
x3 = screenWidth - 16
x4 = screenWidth + 2048
y1 = -2048
y2 = 36
y3 = screenHeight - 15 + bottomWallGive
y4 = screenHeight + 2048

-- Each ordinary wall shows its image at its inner edge; the dangerous form of a wall is
-- its table of the same name followed by "Dangerous".
Resources.LeftWall = {
    class = "Wall", name = "LeftWall", color = false,
    position = { x1, y1 }, size = { x2 - x1, y4 - y1 },
    child = { image = "LeftWall.Brown.png", alignment = "MidRight" },
}
Resources.LeftWallDangerous = {
    class = "Wall", name = "LeftWallDangerous", color = "DarkRed",
    position = { x1, y1 }, size = { x2 - x1, y4 - y1 },
    child = false,
}
Resources.RightWall = {
    class = "Wall", name = "RightWall", color = false,
    position = { x3, y1 }, size = { x4 - x3, y4 - y1 },
    child = { image = "RightWall.Brown.png", alignment = "MidLeft" },
}
Resources.RightWallDangerous = {
    class = "Wall", name = "RightWallDangerous", color = "DarkRed",
    position = { x3, y1 }, size = { x4 - x3, y4 - y1 },
    child = false,
}
Resources.TopWall = {
    class = "Wall", name = "TopWall", color = false,
    position = { x1, y1 }, size = { x4 - x1, y2 - y1 },
    child = { image = "TopWall.Brown.png", alignment = "MidBottom" },
}
Resources.TopWallDangerous = {
    class = "Wall", name = "TopWallDangerous", color = "DarkRed",
    position = { x1, y1 }, size = { x4 - x1, y2 - y1 },
    child = false,
}
-- The lava: its surface bubbles in a loop, showing from bottomWallGive above the wall.
Resources.BottomWallDangerous = {
    class = "Wall", name = "BottomWallDangerous", color = false,
    position = { x2, y3 }, size = { x3 - x2, y4 - y3 },
    child = {
        image = "BottomWallDangerous.Vert.png", frame = 2, loopAnimation = "loop",
        alignment = "MidTop", alignmentOffset = { 0, -bottomWallGive },
    },
}
Resources.BottomWall = {
    class = "Wall", name = "BottomWall", color = "DarkGrayBlue",
    position = { x2, y3 - bottomWallGive }, size = { x3 - x2, y4 - y3 + bottomWallGive },
    child = false,
}
