#include "physics/EdgeNormal.h"

#include <cmath>

Vector2D BoxEdgeNormal(int edge)
{
    static const Vector2D kNormals[4] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};
    if (edge < 0 || edge > 3)
        return Vector2D();
    return kNormals[edge];
}

Vector2D PolygonEdgeNormal(const Poly::Edge& edge)
{
    Vector2D n(-(double(edge.end.y) - edge.start.y), double(edge.end.x) - edge.start.x);
    n.SetLength(1.0);
    return n;
}

Vector2D TurnToField(const Vector2D& local, double degrees)
{
    if (degrees == 0.0)
        return local;
    Vector2D turned = local;
    turned.Rotate(degrees * (M_PI / 180.0));
    return turned;
}
