// Actor: the properties scripts and resource tables set and read, and resources applied
// to an actor.
#include "scene/Actor.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "core/ObjectDescription.h"
#include "core/PropertyAccessor.h"
#include "core/ValueTypeError.h"
#include "display/Image.h"
#include "lua/GlobalValues.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceType.h"
#include "scene/ActorGroup.h"
#include "scene/LayoutManager.h"
#include "sound/Sound.h"

#include <boost/format.hpp>

#include <memory>

using LuaPlus::LuaObject;

namespace {

const char* const kClassicProperties[] = {
    "image",     "playAnimation", "loopAnimation",     "position", "size",
    "alignment", "rotation",      "rotationAlignment", "alignTo",  "visible",
    "color",     "groups",        "children",          "sound"};

// Keys whose effect depends on others of the same table come after them: a colour or an
// image before an explicit size (an image sets the size), the size before the children
// that align against it, the pivot before the rotation; frames are checked against the
// image already set.
void RankActorProperties()
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaObject order = state->GetGlobal("PropertyOrder");
    if (!order.IsTable()) {
        order.AssignNewTable(state);
        state->GetGlobals().SetObject("PropertyOrder", order);
    }
    const char* const ranked[] = {"color", "image", "size", "rotationAlignment"};
    int rank = 14;
    for (const char* key : ranked) {
        if (order[key].IsNil())
            order.SetInteger(key, rank);
        ++rank;
    }
}

} // namespace

void Actor::RegisterProperties(Class& c)
{
    for (const char* name : kClassicProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_INT>(&Actor::m_Frame, "frame"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Actor::SetFrameProperty, "frame"));
    RegisterMemberProperty<PROPERTY_INT>(c, &Actor::m_ZOrder, "zorder");
    c.RegisterPropertySetter(
        MakeFunctionAccessor(&Actor::SetAlignmentOffsetProperty, "alignmentOffset"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Actor::SetAlphaProperty, "alpha"));
    c.RegisterPropertySetter(
        MakeFunctionAccessor(&Actor::SetLayoutManagerProperty, "layoutManager"));
    c.RegisterPropertySetter(
        MakeFunctionAccessor(&Actor::SetUseCombinedAlphaProperty, "useCombinedAlpha"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Actor::SetShaderTypeProperty, "shaderType"));
    RankActorProperties();
    c.BuildDefaults();
}

void Actor::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    LogAtLevel(3, "Actor:: ApplyClassicProperty %s\n", name.c_str());
    if (name == "image") {
        SetImageFromResource(ReadStringFromObject(value));
    } else if (name == "playAnimation") {
        const std::string animation = ReadStringFromObject(value);
        if (!animation.empty())
            PlayAnimation(animation);
    } else if (name == "loopAnimation") {
        const std::string animation = ReadStringFromObject(value);
        if (!animation.empty())
            LoopAnimation(animation);
    } else if (name == "position") {
        const Point<int> p = ReadRectPosition(value, "position");
        SetPosition(p.x, p.y);
    } else if (name == "size") {
        const Point<int> p = ReadRectSize(value, "size");
        SetSize(p.x, p.y);
        UpdateAlignment();
    } else if (name == "alignment") {
        m_Alignment = RectAlignmentFromString(ReadStringFromObject(value));
        UpdateAlignment();
    } else if (name == "rotation") {
        SetRotation(ReadNumberFromObject(value), m_RotationAlignment, true);
    } else if (name == "rotationAlignment") {
        m_RotationAlignment = RectAlignmentFromString(ReadStringFromObject(value));
    } else if (name == "alignTo") {
        m_AlignTo = RectAlignmentFromString(ReadStringFromObject(value));
        UpdateAlignment();
    } else if (name == "visible") {
        SetVisible(ReadBooleanFromObject(value), true);
    } else if (name == "color") {
        ApplyColorProperty(value);
    } else if (name == "groups" || name == "children") {
        ApplyObjectList(value, name == "children");
    } else if (name == "sound") {
        Sound::PlaySound(ReadStringFromObject(value), false);
    } else {
        Object::ApplyClassicProperty(name, value);
    }
}

void Actor::ApplyColorProperty(const LuaObject& value)
{
    if (value.IsBoolean()) {
        // false turns colour fill off and leaves the other draw-mode bits alone, so a
        // "useCombinedAlpha" of the same table holds whichever key is applied first.
        if (!value.GetBoolean())
            m_DrawMode =
                (m_DrawMode & ~static_cast<std::uint32_t>(DRAWMODE_COLORFILL)) | DRAWMODE_DEFAULT;
        return;
    }
    const Color color(value);
    const std::uint16_t width = m_Width;
    const std::uint16_t height = m_Height;
    SetImage(nullptr, "");
    SetSize(width, height);
    SetColor(color);
}

