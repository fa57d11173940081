// Killing and deleting actors: deferred deletion, groups on both sides, kills from
// inside walks, parents deleted directly, and many create/kill cycles.
#include "SceneTestSupport.h"

#include "core/Random.h"
#include "scene/ActorGroup.h"
#include "scene/SceneHost.h"

#include <memory>

namespace scenetest {

TEST_F(SceneTest, KillIsDeferredAndTakesChildrenAndMembershipsAlong)
{
    std::vector<std::string> log;
    Actor root;
    RecordingActor* parent = new RecordingActor("parent", &log);
    RecordingActor* child = new RecordingActor("child", &log);
    RecordingActor* keeper = new RecordingActor("keeper", &log);
    keeper->SetSurvive(true);
    root.AddChild(parent, "");
    parent->AddChild(child, "");
    parent->AddChild(keeper, "");
    ActorGroup group;
    group.Add(child);
    group.Add(child);
    EXPECT_EQ(2u, child->GetMemberships().size());

    parent->Kill();
    parent->Kill(); // a second kill does nothing
    EXPECT_TRUE(parent->IsDead());
    EXPECT_TRUE(child->IsDead());
    EXPECT_EQ(nullptr, child->GetParent());
    EXPECT_TRUE(group.IsEmpty());
    EXPECT_TRUE(child->GetMemberships().empty());
    EXPECT_FALSE(keeper->IsDead());
    EXPECT_EQ(parent, keeper->GetParent());
    EXPECT_EQ(3, RecordingActor::s_Live); // nothing deleted yet
    EXPECT_EQ(2, SceneHost::GetScheduledActorCount());

    // Dead actors are neither ticked nor drawn; the parent still offers them events
    // until they are gone.
    bbtest::PassHarness passes(&root);
    passes.DispatchPostedEvents();
    root.Tick();
    EXPECT_TRUE(log.empty());
    root.OnEvent(ClickEvent());
    EXPECT_EQ((std::vector<std::string>{"parent:click", "keeper:click"}), log);

    EXPECT_EQ(2, passes.DeleteDeadActors());
    EXPECT_TRUE(root.GetChildren().empty());
    // The survivor stays, without a parent (its parent is gone).
    EXPECT_EQ(1, RecordingActor::s_Live);
    EXPECT_EQ(nullptr, keeper->GetParent());
    delete keeper;

    // Removing or destroying no child at all is refused with the caller's fault named.
    EXPECT_EQ("Assertion failed: (child!=0)\nMessage: Actor::RemoveChild child = NULL",
              MessageOf([&] { root.RemoveChild(nullptr); }));
    EXPECT_EQ("Assertion failed: (child!=0)\nMessage: Actor::DestroyChild child = NULL",
              MessageOf([&] { root.DestroyChild(nullptr); }));
}

TEST_F(SceneTest, ActorsDeletedDirectlyLeaveASoundTree)
{
    Actor root;
    Actor* dialog = new Actor();
    Actor* deadChild = new Actor();
    Actor* liveChild = new Actor();
    root.AddChild(dialog, "");
    dialog->AddChild(deadChild, "");
    dialog->AddChild(liveChild, "");
    ActorGroup group;
    group.Add(dialog);

    // A dead child still attached when its parent is deleted: it only loses its parent.
    deadChild->Kill();
    EXPECT_EQ(dialog, deadChild->GetParent());
    delete dialog; // live children go with it
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_TRUE(group.IsEmpty());
    EXPECT_EQ(nullptr, deadChild->GetParent());
    EXPECT_EQ(1, SceneHost::DeleteScheduledActors());

    // A killed actor deleted directly leaves the deletion list too.
    Actor* early = new Actor();
    root.AddChild(early, "");
    early->Kill();
    delete early;
    EXPECT_EQ(0, SceneHost::GetScheduledActorCount());
}

TEST_F(SceneTest, GroupsRecordMembershipOnBothSidesAndCopiesToo)
{
    Actor a, b;
    ActorGroup group;
    group.Add(&a);
    group.Add(&b);
    group.Add(&a);
    {
        ActorGroup copy(group);
        EXPECT_EQ(group.GetMembers(), copy.GetMembers());
        EXPECT_EQ(4u, a.GetMemberships().size()); // twice in each group
    }
    EXPECT_EQ(2u, a.GetMemberships().size());
    group.Remove(&a);
    EXPECT_EQ((std::list<Actor*>{&b}), group.GetMembers());
    EXPECT_TRUE(a.GetMemberships().empty());
    EXPECT_FALSE(group.Contains(&a));

    // Members deleted directly leave the group; a deleted group releases its members.
    Actor* c = new Actor();
    group.Add(c);
    delete c;
    EXPECT_EQ((std::list<Actor*>{&b}), group.GetMembers());
    auto* transient = new ActorGroup();
    transient->Add(&b);
    delete transient;
    EXPECT_EQ(1u, b.GetMemberships().size());

    // A member that cannot tick (a dead actor put back into the group) is passed over.
    Actor* ghost = new Actor();
    ghost->Kill();
    group.Add(ghost);
    EXPECT_EQ("", MessageOf([&] { group.Tick(); }));
    SceneHost::DeleteScheduledActors();
    EXPECT_EQ((std::list<Actor*>{&b}), group.GetMembers());
}

TEST_F(SceneTest, GroupEventsReachOwnedGroupsAfterTheActorAndBeforeChildren)
{
    std::vector<std::string> log;
    RecordingActor owner("owner", &log);
    RecordingActor* child = new RecordingActor("child", &log);
    owner.AddChild(child, "");
    RecordingActor member("member", &log);
    ActorGroup group;
    group.ApplyStringProperty("name", "buttons");
    group.Add(&member);
    owner.AddGroup(&group);
    EXPECT_EQ(&group, owner.FindGroup("buttons", false));
    EXPECT_EQ(nullptr, child->FindGroup("buttons", true));
    Actor top;
    top.AddChild(new Actor(), "");
    top.GetChildren().front()->AddGroup(&group);
    EXPECT_EQ(&group, top.FindGroup("buttons", true));
    EXPECT_EQ(nullptr, top.FindGroup("buttons", false));

    owner.OnEvent(ClickEvent());
    EXPECT_EQ((std::vector<std::string>{"owner:click", "member:click", "child:click"}), log);

    // PostEvent queues one copy per member.
    log.clear();
    group.Add(&member);
    group.PostEvent(ClickEvent());
    bbtest::PassHarness passes;
    passes.DispatchPostedEvents();
    EXPECT_EQ((std::vector<std::string>{"member:click", "member:click"}), log);
}

TEST_F(SceneTest, KillsFromInsideWalksLeaveTheWalksIntact)
{
    std::vector<std::string> log;
    Actor root;
    RecordingActor* parent = new RecordingActor("parent", &log);
    root.AddChild(parent, "");
    RecordingActor* first = new RecordingActor("first", &log);
    RecordingActor* killer = new RecordingActor("killer", &log);
    RecordingActor* last = new RecordingActor("last", &log);
    parent->AddChild(first, "");
    parent->AddChild(killer, "");
    parent->AddChild(last, "");
    // A child that kills its own parent in the middle of the parent's walk.
    killer->onTick = [parent] { parent->Kill(); };
    bbtest::PassHarness passes(&root);
    passes.Step();
    EXPECT_EQ((std::vector<std::string>{"parent:tick", "first:tick", "killer:tick"}), log);
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_EQ(0, RecordingActor::s_Live);

    // Members that kill each other during a group's tick.
    log.clear();
    ActorGroup group;
    RecordingActor* a = new RecordingActor("a", &log);
    RecordingActor* b = new RecordingActor("b", &log);
    RecordingActor* c = new RecordingActor("c", &log);
    for (RecordingActor* m : {a, b, c}) {
        root.AddChild(m, "");
        group.Add(m);
    }
    a->onTick = [b] { b->Kill(); };
    group.Tick();
    EXPECT_EQ((std::vector<std::string>{"a:tick", "c:tick"}), log);
    EXPECT_EQ((std::list<Actor*>{a, c}), group.GetMembers());

    // An event handler that kills the actor after it in the walk.
    log.clear();
    c->onClick = [a] {
        a->Kill();
        return false;
    };
    root.OnEvent(ClickEvent());
    // b and a are dead but still attached: they are offered the event until deleted.
    EXPECT_EQ((std::vector<std::string>{"c:click", "b:click", "a:click"}), log);
    group.KillAll();
    EXPECT_TRUE(group.IsEmpty());
    passes.Step();
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_EQ(0, RecordingActor::s_Live);
}

TEST_F(SceneTest, TenThousandCreateAndKillCyclesRunClean)
{
    MakoSrand(7);
    Actor root;
    ActorGroup group;
    bbtest::PassHarness passes(&root);
    int made = 0;
    for (int pass = 0; pass < 500; ++pass) {
        for (int i = 0; i < 20; ++i, ++made) {
            RecordingActor* actor = new RecordingActor("a", nullptr, MakoRand() % 7);
            Actor* parent = &root;
            if (!root.GetChildren().empty() && MakoRand() % 3 == 0)
                parent = root.GetChildren().back();
            parent->AddChild(actor, "");
            group.Add(actor);
            switch (MakoRand() % 5) {
            case 0: // kills itself and a neighbour while the group ticks
                actor->onTick = [actor, &group] {
                    actor->Kill();
                    if (!group.IsEmpty())
                        group.GetMembers().front()->Kill();
                };
                break;
            case 1: // kills its parent while handling an event
                actor->onClick = [actor, &root] {
                    if (actor->GetParent() && actor->GetParent() != &root)
                        actor->GetParent()->Kill();
                    return false;
                };
                break;
            case 2:
                actor->Kill();
                break;
            default:
                break;
            }
        }
        group.Tick();
        root.OnEvent(ClickEvent());
        passes.Step();
        if (pass % 50 == 49)
            group.KillAll();
    }
    EXPECT_EQ(10000, made);
    for (Actor* child : std::list<Actor*>(root.GetChildren()))
        child->Kill();
    passes.Step();
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_TRUE(group.IsEmpty());
    EXPECT_EQ(0, RecordingActor::s_Live);
}

TEST_F(SceneTest, PausedGamesTickOnlyActorsThatKeepTicking)
{
    std::vector<std::string> log;
    RecordingActor root("root", &log);
    root.SetFlags(ACTORFLAG_TICK_WHILE_PAUSED);
    RecordingActor* normal = new RecordingActor("normal", &log);
    root.AddChild(normal, "");
    normal->SetFlags(0);
    RecordingActor* always = new RecordingActor("always", &log);
    always->SetFlags(ACTORFLAG_TICK_WHILE_PAUSED);
    root.AddChild(always, "");
    SceneHost::SetGamePaused(true);
    EXPECT_FALSE(normal->CanTick());
    EXPECT_NE("", MessageOf([&] { normal->Actor::Tick(); }));
    root.Tick();
    EXPECT_EQ((std::vector<std::string>{"root:tick", "always:tick"}), log);
    // A group ticked while the game is paused ticks only its members that keep ticking.
    log.clear();
    ActorGroup group;
    group.Add(normal);
    group.Add(always);
    group.Tick();
    EXPECT_EQ((std::vector<std::string>{"always:tick"}), log);
    SceneHost::SetGamePaused(false);
}

} // namespace scenetest
