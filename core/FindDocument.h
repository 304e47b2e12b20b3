#pragma once
// The find box: of the documents hosted in every frame, those whose titles hold
// every word typed, best first, each shown as a line of the list.

#include <cstddef>
#include <cstdint>
#include <optional>
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

// How the list names a frame: Main window: "TITLE" for the main frame (number 0),
// its title without the mark of the main frame, and Window #N: "TITLE" for
// additional frame N, as the menus number them. A list shows
// an "&" as it is, so unlike the menus' texts nothing is doubled.
std::wstring FindFrameName(unsigned number, const std::wstring& title);

// The line to select once the list is built anew, `windowOf` giving each
// candidate's window: the line of `selected`, the window the user had selected;
// none once that window is gone, so that Enter cannot go to a document the user
// never chose; the best match (the first line) when nothing was selected.
std::optional<std::size_t> KeptSelection(const std::vector<FoundDocument>& found,
                                         const std::vector<std::uintptr_t>& windowOf, std::uintptr_t selected);

}  // namespace vantrel
