#include "widgets/RadioButton.h"

#include "core/Class.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "display/Font.h"
#include "display/Image.h"
#include "lua/ScriptValueReaders.h"
#include "scene/ActorGroup.h"
#include "widgets/Label.h"
#include "widgets/RadioButtonGroup.h"

#include <boost/format.hpp>

#include <memory>

MAKO_IMPLEMENT_CLASS(RadioButton, "RadioButton", "Button", &RadioButton::RegisterProperties,
                     &InstantiateObjectOfClass<RadioButton>);

RadioButton::RadioButton() : RadioButton("Button.png") {}

RadioButton::RadioButton(const std::string& imageName) : Button(imageName)
{
    SetCheckImage("boxCheck.png", 1, 3);
}

RadioButton::~RadioButton()
{
    m_PendingGroupName.clear();
}

RadioButton* RadioButton::Make(const std::string& imageName, const std::string& text,
                               const std::string& fontFile, int fontSize, int x, int y,
                               const std::string& name, Actor* parent)
{
    std::unique_ptr<RadioButton> button(new RadioButton(imageName));
    std::unique_ptr<Font> font(new Font(fontFile, fontSize, 0));
    button->SetLabel(new Label(text, font.release(), HorizontalAlignment::Center));
    button->SetPosition(x, y);
    button->ApplyStringProperty("name", name);
    if (parent)
        button->AddEventReceiver(parent);
    return button.release();
}

void RadioButton::SetCheckImage(const std::string& imageName, int x, int y)
{
    if (m_CheckMark) {
        Actor* old = m_CheckMark;
        m_CheckMark = nullptr;
        Actor::RemoveChild(old);
        delete old;
    }
    std::unique_ptr<Actor> mark(Actor::Create(imageName, x, y, 1, nullptr));
    AddChild(mark.get(), "");
    m_CheckMark = mark.release();
    m_CheckMark->SetFrame(0);
}

void RadioButton::SetChecked(bool checked)
{
    if (!m_CheckMark)
        return;
    const int frame = checked ? 1 : 0;
    if (frame < m_CheckMark->GetImage()->GetNumFrames())
        m_CheckMark->SetFrame(frame);
}

bool RadioButton::IsChecked() const
{
    return m_CheckMark && m_CheckMark->GetFrame() == 1;
}

void RadioButton::RemoveChild(Actor* child)
{
    if (child == m_CheckMark)
        m_CheckMark = nullptr;
    Button::RemoveChild(child);
}

// ---- Groups -------------------------------------------------------------------------------

void RadioButton::ResolvePendingButtonGroup()
{
    Actor* parent = GetParent();
    if (!parent || m_PendingGroupName.empty())
        return;
    ActorGroup* group = parent->FindGroup(m_PendingGroupName, false);
    if (!group)
        return;
    // The expression below is the text of the failure, spelled as it reads.
    // clang-format off
    MAKO_ASSERT_MSG(dynamic_cast<RadioButtonGroup *>(group) != 0,
                    boost::str(boost::format("The group with the name \"%1%\" is not a "
                                             "RadioButtonGroup.") %
                               m_PendingGroupName));
    // clang-format on
    static_cast<RadioButtonGroup*>(group)->Add(this);
    m_PendingGroupName.clear();
}

void RadioButton::AddedToGroup(ActorGroup* group)
{
    Button::AddedToGroup(group);
    if (auto* radioGroup = dynamic_cast<RadioButtonGroup*>(group))
        m_Group = radioGroup;
}

void RadioButton::RemovedFromGroup(ActorGroup* group)
{
    Button::RemovedFromGroup(group);
    if (group == m_Group)
        m_Group = nullptr;
}

void RadioButton::SetParent(Actor* parent)
{
    if (!parent) {
        Button::SetParent(nullptr);
        return;
    }
    MAKO_ASSERT_MSG(!m_HadParent, "A radio button stays with its first parent; it cannot be "
                                  "moved to another.");
    m_HadParent = true;
    Button::SetParent(parent);
    parent->AddObserver(MAKO_CHILDGROUPADDED, this);
    ResolvePendingButtonGroup();
}

bool RadioButton::OnChildGroupAdded(void* data1)
{
    // A button taken off its parent no longer cares for the parent's groups.
    if (!GetParent())
        return false;
    const auto* notice = static_cast<const SharedEventData*>(data1);
    if (!notice || notice->sender != static_cast<Object*>(GetParent()))
        MAKO_THROW(Exception, "Assertion failed: (event->GetSender() == GetParent())");
    ResolvePendingButtonGroup();
    return true;
}
