#pragma once
// The layout check of what a screen shows: every visible text with the rectangle its
// letters cover and the frame that holds it, and pictures that must stay inside a panel.
// A text's frame is the nearest actor above it that shows a picture (a button, a plate, a
// sheet of paper) or is filled with a colour (a text box), less that picture's margins (a
// button picture's rounded ends, as its metadata gives them, unless margins were set),
// and always the window; a text may also be given its frame. The check reports each text
// that comes closer than kGap pixels to the edge of its frame, each pair of texts whose
// letters come closer than kGap to each other (unless that pair was allowed), and buttons
// of one plate size under one parent, standing in one row or column, whose captions differ
// in size, and each button (but a radio button) whose caption does not stand in the middle
// of its plate (its letters across, its line up and down). The pictures its frame holds (a
// tick box, a seal, a ring, an icon) keep kGap clear of its letters, pixel by pixel; a
// picture the letters are written on (solid under most of them) is their ground. A holder
// that lies on a picture itself (a button on the paper) keeps inside that picture. Pictures
// drawn over the place (the window buttons of full screen) keep kGap clear of every text and
// button. What it was asked to look at but cannot see is a fault too: a root, picture or
// held text that is missing or not shown never passes silently.
#include <SDL.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Actor;
class Button;
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
    // The holder (a button, a box) inside the picture that holds it in turn (its paper), when
    // there is one: the holder keeps inside that picture with all it shows.
    const Actor* box = nullptr;
    SDL_Rect boxRect{};
    std::string outer{};
    SDL_Rect outerRect{};
    const Actor* holderActor = nullptr; // the picture or box that frames it, if any
    // The edge the letters keep kGap from: the frame, or for a button's plate the plate's
    // own edge (its frame already leaves out the rounded ends).
    SDL_Rect edge{};
};

class TextLayout
{
public:
    // The least space, in pixels, between a text's letters and its neighbours' letters, the
    // edge of its frame, or a picture drawn over the place.
    static constexpr int kGap = 2;
    // How far a button's caption may stand from the middle of its plate (the letters' own
    // side bearings differ by a pixel or two).
    static constexpr int kCaptionSlack = 3;

    TextLayout(int windowWidth, int windowHeight);

    // The border a picture keeps free of text (the paper outside its rules, a card's rim).
    void SetMargins(const std::string& image, int left, int top, int right, int bottom);
    // Forgets what was gathered (the margins and the window stay).
    void Clear();
    // Gathers the visible texts under root (the copies that shade a label excluded); a root
    // that is missing or hidden is a fault.
    void Collect(const Actor* root);
    // Gives a label a frame of its own instead of its framed ancestor's; a label that is
    // missing, or not among the texts gathered when the faults are listed, is a fault.
    void Hold(const Label* label, const std::string& holder, const SDL_Rect& frame);
    // Lets the two labels' letters cover each other.
    void AllowOverlap(const Label* a, const Label* b);
    // A picture that must stay inside the frame (and the window); one that is missing or
    // hidden is a fault.
    void AddPicture(const Actor* actor, const std::string& name, const SDL_Rect& frame);
    // A picture drawn over the place (a window button) that no text may lie under; one that
    // is missing or hidden is a fault.
    void AddObstacle(const Actor* actor, const std::string& name);
    // One line per fault, each naming the place, the texts and the rectangles.
    std::vector<std::string> Faults(const std::string& place) const;
    const std::vector<ShownText>& Texts() const { return m_Texts; }

    // The rectangle of the label's letters in window coordinates (w = 0 when it shows none).
    static SDL_Rect InkOf(const Label& label);
    // The contrast ratio (1 to 21, as the web's accessibility rules reckon it) of the
    // label's colour against the mean colour of the picture under its letters; 0 when the
    // picture or the letters cannot be read.
    static double Contrast(const Label& label, const Actor& picture);
    // The contrast ratio of the label's colour against what the scene draws under its
    // letters, every text of the scene left out: the scene is drawn off screen, and the
    // pixels under the letters that are nearest the letters' own luminance (the tenth of
    // them that reads worst) stand for the ground, so bright spots under light letters
    // count. 0 when nothing can be read.
    static double ContrastOver(const Label& label, Actor& scene);
    static std::string Describe(const SDL_Rect& rect);

private:
    void CollectActor(const Actor* actor);
    void CheckPictures(const ShownText& text, const std::string& place,
                       std::vector<std::string>& faults) const;
    void CheckCaptionSizes(const std::string& place, std::vector<std::string>& faults) const;
    void CheckObstacles(const std::string& place, std::vector<std::string>& faults) const;
    ShownText Framed(const Label& label) const;
    void CheckInside(const std::string& place, const std::string& what, const SDL_Rect& ink,
                     const std::string& holder, const SDL_Rect& frame, const SDL_Rect& edge,
                     std::vector<std::string>& faults) const;

    SDL_Rect m_Window;
    std::map<std::string, SDL_Rect> m_Margins; // left, top, right, bottom
    std::map<const Label*, std::pair<std::string, SDL_Rect>> m_Held;
    std::set<std::pair<const Label*, const Label*>> m_Allowed;
    std::vector<ShownText> m_Texts;
    std::vector<std::string> m_Unseen; // what was asked for but is missing or hidden
    struct Picture
    {
        std::string name;
        SDL_Rect rect;
        SDL_Rect frame;
    };
    std::vector<Picture> m_Pictures;
    std::vector<Picture> m_Obstacles;
    std::vector<const Button*> m_Buttons; // the shown buttons gathered
};

} // namespace bbtest
