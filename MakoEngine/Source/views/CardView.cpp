#include "views/CardView.h"

#include "core/Class.h"
#include "core/Config.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Utility.h"
#include "display/Canvas.h"
#include "display/Font.h"
#include "display/Image.h"
#include "geometry/Colors.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <algorithm>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

MAKO_IMPLEMENT_CLASS(CardView, "CardView", "Actor", nullptr, &InstantiateObjectOfClass<CardView>);

namespace {

// The number of levels a card counts progress and secrets against.
const int kLevelCount = Player::kLevelCount;
// The ranks of a game without a configuration, lowest first.
const char* const kDefaultRanks[CardView::kRankCount] = {"Novice", "Student", "Whiz",  "Expert",
                                                         "Pro",    "Master",  "Champ", "Legend"};
// Where the plates sit on the card (the pictures bring their sizes).
const Point<int> kModePlatePosition(0, 0);
const Point<int> kRankPlateRightTop(4, 40);
// The empty band between the top of the rank's line and its letters.
const int kRankLeading = 4;
// The highest row of the card the name's letters may reach: the card's rim (5 pixels)
// lies above, and a clear band of 2 below it.
const int kNameInkTop = 7;
// The pixels the right-aligned texts leave free at the card's right edge: the rim and a
// clear band.
const int kRightMargin = 8;

const char* const kStarNames[5] = {"cardStar1", "cardStar2", "cardStar3", "cardStar4", "cardStar5"};

enum StarFrame { STAR_FULL = 0, STAR_EMPTY = 1, STAR_HALF = 2 };

std::string ConfigString(const std::string& key, const std::string& fallback)
{
    Config* config = Config::GetCurrent();
    if (!config)
        return fallback;
    LuaObject value = config->GetObject(key);
    return value.IsString() ? std::string(value.GetString()) : fallback;
}

int ConfigInteger(const std::string& key, int fallback)
{
    Config* config = Config::GetCurrent();
    if (!config)
        return fallback;
    LuaObject value = config->GetObject(key);
    return value.IsNumber() ? value.GetInteger() : fallback;
}

Point<int> ConfigPoint(const std::string& key, const Point<int>& fallback)
{
    Config* config = Config::GetCurrent();
    if (!config)
        return fallback;
    LuaObject value = config->GetObject(key);
    if (!value.IsTable() || !value[1].IsNumber() || !value[2].IsNumber())
        return fallback;
    return Point<int>(value[1].GetInteger(), value[2].GetInteger());
}

// The name of rank k (1 to 8), from the configuration or the built-in list.
std::string RankName(int k)
{
    return ConfigString("rank." + std::to_string(k), kDefaultRanks[k - 1]);
}

// The first current player's game mode; "Adventure" when nobody is current.
std::string CurrentMode()
{
    PlayerManager* manager = PlayerManager::GetInstance();
    Player* current = manager ? manager->GetCurrentPlayer(1) : nullptr;
    return current ? current->GetMode() : "Adventure";
}

// Sum of entry[field] over the mode's level records, a true flag counting as one.
int SumOfRecordField(const Player& player, const std::string& mode, const std::string& field)
{
    LuaObject records = player.GetGameModeTable(mode)["LevelRecords"];
    if (!records.IsTable())
        return 0;
    int sum = 0;
    for (LuaTableIterator it(records); it; it.Next()) {
        // A damaged card's stray value among the records counts nothing.
        if (!it.GetValue().IsTable())
            continue;
        LuaObject value = it.GetValue()[field];
        if (value.IsNumber())
            sum = ClampToInt(sum + value.GetNumber());
        else if (value.IsBoolean() && value.GetBoolean())
            ++sum;
    }
    return sum;
}

int CountRecords(const Player& player, const std::string& mode)
{
    LuaObject records = player.GetGameModeTable(mode)["LevelRecords"];
    int count = 0;
    if (records.IsTable())
        for (LuaTableIterator it(records); it; it.Next())
            count += it.GetValue().IsTable() ? 1 : 0;
    return count;
}

// The first row of the label's picture that its letters cover (0 for an empty picture).
int FirstInkRow(const Label& label)
{
    const Image* image = label.GetImage();
    SDL_Surface* surface = image ? image->GetSDLSurface() : nullptr;
    if (!surface || surface->format->BytesPerPixel != 4 || surface->format->Amask == 0)
        return 0;
    const SDL_PixelFormat& format = *surface->format;
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(
            static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x)
            if (((row[x] & format.Amask) >> format.Ashift) >= 96)
                return y;
    }
    return 0;
}

