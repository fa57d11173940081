#include "screens/PaperRules.h"

#include "display/Font.h"
#include "display/Image.h"
#include "scene/Actor.h"
#include "widgets/Label.h"

#include <cmath>

namespace PaperRules {

namespace {

// The actor's top relative to the sheet's top; false when the sheet is not above it.
bool TopOnSheet(const Actor& actor, const Actor& sheet, int& y)
{
    y = 0;
    for (const Actor* at = &actor; at; at = at->GetParent()) {
        if (at == &sheet)
            return true;
        y += at->GetY();
    }
    return false;
}

// Whether the nearest actor above the label that shows a picture is the sheet.
bool WrittenOn(const Label& label, const Actor& sheet)
{
    for (const Actor* up = label.GetParent(); up; up = up->GetParent())
        if (up == &sheet || (up->GetImage() && !dynamic_cast<const Label*>(up)))
            return up == &sheet;
    return false;
}

void SitAllBelow(Actor& sheet, Actor& under)
{
    for (Actor* child : under.GetChildren()) {
        if (auto* label = dynamic_cast<Label*>(child)) {
            if (WrittenOn(*label, sheet))
                SitOnRule(*label, sheet);
        } else if (!child->GetImage()) {
            SitAllBelow(sheet, *child); // a group of things on the sheet
        }
    }
}

} // namespace

bool Read(const Image* picture, Rules& rules)
{
    if (!picture)
        return false;
    const LuaPlus::LuaObject metadata = picture->GetMetadata();
    const LuaPlus::LuaObject named = metadata.IsTable() ? metadata["rules"] : metadata;
    if (!named.IsTable() || !named["top"].IsNumber() || !named["pitch"].IsNumber() ||
        named["pitch"].GetInteger() <= 0)
        return false;
    rules.top = named["top"].GetInteger();
    rules.pitch = named["pitch"].GetInteger();
    rules.last = named["last"].IsNumber() ? named["last"].GetInteger() : 1 << 15;
    return true;
}

void SitOnRule(Label& label, const Actor& sheet)
{
    Rules rules;
    int top = 0;
    const Font* font = label.GetFont();
    if (!font || !Read(sheet.GetImage(), rules) || !TopOnSheet(label, sheet, top))
        return;
    const int foot = top + font->GetAscent();
    if (foot < rules.top - rules.pitch / 2)
        return; // a heading over the ruled part
    long rule = std::lround(double(foot - rules.top) / rules.pitch);
    if (rules.top + rule * rules.pitch > rules.last)
        rule = (rules.last - rules.top) / rules.pitch;
    const int move = rules.top + int(rule) * rules.pitch - foot;
    if (move == 0)
        return;
    if (label.GetAlignment() != NoAlignment && label.GetParent()) {
        // The offset is where the label stands less where its alignment alone puts it; the
        // move joins it, and the label is realigned with it at once.
        const int x = label.GetX(), y = label.GetY();
        label.SetAlignmentOffset(0, 0);
        label.SetAlignmentOffset(x - label.GetX(), y - label.GetY() + move);
    } else {
        label.SetPosition(label.GetX(), label.GetY() + move);
    }
}

void SitAllOnRules(Actor& sheet)
{
    Rules rules;
    if (Read(sheet.GetImage(), rules))
        SitAllBelow(sheet, sheet);
}

} // namespace PaperRules
