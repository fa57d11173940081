#include "screens/ArtifactCarousel.h"

namespace ArtifactCarousel {

int Normalize(int position, int total)
{
    if (total <= 0)
        return 0;
    const int wrapped = position % total;
    return wrapped < 0 ? wrapped + total : wrapped;
}

int EntryAt(int position, int slot, int total)
{
    if (total <= 0 || slot < 0 || slot >= total)
        return -1;
    return (Normalize(position, total) + slot) % total;
}

int TurnRight(int position, int total)
{
    return Normalize(Normalize(position, total) + 1, total);
}

int TurnLeft(int position, int total)
{
    return Normalize(Normalize(position, total) - 1, total);
}

} // namespace ArtifactCarousel