std::string Format(const char* pattern, const std::string& value)
{
    return (boost::format(pattern) % value).str();
}

} // namespace

// ---- Construction -------------------------------------------------------------------------

CardView::CardView() : m_Hover(*this)
{
    Build();
}

CardView::CardView(Player* player) : m_Hover(*this)
{
    Build();
    SetPlayer(player);
}

CardView::~CardView() = default;

Actor* CardView::MakeImageChild(const std::string& imageName, int zorder)
{
    Actor* image = new Actor(imageName);
    image->SetZOrder(zorder);
    AddChild(image, "");
    return image;
}

void CardView::Build()
{
    // The highlight and the overlay lie over everything else of the card.
    m_Background = MakeImageChild("bkgCard.png", 0);
    m_RankPlate = MakeImageChild("bkgCardRank.png", 0);
    m_ModePlate = MakeImageChild("bkgCardMode.png", 0);
    m_Highlight = MakeImageChild("bkgCardHighlight.png", 20);
    m_DisabledOverlay = MakeImageChild("bkgCardDisabled.png", 30);
    m_Highlight->SetVisible(false, true);
    m_DisabledOverlay->SetVisible(false, true);
    SetSize(m_Highlight->GetWidth(), m_Highlight->GetHeight());
    m_Highlight->SetPosition(0, 0);
    m_DisabledOverlay->SetPosition(0, 0);
    m_ModePlate->SetPosition(kModePlatePosition.x, kModePlatePosition.y);
    m_RankPlate->SetPosition(GetWidth() - kRankPlateRightTop.x - m_RankPlate->GetWidth(),
                             kRankPlateRightTop.y);

    const std::string fieldFont = ConfigString("CardViewFieldFont", "cleanfont");
    const int fieldSize = ConfigInteger("CardViewFieldFontSize", 14);
    for (int i = 0; i < kLabelCount; ++i) {
        std::string font = fieldFont;
        int size = fieldSize;
        if (i == 0) {
            font = ConfigString("CardViewNameFont", "mainfont");
            size = ConfigInteger("CardViewNameFontSize", 22);
        } else if (i == 5) {
            font = ConfigString("CardViewWordFont", "cleanfont");
            size = ConfigInteger("CardViewWordFontSize", 12);
        } else if (i == 8) {
            font = ConfigString("CardViewModeFont", "serifboldfont");
            size = ConfigInteger("CardViewModeFontSize", 14);
        }
        auto* label = new Label(" ", new Font(font, size, 0), Colors::ByName("Black"),
                                HorizontalAlignment::Left);
        label->SetZOrder(10);
        m_Labels[i] = label;
        AddChild(label, "");
    }
    m_Labels[8]->SetRotation(90.0, BottomLeft, true);

    AcquireAndApplyResource("CardView");
    if (auto* caption = dynamic_cast<Label*>(GetChild("cardStarsLabel", true))) {
        m_StarsCaption = caption->GetText();
        m_StarsCaptionMiddle = caption->GetX() + caption->GetWidth() / 2;
    }

    AddPressStates(*this, *this, m_Hover);
    SetState("Active");
    LayoutLabels();
}

// ---- Player -------------------------------------------------------------------------------

void CardView::SetPlayer(Player* player)
{
    m_Player = player;
    Refresh();
}

bool CardView::IsEmpty() const
{
    return !m_Player || m_Player->IsEmpty();
}

