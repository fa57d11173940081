#include "screens/ArcadeMapScreen.h"

#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/Utility.h"
#include "display/Font.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "logic/PlayerSkill.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "screens/GameStart.h"
#include "screens/ScreenManager.h"
#include "sound/Sound.h"
#include "widgets/Button.h"
#include "widgets/ButtonCaption.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using LuaPlus::LuaObject;

namespace {

// Space between the dots of a route, in pixels along the line.
const double kRouteDotSpacing = 9.0;
// How far a route bows out sideways, as a share of its length.
const double kRouteBow = 0.12;
// The pixels a tag's caption leaves free at each end: the marker rings drawn inside it.
const int kTagRing = 8;
// The pixels a level plaque's caption leaves free at each end: the newest level's seal
// takes the left end up to x 19.
const int kSealClearance = 26;

const NotepadScreen::Texts kMapTexts = {
    "The map", "ArcadeMapScreen", "gametip.map", "The Map", "help.map",
};

} // namespace

ArcadeMapScreen::ArcadeMapScreen() : NotepadScreen("MapScreen", "ArcadeMapScreen", kMapTexts)
{
    AddEpisodePins();
    ListenToButtons();
    // The tags read alike, and so do the buttons of the bottom row.
    ShareCaptionSize(*this);
}

// ---- Building the pins ---------------------------------------------------------------------

void ArcadeMapScreen::AddEpisodePins()
{
    LuaObject locations = GameProgress::ConfigTable("PinLocations");
    const int episodes = GameProgress::EpisodeCount();
    int lastX = 0, lastY = 0;
    for (int e = 1; e <= episodes; ++e) {
        const std::string name = GameProgress::EpisodeName(e);
        LuaObject where = locations.IsTable() ? locations[name.c_str()] : LuaObject();
        if (!where.IsTable() || !where[1].IsNumber() || !where[2].IsNumber()) {
            Log("WARNING: ArcadeMapScreen: PinLocations has no place for the episode \"%s\"; "
                "its pin stands in the corner.\n",
                name.c_str());
        }
        const int x = where.IsTable() ? ReadWholeNumber(where[1], 20) : 20;
        const int y = where.IsTable() ? ReadWholeNumber(where[2], 20) : 20;
        if (e > 1)
            AddRoute("actorLine" + name, lastX, lastY, x, y);
        lastX = x;
        lastY = y;

        LuaObject params;
        params.AssignNewTable(GetGlobalLuaState());
        params.SetString("resource", "MapPinButton");
        std::unique_ptr<Object> made(ClassManager::GetInstance()->InstantiateObject(params));
        auto* button = dynamic_cast<Button*>(made.get());
        MAKO_ASSERT_MSG(button != 0, "The resource \"MapPinButton\" must make a Button.");
        // Owned here until the screen takes it: a stop asked for may end the loads below.
        button->ApplyStringProperty("name", "button" + name);
        // A long name shrinks to fit inside the tag's marker rings.
        if (Label* caption = button->GetLabel())
            caption->SetWidthLimit(button->GetWidth() - 2 * kTagRing);
        button->SetText(SpacedName(name));
        std::unique_ptr<Actor> owned(Actor::CreateFromResource("MapPushpin"));
        Actor* pin = owned.get();
        pin->ApplyStringProperty("name", "pushpin" + name);
        button->AddChild(owned.release(), "");
        // The pin's point (the middle of its lower edge) stands on the episode's place.
        const int tipX = pin->GetX() + pin->GetWidth() / 2;
        const int tipY = pin->GetY() + pin->GetHeight();
        button->SetPosition(x - tipX, y - tipY);
        made.release();
        AddChild(button, "");
    }
}

