#include "ObjectTestSupport.h"

#include "support/engine/EngineSetup.h"

#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"

using LuaPlus::LuaObject;

namespace objtest {

void ObjectTest::SetUp()
{
    bbtest::PrepareEngine();
    m_Resources.reset(new ResourceManager(GetGlobalLuaState()));
    GetPostedEventQueue().Clear();
}

void ObjectTest::TearDown()
{
    GetPostedEventQueue().Clear();
    m_Resources.reset();
}

void ObjectTest::Run(const std::string& text)
{
    MakoLuaState::LoadString(GetGlobalLuaState(), text);
}

LuaObject ObjectTest::Global(const char* name)
{
    return GetGlobalLuaState()->GetGlobal(name);
}

LuaObject ObjectTest::NewTable()
{
    LuaObject table;
    table.AssignNewTable(GetGlobalLuaState());
    return table;
}

LuaObject ObjectTest::Table(const std::string& expression)
{
    return bbtest::EvalLua(expression);
}

// ---- Test classes ----------------------------------------------------------------------

int Thing::s_Live = 0;

MAKO_IMPLEMENT_CLASS(Thing, "TestThing", "Object", &Thing::RegisterProperties,
                     &InstantiateObjectOfClass<Thing>);
MAKO_IMPLEMENT_CLASS(Gadget, "TestGadget", "TestThing", &Gadget::RegisterProperties,
                     &InstantiateObjectOfClass<Gadget>);
MAKO_IMPLEMENT_CLASS(Abstract, "TestAbstract", "Object", nullptr, nullptr);

void Thing::RegisterProperties(Class& c)
{
    auto both = [&c](PropertyAccessor* (*make)()) {
        c.RegisterPropertyGetter(make());
        c.RegisterPropertySetter(make());
    };
    both([] { return MakeMemberAccessor<PROPERTY_BOOL>(&Thing::m_Flag, "flag"); });
    both([] { return MakeMemberAccessor<PROPERTY_COLOR>(&Thing::m_Tint, "tint"); });
    both([] { return MakeMemberAccessor<PROPERTY_DOUBLE>(&Thing::m_Weight, "weight"); });
    both([] { return MakeMemberAccessor<PROPERTY_FLOAT>(&Thing::m_Scale, "scale"); });
    both([] { return MakeMemberAccessor<PROPERTY_INT>(&Thing::m_Count, "count"); });
    both([] { return MakeMemberAccessor<PROPERTY_LUAOBJECT>(&Thing::m_Data, "data"); });
    both([] { return MakeMemberAccessor<PROPERTY_POINT2F>(&Thing::m_Offset, "offset"); });
    both([] { return MakeMemberAccessor<PROPERTY_POINT2I>(&Thing::m_Cell, "cell"); });
    both([] { return MakeMemberAccessor<PROPERTY_POLY>(&Thing::m_Shape, "shape"); });
    both([] { return MakeMemberAccessor<PROPERTY_RECT>(&Thing::m_Bounds, "bounds"); });
    both([] { return MakeMemberAccessor<PROPERTY_STRING>(&Thing::m_Label, "label"); });
    both([] { return MakeMemberAccessor<PROPERTY_UCHAR>(&Thing::m_Alpha, "alpha"); });
    both([] { return MakeMemberAccessor<PROPERTY_UINT32>(&Thing::m_Mask, "mask"); });
    c.RegisterPropertyGetter(MakeClassicAccessor("mood"));
    c.RegisterPropertySetter(MakeClassicAccessor("mood"));
}

void Thing::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "mood")
        m_Mood = value.ToString();
}

void Thing::RetrieveClassicProperties(LuaObject& table)
{
    Object::RetrieveClassicProperties(table);
    table.SetString("mood", m_Mood);
}

bool Thing::OnChildGroupAdded(void* data1)
{
    auto* notice = static_cast<SharedEventData*>(data1);
    m_Notices.emplace_back(notice->sender, *static_cast<int*>(notice->data.get()));
    return true;
}

void Gadget::RegisterProperties(Class& c)
{
    c.RegisterPropertySetter(MakeLockedAccessor("serial"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Gadget::Detonate, "detonate"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Gadget::Misfire, "misfire"));
    c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_STRING>(&Gadget::m_Model, "label"));
    c.RegisterPropertySetter(MakeMemberAccessor<PROPERTY_STRING>(&Gadget::m_Model, "label"));
    c.BuildDefaults();
}

void Gadget::Detonate(const LuaObject& value)
{
    MAKO_THROW(ApplyPropertyError, "The gadget went off: " + value.ToString());
}

void Gadget::Misfire(const LuaObject& value)
{
    MAKO_ASSERT_MSG(value.IsNil(), "the gadget's own check");
}

} // namespace objtest
