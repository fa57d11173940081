#pragma once
// A button's caption keeps to the straight part of its plate. A button picture whose
// metadata names `captionInset` = {left, right} (the pixels its rounded ends and shadow take
// at each end) gives its caption a width limit that leaves that much free at both ends of
// the button, so a long caption is drawn smaller instead of running into the ends. A smaller
// limit the caption already has stays. Pictures without the entry change nothing.
#include <utility>

class Actor;
class Button;

void FitCaptionToPlate(Button& button);
// Neighbouring buttons read alike: the shown captions of the parent's own buttons of one
// plate size all take the smallest point size any of them needed to fit, each centred on its
// plate again at that size. Only shrinks; a caller that changes captions gives them their
// made size back first.
void ShareCaptionSize(const Actor& parent);
// The pixels the picture's ends take at the left and at the right ({0, 0} when its metadata
// does not say, as for a picture that is not a button's plate).
std::pair<int, int> CaptionInsets(const Actor& plate);
