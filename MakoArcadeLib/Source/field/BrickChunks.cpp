// Brick: the break-up particles cut from an actor's image, shared by every field object
// that breaks into pieces.
#include "field/Brick.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "scene/Particle.h"

#include <cmath>
#include <unordered_map>

namespace {

// The context of each live break-up emitter, freed by the emitter's clean-up.
std::unordered_map<ParticleEmitter*, Brick::ChunkContext*>& Contexts()
{
    static std::unordered_map<ParticleEmitter*, Brick::ChunkContext*> contexts;
    return contexts;
}

// Splits a side of `side` pixels into a random number of parts: side / (r + 1) with r
// drawn over 0..8, and 2 when that falls below 3.
int ChunkCount(int side)
{
    const int count = side / (RandomInt(9) + 1);
    return count < 3 ? 2 : count;
}

} // namespace

Brick::ChunkContext::~ChunkContext()
{
    delete image;
}

Particle* Brick::CreateExplosionParticle(ParticleEmitter* emitter, void* argument)
{
    const ChunkContext* context = static_cast<const ChunkContext*>(argument);
    Particle* particle = IdenticalParticleEmitter::CreateParticle(emitter, nullptr);
    if (!particle)
        return nullptr;
    Image* source = context ? context->image : nullptr;
    if (!source) {
        delete particle;
        return nullptr;
    }
    const SDL_Rect frame = source->GetFrameRect(0);
    const int w = frame.w, h = frame.h;
    const int columns = ChunkCount(w);
    // The first draw only decides whether the rows fall below 3; a second gives the count.
    int rows;
    if (h / (RandomInt(9) + 1) < 3)
        rows = 2;
    else
        rows = h / (RandomInt(9) + 1);
    MAKO_ASSERT_MSG(columns != 0, "numChunksX != 0");
    const int c = RandomInt(columns);
    const int k = rows > 0 ? RandomInt(rows) : 0;
    if (rows < 2)
        rows = 2;
    const int x0 = w * c / columns, x1 = w * (c + 1) / columns;
    const int y0 = h * k / rows, y1 = h * (k + 1) / rows;

    Image* chunk = Image::CreateReference(source);
    chunk->SetFlags(chunk->GetFlags() | IMAGE_COMBINEDALPHA);
    chunk->ClearFrameRects();
    const SDL_Rect piece = {Sint16(frame.x + x0), Sint16(frame.y + y0), Uint16(x1 - x0),
                            Uint16(y1 - y0)};
    chunk->AddFrameRect(piece);
    particle->SetImage(chunk, "");
    particle->SetPosition(x0 - w / 2, y0 - h / 2);
    particle->m_Position = Point<float>();
    return particle;
}

void Brick::InitExplosionParticle(Particle* particle, void* argument)
{
    const ChunkContext* context = static_cast<const ChunkContext*>(argument);
    particle->SetPosition(particle->GetX() + int(std::lround(context->centreX)),
                          particle->GetY() + int(std::lround(context->centreY)));
    const double dx = particle->GetX() + particle->GetWidth() / 2.0 - context->centreX;
    const double dy = particle->GetY() + particle->GetHeight() / 2.0 - context->centreY;
    const double length = std::sqrt(dx * dx + dy * dy);
    // Outward with the square root of the distance from the centre.
    const double scale = length > 0.0 ? std::sqrt(length) / length : 0.0;
    double vx = context->impulseX * 0.2 + dx * scale * 10.0;
    double vy = context->impulseY * 0.2 + dy * scale * 10.0;
    const double angle = RandomFloatInRange(-0.2f, 0.2f);
    const double tx = vx * std::cos(angle) - vy * std::sin(angle);
    const double ty = vx * std::sin(angle) + vy * std::cos(angle);
    vx = tx + RandomFloatInRange(-100.0f, 100.0f);
    vy = ty + RandomFloatInRange(-100.0f, 100.0f);
    const double factor = RandomFloatInRange(1.8f, 2.2f);
    particle->m_Velocity = Point<float>(float(vx * factor), float(vy * factor));
}

void Brick::FreeExplosionContext(ParticleEmitter* emitter)
{
    auto& contexts = Contexts();
    auto it = contexts.find(emitter);
    if (it == contexts.end())
        return;
    delete it->second;
    contexts.erase(it);
}

BufferedIdenticalParticleEmitter* Brick::CreateExplosionEmitter(const std::string& resource,
                                                                Actor* source, Image* image,
                                                                double impulseX, double impulseY,
                                                                int count)
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    if (!manager || !source)
        return nullptr;
    auto* emitter = new BufferedIdenticalParticleEmitter(resource, manager);
    auto* context = new ChunkContext;
    context->impulseX = float(impulseX);
    context->impulseY = float(impulseY);
    context->source = source;
    const SDL_Rect r = source->GetScreenRect();
    context->centreX = r.x + r.w / 2.0;
    context->centreY = r.y + r.h / 2.0;
    if (!image)
        image = source->GetCurrentImage();
    context->image = image ? Image::CreateReference(image) : nullptr;
    Contexts()[emitter] = context;
    emitter->SetEmitterDestroyCallback(&Brick::FreeExplosionContext);
    emitter->SetFactory(&Brick::CreateExplosionParticle, context);
    emitter->SetPrepareFunction(&Brick::InitExplosionParticle, context);
    LuaPlus::LuaObject n;
    n.AssignInteger(GetGlobalLuaState(), count);
    emitter->SetScriptField("numParticles", n);
    emitter->SetPosition(r.x, r.y);
    emitter->SetSize(r.w, r.h);
    emitter->BufferParticles();
    return emitter;
}
