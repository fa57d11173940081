// ArcadeStructure: the properties scripts and resource tables set and read.
#include "field/ArcadeStructure.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/DataLists.h"
#include "core/DataRange.h"
#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/ObjectDescription.h"
#include "core/PropertyAccessor.h"
#include "core/TableOrder.h"
#include "core/ValueTypeError.h"
#include "core/WorkMeter.h"
#include "field/Factory.h"
#include "lua/GlobalValues.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceType.h"
#include "scene/ParticleEmitter.h"

#include <boost/format.hpp>

#include <cmath>
#include <map>
#include <memory>
#include <utility>
#include <vector>

using LuaPlus::LuaObject;

namespace {

const char* const kClassicStructureProperties[] = {"rectangle",
                                                   "rotation",
                                                   "circle",
                                                   "polygon",
                                                   "polyScale",
                                                   "commonName",
                                                   "motion",
                                                   "hitMotion",
                                                   "dieOnCollision",
                                                   "destroyOnCollision",
                                                   "damageOnCollision",
                                                   "takeDamageOnCollision",
                                                   "moveOnCollision",
                                                   "soundOnCollision",
                                                   "bounciness",
                                                   "trailEmitter",
                                                   "factories"};

struct BehaviourKey
{
    const char* name;
    ArcadeStructure::Behaviour set;
};
const BehaviourKey kBehaviourKeys[] = {
    {"destroyOnCollision", ArcadeStructure::DESTROY_ON_COLLISION},
    {"dieOnCollision", ArcadeStructure::DIE_ON_COLLISION},
    {"takeDamageOnCollision", ArcadeStructure::TAKE_DAMAGE_ON_COLLISION},
    {"damageOnCollision", ArcadeStructure::DAMAGE_ON_COLLISION},
    {"moveOnCollision", ArcadeStructure::MOVE_ON_COLLISION},
    {"soundOnCollision", ArcadeStructure::SOUND_ON_COLLISION},
};

// A shape sets the actor's size, so it comes after an image (which sets it too) and before
// an explicit size; the scale of a shape comes after every shape of the same table.
void RankStructureProperties()
{
    RankPropertyKey("rectangle", 15.5);
    RankPropertyKey("circle", 15.5);
    RankPropertyKey("polygon", 15.5);
    RankPropertyKey("polyScale", 15.75);
}

} // namespace

void ArcadeStructure::RegisterProperties(Class& c)
{
    for (const char* name : kClassicStructureProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
    RegisterMemberProperty<PROPERTY_STRING>(c, &ArcadeStructure::m_CollisionSound,
                                            "collisionSound");
    struct BoolMember
    {
        bool ArcadeStructure::*member;
        const char* name;
    };
    const BoolMember bools[] = {{&ArcadeStructure::m_PreventRotation, "preventRotation"},
                                {&ArcadeStructure::m_ImmobileCollisions, "immobileCollisions"},
                                {&ArcadeStructure::m_HasFriction, "hasFriction"},
                                {&ArcadeStructure::m_NeverSoft, "neverSoft"}};
    for (const BoolMember& b : bools) {
        c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_BOOL>(b.member, b.name));
        c.RegisterPropertySetter(MakeMemberAccessor<PROPERTY_BOOL>(b.member, b.name));
    }
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &ArcadeStructure::m_BounceStrength, "bounceStrength");
    RankStructureProperties();
}

namespace {

// A size of a shape the physics can make: a finite number above 0 and at most MAX_SHAPE_SIZE.
bool IsShapeSize(double size)
{
    return size > 0.0 && size <= ArcadeStructure::MAX_SHAPE_SIZE;
}

// A polygon's corner coordinate the physics can take (NaN is none).
bool IsShapeCoordinate(double coordinate)
{
    return std::fabs(coordinate) <= ArcadeStructure::MAX_SHAPE_SIZE;
}

[[noreturn]] void RefuseShape(const std::string& key)
{
    MAKO_THROW(ApplyPropertyError,
               boost::str(boost::format("'%1%' must be a shape the physics can make: sizes above "
                                        "0 and at most %2%, a polygon of at least three corners "
                                        "within that distance of its origin.") %
                          key % ArcadeStructure::MAX_SHAPE_SIZE));
}

} // namespace

