#include "screens/LevelNotepad.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "scene/Actor.h"
#include "widgets/Label.h"

#include <boost/format.hpp>

#include <algorithm>
#include <memory>

using LuaPlus::LuaObject;

namespace LevelNotepad {

namespace {

const char* const kStarCategories[] = {"Score", "Ball", "Time", "Loot", "Secret"};
const char* const kStarFlags[] = {"gotBigScore", "noBallsLost", "fastTime", "allLoot", "secret"};

bool Earned(const LuaObject& value)
{
    if (value.IsBoolean())
        return value.GetBoolean();
    return value.IsNumber() && value.GetNumber() != 0;
}

Actor* RequireActor(Actor* root, const std::string& name)
{
    Actor* actor = root->GetChild(name, true);
    MAKO_ASSERT_MSG(actor != 0, "The notepad needs the actor " + name + ".");
    return actor;
}

} // namespace

TargetTexts TargetTextsOf(Level& level)
{
    TargetTexts texts;
    texts.score = boost::str(boost::format("Over %1%:") %
                             GroupThousands(static_cast<int>(level.GetScoreBonusAt())));
    const int balls = level.GetBallUsedTarget();
    texts.balls =
        boost::str(boost::format("%1% %2% Used:") % balls % (balls < 2 ? "Ball" : "Balls"));
    const int seconds = static_cast<int>(std::max<long long>(0, level.GetTimeBonusAt()));
    texts.time = boost::str(boost::format("%1% Time Bonus:") % FormatMinutesSeconds(seconds));
    texts.loot = boost::str(boost::format("%1%%% Loot Caught:") % level.GetLootCaughtTarget());
    return texts;
}

void ShowTargets(Actor* root, const std::string& levelName, bool levelExists)
{
    Label* labels[4];
    const char* const names[4] = {"scoreNeededLabel", "ballLabel", "timeLabel", "lootLabel"};
    for (int i = 0; i < 4; ++i) {
        labels[i] = dynamic_cast<Label*>(RequireActor(root, names[i]));
        MAKO_ASSERT_MSG(labels[i] != 0,
                        std::string("The notepad needs the label ") + names[i] + ".");
    }
    std::unique_ptr<Level> level;
    if (levelExists && LevelManager::Exists())
        level.reset(LevelManager::GetLevelManager()->GetLevel(levelName));
    // Without a level there are no targets to show.
    if (!level) {
        for (Label* label : labels)
            label->SetText(" ", true);
        return;
    }
    const TargetTexts texts = TargetTextsOf(*level);
    const std::string* const lines[4] = {&texts.score, &texts.balls, &texts.time, &texts.loot};
    for (int i = 0; i < 4; ++i)
        labels[i]->SetText(*lines[i], true);
}

void ShowStars(Actor* root, const LuaObject& record)
{
    int earned = 0;
    for (int i = 0; i < 5; ++i) {
        const bool got = record.IsTable() && Earned(record[kStarFlags[i]]);
        RequireActor(root, std::string("actor") + kStarCategories[i] + "Star")
            ->SetFrame(got ? 0 : 1);
        earned += got ? 1 : 0;
    }
    for (int i = 1; i <= 5; ++i)
        RequireActor(root, "actorStar" + std::to_string(i))->SetFrame(i <= earned ? 0 : 1);
}

} // namespace LevelNotepad
