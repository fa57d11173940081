#pragma once
// The put-backs the field made, ball by ball, until a watch takes them (FieldWatch). The
// game keeps no such record: this log is the balls' put-back observer
// (Ball::SetPutBackObserver), installed by the first watch and kept for the process.
//
// A put-back is where the ball's centre was, how far it was moved (pixels), whether it had
// passed the wall's inner face (the field's rectangle), and whether a paddle lay against
// the ball, pressing it into the wall. A ball past the face that no paddle pressed there
// was on its way out of the field. Main thread only.
#include "field/Ball.h"

#include <map>

namespace autoplay {

struct PutBack
{
    double x = 0.0, y = 0.0;
    double depth = 0.0;
    bool pastFace = false;
    bool pressed = false;
    bool Escaping() const { return pastFace && !pressed; }
};

class PutBackLog : public Ball::PutBackObserver
{
public:
    // The process's log, installed as the balls' observer by the first call.
    static PutBackLog& Installed();

    void OnPutBack(const Ball& ball, double x, double y, double depth, bool paddleTouched) override;
    // How many put-backs the ball had since they were last taken, and the worst of them
    // (escaping first, then past the face, then the deepest); forgets them.
    int Take(const Ball* ball, PutBack& worst);
    // Forgets every ball's put-backs (balls gone from the field, a new game).
    void Clear() { m_Records.clear(); }

private:
    struct Record
    {
        int count = 0;
        PutBack worst;
    };
    std::map<const Ball*, Record> m_Records;
};

} // namespace autoplay
