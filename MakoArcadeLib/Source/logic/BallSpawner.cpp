#include "logic/BallSpawner.h"

#include "core/PropertyAccessor.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/Ball.h"
#include "geometry/Colors.h"
#include "geometry/Rect.h"
#include "lua/ScriptValueReaders.h"

#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(BallSpawner, "BallSpawner", "Actor", &BallSpawner::RegisterProperties,
                     &InstantiateObjectOfClass<BallSpawner>);

BallSpawner::BallSpawner() = default;

void BallSpawner::Initialize()
{
    Actor::Initialize();
    RebuildLook();
}

void BallSpawner::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("variance"));
    c.RegisterPropertySetter(MakeClassicAccessor("variance"));
    // Kept in the script table for the serve: whether the ball starts active, and the
    // properties it is given.
    for (const char* name : {"activateBall", "ballProps"}) {
        c.RegisterPropertyGetter(MakeScriptAccessor(name));
        c.RegisterPropertySetter(MakeScriptAccessor(name));
    }
}

void BallSpawner::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "variance") {
        if (value.IsTable())
            m_Variance =
                Point<double>(ReadNumberFromObject(value[1]), ReadNumberFromObject(value[2]));
    } else {
        Actor::ApplyClassicProperty(name, value);
    }
    RebuildLook();
}

void BallSpawner::RetrieveClassicProperties(LuaObject& table)
{
    Actor::RetrieveClassicProperties(table);
    LuaObject variance = table.CreateTable("variance");
    variance.SetNumber(1, m_Variance.x);
    variance.SetNumber(2, m_Variance.y);
}

void BallSpawner::RebuildLook()
{
    std::unique_ptr<Ball> ball(new Ball(0.0, 0.0, 0.0, 0.0, false));
    const LuaObject props = GetScriptField("ballProps");
    if (props.IsTable())
        ball->ApplyProperties(props);
    const LuaObject activate = GetScriptField("activateBall");
    if (activate.IsBoolean())
        ball->ApplyProperty("activateBall", activate);
    // The picture the ball draws: its shared image at the scale of its size.
    if (Image* image = ball->GetBallImage())
        SetImage(ImageEffects::ZoomImage(image, ball->GetImageScale(), true), "BallSpawner");
}

void BallSpawner::Draw(Canvas& canvas)
{
    if (m_Variance.x != 0.0 || m_Variance.y != 0.0) {
        // The canvas stands at the spawner's corner; the area is centred on that corner.
        const int w = int(m_Variance.x), h = int(m_Variance.y);
        Color white = Colors::ByName("White");
        white.a = 64;
        canvas.FillRect(MakeRect(-w, -h, 2 * w, 2 * h), white);
    }
    Actor::Draw(canvas);
}