void ArcadeStructure::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "rectangle") {
        const Point<double> size(value, "rectangle");
        if (!IsShapeSize(size.x) || !IsShapeSize(size.y))
            RefuseShape(name);
        const bool physicsOnly = value.IsTable() && value["physicsOnly"].IsBoolean() &&
                                 value["physicsOnly"].GetBoolean();
        SetRectangle(size.x, size.y, physicsOnly);
        UpdateGeometry();
    } else if (name == "rotation") {
        SetRotation(ReadNumberFromObject(value));
    } else if (name == "circle") {
        const double radius = ReadNumberFromObject(value);
        if (!IsShapeSize(radius))
            RefuseShape(name);
        SetCircle(radius);
        UpdateGeometry();
    } else if (name == "polygon") {
        const Poly polygon(value);
        bool corners = polygon.GetVertices().size() >= 3;
        for (const Point2f& v : polygon.GetVertices())
            corners = corners && IsShapeCoordinate(v.x) && IsShapeCoordinate(v.y);
        if (!corners)
            RefuseShape(name);
        SetPolygon(polygon);
        UpdateGeometry();
    } else if (name == "polyScale") {
        ApplyPolyScale(ReadPolyScale(value));
    } else if (name == "commonName") {
        SetShapeName(ReadStringFromObject(value));
    } else if (name == "bounciness") {
        ApplyBounciness(value);
    } else if (name == "trailEmitter") {
        ApplyTrailEmitter(value);
    } else if (name == "motion" || name == "hitMotion") {
        ApplyMotionProperty(name, value);
    } else if (name == "factories") {
        ApplyFactories(value);
    } else {
        for (const BehaviourKey& key : kBehaviourKeys) {
            if (name == key.name) {
                ApplyBehaviourProperty(key.set, name, value);
                return;
            }
        }
        ArcadeActor::ApplyClassicProperty(name, value);
    }
}

namespace {

// What one table of class names read for one behaviour came to: the list, or the entry
// that is no name.
struct BehaviourListRead
{
    LuaObject table; // held, so that no other table takes its address while it is kept
    ArcadeStructure::BehaviourListPtr list;
    LuaObject wrongEntry;
};

// The lists read within the scope of one WorkMeter (a level's build, a file's load), by
// table and behaviour, kept by the meter: the objects made from one table read it once. The
// data a meter covers is not changed by the objects made from it, so a list read once stays
// true while it is open.
using BehaviourListCache = std::map<std::pair<const void*, int>, BehaviourListRead>;
const char kBehaviourListTag = 0;

BehaviourListRead ReadBehaviourNames(ArcadeStructure::Behaviour which, const LuaObject& value)
{
    BehaviourListRead read;
    read.table = value;
    std::vector<std::string> names;
    for (const LuaObject& key : GetOrderedKeys(value)) {
        const LuaObject entry = value[key];
        if (!entry.IsConvertibleToString()) {
            read.wrongEntry = entry;
            return read;
        }
        names.push_back(entry.ToString());
    }
    read.list = ArcadeStructure::MakeBehaviourList(which, std::move(names));
    return read;
}

// The list the table gives the behaviour: read now, or shared with the objects made from
// the same table within the open meter's scope.
BehaviourListRead BehaviourListOf(ArcadeStructure::Behaviour which, const LuaObject& value)
{
    WorkMeter* meter = WorkMeter::Current();
    if (!meter)
        return ReadBehaviourNames(which, value);
    std::shared_ptr<void>& kept = meter->Kept(&kBehaviourListTag);
    if (!kept)
        kept = std::make_shared<BehaviourListCache>();
    BehaviourListCache& cache = *static_cast<BehaviourListCache*>(kept.get());
    const auto key = std::make_pair(TableIdentity(value), int(which));
    auto found = cache.find(key);
    if (found == cache.end())
        found = cache.emplace(key, ReadBehaviourNames(which, value)).first;
    return found->second;
}

} // namespace

