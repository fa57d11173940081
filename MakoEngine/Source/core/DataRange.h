#pragma once
// The one way a number from data (a level, a card, the configuration, a pack file) is held
// to the range its user can take. The range is checked on the number as it was written,
// before it is converted or used: NaN, an infinity or 1e308 never reaches an int, a
// physics body or a count of things made, and a report names the value as the author
// wrote it ("inf", "-1e+308", "2147483648"), not what a conversion made of it.
//
// Hold* only compute; Read* also report a value they changed, through DataReport at the
// current place (so the game's log and the level check say the same words):
//   "<key>": <value> is outside <low> to <high>; <held> is used
//   "<key>": nan is no number; <fallback> is used
#include <string>

namespace DataRange {

// value held to low..high; a NaN gives fallback (itself held). changed tells whether the
// result differs from value.
double Hold(double value, double low, double high, double fallback, bool& changed);
// The same, then converted to int toward zero; low and high are ints, so the conversion
// is always defined.
int HoldInt(double value, int low, int high, int fallback, bool& changed);
// A number as a report shows it: at most 15 significant digits, "nan", "inf", "-inf".
std::string Text(double value);
// The words of a change: "\"key\": inf is outside -1 to 10000; 10000 is used".
std::string Describe(const std::string& key, double value, double low, double high, double held);

// Hold and HoldInt that report a change through DataReport::Report with that subject
// (empty: the current place's own).
double Read(const std::string& subject, const std::string& key, double value, double low,
            double high, double fallback);
int ReadInt(const std::string& subject, const std::string& key, double value, int low, int high,
            int fallback);

} // namespace DataRange
