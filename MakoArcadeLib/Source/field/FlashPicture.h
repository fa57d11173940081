#pragma once
// The picture a struck structure (a brick, a goober) flashes in, before it is scaled to the
// structure: the pack's flash for a plain box ("Flash.Big.png") or circle
// ("Shape.Circle.32.Outline.png"), else the outline filled white at width × height. A flash
// picture the pack lacks is named once and the filled outline stands in. Main thread only.
#include "field/ArcadeStructure.h"

class Image;
class Poly;

// Owned by the caller; never null.
Image* NewFlashPicture(StructureShape shape, const Poly& outline, int width, int height);
