#pragma once
// The find box: of the documents hosted in every frame, those whose titles hold
// every word typed, best first, each shown as a line of the list.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct FindCandidate {
    std::wstring title;      // the window's title, as it is
    std::wstring frameName;  // how the list names its frame, e.g. Window #2: "Budget"
    unsigned frameOrder = 0;  // the frame's place among the frames
    unsigned button = 0;      // the window's place among its frame's buttons
};

struct FoundDocument {
    std::size_t candidate;  // index into the candidates
    std::wstring line;      // title — frame name
};

// Every word of `typed` (split at blanks) must be in the title as a button shows
// it, anywhere and in any order, whatever the letter case; with no word typed,
// every document is found. Titles that begin with the first word typed come
// first; then frame by frame, and button by button within a frame.
std::vector<FoundDocument> FindDocuments(const std::vector<FindCandidate>& candidates, std::wstring_view typed);

}  // namespace vantrel
