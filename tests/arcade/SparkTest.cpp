// Chain lightning on a stepping field: when a spark strikes its target and how hard, how it
// forks and shares its power, what it does to balls, and targets that vanish first.
#include "FieldScene.h"
#include "StruckStructure.h"

#include "core/Random.h"
#include "field/Collider.h"
#include "scene/ActorLink.h"
#include "support/MessageOf.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace fieldtest;

namespace {

// A field with a brick as the spark's target at (320, 240) and `around` more bricks within
// 40 pixels of it.
struct LightningField
{
    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root};
    RecordingLogic logic;
    StruckStructure* target;
    std::vector<StruckStructure*> around;

    explicit LightningField(int aroundCount)
    {
        root->logic = &logic;
        logic.SetField(root, &root->world);
        target = root->Place(MakeStruckBox("Brick", 312, 232, 16, 16));
        for (int i = 0; i < aroundCount; ++i)
            around.push_back(root->Place(MakeStruckBox("Brick", 280 + 18 * i, 262, 12, 12)));
    }
    ~LightningField()
    {
        passes.SetRoot(nullptr);
        delete root;
    }

    // A spark from (320, 140) to the target, handed to the controller.
    Spark* Strike(int power, int minForks, int maxForks, int childMin = 1, int childMax = 1)
    {
        Spark* spark = new Spark(320, 140, 320, 240, target, power, &logic, 64, minForks, maxForks,
                                 childMin, childMax);
        logic.AddSpark(spark);
        return spark;
    }

    // The sparks the controller took besides the first.
    std::vector<Spark*> Forks() const
    {
        std::vector<Spark*> forks;
        for (Actor* a : logic.sparks.GetMembers())
            forks.push_back(static_cast<Spark*>(a));
        if (!forks.empty())
            forks.erase(forks.begin());
        return forks;
    }
};

class SparkTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }
};

} // namespace

TEST_F(SparkTest, ASparkStrikesItsTargetOnceAfter50msWithItsPowerAndDiesAfter200ms)
{
    LightningField field(0);
    ActorLink<Spark> spark;
    spark.Set(field.Strike(4, 1, 2));
    EXPECT_EQ(field.target, spark->GetTarget());
    EXPECT_TRUE(spark->IsVisible());

    field.passes.Step(); // 32 ms
    EXPECT_TRUE(field.target->blows.empty()) << "struck before 50 ms";
    field.passes.Step(); // 64 ms
    ASSERT_EQ(1u, field.target->blows.size());
    EXPECT_EQ(spark.Get(), field.target->blows[0].striker);
    EXPECT_EQ(4, field.target->blows[0].damage);
    EXPECT_DOUBLE_EQ(320.0, field.target->blows[0].x);
    EXPECT_DOUBLE_EQ(190.0, field.target->blows[0].y);
    EXPECT_TRUE(field.Forks().empty()) << "forked with nothing gathered";

    field.passes.Step(4); // 192 ms
    EXPECT_TRUE(spark);
    field.passes.Step(); // 224 ms
    EXPECT_FALSE(spark);
    EXPECT_EQ(1u, field.target->blows.size());

    // The factory cannot make a spark from a table.
    EXPECT_EQ("A spark is made by the lightning between two objects; a script table cannot "
              "make one.",
              bbtest::MessageOf([] {
                  delete ClassManager::GetInstance()->InstantiateObject(
                      bbtest::EvalLua("{class = 'Spark'}"));
              }));
}

