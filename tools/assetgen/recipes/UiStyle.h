#pragma once
// The shared look of the interface: bevelled, lightly textured plates lit from the upper
// left with a soft shadow down-right, and button sheets built from them. Screens and
// dialogs of later areas draw their plates with the same helpers so the game stays one
// piece.
#include "kit/Canvas.h"
#include "kit/LuaText.h"

#include <functional>
#include <string>

namespace assetgen {

// Frames of a button sheet, in the order the engine's buttons show them.
enum class ButtonLook { Normal = 0, Disabled = 1, Highlighted = 2, Pressed = 3 };
constexpr int kButtonFrames = 4;

struct PlateStyle
{
    Rgba base;             // body colour at mid height
    float radius = 10;     // corner radius, pixels
    float bevel = 2.5f;    // bevel width, pixels
    float texture = 0.06f; // contrast of the value-noise texture
    bool gloss = true;     // a soft sheen over the upper half
};

// Draws a plate filling `rect` of the canvas (no shadow), textured with noise seeded by
// `seedName`. `look` brightens, greys or sinks it.
void DrawPlate(Canvas& canvas, float x, float y, float w, float h, const PlateStyle& style,
               ButtonLook look, const std::string& seedName);

// Something drawn on top of a button face (a glyph), given the face and its look.
using FaceDecoration = std::function<void(Canvas& face, ButtonLook look)>;

// A button sheet: four frames of frameW × frameH side by side (normal, disabled,
// highlighted, pressed), each a plate with its drop shadow; the pressed plate sits one
// pixel lower right with a shorter shadow.
Canvas ButtonSheet(int frameW, int frameH, const PlateStyle& style, const std::string& seedName,
                   const FaceDecoration& decoration = nullptr);

// Metadata of a sheet of equal frames in one row.
LuaValue SheetMetadata(int numFrames, int frameW, int frameH);
// Metadata of a ButtonSheet: the sheet's frames and `captionInset` = {left, right}, the
// pixels at each end of a frame that its rounded ends (and, on the right, its shadow)
// take, which a caption keeps clear of.
LuaValue ButtonSheetMetadata(int frameW, int frameH, const PlateStyle& style);
// Metadata of a ruled sheet of paper: `rules` = {top, pitch, last}, the rows of its first
// and last rule and the pixels between two, which the game writes its lines on.
LuaValue RuledPaperMetadata(int top, int pitch, int last);

} // namespace assetgen