void CardView::ChooseFigures()
{
    // A slot whose play is not saved (its file held, or a save refused or failed) says so,
    // and shows what its file keeps: the figures of the card there, or, where no card file
    // stands, the play's own, which nothing keeps.
    m_SavedCard.reset();
    PlayerManager* players = PlayerManager::GetInstance();
    GameDataIO* io = GameDataIO::GetInstance();
    const int slot = m_Player ? m_Player->GetIndex() : 0;
    const bool unsaved = io && players && slot > 0 && players->GetPlayer(slot) == m_Player &&
                         io->IsSlotUnsaved(slot);
    std::string notice;
    if (unsaved) {
        LuaObject saved;
        switch (io->GetSavedCard(slot, saved)) {
        case GameDataIO::SAVED_CARD_KNOWN:
            m_SavedCard = std::make_unique<Player>(saved);
            notice = GameDataIO::kUnsavedNotice;
            break;
        case GameDataIO::SAVED_CARD_NONE:
            notice = GameDataIO::kUnsavedNewCardNotice;
            break;
        case GameDataIO::SAVED_CARD_UNKNOWN:
            notice = GameDataIO::kUnsavedNotice;
            break;
        }
    }
    m_Labels[5]->SetText(notice, true);
}

Player* CardView::Figures() const
{
    return m_SavedCard ? m_SavedCard.get() : m_Player;
}

void CardView::Refresh()
{
    ChooseFigures();
    if (IsEmpty()) {
        for (int i = 0; i <= 7; ++i)
            if (i != 5)
                m_Labels[i]->SetText("", true);
    } else {
        const std::string mode = CurrentMode();
        LuaObject rank = Figures()->GetGameModeTable(mode)["Rank"];
        LuaObject name = Figures()->GetTable()["Name"];
        m_Labels[0]->SetText(name.IsConvertibleToString() ? name.ToString() : std::string(), true);
        for (int n = 1; n <= 7; ++n)
            UpdateLabel(n);
        // The plate's word is the card's own, whatever the rank.
        m_Labels[8]->SetText(rank.IsString() ? rank.GetString() : "", true);
        m_Labels[8]->SetText("ZappoPlayer", true);
    }
    LayoutLabels();
    UpdateModeAndRank();
}

std::string CardView::RankForLoot(int loot)
{
    if (!Config::GetCurrent())
        return "";
    for (int k = kRankCount; k >= 1; --k) {
        const std::string name = RankName(k);
        const std::string key = (boost::format("rank.%1%.%2%.winnings") % "Adventure" % name).str();
        if (loot >= ConfigInteger(key, 0))
            return name;
    }
    return RankName(1);
}

int CardView::RankIndex(const std::string& rank)
{
    for (int k = 1; k <= kRankCount; ++k)
        if (RankName(k) == rank)
            return k - 1;
    return -1;
}

std::string CardView::ShownRank() const
{
    return RankForLoot(SumOfRecordField(*Figures(), CurrentMode(), "score"));
}

void CardView::SetChildText(const std::string& name, const std::string& text, bool show)
{
    auto* label = dynamic_cast<Label*>(GetChild(name, true));
    if (!label)
        return;
    label->SetText(text, true);
    if (show)
        label->SetVisible(true, true);
}

void CardView::UpdateLabel(int number)
{
    if (!m_Player || number < 1 || number > 7)
        return;
    const std::string mode = CurrentMode();
    switch (number) {
    case 1: {
        const int loot = ClampToInt(double(SumOfRecordField(*Figures(), "Lab", "score")) +
                                    SumOfRecordField(*Figures(), "Adventure", "score"));
        const std::string text = FormatWithThousandsSeparators(loot);
        m_Labels[1]->SetText(Format("Total: %1%", text), true);
        m_Labels[1]->SetVisible(false, true);
        SetChildText("cardLootLabel", text, true);
        break;
    }
    case 2:
        m_Labels[2]->SetVisible(false, true);
        SetChildText("cardBallsLabel",
                     std::to_string(Figures()->GetModeValue("Adventure", "ballsLeft")), true);
        break;
    case 3: {
        SetChildText("cardSecretsLabel",
                     std::to_string(Figures()->CountSecretsFound()) + "/" +
                         std::to_string(kLevelCount),
                     true);
        m_Labels[3]->SetVisible(false, true);
        break;
    }
    case 4:
        m_Labels[4]->SetText(
            Format("Complete: %1%%%",
                   std::to_string(std::min(CountRecords(*Figures(), mode), kLevelCount) * 100 /
                                  kLevelCount)),
            true);
        m_Labels[4]->SetVisible(false, true);
        break;
    case 5:
        UpdateStars();
        break;
    case 6: {
        m_Labels[6]->SetText(Format("the %1%", ShownRank()), true);
        UpdateModeAndRank();
        break;
    }
    default:
        break;
    }
    LayoutLabels();
}

