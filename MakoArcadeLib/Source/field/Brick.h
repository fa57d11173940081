#pragma once
// Brick: the breakable structure of the play field. What is here so far is what other
// field objects share with bricks: the break-up particles cut from an actor's image, which
// bricks, power-ups, goobers, balls and the paddle all use when they break. The brick's own
// work (data model, hits, damage, images, hoppers) adds the rest of the class.
#include "field/ArcadeStructure.h"

class Actor;
class Image;
class BufferedIdenticalParticleEmitter;
class Particle;
class ParticleEmitter;

class Brick : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // What a break-up emitter knows of its source: the impulse that broke it (pixels per
    // second) and the source actor's centre and current image (a reference, owned here).
    struct ChunkContext
    {
        float impulseX = 0.0f;
        float impulseY = 0.0f;
        Actor* source = nullptr;
        double centreX = 0.0;
        double centreY = 0.0;
        Image* image = nullptr;
        ~ChunkContext();
    };

    // The break-up emitter's particle factory (context: a ChunkContext): a particle of the
    // emitter's template showing one random chunk of the source's current image, placed
    // relative to the image's centre. Null when the source has no image.
    static Particle* CreateExplosionParticle(ParticleEmitter* emitter, void* context);
    // The chunk initialiser, run on each particle as it is handed out: it moves the chunk
    // to the source's centre and sends it outward, faster the farther it lies from the
    // centre, plus a fifth of the impulse, with some randomness.
    static void InitExplosionParticle(Particle* particle, void* context);
    // The clean-up of a break-up emitter: frees its ChunkContext.
    static void FreeExplosionContext(ParticleEmitter* emitter);

    // A break-up emitter from the named buffered emitter resource for source, with count
    // particles per emission buffered at once from image (null: source's current image),
    // placed on source's rectangle. The emitter owns its context; the caller starts it and
    // hands it on. Null without a particle manager.
    static BufferedIdenticalParticleEmitter* CreateExplosionEmitter(const std::string& resource,
                                                                    Actor* source, Image* image,
                                                                    double impulseX,
                                                                    double impulseY, int count);
};
