#pragma once
// The ruled-paper rule of the layout check: what is written on a sheet of ruled paper (the
// letters, the end-of-level tally, the notepads of the map and the lab) stands on the
// sheet's rules, as handwriting on a ruled page does. The sheet is a picture whose metadata
// names its rules, `rules` = {top, pitch, last} (the rows of the first and last rule and the
// distance between two, in the picture's pixels; without `last` the rules run as far down
// as they are drawn). Every line of every shown text whose
// nearest picture is the sheet must
// - have its foot (the font's baseline) on a rule, give or take kTolerance pixels, and
// - keep every rule out of the body of its letters (from the top of its ink down to
//   kTolerance pixels above its foot): no rule strikes it through.
// A line wholly above the first rule (a heading) or wholly below the last is free of the
// rules; texts on a button or another picture laid on the sheet are that picture's. A
// sheet without rules in its metadata, or whose metadata names rows where no rule is drawn,
// is a fault itself, so a sheet never passes by saying nothing.
#include <SDL.h>

#include <string>
#include <vector>

class Actor;
class Label;

namespace bbtest {

class RuledPaper
{
public:
    // A rule is a line of a pixel or two (the notepad's is drawn across two rows), and a
    // font's foot is where the hinted letters end, which may be a pixel off the baseline:
    // a foot within this many pixels of a rule stands on it.
    static constexpr int kTolerance = 2;

    // Checks the texts shown on the sheet (an actor with a picture) and reports each
    // fault as one line naming the place, the text and the rows.
    static std::vector<std::string> Faults(const Actor& sheet, const std::string& place);
    // How many lines of text the last call held to the rules (a check that saw none would
    // prove nothing).
    static int LinesChecked() { return s_Checked; }

private:
    struct Rules
    {
        int top = 0, pitch = 0, last = 0; // window rows
    };
    static bool ReadRules(const Actor& sheet, Rules& rules, std::string& why);
    static void CheckLabel(const Label& label, const Rules& rules, const std::string& place,
                           std::vector<std::string>& faults);
    static int s_Checked;
};

} // namespace bbtest