void CardView::UpdateStars()
{
    if (Actor* starsLabel = GetChild("cardStarsLabel", true))
        starsLabel->SetVisible(true, true);
    Actor* stars[5];
    for (int i = 0; i < 5; ++i) {
        Actor* actor = GetChild(kStarNames[i], true);
        MAKO_ASSERT(actor != 0);
        stars[i] = actor;
        actor->SetFrame(STAR_EMPTY);
    }
    const std::string mode = CurrentMode();
    const int records = CountRecords(*Figures(), mode);
    if (records == 0)
        return;
    // The card check holds each goal flag to 0 or 1, so the average lies from 0 to 5.
    double sum = 0;
    for (const char* field : {"allLoot", "gotBigScore", "noBallsLost", "fastTime", "secret"})
        sum += SumOfRecordField(*Figures(), mode, field);
    const float average = static_cast<float>(std::clamp(sum / records, 0.0, 5.0));
    const int whole = static_cast<int>(average);
    for (int i = 0; i < whole; ++i)
        stars[i]->SetFrame(STAR_FULL);
    if (average - static_cast<float>(whole) >= 0.5f && whole < 5)
        stars[whole]->SetFrame(STAR_HALF);
}

// ---- Layout -------------------------------------------------------------------------------

void CardView::LayoutLabels()
{
    const int w = GetWidth();
    m_Labels[0]->SetPosition(25, 0);
    m_Labels[1]->SetPosition(30, 38);
    m_Labels[2]->SetPosition(30, 56);
    m_Labels[3]->SetPosition(30, 74);
    m_Labels[4]->SetPosition(30, 92);
    PlaceUnsavedNotice();
    m_Labels[6]->SetPosition(w - kRightMargin - m_Labels[6]->GetWidth(), 20);
    m_Labels[7]->SetPosition(w - kRightMargin - m_Labels[7]->GetWidth(), 103);
    FitNameBesideRank();
    UpdateModeAndRank();
}

void CardView::PlaceUnsavedNotice()
{
    Label* notice = m_Labels[5];
    const bool shown = !notice->GetText().empty() && notice->GetText() != " ";
    auto* caption = dynamic_cast<Label*>(GetChild("cardStarsLabel", true));
    if (caption && caption->GetText() != (shown ? " " : m_StarsCaption)) {
        // The stars hang from the middle of the caption's line, which stays where it was
        // whatever the line holds.
        caption->SetText(shown ? " " : m_StarsCaption, true);
        caption->SetPosition(m_StarsCaptionMiddle - caption->GetWidth() / 2, caption->GetY());
        for (const char* name : kStarNames)
            if (Actor* star = caption->GetChild(name, true))
                star->UpdateAlignment();
    }
    // Across the face right of the mode plate.
    const int left = m_ModePlate->GetX() + m_ModePlate->GetWidth();
    const int right = GetWidth() - kRightMargin;
    notice->SetPosition(left + (right - left - notice->GetWidth()) / 2,
                        caption ? caption->GetY() : 95 - notice->GetHeight() / 2);
}