void ArcadeMapScreen::AddRoute(const std::string& name, int x0, int y0, int x1, int y1)
{
    auto* route = new Actor();
    route->ApplyStringProperty("name", name);
    route->SetZOrder(2);
    AddChild(route, "");
    // A gentle curve (a quadratic through a control point set off to one side), dotted.
    const double dx = x1 - x0, dy = y1 - y0;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double cx = (x0 + x1) / 2.0 - dy * kRouteBow;
    const double cy = (y0 + y1) / 2.0 + dx * kRouteBow;
    const int dots = static_cast<int>(length / kRouteDotSpacing);
    // The ends are left free: the pins stand there.
    for (int i = 1; i < dots; ++i) {
        const double t = static_cast<double>(i) / dots;
        const double u = 1.0 - t;
        const double px = u * u * x0 + 2 * u * t * cx + t * t * x1;
        const double py = u * u * y0 + 2 * u * t * cy + t * t * y1;
        Actor* dot = Actor::CreateFromResource("MapRouteDot");
        dot->SetPosition(static_cast<int>(std::lround(px)) - dot->GetWidth() / 2,
                         static_cast<int>(std::lround(py)) - dot->GetHeight() / 2);
        route->AddChild(dot, "");
    }
}

// ---- The player's tables -------------------------------------------------------------------

LuaObject ArcadeMapScreen::AdventureTable()
{
    PlayerManager* players = PlayerManager::GetInstance();
    Player* player = players ? players->GetCurrentPlayer(1) : nullptr;
    if (!player)
        return LuaObject();
    player->ShowMode("Adventure");
    return player->GetGameModeTable("Adventure");
}

MapProgress ArcadeMapScreen::ReadProgress()
{
    return MapProgress::Read(AdventureTable());
}

void ArcadeMapScreen::Select(const MapPlace& place)
{
    LuaObject table = AdventureTable();
    MapProgress progress = MapProgress::Read(table);
    progress.selected = place;
    progress.WriteSelection(table);
    Update();
}

bool ArcadeMapScreen::CanPlaySelection()
{
    const MapProgress progress = ReadProgress();
    if (!progress.IsUnlocked(progress.selected))
        return false;
    const std::string name =
        LevelManager::GetLevelNameAt(progress.selected.episode, progress.selected.level);
    LuaObject levels = GetGlobalLuaState()->GetGlobal("Levels");
    return !name.empty() && levels.IsTable() && levels[name.c_str()].IsTable();
}

void ArcadeMapScreen::PlayIfUnlocked()
{
    if (!CanPlaySelection()) {
        Update();
        return;
    }
    StartAdventureFromMap("GameScreen");
}

// ---- Update --------------------------------------------------------------------------------

void ArcadeMapScreen::Update()
{
    ApplyPlayerSkill();
    LuaObject table = AdventureTable();
    if (!table.IsTable()) {
        Log("WARNING: ArcadeMapScreen::Update: there is no current player.\n");
        return;
    }
    const MapProgress progress = MapProgress::Read(table);
    LuaObject levelsTable = GetGlobalLuaState()->GetGlobal("Levels");
    MAKO_ASSERT(levelsTable.IsTable());
    const LuaObject& levels = levelsTable;
    LuaObject records = table["LevelRecords"];

    // The final level: the last of the last episode.
    const int last = progress.EpisodeCount();
    const std::string finalName = LevelManager::GetLevelNameAt(last, progress.LevelCount(last));
    const bool finalPlayed =
        !finalName.empty() && records.IsTable() && !records[finalName.c_str()].IsNil();

    UpdateLevelList(progress, levels, records);
    UpdatePins(progress, finalPlayed);
    UpdateNotepad(progress, levels, records);

    for (int e = 2; e <= progress.EpisodeCount(); ++e)
        if (Actor* line = GetChild("actorLine" + GameProgress::EpisodeName(e), true))
            line->SetVisible(progress.IsEpisodeUnlocked(e), true);

    if (auto* play = dynamic_cast<Button*>(GetChild("PlayButton", true))) {
        if (CanPlaySelection())
            play->Enable();
        else
            play->Disable();
    }
}

