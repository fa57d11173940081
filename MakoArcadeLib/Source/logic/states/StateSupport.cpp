#include "logic/states/StateSupport.h"

#include "screens/EndOfPlayAnimation.h"

#include "field/ArcadeActor.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "screens/Dialog.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"
#include "widgets/Button.h"

#include <SDL.h>

namespace ArcadeGameStates {

namespace {

bool (*s_ButtonProbe)() = nullptr;

template <typename Fn> void ForEachDropActor(ArcadeGameLogic* logic, Fn fn)
{
    if (Actor* artefact = logic->GetArtefact())
        fn(artefact);
    for (ActorGroup* group :
         {&logic->GetBricks(), &logic->GetGoobers(), &logic->GetExtraActors(), &logic->GetBalls()})
        for (Actor* actor : group->GetMembers())
            fn(actor);
}

} // namespace

bool IsLeftButtonHeld()
{
    if (s_ButtonProbe)
        return s_ButtonProbe();
    return (SDL_GetMouseState(nullptr, nullptr) & SDL_BUTTON(1)) != 0;
}

void SetLeftButtonProbe(bool (*probe)())
{
    s_ButtonProbe = probe;
}

void SendLeftButton(ArcadeGameLogic* logic, bool pressed)
{
    Event event{};
    event.button.type = pressed ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    logic->OnEvent(event);
}

void RelayPointerMotion(ArcadeGameLogic* logic, const Event& event)
{
    if (event.type != SDL_MOUSEMOTION)
        return;
    if (event.motion.xrel != 0 || event.motion.yrel != 0)
        logic->SendToPaddles(ARCADE_POINTERMOVE, event.motion.xrel, event.motion.yrel);
}

void MoveDropContent(ArcadeGameLogic* logic, int dy)
{
    ForEachDropActor(logic, [dy](Actor* actor) {
        ArcadeActor* arcade = dynamic_cast<ArcadeActor*>(actor);
        PhysicsGeom* geom = arcade ? arcade->GetGeom() : nullptr;
        if (!geom) {
            actor->SetPosition(actor->GetX(), actor->GetY() + dy);
            return;
        }
        // The geometry leads (the actor shows where it is), so it moves by exactly dy.
        const Point<double> centre = geom->GetCenter();
        if (PhysicsBody* body = geom->GetBody())
            body->SetPosition(centre.x, centre.y + dy);
        geom->SetPosition(centre.x, centre.y + dy);
        arcade->SyncFromPhysics();
    });
}

std::string ClickedButtonName(const Event& event)
{
    const Dialog* dialog = dynamic_cast<const Dialog*>(static_cast<Object*>(EventData1(event)));
    const Button* button = dialog ? dialog->GetClickedButton() : nullptr;
    return button ? button->GetName() : std::string();
}

void SetMusicTempo(float tempo)
{
    if (DirectMusic* music = Sound::GetDirectMusic())
        music->SetMasterTempo(tempo);
}

void ApplyPlayerSkill()
{
    lua_State* L = GetGlobalLuaState()->GetCState();
    lua_getglobal(L, "ApplyPlayerSkill");
    if (!lua_isfunction(L, -1)) {
        lua_pop(L, 1);
        return;
    }
    LuaPlus::CallFailure failure;
    if (!MakoLuaState::Call(L, 0, 0, "ApplyPlayerSkill", failure))
        return; // logged by the call; the level loads with the skill it had
}

void ClearFieldAfterPlay(ArcadeGameLogic* logic)
{
    logic->GetPaddleGroup().KillAll();
    logic->GetFlyingTexts().KillAll();
    logic->GetExtraActors().KillAll();
    logic->GetExplosions().KillAll();
    logic->GetSparks().KillAll();
}

EndOfPlayAnimation* ShowCaption(ArcadeGameLogic* logic, EndOfPlayAnimation* animation, int zorder)
{
    if (Actor* layer = logic->GetPlayLayer()) {
        animation->SetSize(layer->GetWidth(), layer->GetHeight());
        animation->SetZOrder(zorder);
        layer->AddChild(animation, "");
    }
    // The caption's constructor made the controller its receiver.
    logic->HearFrom(animation);
    animation->Start();
    return animation;
}

} // namespace ArcadeGameStates
