#include "logic/PaddleSpawner.h"

#include "core/PropertyAccessor.h"
#include "display/Image.h"
#include "field/Paddle.h"
#include "logic/BallSpawner.h"

#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(PaddleSpawner, "PaddleSpawner", "Actor", &PaddleSpawner::RegisterProperties,
                     &InstantiateObjectOfClass<PaddleSpawner>);

namespace {

// How the picture turns for each way a paddle can face (degrees) and where its laser
// emitter sits.
struct Facing
{
    double angle;
    const char* emitter;
};

Facing FacingOf(bool vertical, bool facePositive)
{
    if (vertical)
        return facePositive ? Facing{270.0, "LaserEmitterLeft"} : Facing{90.0, "LaserEmitterRight"};
    return facePositive ? Facing{180.0, "LaserEmitterBottom"} : Facing{0.0, "LaserEmitterTop"};
}

const int kRotationAlignment = 3;

} // namespace

PaddleSpawner::PaddleSpawner()
{
    m_LaserEmitter = Actor::CreateFromResource("LaserEmitter");
    m_LaserEmitter->SetVisible(false, true);
    m_LaserEmitter->ApplyBoolProperty("selectable", false);
    AddChild(m_LaserEmitter, "LaserEmitter");
}

void PaddleSpawner::Initialize()
{
    Actor::Initialize();
    RebuildLook();
}

void PaddleSpawner::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("ballStart"));
    c.RegisterPropertySetter(MakeClassicAccessor("ballStart"));
}

void PaddleSpawner::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "ballStart") {
        if (!m_BallSpawner) {
            m_BallSpawner = new BallSpawner();
            m_BallSpawner->ApplyBoolProperty("selectable", false);
            m_BallSpawner->ApplyStringProperty("name", "ball");
            AddChild(m_BallSpawner, "ball");
        }
        if (value.IsTable()) {
            const LuaObject deactivate = value["deactivate"];
            if (deactivate.IsBoolean())
                m_BallSpawner->ApplyBoolProperty("activateBall", !deactivate.GetBoolean());
            m_BallSpawner->ApplyProperties(value);
            m_BallSpawner->RebuildLook();
        }
        SetScriptField("ballStart", value);
    } else {
        Actor::ApplyClassicProperty(name, value);
    }
    RebuildLook();
}

void PaddleSpawner::RetrieveClassicProperties(LuaObject& table)
{
    Actor::RetrieveClassicProperties(table);
    table.SetObject("ballStart", GetScriptField("ballStart"));
}

bool PaddleSpawner::ScriptFlag(const char* name) const
{
    const LuaObject value = GetScriptField(name);
    return value.IsBoolean() && value.GetBoolean();
}

void PaddleSpawner::RebuildLook()
{
    const bool vertical = ScriptFlag("vertical"), facePositive = ScriptFlag("facePositive"),
               laser = ScriptFlag("laser");
    std::unique_ptr<Paddle> paddle(new Paddle(vertical, facePositive));
    for (const char* key : {"paddleSize", "catch", "laser"}) {
        const LuaObject value = GetScriptField(key);
        if (!value.IsNil())
            paddle->ApplyProperty(key, value);
    }
    if (Image* image = paddle->GetCurrentImage())
        SetImage(image->Clone(), "PaddleSpawner");

    const Facing facing = FacingOf(vertical, facePositive);
    SetRotation(facing.angle, kRotationAlignment, true);
    m_LaserEmitter->AcquireAndApplyResource(facing.emitter);
    m_LaserEmitter->SetRotation(facing.angle, kRotationAlignment, false);
    m_LaserEmitter->SetVisible(laser, true);

    if (m_BallSpawner) {
        m_BallSpawner->RebuildLook();
        // The ball rests against the paddle's hitting face, centred on it.
        const int halfW = GetWidth() / 2, halfH = GetHeight() / 2;
        const int bw = m_BallSpawner->GetWidth(), bh = m_BallSpawner->GetHeight();
        const double d = (bw + GetHeight()) * 0.5 - 1.0;
        double cx = halfW, cy = halfH;
        if (vertical)
            cx += facePositive ? d : -d;
        else
            cy += facePositive ? d : -d;
        m_BallSpawner->SetPosition(int(cx) - bw / 2, int(cy) - bh / 2);
    }
}