ArcadeStructure::BehaviourListPtr ArcadeStructure::ReadBehaviourList(Behaviour which,
                                                                     const LuaObject& value)
{
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("a table of class names", value);
    const BehaviourListRead read = BehaviourListOf(which, value);
    if (!read.list)
        MAKO_THROW_VALUE_TYPE("a table of class names", read.wrongEntry);
    return read.list;
}

void ArcadeStructure::ApplyBehaviourProperty(Behaviour which, const std::string& name,
                                             const LuaObject& value)
{
    (void)name; // the property's name is added by ApplyProperty
    SetBehaviourList(which, ReadBehaviourList(which, value));
}

double ArcadeStructure::ReadPolyScale(const LuaObject& value)
{
    const double scale = ReadNumberFromObject(value);
    if (!(scale > 0.0 && scale <= MAX_POLY_SCALE))
        MAKO_THROW(ApplyPropertyError,
                   boost::str(boost::format("'polyScale' must be a number above 0 and at most "
                                            "%1%, but was %2%.") %
                              MAX_POLY_SCALE % value.ToString()));
    return DataRange::Read(std::string(), "polyScale", scale, MIN_POLY_SCALE, MAX_POLY_SCALE, 1.0);
}

void ArcadeStructure::ApplyPolyScale(double scale)
{
    if (scale == 1.0)
        return;
    switch (m_Shape) {
    case STRUCTURE_SHAPE_RECTANGLE:
        SetRectangle(m_ShapeWidth * scale, m_ShapeHeight * scale, false);
        break;
    case STRUCTURE_SHAPE_CIRCLE:
        SetCircle(m_Radius * scale);
        break;
    case STRUCTURE_SHAPE_TRIMESH: {
        std::vector<Point2f> scaled;
        for (const Point2f& v : m_Polygon.GetVertices())
            scaled.emplace_back(float(v.x * scale), float(v.y * scale));
        Poly polygon;
        polygon.SetVertices(scaled);
        SetPolygon(polygon);
        break;
    }
    default:
        MAKO_THROW(Exception, DescribeObject(*this) + " has a shape that cannot be scaled.");
    }
}

void ArcadeStructure::ApplyBounciness(const LuaObject& value)
{
    const std::string name = ReadStringFromObject(value);
    if (name == "BounceAlways")
        m_Bounciness = 0;
    else if (name == "BounceNeutral")
        m_Bounciness = 1;
    else
        m_Bounciness = 2;
    UpdateGeometry();
}

const char* ArcadeStructure::BouncinessName() const
{
    switch (m_Bounciness) {
    case 0:
        return "BounceAlways";
    case 1:
        return "BounceNeutral";
    case 2:
        return "BounceDont";
    default:
        MAKO_ASSERT_MSG(0, "Unknown bounciness value.");
        return "";
    }
}

void ArcadeStructure::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeActor::RetrieveClassicProperties(table);
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE)
        table.SetObject("rectangle", Point<double>(m_ShapeWidth, m_ShapeHeight).ToLuaObject());
    else if (m_Shape == STRUCTURE_SHAPE_CIRCLE)
        table.SetNumber("circle", m_Radius);
    else if (m_Shape == STRUCTURE_SHAPE_TRIMESH)
        table.SetObject("polygon", m_Polygon.ToLuaObject());
    table.SetString("commonName", m_ShapeName.c_str());
    for (const auto& entry : {std::make_pair("hitMotion", m_HitMotion.get()),
                              std::make_pair("motion", m_Motion.get())}) {
        if (!entry.second) {
            table.SetNil(entry.first);
            continue;
        }
        LuaObject motion = NewGlobalTable();
        entry.second->RetrieveProperties(motion);
        table.SetObject(entry.first, motion);
    }
    table.SetNumber("rotation", m_Rotation);
    for (const BehaviourKey& key : kBehaviourKeys) {
        LuaObject names = NewGlobalTable();
        int i = 1;
        for (const std::string& n : GetBehaviourNames(key.set))
            names.SetString(i++, n.c_str());
        table.SetObject(key.name, names);
    }
    table.SetString("bounciness", BouncinessName());
}

