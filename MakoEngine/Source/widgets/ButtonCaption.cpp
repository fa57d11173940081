#include "widgets/ButtonCaption.h"

#include "display/Font.h"
#include "display/Image.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <algorithm>
#include <map>
#include <vector>

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

void ShareCaptionSize(const Actor& parent)
{
    struct Kin
    {
        std::vector<Button*> buttons;
        int size = 0;
    };
    std::map<std::pair<int, int>, Kin> plates; // by plate width and height
    for (Actor* child : parent.GetChildren()) {
        auto* button = dynamic_cast<Button*>(child);
        Label* caption = button && button->IsVisible() ? button->GetLabel() : nullptr;
        if (!caption || !caption->GetFont() || caption->GetText().empty())
            continue;
        Kin& kin = plates[{button->GetWidth(), button->GetHeight()}];
        kin.buttons.push_back(button);
        const int size = caption->GetFont()->GetPointSize();
        kin.size = kin.size == 0 ? size : std::min(kin.size, size);
    }
    for (auto& plate : plates)
        for (Button* button : plate.second.buttons) {
            Label* caption = button->GetLabel();
            const Font* font = caption->GetFont();
            if (font->GetPointSize() == plate.second.size)
                continue;
            caption->SetFont(new Font(font->GetFontName(), plate.second.size, font->GetFontIndex()),
                             true);
            // Smaller letters are a narrower and lower caption: it is centred on its plate
            // again, as the button centres a caption it is given.
            caption->SetPosition(button->GetWidth() / 2 - caption->GetWidth() / 2,
                                 button->GetHeight() / 2 - caption->GetHeight() / 2);
        }
}
