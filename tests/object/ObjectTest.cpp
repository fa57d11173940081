// Objects: properties by name through the class chain and the proxy, the script table,
// states, observers, resources applied to an object and the proxy outliving its object.
#include "ObjectTestSupport.h"

#include "core/ClassManager.h"
#include "core/Exception.h"
#include "lua/MakoLuaState.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"

#include <memory>

using LuaPlus::LuaObject;

namespace objtest {

TEST_F(ObjectTest, UndeclaredPropertiesLiveInTheScriptTableAndReadBackThroughTheProxy)
{
    Thing thing;
    LuaObject proxy = thing.GetLuaObject();
    GetGlobalLuaState()->GetGlobals().SetObject("thing", proxy);
    Run("thing.colourOfDoor = 'green'; thing.count = 4; thing.name = 'door'");
    Run("seen = {thing.colourOfDoor, thing.count, thing.class, thing.name, thing.mood}");

    LuaObject seen = Global("seen");
    EXPECT_EQ("green", seen[1].ToString());
    EXPECT_EQ(4, seen[2].GetInteger());
    EXPECT_EQ("TestThing", seen[3].ToString());
    EXPECT_EQ("door", seen[4].ToString());
    EXPECT_EQ("calm", seen[5].ToString());
    EXPECT_EQ(4, thing.m_Count);
    EXPECT_EQ("door", thing.GetName());

    LuaObject field;
    thing.GetScriptField(field, "colourOfDoor");
    EXPECT_EQ("green", field.ToString());
    thing.GetScriptField(field, "count"); // declared: never in the script table
    EXPECT_TRUE(field.IsNil());

    LuaObject properties = NewTable();
    thing.RetrieveProperties(properties);
    EXPECT_EQ("TestThing", properties["class"].ToString());
    EXPECT_EQ("door", properties["name"].ToString());
    EXPECT_EQ("green", properties["colourOfDoor"].ToString());
    EXPECT_TRUE(properties["count"].IsNil()); // members only in RetrieveAllProperties

    LuaObject all = NewTable();
    thing.RetrieveAllProperties(all);
    EXPECT_EQ(4, all["count"].GetInteger());
    EXPECT_EQ("calm", all["mood"].ToString());
    EXPECT_EQ("green", all["colourOfDoor"].ToString());
    Run("thing = nil");
}

TEST_F(ObjectTest, BuiltInPropertiesOfEveryObject)
{
    Thing thing;
    LuaObject value;
    EXPECT_EQ("Cannot apply the invalid property, \"resource\". TestThing: \"resource\" cannot "
              "be read; it can only be set.",
              MessageOf([&] { thing.RetrieveProperty(value, "resource"); }));

    thing.ApplyStringProperty("class", "Other"); // ignored
    EXPECT_EQ("TestThing", thing.RetrieveStringProperty("class"));
    thing.ApplyIntProperty("resourceMetadata", 3); // ignored both ways
    thing.RetrieveProperty(value, "resourceMetadata");
    EXPECT_TRUE(value.IsNil());

    // An unnamed object's classic properties hold only its class (and the subclass's own).
    LuaObject classic = NewTable();
    thing.RetrieveClassicProperties(classic);
    EXPECT_TRUE(classic["name"].IsNil());
    EXPECT_EQ("TestThing", classic["class"].ToString());

    thing.ApplyBoolProperty("flag", true);
    EXPECT_TRUE(thing.RetrieveBoolProperty("flag"));
    int marker = 0;
    thing.ApplyPointerProperty("where", &marker);
    EXPECT_EQ(&marker, thing.RetrievePointerProperty("where"));
}

TEST_F(ObjectTest, LockedPropertiesRefuseWritesAndLeaveTheObjectAlone)
{
    Gadget gadget;
    gadget.ApplyStringProperty("name", "g1");
    EXPECT_EQ("Cannot apply the locked property, \"serial\". TestGadget \"g1\": \"serial\" "
              "cannot be set; it is read-only.",
              MessageOf([&] { gadget.ApplyIntProperty("serial", 5); }));
    LuaObject serial;
    gadget.GetScriptField(serial, "serial");
    EXPECT_TRUE(serial.IsNil());
    EXPECT_EQ("g1", gadget.GetName());

    // The subclass's "label" hides the parent's member.
    gadget.ApplyStringProperty("label", "deluxe");
    EXPECT_EQ("deluxe", gadget.m_Model);
    EXPECT_EQ("plain", gadget.m_Label);
}

TEST_F(ObjectTest, StatesEnterAndExitInOrderAndUnknownStatesChangeNothing)
{
    std::vector<std::string> log;
    Thing thing;
    EXPECT_EQ("TestThing has no current state.", MessageOf([&] { thing.GetStateName(); }));
    EXPECT_EQ("Could not find state \"Idle\" in \"objtest::Thing\"",
              MessageOf([&] { thing.SetState("Idle"); })); // no state map yet

    thing.AddState(new RecordingState("Idle", log));
    thing.AddState(new RecordingState("Busy", log));
    thing.SetState("Idle");
    thing.SetState("Busy");
    thing.Tick();
    thing.SetState("Busy"); // the current state again: exit, then enter
    EXPECT_EQ((std::vector<std::string>{"enter Idle", "exit Idle", "enter Busy", "tick Busy",
                                        "exit Busy", "enter Busy"}),
              log);

    log.clear();
    EXPECT_EQ("Could not find state \"Gone\" in \"objtest::Thing\"",
              MessageOf([&] { thing.SetState("Gone"); }));
    EXPECT_EQ("Busy", thing.GetStateName());
    EXPECT_TRUE(log.empty());

    // The current state sees events first; what it does not take is routed to the object.
    EXPECT_TRUE(thing.OnEvent(MakeEvent(MAKO_SELECT)));
    int payload = 1;
    Event change = MakeEvent(MAKO_CHILDGROUPADDED);
    SharedEventData notice{MAKO_CHILDGROUPADDED, nullptr,
                           boost::shared_ptr<void>(&payload, [](void*) {})};
    change.user.data1 = &notice;
    EXPECT_TRUE(thing.OnEvent(change));
    EXPECT_EQ(1u, thing.m_Notices.size());

    // Replacing the current state keeps it alive until the object dies; it is not exited.
    thing.AddState(new RecordingState("Busy", log));
    EXPECT_EQ("Busy", thing.GetStateName());
    thing.SetState("Idle");
    EXPECT_EQ((std::vector<std::string>{"exit Busy", "enter Idle"}), log);
}

TEST_F(ObjectTest, ObserversArePostedTheSharedPayloadAndDeadObserversAreSkipped)
{
    Thing subject, first;
    auto second = std::make_unique<Thing>();
    subject.NotifyObservers(MAKO_CHILDGROUPADDED, new int(1)); // nobody observes yet
    EXPECT_TRUE(GetPostedEventQueue().IsEmpty());

    subject.AddObserver(MAKO_CHILDGROUPADDED, &first);
    subject.AddObserver(MAKO_CHILDGROUPADDED, second.get());
    subject.AddObserver(MAKO_TIMER, &first);
    LuaObject observers;
    subject.RetrieveProperty(observers, "observers");
    EXPECT_EQ(2, observers[MAKO_CHILDGROUPADDED].GetCount());

    subject.NotifyObservers(MAKO_SELECT, new int(2)); // a type nobody observes
    EXPECT_TRUE(GetPostedEventQueue().IsEmpty());
    // Only event types whose data word holds a shared payload can carry one.
    EXPECT_THROW(subject.NotifyObservers(MAKO_TIMER, new int(3)), Exception);
    EXPECT_TRUE(GetPostedEventQueue().IsEmpty());

    auto payload = boost::shared_ptr<int>(new int(42));
    subject.NotifyObservers(MAKO_CHILDGROUPADDED, boost::shared_ptr<void>(payload));
    EXPECT_EQ(2u, GetPostedEventQueue().Size());
    EXPECT_EQ(3, payload.use_count());
    Event e;
    while (GetPostedEventQueue().Take(e))
        EventQueue::DeliverRouted(e);
    EXPECT_EQ(1, payload.use_count()); // every event released its reference
    ASSERT_EQ(1u, first.m_Notices.size());
    EXPECT_EQ(&subject, first.m_Notices[0].first);
    EXPECT_EQ(42, first.m_Notices[0].second);
    EXPECT_EQ(1u, second->m_Notices.size());

    second.reset();
    subject.NotifyObservers(MAKO_CHILDGROUPADDED, new int(7));
    EXPECT_EQ(1u, GetPostedEventQueue().Size());
    while (GetPostedEventQueue().Take(e))
        EventQueue::DeliverRouted(e);
    ASSERT_EQ(2u, first.m_Notices.size());
    EXPECT_EQ(7, first.m_Notices[1].second);
}

TEST_F(ObjectTest, AProxyThatOutlivesItsObjectRaisesAScriptErrorNamingTheClass)
{
    auto gadget = std::make_unique<Gadget>();
    GetGlobalLuaState()->GetGlobals().SetObject("kept", gadget->GetLuaObject());
    Run("assert(kept.label == 'basic')");
    gadget.reset();

    const std::string expected = "Attempt to use a deleted object of class \"TestGadget\".";
    EXPECT_EQ(expected, MessageOf([] { Run("return kept.label"); }));
    EXPECT_EQ(expected, MessageOf([] { Run("kept.label = 'x'"); }));
    Run("ok, message = pcall(function() return kept.count end)");
    EXPECT_FALSE(Global("ok").GetBoolean());
    EXPECT_NE(std::string::npos, Global("message").ToString().find(expected));
    EXPECT_EQ(expected, MessageOf([] { Object::GetObjectFromLua(Global("kept")); }));
    EXPECT_EQ(nullptr, Object::GetObjectFromLua(NewTable()));
    Run("kept = nil; ok = nil; message = nil");
}

TEST_F(ObjectTest, ResourcesAreAppliedFirstAndRecordedOnce)
{
    Run("Resources.Base = {count = 2, label = 'base', tone = 'low'}\n"
        "Resources.Mid = {resource = 'Base', label = 'mid'}");
    Thing thing;
    thing.ApplyProperties(Table("{resource = 'Mid', tone = 'high'}"));
    EXPECT_EQ(2, thing.m_Count);
    EXPECT_EQ("mid", thing.m_Label);
    EXPECT_EQ("high", thing.RetrieveStringProperty("tone"));
    LuaObject recorded;
    thing.RetrieveProperty(recorded, "resources");
    ASSERT_TRUE(recorded.IsTable());
    EXPECT_EQ(1, recorded.GetCount());
    EXPECT_EQ("Mid", recorded[1].ToString());

    // Once recorded, the list never changes; a number is not a resource list.
    thing.TryToRecordResource(Table("{'Other'}"));
    thing.RetrieveProperty(recorded, "resources");
    EXPECT_EQ("Mid", recorded[1].ToString());
    Thing fresh;
    EXPECT_EQ("Cannot record unknown record resource type: number",
              MessageOf([&] { fresh.TryToRecordResource(Table("5")); }));

    // A list of resources applies in order; later ones override earlier ones.
    Run("Resources.Red = {label = 'red', count = 9}\nResources.Blue = {label = 'blue'}");
    Thing listed;
    listed.ApplyProperties(Table("{resources = {'Red', 'Blue'}}"));
    EXPECT_EQ("blue", listed.m_Label);
    EXPECT_EQ(9, listed.m_Count);

    EXPECT_EQ("Could not find resource info with name = Nowhere",
              MessageOf([&] { listed.AcquireAndApplyResource("Nowhere"); }));
    // A resource of a kind no loader knows stays unloaded: an object cannot take it.
    m_Resources->AddInfo("Unknown", new ResourceInfo("", nullptr));
    // The object has no name of its own yet: the engine's text names none.
    EXPECT_EQ("Cannot apply resource of type 0 to object \nTestThing \"Red\": the resource "
              "\"Unknown\" is not a table of properties, so it cannot be applied.",
              MessageOf([&] { listed.AcquireAndApplyResource("Unknown"); }));
}

TEST_F(ObjectTest, AResourceThatNamesItselfIsRefusedWhileOneNamedTwiceIsNot)
{
    Run("Resources.Loop = {resource = 'Loop', count = 3}\n"
        "Resources.Ping = {resources = {'Pong'}, label = 'ping'}\n"
        "Resources.Pong = {resource = 'Ping'}");
    const std::string loop = "names itself through its resources.";
    Thing looped;
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     looped.ApplyProperties(Table("{resource = 'Loop'}"));
                                 }).find("The resource \"Loop\" " + loop));
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     looped.AcquireAndApplyResource("Ping");
                                 }).find("The resource \"Ping\" " + loop));
    const int live = Thing::s_Live;
    EXPECT_NE(std::string::npos, MessageOf([] {
                                     ClassManager::GetInstance()->InstantiateObject(
                                         Table("{class = 'TestThing', resource = 'Loop'}"));
                                 }).find(loop));
    EXPECT_EQ(live, Thing::s_Live);

    // The refusal leaves nothing behind: the same object takes resources afterwards, and
    // a resource reached twice by different paths (not inside itself) applies each time.
    Run("Resources.Base = {count = 4}\n"
        "Resources.Left = {resource = 'Base', label = 'left'}\n"
        "Resources.Both = {resources = {'Left', 'Base'}}");
    looped.ApplyProperties(Table("{resource = 'Both'}"));
    EXPECT_EQ(4, looped.m_Count);
    EXPECT_EQ("left", looped.m_Label);
    Thing other;
    other.AcquireAndApplyResource("Both");
    EXPECT_EQ(4, other.m_Count);
}

