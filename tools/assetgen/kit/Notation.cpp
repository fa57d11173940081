#include "kit/Notation.h"

#include <cctype>
#include <numeric>
#include <sstream>
#include <stdexcept>

namespace assetgen {

namespace {

// A length or a beat as an exact fraction.
struct Beats
{
    long long num = 0;
    long long den = 1;

    Beats& operator+=(const Beats& other)
    {
        num = num * other.den + other.num * den;
        den *= other.den;
        const long long g = std::gcd(num, den);
        num /= g;
        den /= g;
        return *this;
    }
    double Value() const { return static_cast<double>(num) / static_cast<double>(den); }
};

[[noreturn]] void Refuse(const std::string& note, const char* why)
{
    throw std::invalid_argument("note \"" + note + "\": " + why);
}

bool AllDigits(const std::string& text, std::size_t most)
{
    return !text.empty() && text.size() <= most &&
           text.find_first_not_of("0123456789") == std::string::npos;
}

// "2", ".25", "1.5" or "2/3", greater than 0.
Beats ReadLength(const std::string& text, const std::string& note)
{
    const std::size_t slash = text.find('/');
    const std::string whole = text.substr(0, slash);
    const std::size_t point = whole.find('.');
    const std::string digits =
        point == std::string::npos ? whole : whole.substr(0, point) + whole.substr(point + 1);
    if (!AllDigits(digits, 6) || (point != std::string::npos && slash != std::string::npos))
        Refuse(note, "the length is not a number of beats");
    Beats length{std::stoll(digits), 1};
    if (point != std::string::npos)
        for (std::size_t i = point + 1; i < whole.size(); ++i)
            length.den *= 10;
    if (slash != std::string::npos) {
        const std::string under = text.substr(slash + 1);
        if (!AllDigits(under, 4) || std::stoll(under) == 0)
            Refuse(note, "the length is not a fraction of whole numbers");
        length.den = std::stoll(under);
    }
    if (length.num == 0)
        Refuse(note, "the length must be more than 0 beats");
    const long long g = std::gcd(length.num, length.den);
    return {length.num / g, length.den / g};
}

// A signed whole number of at most `most` digits.
int ReadSigned(const std::string& text, std::size_t most, const std::string& note, const char* why)
{
    const std::size_t sign = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (!AllDigits(text.substr(sign), most))
        Refuse(note, why);
    return std::stoi(text);
}

// Calls place(beat, length, head, tail, note) for each "head:length[tail]" of the measure
// in turn: the head is what stands before the colon, the tail "v" and what follows it;
// "-" heads are rests.
template <typename Place> void ReadMeasure(const std::string& text, Place place)
{
    std::istringstream in(text);
    std::string note;
    Beats beat;
    while (in >> note) {
        const std::size_t colon = note.find(':');
        if (colon == std::string::npos || colon == 0)
            Refuse(note, "a note is key:length");
        const std::size_t tail = note.find('v', colon);
        const std::string head = note.substr(0, colon);
        const Beats length = ReadLength(note.substr(colon + 1, tail - colon - 1), note);
        if (head != "-")
            place(beat.Value(), length.Value(), head,
                  tail == std::string::npos ? std::string() : note.substr(tail), note);
        beat += length;
    }
    if (beat.num == 0)
        throw std::invalid_argument("measure \"" + text + "\" holds no notes");
}

} // namespace

std::vector<std::vector<Note>> Melody(const std::string& text)
{
    std::vector<std::vector<Note>> measures;
    std::size_t start = 0;
    for (;;) {
        const std::size_t bar = text.find('|', start);
        std::vector<Note> notes;
        ReadMeasure(text.substr(start, bar - start),
                    [&notes](double beat, double length, const std::string& key,
                             const std::string& tail, const std::string& note) {
                        if (!tail.empty())
                            Refuse(note, "a melody note has no velocity of its own");
                        if (!AllDigits(key, 3) || std::stoi(key) > 127)
                            Refuse(note, "the key is not a MIDI key 0 to 127");
                        notes.push_back({beat, length, std::stoi(key)});
                    });
        measures.push_back(notes);
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    return measures;
}

Figure Steps(const std::string& text, long gapTicks, double gapFraction)
{
    Figure figure{{}, gapTicks, gapFraction};
    ReadMeasure(text, [&figure](double beat, double length, const std::string& head,
                                const std::string& tail, const std::string& note) {
        const std::size_t shift = head.find_first_of("+-", 1);
        const int tone = ReadSigned(head.substr(0, shift), 2, note, "the tone is not a number");
        const int semis = shift == std::string::npos ? 0
                                                     : ReadSigned(head.substr(shift), 2, note,
                                                                  "the semitones are not a number");
        const int velocity =
            tail.empty() ? 0 : ReadSigned(tail.substr(1), 3, note, "the velocity is not a number");
        figure.steps.push_back({beat, length, tone, semis, velocity});
    });
    return figure;
}

std::vector<DrumHit> Strokes(int key, const std::string& text, int fromLevel, Where where)
{
    std::vector<DrumHit> hits;
    std::istringstream in(text);
    std::string stroke;
    while (in >> stroke) {
        const std::size_t colon = stroke.find(':');
        if (colon == std::string::npos)
            Refuse(stroke, "a stroke is beat:velocity");
        const std::string at = stroke.substr(0, colon);
        const Beats beat = at == "0" ? Beats{} : ReadLength(at, stroke);
        const int velocity =
            ReadSigned(stroke.substr(colon + 1), 3, stroke, "the velocity is not a number");
        hits.push_back({beat.Value(), key, velocity, fromLevel, where});
    }
    return hits;
}

std::vector<DrumHit> Hits(int key, const std::vector<double>& beats, int velocity, int fromLevel,
                          Where where)
{
    std::vector<DrumHit> hits;
    for (double beat : beats)
        hits.push_back({beat, key, velocity, fromLevel, where});
    return hits;
}

std::vector<DrumHit> Join(const std::vector<std::vector<DrumHit>>& parts)
{
    std::vector<DrumHit> hits;
    for (const std::vector<DrumHit>& part : parts)
        hits.insert(hits.end(), part.begin(), part.end());
    return hits;
}

} // namespace assetgen
