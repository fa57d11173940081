#include "screens/Screen.h"

#include "core/AppHost.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "lua/MakoLuaState.h"
#include "screens/CheckedCast.h"
#include "screens/Dialog.h"
#include "screens/Logic.h"
#include "widgets/Button.h"

#include <boost/format.hpp>

#include <algorithm>
#include <memory>

using LuaPlus::LuaObject;

int GetScreenWidth()
{
    return GetAppHost() ? GetAppHost()->GetWidth() : 640;
}

int GetScreenHeight()
{
    return GetAppHost() ? GetAppHost()->GetHeight() : 480;
}

namespace {

void UseCopyShader(Actor* actor)
{
    LuaObject copy;
    copy.AssignInteger(GetGlobalLuaState(), SHADERTYPE_COPY);
    actor->SetShaderType(copy);
}

void PauseTheGame(bool pause)
{
    if (AppHost* host = GetAppHost())
        host->PauseGame(pause);
}

} // namespace

Screen::Screen(const std::string& name, const std::string& backgroundResourceName, Logic* logic)
{
    const int width = GetScreenWidth();
    const int height = GetScreenHeight();
    LogAtLevel(3, "Screen::Screen()\n");
    SetPosition(0, 0);
    SetSize(width, height);
    m_Flags |= ACTORFLAG_TICK_WHILE_PAUSED;
    m_InheritedFlagsMask = ~static_cast<std::uint32_t>(ACTORFLAG_TICK_WHILE_PAUSED);
    UseCopyShader(this);

    LogAtLevel(3, "Screen::new m_BackgroundLayer\n");
    m_BackgroundLayer = new Actor();
    m_BackgroundLayer->SetPosition(0, 0);
    m_BackgroundLayer->SetSize(width, height);
    m_BackgroundLayer->Flatten(false, false, width, height);
    UseCopyShader(m_BackgroundLayer);
    LogAtLevel(3, "Screen::AddChild background\n");
    AddChild(m_BackgroundLayer, "");

    LogAtLevel(3, "Screen::new background\n");
    // The background is the screen's decoration: one the pack lacks is named once and the
    // screen is shown over none.
    auto background = std::make_unique<Actor>();
    if (!backgroundResourceName.empty())
        ObjectBoundary::Guard(
            [&] {
                return "The background \"" + backgroundResourceName + "\" of screen \"" + name +
                       "\"";
            },
            "the screen is shown without it",
            [&] { background->ApplyStringProperty("resource", backgroundResourceName); });
    background->ApplyStringProperty("name", "Background");
    UseCopyShader(background.get());
    LogAtLevel(3, "Screen::AddToBackgroundLayer background\n");
    AddToBackgroundLayer(background.release(), "");

    LogAtLevel(3, "Screen::SetName\n");
    ApplyStringProperty("name", name);
    SetLogic(logic);

    LogAtLevel(3, "Screen::Create keyTipLayer\n");
    m_KeyTipLayer = new Actor();
    m_KeyTipLayer->SetZOrder(SCREEN_Z_KEYTIPS);
    AddChild(m_KeyTipLayer, "");
    ApplyProperty("keyTipLayer", m_KeyTipLayer->GetLuaObject());

    LogAtLevel(3, "Screen::Create m_DialogOverlay\n");
    m_DialogOverlay = Screen::CreateDialogOverlay();
    m_DialogOverlay->SetZOrder(SCREEN_Z_DIALOG_OVERLAY);
    m_DialogOverlay->SetVisible(false, false);
    AddChild(m_DialogOverlay, "");
}

Screen::~Screen()
{
    m_Logic.reset();
    m_Dialogs.clear();
}

void Screen::SetLogic(Logic* logic)
{
    m_Logic.reset(logic);
    if (logic)
        logic->SetScreen(this);
}

Actor* Screen::GetBackground() const
{
    return m_BackgroundLayer ? m_BackgroundLayer->GetChild("Background", false) : nullptr;
}

void Screen::ReFlattenBackgroundLayer()
{
    if (m_BackgroundLayer)
        m_BackgroundLayer->ReFlatten();
}

void Screen::AddToBackgroundLayer(Actor* actor, const std::string& name)
{
    MAKO_ASSERT(m_BackgroundLayer != 0);
    m_BackgroundLayer->AddChild(actor, name);
    m_BackgroundLayer->ReFlatten();
}

void Screen::RemoveFromBackgroundLayer(Actor* actor)
{
    MAKO_ASSERT(m_BackgroundLayer != 0);
    m_BackgroundLayer->RemoveChild(actor);
    m_BackgroundLayer->ReFlatten();
}

bool Screen::IsChild(const Actor* actor) const
{
    return actor && HasChild(actor, false);
}

// ---- Events and tick ----------------------------------------------------------------------

bool Screen::OnEvent(const Event& event)
{
    if (ForEachChild(true, [&event](Actor* child) { return child->OnEvent(event); }))
        return true;
    if (Object::OnEvent(event))
        return true;
    return m_Logic && m_Logic->OnEvent(event);
}

