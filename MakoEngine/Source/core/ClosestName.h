#pragma once
// Spelling help for names an author typed: the known name nearest to a misspelt one.
#include <string>
#include <vector>

// The name of `known` closest to `word` by edit distance (an insertion, deletion, change
// or swap of two neighbouring letters each count one; case is ignored), when it is close
// enough to be a slip: at most one edit for words of up to four letters, two up to eight,
// three beyond. Among equally close names the first wins. Empty when none is close.
// The work is bounded whatever it is given: a word or name longer than kLongestName is no
// slip of either, and only the first kMostCandidates names are looked at.
const std::size_t kLongestName = 64;
const std::size_t kMostCandidates = 4096;
std::string FindClosestName(const std::string& word, const std::vector<std::string>& known);

// `; did you mean "RedBrick"?` naming the closest known name, or empty when none is close.
std::string DidYouMean(const std::string& word, const std::vector<std::string>& known);
