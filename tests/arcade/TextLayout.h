#pragma once
// The layout check of what a screen shows: every visible text with the rectangle its
// letters cover and the frame that holds it, and pictures that must stay inside a panel.
// A text's frame is the nearest actor above it that shows a picture (a button, a plate, a
// sheet of paper), less that picture's margins, and always the window; a text may also be
// given its frame. The check reports each text that leaves its frame and each pair of
// texts whose letters cover each other, unless that pair was allowed.
#include <SDL.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Actor;
class Label;

namespace bbtest {

// One text as it is drawn.
struct ShownText
{
    const Label* label;
    std::string text;
    SDL_Rect ink;       // the pixels its letters cover, in window coordinates
    std::string holder; // what holds it
    SDL_Rect frame;     // the rectangle it must keep inside
};

class TextLayout
{
public:
    TextLayout(int windowWidth, int windowHeight);

    // The border a picture keeps free of text (the paper outside its rules, a card's rim).
    void SetMargins(const std::string& image, int left, int top, int right, int bottom);
    // Forgets what was gathered (the margins and the window stay).
    void Clear();
    // Gathers the visible texts under root (the copies that shade a label excluded).
    void Collect(const Actor* root);
    // Gives a label a frame of its own instead of its framed ancestor's.
    void Hold(const Label* label, const std::string& holder, const SDL_Rect& frame);
    // Lets the two labels' letters cover each other.
    void AllowOverlap(const Label* a, const Label* b);
    // A picture that must stay inside the frame (and the window).
    void AddPicture(const Actor* actor, const std::string& name, const SDL_Rect& frame);
    // One line per fault, each naming the place, the texts and the rectangles.
    std::vector<std::string> Faults(const std::string& place) const;
    const std::vector<ShownText>& Texts() const { return m_Texts; }

    // The rectangle of the label's letters in window coordinates (w = 0 when it shows none).
    static SDL_Rect InkOf(const Label& label);
    static std::string Describe(const SDL_Rect& rect);

private:
    void CollectActor(const Actor* actor);
    ShownText Framed(const Label& label) const;
    void CheckInside(const std::string& place, const std::string& what, const SDL_Rect& ink,
                     const std::string& holder, const SDL_Rect& frame,
                     std::vector<std::string>& faults) const;

    SDL_Rect m_Window;
    std::map<std::string, SDL_Rect> m_Margins; // left, top, right, bottom
    std::map<const Label*, std::pair<std::string, SDL_Rect>> m_Held;
    std::set<std::pair<const Label*, const Label*>> m_Allowed;
    std::vector<ShownText> m_Texts;
    struct Picture
    {
        std::string name;
        SDL_Rect rect;
        SDL_Rect frame;
    };
    std::vector<Picture> m_Pictures;
};

} // namespace bbtest
