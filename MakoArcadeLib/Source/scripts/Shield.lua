-- Resource tables of the shields: thin bands in front of each side of the field, drawn as
-- stacked coloured bands by level (Shield.<colour>.png), outward from the field.
Resources.BottomShield = { position = { 16, 452 }, size = { 608, 3 }, color = "Black" }
Resources.TopShield = { position = { 16, 67 }, size = { 608, 3 }, color = "Black" }
Resources.LeftShield = { position = { 27, 56 }, size = { 3, 380 }, color = "Black" }
Resources.RightShield = { position = { 612, 56 }, size = { 3, 380 }, color = "Black" }
