// The class registry: registration, linking, property lookup through parents, the
// script view of classes and the class tree.
#include "ObjectTestSupport.h"

#include "core/ClassManager.h"
#include "core/Exception.h"
#include "lua/MakoLuaState.h"

#include <memory>

using LuaPlus::LuaObject;

namespace objtest {

namespace {

ClassManager& Manager()
{
    return *ClassManager::GetInstance();
}

// Captures standard output (where the log echoes) while it lives.
struct StdoutCapture
{
    StdoutCapture() { ::testing::internal::CaptureStdout(); }
    std::string Text() { return ::testing::internal::GetCapturedStdout(); }
};

} // namespace

TEST_F(ObjectTest, RegistrationRefusesDuplicatesAndLinksSubclassesAfterTheirParents)
{
    EXPECT_EQ("Assertion failed: (m_ClassTable[className.c_str()].IsNil())\nMessage: "
              "\"TestThing\" has already been registered with the ClassManager.",
              MessageOf([] { Class duplicate("TestThing", "Object", nullptr, nullptr); }));
    EXPECT_EQ(Thing::GetStaticClass(), Manager().GetClass("TestThing"));

    // A class registered late is linked and given its accessors by a later start-up step;
    // deleting it takes it out of the registry and out of its parent.
    static int registrations = 0;
    auto late = std::make_unique<Class>(
        "TestLate", "TestThing",
        [](Class& c) {
            ++registrations;
            c.RegisterPropertyGetter(MakeScriptAccessor("late"));
            // The parent's accessors already exist when a child registers its own.
            EXPECT_EQ(ACCESSOR_MEMBER, c.GetParent()->FindGetter("count", false)->kind);
        },
        nullptr);
    Manager().InitializeClasses();
    Manager().InitializeClasses(); // registrations run once
    EXPECT_EQ(1, registrations);
    EXPECT_EQ(Thing::GetStaticClass(), late->GetParent());
    EXPECT_TRUE(Thing::GetStaticClass()->IsA("TestLate"));
    EXPECT_TRUE(Manager().GetClass("Object")->IsA("TestLate"));
    EXPECT_FALSE(Gadget::GetStaticClass()->IsA("TestLate"));
    // The run-time type test looks the other way: up the chain of parents.
    EXPECT_TRUE(late->DerivesFrom("TestThing"));
    EXPECT_TRUE(late->DerivesFrom("Object"));
    EXPECT_TRUE(late->DerivesFrom("TestLate"));
    EXPECT_FALSE(Thing::GetStaticClass()->DerivesFrom("TestLate"));
    late.reset();
    EXPECT_EQ(nullptr, Manager().GetClass("TestLate", true));
    EXPECT_FALSE(Thing::GetStaticClass()->IsA("TestLate"));
}

TEST_F(ObjectTest, MissingParentsAndClassesAreReportedByName)
{
    {
        Class orphan("TestOrphan", "TestNoSuchParent", nullptr, nullptr);
        try {
            Manager().InitializeClasses();
            ADD_FAILURE() << "a missing parent must raise";
        } catch (const ClassNotFoundException& e) {
            EXPECT_EQ("Could not find class with name \"TestNoSuchParent\"", e.GetMessage());
        }
    }
    EXPECT_EQ(nullptr, Manager().GetClass("TestNoSuchClass", true));
    EXPECT_THROW(Manager().GetClass("TestNoSuchClass"), ClassNotFoundException);
    Run("Classes.TestNotAClass = {}");
    EXPECT_EQ(nullptr, Manager().GetClass("TestNotAClass", true));
    EXPECT_THROW(Manager().GetClass("TestNotAClass"), Exception);
    Run("Classes.TestNotAClass = nil");
}

TEST_F(ObjectTest, AClassCannotBecomeItsOwnAncestor)
{
    {
        Class first("TestCycleA", "TestCycleB", nullptr, nullptr);
        Class second("TestCycleB", "TestCycleA", nullptr, nullptr);
        EXPECT_THROW(Manager().InitializeClasses(), Exception);
        Manager().GetClass("TestCycleA")->IsA("nothing"); // the tree is still a tree
    }
    // A class naming itself as its parent is already in the subtree it would join.
    Class self("TestSelfParent", "TestSelfParent", nullptr, nullptr);
    EXPECT_EQ("Assertion failed: (IsA(subClass) == false)",
              MessageOf([] { Manager().InitializeClasses(); }));
    EXPECT_EQ(nullptr, self.GetParent());
    EXPECT_TRUE(self.GetSubClasses().empty());
}

TEST_F(ObjectTest, AccessorLookupWalksParentsAndFallsBackToTheDefault)
{
    Class* gadget = Gadget::GetStaticClass();
    const PropertyAccessor* count = gadget->FindSetter("count", true);
    EXPECT_EQ(ACCESSOR_MEMBER, count->kind);
    EXPECT_EQ(Thing::GetStaticClass()->FindSetter("count", false), count);
    EXPECT_EQ(MakeScriptPropertyAccessor(), gadget->FindSetter("count", false));
    const PropertyAccessor* unknown = gadget->FindSetter("noSuchProperty", true);
    EXPECT_EQ(ACCESSOR_DEFAULT, unknown->kind);
    EXPECT_EQ("", unknown->name);
    EXPECT_EQ(ACCESSOR_FUNCTION, gadget->FindSetter("resource", true)->kind);

    Class scratch("TestScratch", "Object", nullptr, nullptr);
    scratch.RegisterPropertyGetter(MakeScriptAccessor("x"));
    scratch.RegisterPropertySetter(MakeScriptAccessor("x"));
    EXPECT_EQ("Assertion failed: (m_PropertyGetters.find(propertyName) == "
              "m_PropertyGetters.end())\nMessage: An attempt was made to register two property "
              "getters with the same name in the same class.\nclass = TestScratch\nproperty "
              "name = x",
              MessageOf([&] { scratch.RegisterPropertyGetter(MakeLockedAccessor("x")); }));
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     scratch.RegisterPropertySetter(MakeLockedAccessor("x"));
                                 }).find("two property setters"));
    EXPECT_EQ(ACCESSOR_SCRIPT, scratch.FindGetter("x", false)->kind);
}

TEST_F(ObjectTest, ScriptsSeeClassTablesAndTheClassTree)
{
    Run("a = Classes.TestThing.canInstantiate(Classes.TestThing)\n"
        "b = Classes.TestAbstract:canInstantiate()\n"
        "c = type(Classes.TestGadget.defaults)");
    EXPECT_TRUE(Global("a").GetBoolean());
    EXPECT_FALSE(Global("b").GetBoolean());
    EXPECT_EQ("table", Global("c").ToString());
    Run("actor = Classes.Actor:canInstantiate(); font = Classes.Font:canInstantiate()");
    EXPECT_TRUE(Global("actor").GetBoolean());
    EXPECT_FALSE(Global("font").GetBoolean());
    Run("actor = nil; font = nil");
    EXPECT_NE(std::string::npos,
              MessageOf([] { Run("Classes.TestThing.canInstantiate(5)"); }).find("class table"));

    StdoutCapture capture;
    Run("PrintClassTree()");
    const std::string tree = capture.Text();
    EXPECT_EQ(0u, tree.find("Object\n"));
    const std::size_t thing = tree.find("\n    TestThing\n");
    ASSERT_NE(std::string::npos, thing);
    EXPECT_NE(std::string::npos, tree.find("\n        TestGadget\n", thing));
    EXPECT_NE(std::string::npos, tree.find("\n    TestAbstract\n"));
}

} // namespace objtest