void Screen::Tick()
{
    Actor::Tick();
    if (m_Logic)
        m_Logic->Tick();
}

// ---- Dialogs ------------------------------------------------------------------------------

Actor* Screen::CreateDialogOverlay()
{
    Actor* overlay = new Actor(Palette::Black);
    overlay->SetSize(GetWidth(), GetHeight());
    overlay->ApplyStringProperty("name", "DialogOverlay");
    overlay->SetAlpha(80);
    return overlay;
}

void Screen::StartDialog(Dialog* dialog, bool pauseGame)
{
    MAKO_ASSERT(dialog != 0);
    const int x = (static_cast<std::uint16_t>(GetWidth()) >> 1) -
                  (static_cast<std::uint16_t>(dialog->GetWidth()) >> 1);
    const int y = (static_cast<std::uint16_t>(GetHeight()) >> 1) -
                  (static_cast<std::uint16_t>(dialog->GetHeight()) >> 1);
    dialog->SetPosition(x, y);
    dialog->SetZOrder(SCREEN_Z_DIALOG);
    AddChild(dialog, "");
    // A dialog started again moves to the front rather than being listed twice.
    m_Dialogs.remove(dialog);
    m_Dialogs.push_front(dialog);
    dialog->SetStopping(false);
    GetPostedEventQueue().Post(nullptr, MAKO_DIALOGSTARTED, 0, static_cast<Object*>(dialog));
    if (pauseGame)
        PauseTheGame(true);
    UpdateDialogOverlay();
}

void Screen::StopDialog(Dialog* dialog)
{
    MAKO_ASSERT(IsChild(dialog));
    // A stop by name and a closing click may both reach the dialog before its delete
    // event is handled: the second stop must not queue a second delete.
    if (dialog->IsStopping()) {
        LogAtLevel(3, "Screen::StopDialog: dialog \"%s\" is already stopping.\n",
                   dialog->GetName().c_str());
        return;
    }
    dialog->SetStopping(true);
    dialog->SetVisible(false, false);
    // Both carry the dialog as its Object, like every engine event that names an object.
    GetPostedEventQueue().Post(nullptr, MAKO_DIALOGSTOPPED, 0, static_cast<Object*>(dialog));
    GetPostedEventQueue().Post(this, MAKO_DIALOGDELETE, 0, static_cast<Object*>(dialog));
    if (!IsDialogVisible())
        PauseTheGame(false);
}

void Screen::StopDialog(const std::string& name)
{
    Actor* actor = GetChild(name, false);
    MAKO_ASSERT_MSG(actor != 0,
                    boost::str(boost::format("Could not find dialog with name=\"%1%\"") % name));
    StopDialog(CheckedDownCast<Dialog*>(actor));
}

bool Screen::IsDialogVisible() const
{
    return std::any_of(m_Dialogs.begin(), m_Dialogs.end(),
                       [](const Dialog* d) { return d->IsVisible(); });
}

Dialog* Screen::GetTopDialog(const std::string& name)
{
    MAKO_ASSERT(m_Dialogs.empty() == false);
    if (name.empty())
        return m_Dialogs.front();
    for (Dialog* dialog : m_Dialogs)
        if (dialog->GetName() == name)
            return dialog;
    MAKO_THROW(Exception, boost::str(boost::format("Cannot find dialog with name=%1%\nThe screen "
                                                   "\"%2%\" shows no dialog of that name.") %
                                     name % GetName()));
}

bool Screen::OnDialogDelete(const Event& event)
{
    const Object* named = static_cast<Object*>(EventData1(event));
    // Only a dialog still open on this screen is touched: a pointer that is not in the
    // list may already have been deleted.
    auto open = std::find_if(m_Dialogs.begin(), m_Dialogs.end(),
                             [named](Dialog* d) { return static_cast<const Object*>(d) == named; });
    if (open == m_Dialogs.end()) {
        LogAtLevel(3, "Screen::OnDialogDelete: the dialog is no longer open on \"%s\".\n",
                   GetName().c_str());
        return true;
    }
    Dialog* dialog = *open;
    const Actor* parent = dialog->GetParent();
    MAKO_ASSERT_MSG(IsChild(dialog),
                    boost::str(boost::format("dialog name=%1%\nparent name=%2%") %
                               dialog->GetName() % (parent ? parent->GetName() : "NULL")));
    m_Dialogs.remove(dialog);
    RemoveChild(dialog);
    delete dialog;
    UpdateDialogOverlay();
    return true;
}

void Screen::UpdateDialogOverlay()
{
    if (!m_DialogOverlay)
        return;
    const bool dim = std::any_of(m_Dialogs.begin(), m_Dialogs.end(), [](const Dialog* d) {
        return (d->GetDialogFlags() & DIALOGFLAG_NO_OVERLAY) == 0;
    });
    m_DialogOverlay->SetVisible(dim, false);
}

void Screen::ListenToButtons(Actor* root)
{
    if (!root)
        root = this;
    for (Actor* child : root->GetChildren()) {
        if (Button* button = dynamic_cast<Button*>(child))
            button->AddEventReceiver(this);
        ListenToButtons(child);
    }
}
