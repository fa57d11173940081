#include "screens/EndLevelBonusDialog.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/Utility.h"
#include "lua/MakoLuaState.h"
#include "scene/ParticleEmitter.h"
#include "scene/ParticleManager.h"
#include "screens/PaperRules.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <algorithm>

MAKO_IMPLEMENT_CLASS(EndLevelBonusDialog, "EndLevelBonusDialog", "Dialog", nullptr, nullptr);

namespace {

const char* const kResourceName = "EndLevelBonusDialog";
const char* const kBurstTemplate = "StarGotEmitter";
const char* const kPointsTemplate = "FlyingScoreFont";
// A burst covers this area around its centre; its particles start from the centre.
const int kBurstWidth = 90;
const int kBurstHeight = 36;
// Points fly up to the letter's top edge and fade out meanwhile.
const int kPointsFlightMs = 1000;
const int kPointsZOrder = 100;
const int kParticlesZOrder = 1000;

Point<int> CentreOf(const SDL_Rect& r)
{
    return Point<int>(r.x + r.w / 2, r.y + r.h / 2);
}

} // namespace

EndLevelBonusDialog::EndLevelBonusDialog(const std::string& missionText, int score)
    : Dialog(kResourceName, 0)
{
    ApplyStringProperty("name", kResourceName);
    // The resource's title is a dialog property, which the resource applied while this was
    // a plain actor: it becomes the title label here.
    const LuaPlus::LuaObject resources = GetGlobalLuaState()->GetGlobals()["Resources"];
    const LuaPlus::LuaObject resource =
        resources.IsTable() ? resources[kResourceName] : LuaPlus::LuaObject();
    if (resource.IsTable() && resource["title"].IsString())
        SetTitle(resource["title"].GetString(), -1);
    // The game is paused while the letter shows: its buttons keep answering the pointer.
    for (const char* name : {"NextButton", "ReplayButton", "QuitButton"})
        if (Actor* button = GetChild(name))
            button->SetFlags(button->GetFlags() | ACTORFLAG_TICK_WHILE_PAUSED);
    PaperRules::SitAllOnRules(*this);
    SetLabelText("missionLabel", missionText);
    SetScore(score);
    m_Particles = new ParticleManager();
    m_Particles->SetZOrder(kParticlesZOrder);
    AddChild(m_Particles, "");
}

// The groups go first; their members are children and go with the letter's tree.
EndLevelBonusDialog::~EndLevelBonusDialog() = default;

void EndLevelBonusDialog::Tick()
{
    if (m_Particles && m_Particles->CanTick())
        m_Particles->Tick();
    m_Emitters.Tick();
    m_FlyingLabels.Tick();
    for (const char* name : {"NextButton", "ReplayButton", "QuitButton"})
        if (Actor* button = GetChild(name); button && button->CanTick())
            button->Tick();
}

void EndLevelBonusDialog::SetScore(int score)
{
    if (Label* label = dynamic_cast<Label*>(GetChild("scoreLabel"))) {
        label->SetText(boost::str(boost::format("%1%") % FormatWithThousandsSeparators(score)),
                       true);
        label->SetVisible(true, true);
        PaperRules::SitOnRule(*label, *this);
    }
}

void EndLevelBonusDialog::SetTopScore(int topScore, bool newTop)
{
    Label* label = dynamic_cast<Label*>(GetChild("topScoreValue"));
    if (!label)
        return;
    label->SetText(FormatWithThousandsSeparators(topScore), true);
    PaperRules::SitOnRule(*label, *this);
    if (!newTop)
        return;
    const SDL_Rect r = label->GetScreenRect();
    const Point<int> left = GlobalToLocal(r.x, r.y + r.h / 2);
    const Point<int> right = GlobalToLocal(r.x + r.w, r.y + r.h / 2);
    StarBurst(left.x, left.y);
    StarBurst(right.x, right.y);
}

void EndLevelBonusDialog::SetLabelText(const std::string& name, const std::string& text)
{
    if (Label* label = dynamic_cast<Label*>(GetChild(name))) {
        label->SetText(text, true);
        PaperRules::SitOnRule(*label, *this); // a caption shrunk to its width sits anew
    }
}

void EndLevelBonusDialog::SetMessage(const std::string& name, const std::string& text)
{
    SetLabelText(boost::str(boost::format("%1%Message") % name), text);
}

Actor* EndLevelBonusDialog::FindStar(const std::string& name) const
{
    Actor* actor = Actor::GetChild(name, true);
    MAKO_ASSERT(actor != 0);
    return actor;
}

void EndLevelBonusDialog::SetStar(const std::string& name, int state, int points)
{
    Actor* star = FindStar(boost::str(boost::format("actor%1%Star") % name));
    star->SetFrame(state == 2 ? STAR_EARNED_BEFORE : state == 0 ? STAR_NOT_EARNED : STAR_EARNED);
    if (points == 0)
        return;
    const Point<int> centre = [&] {
        const Point<int> c = CentreOf(star->GetScreenRect());
        return GlobalToLocal(c.x, c.y);
    }();
    Label* flying =
        Label::CreateFromResource(kPointsTemplate, FormatWithThousandsSeparators(points));
    flying->SetZOrder(kPointsZOrder);
    AddChild(flying, "");
    flying->SetPosition(centre.x - flying->GetWidth() / 2, centre.y - flying->GetHeight() / 2);
    m_FlyingLabels.Add(flying);
    flying->SlideTo(centre.x - flying->GetWidth() / 2, 0, kPointsFlightMs);
    flying->FadeOut(kPointsFlightMs, false);
    StarBurst(centre.x, centre.y);
}

void EndLevelBonusDialog::SetAwardFrames(int count, int frame, bool burst)
{
    count = std::clamp(count, 0, kAwardStars);
    std::vector<Actor*> stars;
    for (int i = 1; i <= kAwardStars; ++i) {
        Actor* star = FindStar(boost::str(boost::format("actorStar%1%") % i));
        star->SetFrame(STAR_NOT_EARNED);
        stars.push_back(star);
    }
    for (int i = 0; i < count; ++i) {
        stars[i]->SetFrame(frame);
        if (burst) {
            const Point<int> c = CentreOf(stars[i]->GetScreenRect());
            const Point<int> local = GlobalToLocal(c.x, c.y);
            StarBurst(local.x, local.y);
        }
    }
}

void EndLevelBonusDialog::SetAward(int count)
{
    SetAwardFrames(count, STAR_EARNED, true);
}

void EndLevelBonusDialog::SetLastAward(int count)
{
    SetAwardFrames(count, STAR_EARNED_BEFORE, false);
}

void EndLevelBonusDialog::ShowMessageLine(const std::string& text)
{
    if (Label* label = dynamic_cast<Label*>(GetChild("messageLabel"))) {
        label->SetText(text, true);
        label->SetVisible(true, true);
        PaperRules::SitOnRule(*label, *this);
    }
}

void EndLevelBonusDialog::StarBurst(int x, int y)
{
    // Particles take screen coordinates: the manager sits on the screen's origin.
    const Point<int> origin = GlobalToLocal(0, 0);
    m_Particles->SetPosition(origin.x, origin.y);
    auto* emitter = new ParticleEmitter(kBurstTemplate, m_Particles);
    emitter->SetSize(kBurstWidth, kBurstHeight);
    m_Emitters.Add(emitter);
    AddChild(emitter, "");
    emitter->SetPosition(x - kBurstWidth / 2, y - kBurstHeight / 2);
    emitter->Start();
}