namespace {

// Gives the caption the point size it was made with, noting that size the first time.
void RestorePointSize(Label& caption, int& madeSize)
{
    const Font* font = caption.GetFont();
    if (!font)
        return;
    if (madeSize == 0)
        madeSize = font->GetPointSize();
    else if (font->GetPointSize() != madeSize)
        caption.SetFont(new Font(font->GetFontName(), madeSize, font->GetFontIndex()), false);
}

} // namespace

void ArcadeMapScreen::UpdateLevelList(const MapProgress& progress, const LuaObject& levels,
                                      const LuaObject& records)
{
    const int episode = progress.selected.episode;
    const bool six = progress.LevelCount(episode) >= 6 && progress.IsUnlocked(MapPlace{episode, 6});
    Actor* used = RequireActor(six ? "LevelListView6" : "LevelListView5");
    Actor* other = RequireActor(six ? "LevelListView5" : "LevelListView6");
    // A hidden list's buttons are hidden too, so that none of them takes a click.
    other->SetVisible(false, false);
    for (Actor* child : other->GetChildren())
        if (dynamic_cast<Button*>(child))
            child->SetVisible(false, false);
    used->SetVisible(true, false);

    RequireLabel("labelEpisodeName")->SetText(SpacedName(GameProgress::EpisodeName(episode)), true);
    CenterInParent(RequireLabel("labelEpisodeName"));

    const int buttons = six ? 6 : 5;
    for (int i = 1; i <= buttons; ++i) {
        const std::string buttonName = "buttonLevel" + std::to_string(i);
        auto* button = dynamic_cast<Button*>(used->GetChild(buttonName, true));
        MAKO_ASSERT_MSG(button != 0, "The level list needs the button " + buttonName + ".");
        const MapPlace place{episode, i};
        const std::string name = LevelManager::GetLevelNameAt(episode, i);
        if (name.empty()) {
            button->SetText("");
            button->SetVisible(false, false);
            continue;
        }
        LuaObject level = levels[name.c_str()];
        // A level whose table is missing is listed by its name and cannot be chosen.
        if (!level.IsTable())
            Log("WARNING: ArcadeMapScreen: the level \"%s\" has no table.\n", name.c_str());
        button->SetVisible(true, false);
        // The caption, centred, keeps clear of the newest level's seal at the left end.
        if (Label* caption = button->GetLabel()) {
            RestorePointSize(*caption, m_LevelCaptionSize);
            caption->SetWidthLimit(button->GetWidth() - 2 * kSealClearance);
        }
        button->SetText(LevelTitle(name, level));
        button->SetFlashing(false);
        const bool played = records.IsTable() && !records[name.c_str()].IsNil();
        const bool newest = place == progress.unlocked && !played;
        button->ShowTextBackground2(newest);
        if (newest)
            button->SetFlashing(true, Palette::DarkRed);
        button->ShowTextBackground1(i == progress.selected.level);
        if (progress.IsUnlocked(place) && level.IsTable())
            button->Enable();
        else
            button->Disable();
    }
    ShareCaptionSize(*used);
}

void ArcadeMapScreen::UpdatePins(const MapProgress& progress, bool finalPlayed)
{
    for (int e = 1; e <= progress.EpisodeCount(); ++e) {
        const std::string name = GameProgress::EpisodeName(e);
        auto* button = dynamic_cast<Button*>(GetChild("button" + name, true));
        MAKO_ASSERT_MSG(button != 0, "The map needs the pin button" + name + ".");
        if (!progress.IsEpisodeUnlocked(e)) {
            button->SetVisible(false, false);
            continue;
        }
        if (Actor* pin = button->GetChild("pushpin" + name, true)) {
            button->ShowTextBackground1(false);
            button->ShowTextBackground2(false);
            pin->SetFrame(e == progress.unlocked.episode   ? 0
                          : e == progress.selected.episode ? 1
                                                           : 2);
            button->SetFlashing(false);
            if (e == progress.unlocked.episode && !finalPlayed) {
                button->ShowTextBackground2(true);
                button->SetFlashing(true, Palette::DarkRed);
            } else if (e == progress.selected.episode) {
                button->ShowTextBackground1(true);
            }
        }
        button->SetVisible(true, false);
    }
}

