#include "core/ClosestName.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// Optimal string alignment distance: insertions, deletions, changes and swaps of
// neighbouring characters. Three rows of the table at a time.
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    const std::size_t m = b.size();
    std::vector<std::size_t> before(m + 1), last(m + 1), row(m + 1);
    for (std::size_t j = 0; j <= m; ++j)
        last[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({last[j] + 1, row[j - 1] + 1, last[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
        }
        before.swap(last);
        last.swap(row);
    }
    return last[m];
}

std::size_t AllowedEdits(std::size_t length)
{
    return length <= 4 ? 1 : length <= 8 ? 2 : 3;
}

} // namespace

std::string FindClosestName(const std::string& word, const std::vector<std::string>& known)
{
    std::string best;
    if (word.size() > kLongestName)
        return best;
    const std::string lowerWord = Lower(word);
    std::size_t bestDistance = AllowedEdits(word.size()) + 1;
    const std::size_t candidates = std::min(known.size(), kMostCandidates);
    for (std::size_t i = 0; i < candidates; ++i) {
        const std::string& name = known[i];
        if (name == word || name.size() > kLongestName)
            continue;
        // Names far longer or shorter cannot be close; skip the table for them.
        const std::size_t gap =
            name.size() > word.size() ? name.size() - word.size() : word.size() - name.size();
        if (gap >= bestDistance)
            continue;
        const std::size_t distance = EditDistance(lowerWord, Lower(name));
        if (distance < bestDistance) {
            bestDistance = distance;
            best = name;
        }
    }
    return best;
}

std::string DidYouMean(const std::string& word, const std::vector<std::string>& known)
{
    const std::string closest = FindClosestName(word, known);
    return closest.empty() ? std::string() : "; did you mean \"" + closest + "\"?";
}
