#include "field/FlashPicture.h"

#include "core/ObjectBoundary.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "geometry/Color.h"
#include "geometry/Poly.h"

#include <string>

Image* NewFlashPicture(StructureShape shape, const Poly& outline, int width, int height)
{
    const char* name = shape == STRUCTURE_SHAPE_RECTANGLE ? "Flash.Big.png"
                       : shape == STRUCTURE_SHAPE_CIRCLE  ? "Shape.Circle.32.Outline.png"
                                                          : nullptr;
    Image* picture = nullptr;
    if (name)
        ObjectBoundary::Guard([name] { return std::string("The flash picture \"") + name + "\""; },
                              "the structure's outline flashes instead",
                              [&] { picture = new Image(name); });
    if (picture)
        return picture;
    Canvas canvas(width, height, 0);
    picture = canvas.GetTargetImage();
    picture->Fade(0);
    canvas.FillPolygon(outline, Palette::White);
    return picture;
}
