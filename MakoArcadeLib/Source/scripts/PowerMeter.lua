-- Layout of the letter power meter: eight tiles B R E A K O U T in the top bar, from
-- (x, y), step pixels apart; each shows "<n><letter>.On.png" or "<n><letter>.Off.png".
PowerMeterLayout = { x = 168, y = 8, step = 21 }
