// Making objects from script tables: by class name, through resource chains, with class
// defaults, and the failures on the way.
#include "ObjectTestSupport.h"
#include "support/engine/LogCapture.h"

#include "core/ClassManager.h"
#include "core/Exception.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"

#include <memory>

using LuaPlus::LuaObject;

namespace objtest {

namespace {

std::unique_ptr<Object> Instantiate(const LuaObject& params)
{
    return std::unique_ptr<Object>(ClassManager::GetInstance()->InstantiateObject(params));
}

} // namespace

TEST_F(ObjectTest, ObjectsAreMadeByClassNameDirectlyAndThroughAResourceChain)
{
    std::unique_ptr<Object> made =
        Instantiate(Table("{class = 'TestThing', count = 3, name = 'a'}"));
    Thing* thing = dynamic_cast<Thing*>(made.get());
    ASSERT_NE(nullptr, thing);
    EXPECT_EQ(3, thing->m_Count);
    EXPECT_EQ("a", thing->GetName());
    EXPECT_EQ(1, thing->m_Initialized);

    // A table whose resource names a table resource that names the class.
    Run("Resources.GadgetBase = {class = 'TestGadget', count = 7, label = 'fancy'}\n"
        "Resources.GadgetMid = {resource = 'GadgetBase', weight = 2.5}");
    made = Instantiate(Table("{resource = 'GadgetMid', count = 8}"));
    Gadget* gadget = dynamic_cast<Gadget*>(made.get());
    ASSERT_NE(nullptr, gadget);
    EXPECT_EQ(8, gadget->m_Count);
    EXPECT_EQ(2.5, gadget->m_Weight);
    EXPECT_EQ("fancy", gadget->m_Model);
    EXPECT_EQ("TestGadget", gadget->RetrieveStringProperty("class"));

    // The most derived class of the tree wins.
    Run("Resources.ThingKind = {class = 'TestThing'}");
    made = Instantiate(Table("{resource = 'ThingKind', class = 'TestGadget'}"));
    EXPECT_NE(nullptr, dynamic_cast<Gadget*>(made.get()));
    made = Instantiate(Table("{resources = {'GadgetBase', 'ThingKind'}}"));
    EXPECT_EQ(nullptr, dynamic_cast<Gadget*>(made.get()));
    EXPECT_NE(nullptr, dynamic_cast<Thing*>(made.get()));
}

TEST_F(ObjectTest, ClassDefaultsAreTheFirstLayerOfAResourceTree)
{
    LuaObject defaults = Gadget::GetStaticClass()->GetClassObject()["defaults"];
    ASSERT_TRUE(defaults.IsTable());
    EXPECT_TRUE(defaults["class"].IsNil());
    EXPECT_EQ("", defaults["name"].ToString());

    Run("Classes.TestGadget.defaults.tone = 'factory'\n"
        "Resources.Tuned = {class = 'TestGadget', tone = 'tuned'}\n"
        "tones = {findKeysInResourceTree('tone', {resource = 'Tuned', tone = 'own'})}\n"
        "none = select('#', findKeysInResourceTree('tone', {class = 'TestThing'}))");
    LuaObject tones = Global("tones");
    ASSERT_EQ(3, tones.GetCount());
    EXPECT_EQ("factory", tones[1].ToString());
    EXPECT_EQ("tuned", tones[2].ToString());
    EXPECT_EQ("own", tones[3].ToString());
    EXPECT_EQ(0, Global("none").GetInteger());
    Run("Classes.TestGadget.defaults.tone = nil");

    // Defaults are built at start-up before the resource script is loaded: an empty
    // parameter table needs no script, anything else does.
    Run("savedApply = applyPropertiesToObject; applyPropertiesToObject = nil");
    std::unique_ptr<Object> plain(Thing::GetStaticClass()->InstantiateDefault());
    EXPECT_EQ("Assertion failed: (function.IsFunction())\nMessage: The script function "
              "applyPropertiesToObject is not loaded.",
              MessageOf([&] { plain->ApplyProperties(Table("{count = 2}")); }));
    Run("applyPropertiesToObject = savedApply; savedApply = nil");

    // Resources of other kinds (images) are leaves of the tree.
    m_Resources->AddInfo("Picture", new ResourceInfo("", nullptr));
    Run("leaves = {findKeysInResourceTree('class', {resource = 'Picture', class = 'TestThing'})}");
    EXPECT_EQ(1, Global("leaves").GetCount());

    Run("Resources.Loop = {resource = 'Loop'}");
    EXPECT_NE(std::string::npos, MessageOf([] {
                                     Run("findKeysInResourceTree('class', {resource = 'Loop'})");
                                 }).find("names itself"));
}

TEST_F(ObjectTest, InstantiationFailuresCarryTheirTextsAndLeaveNothingBehind)
{
    EXPECT_EQ("An object is made from a table, not from the string \"TestThing\".",
              MessageOf([] { Instantiate(Table("'TestThing'")); }));
    EXPECT_EQ("Objects of the class \"Object\" cannot be made by name.",
              MessageOf([] { Instantiate(Table("{class = 'Object'}")); }));
    EXPECT_EQ("The table names no class, neither by itself nor by its resources.",
              MessageOf([] { Instantiate(Table("{count = 1}")); }));
    try {
        Instantiate(Table("{class = 'TestMissing'}"));
        ADD_FAILURE() << "an unknown class must raise";
    } catch (const ClassNotFoundException& e) {
        EXPECT_EQ("The table names the class \"TestMissing\", which the game does not have.",
                  e.GetMessage());
    }
    Run("Resources.Nameless = {class = 5}");
    EXPECT_EQ("The class a table's resources give is the number 5, not the name of a class.",
              MessageOf([] { Instantiate(Table("{resource = 'Nameless'}")); }));
    EXPECT_EQ("Could not find resource info with name = Absent",
              MessageOf([] { Instantiate(Table("{class = 'TestThing', resource = 'Absent'}")); }));

    // A property that fails deletes the half-made object and passes its own error on.
    const int live = Thing::s_Live;
    EXPECT_EQ("Cannot apply the locked property, \"serial\". TestGadget: \"serial\" cannot be "
              "set; it is read-only.",
              MessageOf([] { Instantiate(Table("{class = 'TestGadget', serial = 1}")); }));
    try {
        Instantiate(Table("{class = 'TestGadget', detonate = 'now'}"));
        ADD_FAILURE() << "the property function must raise";
    } catch (const ApplyPropertyError& e) {
        EXPECT_EQ("The gadget went off: now", e.GetMessage());
    }
    EXPECT_NE(std::string::npos, MessageOf([] {
                                     Instantiate(Table("{class = 'TestThing', count = 'many'}"));
                                 }).find("\"count\" needs a number, not the string \"many\""));
    EXPECT_EQ(live, Thing::s_Live);
}

TEST_F(ObjectTest, ManyObjectsAreMadeInKeyOrderWithTheirKeys)
{
    LuaObject params = Table("{second = {class = 'TestThing', count = 2}, skipped = 5,"
                             " {class = 'TestGadget', count = 1},"
                             " first = {class = 'TestThing', count = 0}}");
    std::vector<Object*> objects;
    LuaObject keys = NewTable();
    ClassManager::GetInstance()->InstantiateObjects(params, objects, &keys);
    ASSERT_EQ(3u, objects.size());
    EXPECT_EQ(1, static_cast<Thing*>(objects[0])->m_Count);
    EXPECT_EQ(0, static_cast<Thing*>(objects[1])->m_Count);
    EXPECT_EQ(2, static_cast<Thing*>(objects[2])->m_Count);
    EXPECT_EQ(1, keys[1]["key"].GetInteger());
    EXPECT_EQ("first", keys[2]["key"].ToString());
    EXPECT_EQ("second", keys[3]["key"].ToString());
    for (Object* object : objects)
        delete object;

    // An entry its data cannot make is left out and named once with the list's owner and
    // its key; the others are made. A failed check of the program's own deletes what this
    // call made, keeps what was there before, and passes on.
    const int live = Thing::s_Live;
    Thing kept;
    objects.assign(1, &kept);
    {
        bbtest::LogCapture log;
        ClassManager::GetInstance()->InstantiateObjects(
            Table(
                "{{class = 'TestThing'}, {class = 'TestGadget', serial = 1}, {class = 'TestNone'},"
                " {class = 'TestThing', count = 3}}"),
            objects, nullptr, "Shelf \"left\"");
        ASSERT_EQ(3u, objects.size());
        EXPECT_EQ(3, static_cast<Thing*>(objects[2])->m_Count);
        delete objects[1];
        delete objects[2];
        objects.resize(1);
        EXPECT_NE(std::string::npos,
                  log.Text().find("Shelf \"left\", entry [2]: Cannot apply the locked property, "
                                  "\"serial\". TestGadget: \"serial\" cannot be set; it is "
                                  "read-only; it is left out"))
            << log.Text();
        EXPECT_NE(std::string::npos,
                  log.Text().find("Shelf \"left\", entry [3]: The table names the class "
                                  "\"TestNone\", which the game does not have; it is left out"))
            << log.Text();
    }
    EXPECT_THROW(
        ClassManager::GetInstance()->InstantiateObjects(
            Table("{{class = 'TestThing'}, {class = 'TestGadget', misfire = 1}}"), objects),
        Exception);
    ASSERT_EQ(1u, objects.size());
    EXPECT_EQ(&kept, objects[0]);
    EXPECT_EQ(live + 1, Thing::s_Live);
}

TEST_F(ObjectTest, ScriptsAskWhatPropertiesAClassAndResourcesWouldGive)
{
    Run("Resources.Heavy = {weight = 9, tag = 'heavy'}\n"
        "Resources.Named = {name = 'n', tag = 'named'}\n"
        "props = getPropertiesFromClassAndResourceNames('TestThing', {'Heavy', 'Named'})");
    LuaObject props = Global("props");
    EXPECT_EQ("TestThing", props["class"].ToString());
    EXPECT_EQ("n", props["name"].ToString());
    EXPECT_EQ("named", props["tag"].ToString());
    EXPECT_EQ("Heavy", props["resources"][1].ToString());
    EXPECT_TRUE(props["weight"].IsNil()); // members are not among the retrieved properties
    EXPECT_NE(std::string::npos,
              MessageOf([] {
                  Run("getPropertiesFromClassAndResourceNames('TestNone', {})");
              }).find("The table names the class \"TestNone\", which the game does not have."));
}

} // namespace objtest
