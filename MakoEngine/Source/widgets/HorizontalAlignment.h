#pragma once
// Horizontal placement of text lines within a label and of an actor within a grid cell.
#include <cstdint>

enum class HorizontalAlignment : std::int32_t { Center = 0, Left = 1, Right = 2 };