void Actor::ApplyObjectList(const LuaObject& value, bool asChildren)
{
    std::vector<Object*> made;
    LuaObject keys = NewGlobalTable();
    const std::string property = asChildren ? "children" : "groups";
    ClassManager::GetInstance()->InstantiateObjects(value, made, &keys,
                                                    DescribeObject(*this) + ", " + property);
    // The objects are this call's until each is attached. One of another kind than the
    // list takes is left out, named once, as an entry that cannot be made is.
    std::vector<std::unique_ptr<Object>> objects(made.begin(), made.end());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        Object* object = objects[i].get();
        const bool fits = asChildren ? dynamic_cast<Actor*>(object) != nullptr
                                     : dynamic_cast<ActorGroup*>(object) != nullptr;
        if (fits)
            continue;
        ObjectBoundary::ReportOnce(
            DescribeObject(*this),
            boost::str(boost::format("\"%1%\" takes %2%, not an object of class %3%; it is left "
                                     "out") %
                       property % (asChildren ? "actors" : "actor groups") %
                       object->GetClass()->GetName()));
        objects[i].reset();
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (!objects[i])
            continue;
        LuaObject key = keys[static_cast<int>(i + 1)];
        if (key.IsTable() && key["key"].IsString())
            objects[i]->ApplyStringProperty("name", key["key"].GetString());
        // Each object passes to the actor once it is attached (a child) or listed (a group).
        if (asChildren) {
            AddChild(static_cast<Actor*>(objects[i].get()), "");
            objects[i].release();
        } else {
            ActorGroup* group = static_cast<ActorGroup*>(objects[i].get());
            m_CreatedGroups.push_back(group);
            objects[i].release();
            AddGroup(group);
        }
    }
}

void Actor::SetFrameProperty(const LuaObject& value)
{
    m_Frame = FrameWithin(ReadIntegerFromObject(value), m_Image.get());
}

void Actor::SetAlignmentOffsetProperty(const LuaObject& value)
{
    const Point<int> offset(value);
    SetAlignmentOffset(offset.x, offset.y);
}

void Actor::SetAlphaProperty(const LuaObject& value)
{
    SetAlpha(static_cast<std::uint8_t>(ReadIntegerFromObject(value) & 0xFF));
}

void Actor::SetLayoutManagerProperty(const LuaObject& value)
{
    LayoutManager* layout = nullptr;
    if (!value.IsNil()) {
        Object* object = Object::GetObjectFromLua(value);
        layout = dynamic_cast<LayoutManager*>(object);
        // The value may come from data: one of another kind is a type error.
        if (!layout)
            MAKO_THROW_VALUE_TYPE("a layout manager object", value);
    }
    SetLayoutManager(layout);
}

void Actor::SetUseCombinedAlphaProperty(const LuaObject& value)
{
    if (ReadBooleanFromObject(value))
        m_DrawMode |= DRAWMODE_COMBINED_ALPHA;
    else
        m_DrawMode &= ~static_cast<std::uint32_t>(DRAWMODE_COMBINED_ALPHA);
}

void Actor::SetShaderTypeProperty(const LuaObject& value)
{
    SetShaderType(value);
}

// ---- Reading properties back --------------------------------------------------------------

void Actor::RetrieveClassicProperties(LuaObject& table)
{
    Object::RetrieveClassicProperties(table);
    table.SetString("image", m_ImageName);
    table.SetInteger("frame", m_Frame);
    table.SetObject("position", Point<int>(m_X, m_Y).ToLuaObject());
    table.SetObject("size", Point<int>(m_Width, m_Height).ToLuaObject());
    if (m_DrawMode & DRAWMODE_COLORFILL) {
        LuaObject color = NewGlobalTable();
        color.SetInteger(1, m_Color.r);
        color.SetInteger(2, m_Color.g);
        color.SetInteger(3, m_Color.b);
        color.SetInteger(4, m_Color.a);
        table.SetObject("color", color);
    }
}

void Actor::RetrieveProperties(LuaObject& table)
{
    Object::RetrieveProperties(table);
    const bool colorFill = (m_DrawMode & DRAWMODE_COLORFILL) != 0;
    std::vector<const char*> names = {"image", "position"};
    if (colorFill) {
        names.push_back("color");
        names.push_back("size");
    }
    names.push_back("zorder");
    for (const char* name : names) {
        LuaObject value;
        RetrieveProperty(value, name);
        table.SetObject(name, value);
    }
}

void Actor::ApplyResource(const std::string& name, Resource* resource, ResourceInfo* info)
{
    if (info && info->GetType() == RESOURCE_IMAGE) {
        SetImage(new Image(resource), name);
        return;
    }
    Object::ApplyResource(name, resource, info);
}
