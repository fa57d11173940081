#pragma once
// RadioButton: a Button with a check mark (frame 0 unchecked, frame 1 checked) for
// picking one of several options. It joins the RadioButtonGroup its parent owns under the
// name given by the property radioButtonGroup, as soon as the parent has that group (also
// when the parent gets it later: the button observes the parent's MAKO_CHILDGROUPADDED).
// A radio button takes a parent only once.
//
// Scripts create radio buttons as class "RadioButton" (image "Button.png", check mark
// "boxCheck.png" at (1, 3)). Main thread only.
#include "widgets/Button.h"

#include <string>

class RadioButtonGroup;

class RadioButton : public Button
{
    MAKO_DECLARE_CLASS();

public:
    RadioButton();
    explicit RadioButton(const std::string& imageName);
    ~RadioButton() override;

    // As Button::Make, building a radio button.
    static RadioButton* Make(const std::string& imageName, const std::string& text,
                             const std::string& fontFile, int fontSize, int x, int y,
                             const std::string& name, Actor* parent);

    // Replaces the check mark (the old one is deleted) by the image at (x, y), unchecked.
    void SetCheckImage(const std::string& imageName, int x, int y);
    void SetChecked(bool checked);
    bool IsChecked() const;
    Actor* GetCheckMark() const { return m_CheckMark; }
    RadioButtonGroup* GetGroup() const { return m_Group; }
    const std::string& GetPendingGroupName() const MAKO_LIFETIMEBOUND { return m_PendingGroupName; }

    // Joins the parent's group of the pending name when both exist.
    void ResolvePendingButtonGroup();

    void AddedToGroup(ActorGroup* group) override;
    void RemovedFromGroup(ActorGroup* group) override;
    // A second (non-null) parent fails the assertion "false"; detaching is allowed.
    void SetParent(Actor* parent) override;
    void RemoveChild(Actor* child) override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;

    static void RegisterProperties(Class& radioButtonClass);

protected:
    bool OnChildGroupAdded(void* data1) override;

private:
    Actor* m_CheckMark = nullptr;
    RadioButtonGroup* m_Group = nullptr;
    std::string m_PendingGroupName;
    bool m_HadParent = false;
};
