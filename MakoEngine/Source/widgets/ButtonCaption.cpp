#include "widgets/ButtonCaption.h"

#include "display/Image.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <algorithm>

std::pair<int, int> CaptionInsets(const Actor& plate)
{
    const Image* image = plate.GetImage();
    const LuaPlus::LuaObject metadata = image ? image->GetMetadata() : LuaPlus::LuaObject();
    if (!metadata.IsTable())
        return {0, 0};
    const LuaPlus::LuaObject inset = metadata["captionInset"];
    if (!inset.IsTable() || !inset[1].IsNumber() || !inset[2].IsNumber())
        return {0, 0};
    return {std::max(0, inset[1].GetInteger()), std::max(0, inset[2].GetInteger())};
}

void FitCaptionToPlate(Button& button)
{
    Label* caption = button.GetLabel();
    const std::pair<int, int> ends = CaptionInsets(button);
    if (!caption || (ends.first == 0 && ends.second == 0))
        return;
    // Both ends keep the larger inset: the caption stays centred on the button.
    const int end = std::max(ends.first, ends.second);
    const int room = button.GetWidth() - 2 * std::max(0, end);
    if (room <= 0 || (caption->GetWidthLimit() > 0 && caption->GetWidthLimit() <= room))
        return;
    caption->SetWidthLimit(room);
    caption->SetText(caption->GetText(), true);
}