void ArcadeMapScreen::UpdateNotepad(const MapProgress& progress, const LuaObject& levels,
                                    const LuaObject& records)
{
    const std::string name =
        LevelManager::GetLevelNameAt(progress.selected.episode, progress.selected.level);
    ShowNotepad(name, name.empty() ? LuaObject() : levels[name.c_str()],
                records.IsTable() && !name.empty() ? records[name.c_str()] : LuaObject());
}

// ---- Events --------------------------------------------------------------------------------

bool ArcadeMapScreen::OnOwnButton(const std::string& name)
{
    const MapProgress progress = ReadProgress();
    if (name == "LevelLeftButton") {
        Select(progress.PreviousLevel(progress.selected));
        return true;
    }
    if (name == "LevelRightButton") {
        Select(progress.NextLevel(progress.selected));
        return true;
    }
    if (name == "EpisodeLeftButton") {
        Select(progress.PreviousEpisode(progress.selected.episode));
        return true;
    }
    if (name == "EpisodeRightButton") {
        Select(progress.NextEpisode(progress.selected.episode));
        return true;
    }
    const std::string levelPrefix = "buttonLevel";
    if (name.compare(0, levelPrefix.size(), levelPrefix) == 0) {
        const MapPlace place{progress.selected.episode,
                             std::atoi(name.c_str() + levelPrefix.size())};
        if (progress.IsUnlocked(place))
            Select(place);
        return true;
    }
    for (int e = 1; e <= progress.EpisodeCount(); ++e) {
        if (name == "button" + GameProgress::EpisodeName(e)) {
            if (progress.IsEpisodeUnlocked(e))
                Select(MapPlace{e, 1});
            return true;
        }
    }
    return false;
}

bool ArcadeMapScreen::OnKeyDown(const Event& event)
{
    const int key = event.key.keysym.sym;
    if (IsOnlyCtrlAltDown(event.key.keysym.mod) && OnDeveloperKey(key))
        return true;
    if (key == SDLK_UP || key == SDLK_DOWN) {
        const MapProgress progress = ReadProgress();
        const int episode = progress.selected.episode;
        Sound::PlaySound("click2.ogg", false);
        Select(key == SDLK_UP ? progress.NextEpisode(episode) : progress.PreviousEpisode(episode));
        return false;
    }
    return NotepadScreen::OnKeyDown(event);
}

bool ArcadeMapScreen::OnDeveloperKey(int key)
{
    LuaObject table = AdventureTable();
    if (!table.IsTable())
        return false;
    const MapProgress progress = MapProgress::Read(table);
    const char* sound = nullptr;
    if (key == '\\') {
        const int last = progress.EpisodeCount();
        table.SetInteger("LevelUnlocked", std::max(1, progress.LevelCount(last)));
        table.SetInteger("EpisodeUnlocked", std::max(1, last));
        sound = "attention5.ogg";
    } else if (key == '=') {
        MapPlace open = progress.unlocked;
        if (open.level < progress.LevelCount(open.episode)) {
            ++open.level;
        } else if (open.episode < progress.EpisodeCount()) {
            ++open.episode;
            open.level = 1;
        }
        table.SetInteger("LevelUnlocked", open.level);
        table.SetInteger("EpisodeUnlocked", open.episode);
        sound = "attention1.ogg";
    } else if (key == '-') {
        table.SetInteger("LevelUnlocked", 1);
        table.SetInteger("EpisodeUnlocked", 1);
        sound = "attention3.ogg";
    } else {
        return false;
    }
    Update();
    Sound::PlaySound(sound, false);
    return true;
}