TEST_F(SparkTest, ForksShareThePowerLeftAmongGatheredObjectsButNeverTheTarget)
{
    {
        // Power 7 over 3 forks among 5 gathered bricks: 3 sparks of power 2 to 3 different
        // bricks, each leaping from the target with the child fork range.
        LightningField field(5);
        Spark* spark = field.Strike(7, 3, 3, 2, 4);
        field.passes.Step();
        EXPECT_EQ(5u, spark->GetCandidates().GetMembers().size());
        EXPECT_TRUE(spark->AlreadyTouched(field.around[0]));
        EXPECT_FALSE(spark->AlreadyTouched(field.target));
        field.passes.Step();
        const std::vector<Spark*> forks = field.Forks();
        ASSERT_EQ(3u, forks.size());
        std::set<ArcadeStructure*> targets;
        for (Spark* fork : forks) {
            EXPECT_EQ(2, fork->GetStrikeDamage(0, 0));
            EXPECT_EQ(2, fork->GetMinForks());
            EXPECT_EQ(4, fork->GetMaxForks());
            EXPECT_DOUBLE_EQ(320.0, fork->GetStart().x);
            EXPECT_DOUBLE_EQ(240.0, fork->GetStart().y);
            targets.insert(fork->GetTarget());
        }
        EXPECT_EQ(3u, targets.size());
        EXPECT_EQ(0u, targets.count(field.target));

        // Each fork strikes its own brick 50 ms later with its share.
        field.passes.Step(2);
        int struck = 0;
        for (StruckStructure* brick : field.around)
            if (!brick->blows.empty()) {
                EXPECT_EQ(2, brick->blows[0].damage);
                ++struck;
            }
        EXPECT_EQ(3, struck);
    }
    {
        // One gathered brick takes the whole power left; power 1 has nothing to share.
        LightningField field(1);
        field.Strike(7, 3, 3);
        field.passes.Step(2);
        ASSERT_EQ(1u, field.Forks().size());
        EXPECT_EQ(6, field.Forks()[0]->GetStrikeDamage(0, 0));
    }
    {
        LightningField field(3);
        field.Strike(1, 2, 2);
        field.passes.Step(2);
        EXPECT_TRUE(field.Forks().empty());
        ASSERT_EQ(1u, field.target->blows.size());
        EXPECT_EQ(1, field.target->blows[0].damage);
    }
}

TEST_F(SparkTest, TheForkCountCoversItsWholeRangeIncludingTheMaximum)
{
    std::set<int> counts;
    for (unsigned seed = 1; seed <= 30; ++seed) {
        MakoSrand(seed);
        LightningField field(5);
        field.Strike(100, 1, 3);
        field.passes.Step(2);
        counts.insert(int(field.Forks().size()));
    }
    EXPECT_EQ((std::set<int>{1, 2, 3}), counts);
}

TEST_F(SparkTest, ABallChosenAsAForkIsPushedBackAlongTheArcAndNeverDamaged)
{
    LightningField field(0);
    StruckStructure* ball = field.root->Place(MakeStruckCircle("Ball", 320, 270, 6));
    field.Strike(5, 1, 1);
    field.passes.Step(3);
    ASSERT_EQ(1u, field.Forks().size());
    EXPECT_EQ(ball, field.Forks()[0]->GetTarget());
    // The arc ran downwards from (320, 140): the push is upwards.
    EXPECT_LT(ball->GetPhysicsBody()->GetLinearVel().y, -1.0);
    field.passes.Step(3);
    EXPECT_TRUE(ball->blows.empty());
}

TEST_F(SparkTest, ATargetKilledBeforeTheStrikeIsLeftAloneAndTheSparkEndsNormally)
{
    for (bool deleted : {false, true}) {
        LightningField field(2);
        ActorLink<Spark> spark;
        spark.Set(field.Strike(6, 2, 2));
        field.passes.Step();
        field.target->Kill();
        if (deleted)
            field.passes.DeleteDeadActors();
        EXPECT_EQ(nullptr, spark->GetTarget());
        field.passes.Step(); // the fork and the strike are due
        EXPECT_EQ(2u, field.Forks().size()) << "the forks go on without the target";
        field.passes.Step(10);
        EXPECT_FALSE(spark);
    }

    // A spark that starts where it ends is invisible but still gathers, strikes and forks.
    LightningField field(1);
    Spark* still = new Spark(320, 240, 320, 240, field.target, 3, &field.logic, 64, 1, 1, 1, 1);
    field.logic.AddSpark(still);
    EXPECT_FALSE(still->IsVisible());
    field.passes.Step(2);
    EXPECT_EQ(1u, field.target->blows.size());
    EXPECT_EQ(1u, field.Forks().size());
}