void ArcadeStructure::RetrieveProperties(LuaObject& table)
{
    ArcadeActor::RetrieveProperties(table);
    std::vector<const char*> names;
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE)
        names.push_back("rectangle");
    else if (m_Shape == STRUCTURE_SHAPE_CIRCLE)
        names.push_back("circle");
    else if (m_Shape == STRUCTURE_SHAPE_TRIMESH)
        names.push_back("polygon");
    for (const char* n : {"rotation", "motion", "hitMotion", "commonName"})
        names.push_back(n);
    for (const BehaviourKey& key : kBehaviourKeys)
        names.push_back(key.name);
    for (const char* n : {"collisionSound", "bounciness", "preventRotation", "immobileCollisions",
                          "hasFriction", "bounceStrength", "neverSoft"})
        names.push_back(n);
    for (const char* name : names) {
        LuaObject value;
        RetrieveProperty(value, name);
        table.SetObject(name, value);
    }
}

void ArcadeStructure::ApplyFactories(const LuaObject& value)
{
    // Each element must be a factory: one of another kind is reported and left out.
    std::vector<std::unique_ptr<Factory>> made;
    const std::string subject = DescribeObject(*this);
    for (const auto& [key, table] : DataListTables(value, subject, "factories"))
        if (std::unique_ptr<Factory> factory = MakeDataObject<Factory>(
                table, "Factory", subject, "factories[" + DataKeyText(key) + "]"))
            made.push_back(std::move(factory));
    m_Factories = std::move(made);
    if (m_World)
        for (const auto& factory : m_Factories)
            factory->SetTarget(this);
}

void ArcadeStructure::ApplyMotionProperty(const std::string& name, const LuaObject& value)
{
    const bool hit = name == "hitMotion";
    // Setting the key to nil removes the motion; it is not a wrong type.
    if (value.IsNil() || (value.IsTable() && GetOrderedKeys(value).empty())) {
        hit ? SetHitMotion(nullptr) : SetMotion(nullptr);
        return;
    }
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("a motion table", value);
    // A table of another kind than a motion is reported and keeps the motion there was.
    std::unique_ptr<Motion> motion =
        MakeDataObject<Motion>(value, "Motion", DescribeObject(*this), name);
    if (motion)
        hit ? SetHitMotion(std::move(motion)) : SetMotion(std::move(motion));
}

void ArcadeStructure::ApplyTrailEmitter(const LuaObject& value)
{
    if (value.IsString()) {
        AddTrailEmitter(value.GetString());
        return;
    }
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("an emitter name or a table of them", value);
    for (const LuaObject& key : GetOrderedKeys(value)) {
        const LuaObject entry = value[key];
        if (entry.IsString())
            AddTrailEmitter(entry.GetString());
        else
            DataReport::Report(DescribeObject(*this),
                               "trailEmitter[" + DataKeyText(key) +
                                   "]: " + DescribeScriptValue(entry) +
                                   " is not an emitter name; it is left out");
    }
}

void ArcadeStructure::AddTrailEmitter(const std::string& resourceName)
{
    if (resourceName.empty())
        return;
    // Only an emitter's table makes an emitter: a picture, a sound or a song of that name, or
    // a name of no resource, is named and left out, and the structure goes on without it.
    if (ResourceManager* manager = GetResourceManager()) {
        try {
            manager->AcquireOfKind(resourceName, RESOURCE_TABLE);
        } catch (const ResourceNotFoundException& e) {
            DataReport::Report(DescribeObject(*this),
                               "trailEmitter: " + e.GetMessage() + "; it is left out");
            return;
        }
    }
    std::unique_ptr<ParticleEmitter> emitter(new ParticleEmitter(resourceName, nullptr));
    emitter->SetPosition(GetWidth() / 2 - emitter->GetWidth() / 2,
                         GetHeight() / 2 - emitter->GetHeight() / 2);
    emitter->SetFactory(&ParticleEmitter::CreateParticle, nullptr);
    ParticleEmitter* added = emitter.release();
    AddChild(added, "");
    m_TrailGroup.Add(added);
}
