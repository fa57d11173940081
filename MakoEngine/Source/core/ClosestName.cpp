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
// neighbouring characters.
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    const std::size_t n = a.size(), m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
    for (std::size_t i = 0; i <= n; ++i)
        d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j)
        d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i)
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[n][m];
}

std::size_t AllowedEdits(std::size_t length)
{
    return length <= 4 ? 1 : length <= 8 ? 2 : 3;
}

} // namespace

std::string FindClosestName(const std::string& word, const std::vector<std::string>& known)
{
    const std::string lowerWord = Lower(word);
    std::string best;
    std::size_t bestDistance = AllowedEdits(word.size()) + 1;
    for (const std::string& name : known) {
        if (name == word)
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
