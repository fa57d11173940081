#include "screens/EndLevelBonusDialog.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/Utility.h"
#include "display/Font.h"
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

Point<int> RectCentre(const SDL_Rect& r)
{
    return Point<int>(r.x + r.w / 2, r.y + r.h / 2);
}

// The message line keeps right of the paper's red margin line and short of its right edge;
// the resource centres its lines between the two.
const int kMessageRight = 20;
// A warning is drawn smaller to fit its line, down to this size; below it, the reason takes
// the next rule, again down to the smallest size, and is shortened only beyond that.
const int kSmallestOneLineSize = 15;
const int kSmallestWarningSize = 10;
// The pitch of the paper's rules when its picture names none.
const int kDefaultPitch = 24;
// What stands on the rules below the message line: the best scores and the award stars.
const char* const kBelowTheMessage[] = {"topScoreLabel", "topScoreValue", "awardLabel",
                                        "actorStar1",    "actorStar2",    "actorStar3",
                                        "actorStar4",    "actorStar5"};
const char* const kCutMark = "...";

int WidthIn(const Font& font, const std::string& text)
{
    return text.empty() ? 0 : font.GetTextSize(text).x;
}

// The text without its last UTF-8 character.
void DropLastCharacter(std::string& text)
{
    while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
        text.pop_back();
    if (!text.empty())
        text.pop_back();
}

// The word with its middle taken out ("/home/.../Player1.card") until it fits the width; both
// ends are kept as far as they fit. Cuts fall between UTF-8 characters.
std::string CutInTheMiddle(const Font& font, const std::string& word, int width)
{
    if (WidthIn(font, word) <= width)
        return word;
    std::string head = word.substr(0, word.size() / 2), tail = word.substr(word.size() / 2);
    while (!tail.empty() && (static_cast<unsigned char>(tail.front()) & 0xC0) == 0x80) {
        head += tail.front();
        tail.erase(0, 1);
    }
    while (!(head.empty() && tail.empty()) && WidthIn(font, head + kCutMark + tail) > width) {
        if (head.size() >= tail.size()) {
            DropLastCharacter(head);
        } else {
            tail.erase(0, 1);
            while (!tail.empty() && (static_cast<unsigned char>(tail.front()) & 0xC0) == 0x80)
                tail.erase(0, 1);
        }
    }
    return head + kCutMark + tail;
}

// The text with each word wider than the room given (a path) cut in its middle to it.
std::string WithLongWordsCut(const Font& font, const std::string& text, int room)
{
    std::string cut;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        cut += CutInTheMiddle(font, text.substr(start, end - start), room);
        if (end < text.size())
            cut += ' ';
        start = end + 1;
    }
    return cut;
}

// The text whole when it fits the width in the font. Else its long words (paths) lose their
// middles, each to a half, a third, then a quarter of the width; and what still does not
// fit is cut at the end, "..." after it.
std::string ShortenToFit(const Font& font, const std::string& text, int width)
{
    if (WidthIn(font, text) <= width)
        return text;
    std::string shortened = text;
    for (int share = 2; share <= 4; ++share) {
        shortened = WithLongWordsCut(font, text, width / share);
        if (WidthIn(font, shortened) <= width)
            return shortened;
    }
    while (!shortened.empty() && WidthIn(font, shortened + kCutMark) > width) {
        DropLastCharacter(shortened);
        while (!shortened.empty() && shortened.back() == ' ')
            shortened.pop_back();
    }
    return shortened + kCutMark;
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
    if (auto* message = dynamic_cast<Label*>(GetChild("messageLabel"));
        message && message->GetFont()) {
        m_MessageSize = message->GetFont()->GetPointSize();
    }
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
        const Point<int> c = RectCentre(star->GetScreenRect());
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
            const Point<int> c = RectCentre(stars[i]->GetScreenRect());
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
        SetMessageText(*label, m_MessageSize, text);
    }
}

int EndLevelBonusDialog::GetMessageWidth() const
{
    return GetWidth() - kMessageLeft - kMessageRight;
}

void EndLevelBonusDialog::ShowWarning(const std::string& heading, const std::string& reason)
{
    Label* label = dynamic_cast<Label*>(GetChild("messageLabel"));
    Label* second = dynamic_cast<Label*>(GetChild("messageReasonLabel"));
    if (!label || !label->GetFont())
        return;
    const std::string name = label->GetFont()->GetFontName();
    const std::string whole = heading + " " + reason;
    const int width = GetMessageWidth();
    for (int size = m_MessageSize; size >= kSmallestOneLineSize; --size) {
        if (WidthIn(Font(name, size, 0), whole) <= width || !second) {
            SetMessageText(*label, size, ShortenToFit(Font(name, size, 0), whole, width));
            return;
        }
    }
    // The heading whole on the message's rule, the reason on the next.
    SetMessageText(*label, m_MessageSize,
                   ShortenToFit(Font(name, m_MessageSize, 0), heading, width));
    int size = m_MessageSize;
    while (size > kSmallestWarningSize && WidthIn(Font(name, size, 0), reason) > width)
        --size;
    PaperRules::Rules rules;
    MakeRoomBelowTheMessage(PaperRules::Read(GetImage(), rules) ? rules.pitch : kDefaultPitch);
    SetMessageText(*second, size, ShortenToFit(Font(name, size, 0), reason, width));
}

void EndLevelBonusDialog::MakeRoomBelowTheMessage(int pitch)
{
    if (m_RoomBelowMessage)
        return;
    m_RoomBelowMessage = true;
    // The best scores and the stars move down a rule; the paper has one free above the
    // buttons.
    for (const char* name : kBelowTheMessage) {
        Actor* below = GetChild(name);
        if (!below)
            continue;
        const int x = below->GetX(), y = below->GetY();
        below->SetAlignmentOffset(0, 0);
        below->SetAlignmentOffset(x - below->GetX(), y - below->GetY() + pitch);
    }
}

void EndLevelBonusDialog::SetMessageText(Label& label, int size, const std::string& text)
{
    if (size > 0 && label.GetFont() && label.GetFont()->GetPointSize() != size)
        label.SetFont(new Font(label.GetFont()->GetFontName(), size, 0), false);
    label.SetText(text, true);
    label.SetVisible(true, true);
    PaperRules::SitOnRule(label, *this);
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
