#include "core/FindDocument.h"

#include <algorithm>

#include "core/FrameTexts.h"
#include "core/Text.h"

namespace vantrel {
namespace {

constexpr std::size_t kShownLength = 259;  // as much as a button shows

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == 0xA0 || c == 0x3000; }

std::wstring Folded(std::wstring_view text) {
    std::wstring folded(text);
    for (wchar_t& c : folded) c = FoldCase(c);
    return folded;
}

std::vector<std::wstring> FoldedWords(std::wstring_view typed) {
    std::vector<std::wstring> words;
    std::size_t at = 0;
    while (at < typed.size()) {
        while (at < typed.size() && IsBlank(typed[at])) ++at;
        std::size_t end = at;
        while (end < typed.size() && !IsBlank(typed[end])) ++end;
        if (end > at) words.push_back(Folded(typed.substr(at, end - at)));
        at = end;
    }
    return words;
}

}  // namespace

std::vector<FoundDocument> FindDocuments(const std::vector<FindCandidate>& candidates, std::wstring_view typed) {
    const std::vector<std::wstring> words = FoldedWords(typed);
    struct Hit {
        bool beginsWithWord;
        std::size_t candidate;
        std::wstring shown;
    };
    std::vector<Hit> hits;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        std::wstring shown = ShownTitle(candidates[i].title, kShownLength);
        const std::wstring title = Folded(shown);
        const bool all = std::all_of(words.begin(), words.end(),
                                     [&](const std::wstring& w) { return title.find(w) != std::wstring::npos; });
        if (!all) continue;
        // Blanks a title starts with are not seen as its beginning.
        const std::size_t start = std::min(title.find_first_not_of(L" \xA0\x3000"), title.size());
        const bool begins = !words.empty() && title.compare(start, words[0].size(), words[0]) == 0;
        hits.push_back({begins, i, std::move(shown)});
    }
    std::sort(hits.begin(), hits.end(), [&](const Hit& a, const Hit& b) {
        const FindCandidate& ca = candidates[a.candidate];
        const FindCandidate& cb = candidates[b.candidate];
        if (a.beginsWithWord != b.beginsWithWord) return a.beginsWithWord;
        if (ca.frameOrder != cb.frameOrder) return ca.frameOrder < cb.frameOrder;
        if (ca.button != cb.button) return ca.button < cb.button;
        return a.candidate < b.candidate;
    });
    std::vector<FoundDocument> found;
    found.reserve(hits.size());
    for (Hit& hit : hits) {
        found.push_back({hit.candidate,
                         std::move(hit.shown) + L" \u2014 " + ShownTitle(candidates[hit.candidate].frameName, kShownLength)});
    }
    return found;
}

std::wstring FindFrameName(unsigned number, const std::wstring& title) {
    if (number == 0) {
        // The line says already which frame is the main one.
        const std::wstring_view suffix = kMainFrameTitleSuffix;
        const bool marked = title.size() >= suffix.size() && title.compare(title.size() - suffix.size(), suffix.size(), suffix) == 0;
        return L"Main window: \"" + (marked ? title.substr(0, title.size() - suffix.size()) : title) + L"\"";
    }
    return L"Window #" + std::to_wstring(number) + L": \"" + title + L"\"";
}

std::optional<std::size_t> KeptSelection(const std::vector<FoundDocument>& found,
                                         const std::vector<std::uintptr_t>& windowOf, std::uintptr_t selected) {
    if (selected == 0) return found.empty() ? std::nullopt : std::optional<std::size_t>(0);
    for (std::size_t line = 0; line < found.size(); ++line) {
        const std::size_t candidate = found[line].candidate;
        if (candidate < windowOf.size() && windowOf[candidate] == selected) return line;
    }
    return std::nullopt;
}

}  // namespace vantrel
