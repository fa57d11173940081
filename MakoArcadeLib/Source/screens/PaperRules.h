#pragma once
// The rules of a sheet of ruled paper (the letters' writing paper, the notepad of the map
// and the lab) and the placing of what is written on them. A sheet's picture names its
// rules in its metadata, `rules` = {top, pitch, last}: the rows of the first and the last
// rule and the distance between two, in the picture's pixels. A text stands on a rule when
// the foot of its letters (the font's baseline) lies on the rule's row. Main thread only.
class Actor;
class Image;
class Label;

namespace PaperRules {

struct Rules
{
    int top = 0;
    int pitch = 0;
    int last = 0;
};

// The picture's rules; false (rules untouched) for a picture that names none.
bool Read(const Image* picture, Rules& rules);

// Moves the label (below the sheet) up or down, by at most half a pitch, so that the foot of
// its first line stands on the nearest rule; a label as far above the first rule as a
// heading is left where it is. A label placed by alignment keeps the move in its alignment
// offset, so that a later realignment keeps it too; a label whose font or line count
// changes must be set on its rule again. Nothing happens on paper without rules.
void SitOnRule(Label& label, const Actor& sheet);

// SitOnRule for every label written straight on the sheet (not on a button or another
// picture laid on it).
void SitAllOnRules(Actor& sheet);

} // namespace PaperRules