void CardView::FitNameBesideRank()
{
    // The name's lower edge shares a band with the rank. A name that reaches over the rank
    // is drawn smaller: across the card's width when that lifts it clear above the rank,
    // else short enough to end before the rank begins.
    Label* name = m_Labels[0];
    const Label* rank = m_Labels[6];
    // However small the name is drawn, its letters begin below the card's rim.
    const auto fitTo = [name](int width) {
        if (width > 0 && name->GetWidthLimit() != width) {
            name->SetWidthLimit(width);
            name->SetText(name->GetText(), true);
        }
        name->SetPosition(name->GetX(), std::max(0, kNameInkTop - FirstInkRow(*name)));
    };
    fitTo(GetWidth() - 8 - name->GetX());
    const bool hasRank = !rank->GetText().empty() && rank->GetText() != " ";
    const int beside = rank->GetX() - 6 - name->GetX();
    // A line's box holds room above its capitals: the rank's letters begin a few pixels
    // below its top.
    const int rankInkTop = rank->GetY() + kRankLeading;
    if (!hasRank || name->GetWidth() <= beside || name->GetY() + name->GetHeight() <= rankInkTop)
        return;
    fitTo(beside);
}

void CardView::UpdateModeAndRank()
{
    const std::string mode = CurrentMode();
    // The mode word stands up along the plate, centred across it, its foot moved from
    // the plate's bottom by the configured offset.
    const Point<int> offset = ConfigPoint("CardViewModeOffset", Point<int>(0, -4));
    Label* word = m_Labels[8];
    Image* upright = word->GetRotatedImage();
    const Point<int> size =
        upright ? upright->GetFrameSize() : Point<int>(word->GetWidth(), word->GetHeight());
    const Point<int> shift = word->GetRotationOffset();
    word->SetPosition(m_ModePlate->GetX() + m_ModePlate->GetWidth() / 2 - size.x / 2 - shift.x +
                          offset.x,
                      m_ModePlate->GetY() + m_ModePlate->GetHeight() - size.y - shift.y + offset.y);
    for (int i = 1; i <= 3; ++i) {
        if (mode == ConfigString("GameMode" + std::to_string(i), "")) {
            Image* plate = m_ModePlate->GetImage();
            if (plate && i - 1 < plate->GetNumFrames())
                m_ModePlate->SetFrame(i - 1);
        }
    }
    if (!m_Player)
        return;
    const int index = RankIndex(ShownRank());
    Image* plate = m_RankPlate->GetImage();
    if (index >= 0 && plate && index < plate->GetNumFrames())
        m_RankPlate->SetFrame(index);
}

// ---- Scene --------------------------------------------------------------------------------

void CardView::Tick()
{
    m_Hover.CheckOnTick(*this);
    Actor::Tick();
}

void CardView::Render(Canvas& canvas)
{
    canvas.PushState();
    canvas.Translate(m_DrawOffset.x, m_DrawOffset.y);
    Actor::Render(canvas);
    canvas.PopState();
}

void CardView::SetVisible(bool visible, bool recursive)
{
    auto* notice = new LuaObject;
    notice->AssignString(GetGlobalLuaState(), "visibility changed");
    GetPostedEventQueue().Post(this, MAKO_INTERNALEVENT, 0, IntToEventData(visible ? 1 : 0),
                               notice);
    Actor::SetVisible(visible, recursive);
}

void CardView::SetEnabled(bool enabled)
{
    m_Enabled = enabled;
    m_Hover.RequestRecheck();
}

Label* CardView::GetLabel(int index) const
{
    return index >= 0 && index < kLabelCount ? m_Labels[index] : nullptr;
}

bool CardView::OnMouseMotion(const Event& event)
{
    m_Hover.Update(*this, event.motion.x, event.motion.y);
    return false;
}

bool CardView::OnScreenChange(const Event&)
{
    m_Hover.RequestRecheck();
    return false;
}

// ---- Press states -------------------------------------------------------------------------

void CardView::EnterPressState(PressState state)
{
    if (state == PRESS_ACTIVE) {
        if (m_Highlight)
            m_Highlight->SetVisible(false, true);
    } else if (state == PRESS_PRESSED) {
        Sound::PlaySound("click.ogg", false);
        m_DrawOffset = Point<int>(2, 2);
    }
}

void CardView::LeavePressState(PressState state)
{
    if (state == PRESS_ACTIVE) {
        if (m_Highlight)
            m_Highlight->SetVisible(true, true);
    } else if (state == PRESS_PRESSED) {
        m_DrawOffset = Point<int>(0, 0);
    }
}

void CardView::Click()
{
    PostEvent(MAKO_CARDCLICK, static_cast<Object*>(this));
}
