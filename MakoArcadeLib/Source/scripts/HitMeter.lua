-- Layout of the hit meter: a dark strip with ten ball icons, "Ball1" .. "Ball10" from the
-- left, 2 pixels apart (frame 0 unlit, frame 1 lit).
Resources.HitMeter = {
    image = "HitMeter.png",
    children = {},
}
for i = 1, 10 do
    Resources.HitMeter.children["Ball" .. i] = {
        class = "Actor",
        image = "HitMeterBall.png",
        frame = 0,
        position = { 2 + (i - 1) * 14, 2 },
    }
end