TEST_F(ObjectTest, ScriptMethodsAndRecreationDecisions)
{
    Thing thing;
    thing.ApplyStringProperty("name", "t");
    LuaObject result;
    thing.CallScriptMethod(result, Table("{greet = function(self) return 'hi ' .. self.name end}"),
                           "greet");
    EXPECT_EQ("hi t", result.ToString());
    thing.CallScriptMethod(result, Table("{greet = 3}"), "greet");
    EXPECT_EQ(3, result.GetInteger());
    thing.CallScriptMethod(result, Table("{}"), "greet");
    EXPECT_TRUE(result.IsNil());

    Run("Resources.Plain = {label = 'p'}\nResources.Other = {label = 'o'}\n"
        "Resources.GadgetKind = {class = 'TestGadget'}");
    Thing built;
    built.ApplyProperties(Table("{resource = 'Plain'}"));
    EXPECT_FALSE(built.PropertiesRequireRecreation(Table("{resource = 'Plain', count = 3}")));
    EXPECT_FALSE(built.PropertiesRequireRecreation(Table("{resources = 'Plain'}")));
    EXPECT_TRUE(built.PropertiesRequireRecreation(Table("{resource = 'Other'}")));
    EXPECT_TRUE(
        built.PropertiesRequireRecreation(Table("{resource = 'Plain', class = 'TestGadget'}")));
    EXPECT_TRUE(thing.PropertiesRequireRecreation(Table("{resource = 'GadgetKind'}")));
    EXPECT_FALSE(thing.PropertiesRequireRecreation(Table("{class = 'TestThing', count = 1}")));
}

} // namespace objtest
