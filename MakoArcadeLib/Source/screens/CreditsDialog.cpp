#include "screens/CreditsDialog.h"

#include "core/Class.h"
#include "core/Config.h"
#include "display/Font.h"
#include "widgets/Label.h"

#include <memory>

MAKO_IMPLEMENT_CLASS(CreditsDialog, "CreditsDialog", "Dialog", nullptr,
                     &InstantiateObjectOfClass<CreditsDialog>);

CreditsDialog::CreditsDialog() : Dialog("CreditsDialog", 0)
{
    ApplyStringProperty("name", "CreditsDialog");
    SetTitle("Credits", -1);
    CreateLowerButtons(DIALOGBUTTONS_OKAY);

    Config* config = Config::GetCurrent();
    const std::string text = config ? config->GetString("credits") : std::string();
    const std::string fontName = config ? config->GetString("credits_font") : std::string();
    int size = config ? static_cast<int>(config->GetNumber("credits_font_size")) : 0;
    if (size <= 0)
        size = 22;
    std::unique_ptr<Font> font(new Font(fontName, size, 0));
    Label* label =
        new Label(text, font.release(), Palette::Black, HorizontalAlignment::Center);
    label->ApplyStringProperty("name", "CreditsText");
    AddChild(label, "");
    label->SetPosition(GetWidth() / 2 - label->GetWidth() / 2,
                       GetHeight() / 2 - label->GetHeight() / 2);
}
