#include "screens/LetterDialog.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "display/Font.h"
#include "display/Image.h"
#include "players/Player.h"
#include "resources/ResourceManager.h"
#include "screens/CheckedCast.h"
#include "screens/PaperRules.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <cctype>

MAKO_IMPLEMENT_CLASS(LetterDialog, "LetterDialog", "Dialog", nullptr, nullptr);

LetterDialog::LetterDialog(const std::string& resourceName, const std::string& title)
    : Dialog(resourceName, 0), m_Layout(resourceName)
{
    m_To = CheckedDownCast<Label*>(RequireChild("toLabel"));
    m_Note = CheckedDownCast<Label*>(RequireChild("noteLabel"));
    m_From = CheckedDownCast<Label*>(RequireChild("fromLabel"));
    // The sender's picture is a decoration its layout may have left out (a picture the pack
    // lacks, named where the layout was made): an empty, hidden holder takes its place.
    m_Picture = GetChild("characterPicture");
    if (!m_Picture) {
        m_Picture = new Actor();
        m_Picture->SetVisible(false, false);
        AddChild(m_Picture, "characterPicture");
    }
    Label* label = Label::CreateFromResource("LetterTitleLabel");
    label->ApplyStringProperty("name", "title");
    AddChild(label, "title");
    // The template's own alignment places the title (the dialog centres it first).
    label->SetText(title, true);
}

Actor* LetterDialog::RequireChild(const std::string& name) const
{
    Actor* child = GetChild(name);
    MAKO_ASSERT_MSG(
        child != 0,
        boost::str(boost::format("The letter \"%1%\" has no child \"%2%\".") % m_Layout % name));
    return child;
}

std::string LetterDialog::Greeting(const std::string& to)
{
    if (to.find_first_not_of(" \t\n") == std::string::npos)
        return std::string();
    std::string text = to;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return boost::str(boost::format("%1%,") % text);
}

std::string LetterDialog::NameOf(const Player* player)
{
    if (!player)
        return std::string();
    LuaPlus::LuaObject name = player->GetTable()["Name"];
    return name.IsString() ? name.GetString() : std::string();
}

std::string LetterDialog::Indented(const std::string& note)
{
    std::string text;
    for (char c : note)
        if (c == '\t')
            text += "    ";
        else
            text += c;
    return text;
}

void LetterDialog::SetLines(const std::string& to, const std::string& note,
                            const std::string& signature)
{
    m_Note->SetText(Indented(note), true);
    m_To->SetText(Greeting(to), true);
    m_From->SetText(signature, true);
    PlaceAroundNote();
}

void LetterDialog::PlaceAroundNote()
{
    SitOnRules(*m_Note);
    m_To->SetPosition(m_To->GetX(), m_Note->GetY() - m_To->GetHeight());
    m_From->SetPosition(m_From->GetX(), m_Note->GetY() + m_Note->GetHeight());
}

void LetterDialog::SitOnRules(Label& label) const
{
    PaperRules::SitOnRule(label, *this);
}

void LetterDialog::SetSender(const std::string& from)
{
    const std::string picture = boost::str(boost::format("Character.%1%.Frame.png") % from);
    ResourceManager* resources = GetResourceManager();
    if (from.empty() || !resources || !resources->FindInfo(picture, true)) {
        // A sender who is no character of the game (a level's own sender) signs alone.
        m_Picture->SetVisible(false, false);
        return;
    }
    m_Picture->SetImageFromResource(picture);
    m_Picture->UpdateAlignment(); // the new picture may differ in size
    m_Picture->SetVisible(true, false);
}
