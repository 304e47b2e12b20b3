#pragma once
// What is remembered of the additional frames and the documents they hosted, so
// that the next run reopens the frames and puts each document back in its frame
// at its old place on the window taskbar. Kept in the profile as one binary value;
// anything stored that does not read back whole counts as nothing remembered.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Placement.h"  // kRegBinary
#include "core/Settings.h"

namespace vantrel {

namespace profile {
inline constexpr ProfileValue kRestoreFrames{L"Settings", L"RestoreFrames", 1};
}  // namespace profile

inline constexpr const wchar_t* kDocumentsSection = L"Documents";
inline constexpr const wchar_t* kDocumentsEntry = L"Remembered";

// Frame numbers as the "Move to" menu shows them: 0 is the main frame, 1 to 15
// the additional ones.
inline constexpr unsigned kMaxRememberedFrame = 15;
inline constexpr std::size_t kMaxRememberedDocuments = 500;
inline constexpr std::uint64_t kForgetAfterSeconds = 30ull * 24 * 60 * 60;
// What is kept of a text, in UTF-16 units: as much of a title as a button shows,
// and the longest path the system knows.
inline constexpr std::size_t kMaxRememberedTitle = 259;
inline constexpr std::size_t kMaxRememberedPath = 32767;
// The stored value never grows past this, however long the paths: the registry
// is no place for more, and the profile reads nothing longer.
inline constexpr std::size_t kMaxRememberedBytes = 1u << 20;

struct RememberedFrame {
    unsigned number = 0;  // 1 to kMaxRememberedFrame
    std::wstring name;    // the frame's title
    friend bool operator==(const RememberedFrame& a, const RememberedFrame& b) {
        return a.number == b.number && a.name == b.name;
    }
};

struct RememberedDocument {
    std::wstring program;  // the full path of the viewer's executable
    std::wstring title;
    unsigned frame = 0;     // 0 for the main frame
    unsigned position = 0;  // 0-based place among the frame's buttons
    std::uint64_t lastSeen = 0;  // seconds since 1970
    friend bool operator==(const RememberedDocument& a, const RememberedDocument& b) {
        return a.program == b.program && a.title == b.title && a.frame == b.frame &&
               a.position == b.position && a.lastSeen == b.lastSeen;
    }
};

// Documents are listed frame by frame in button order: of two with the same
// program and title, the one listed first is the one that comes back first.
struct Remembered {
    std::vector<RememberedFrame> frames;
    std::vector<RememberedDocument> documents;
};

// The stored form, every number little-endian:
//   "VDOC", format (u32), frame count, program count, document count (u32 each);
//   per frame: number (u32), name; per program: its path;
//   per document: program index, frame, position (u32 each), last seen (u64), title;
// a text being its length in UTF-16 units (u32) and the units (u16 each).
// Each program's path is kept once however many of its documents there are.
inline constexpr std::uint32_t kRememberedMagic = 0x434F4456;  // "VDOC" as stored
inline constexpr std::uint32_t kRememberedFormat = 1;

// Texts are stored without blanks at their ends and cut to their limits; frames
// numbered outside 1 to 15, and those after the first of a number, are left out;
// when there is more than the limits allow, the documents seen longest ago go.
std::vector<std::uint8_t> EncodeRemembered(const Remembered& remembered);
// Nothing remembered unless it is a binary value of our format that reads to its
// last byte, no count or text beyond what we write; then pruned as of `now`. A
// document in a frame that is not remembered counts as the main frame's.
Remembered DecodeRemembered(std::uint32_t type, const std::uint8_t* data, std::size_t size, std::uint64_t now);

// Forgets documents not seen for kForgetAfterSeconds, then all but the
// kMaxRememberedDocuments seen last; the rest keep their order.
void Prune(Remembered& remembered, std::uint64_t now);
// The frame closed: its documents now count as the main frame's.
void ForgetFrame(Remembered& remembered, unsigned number);

// Where a window that arrives goes. No position: after the buttons there.
struct Placed {
    unsigned frame = 0;
    std::optional<unsigned> position;
    friend bool operator==(const Placed& a, const Placed& b) {
        return a.frame == b.frame && a.position == b.position;
    }
};

// Matches the windows that arrive during a run to the documents remembered from
// the last, by program and title, neither by letter case nor by blanks at the
// ends. Each remembered document is taken by one window only.
class DocumentMatcher {
public:
    explicit DocumentMatcher(std::vector<RememberedDocument> documents);

    // The first remembered document not yet taken that matches: it is taken now.
    // In the main frame, at the end, when none matches or its frame is not among
    // `openFrames`.
    Placed Match(std::wstring_view program, std::wstring_view title, const std::vector<unsigned>& openFrames);
    // The remembered documents no window has taken, to be remembered further.
    std::vector<RememberedDocument> NotTaken() const;
    void Reset();

private:
    struct Entry {
        RememberedDocument document;
        std::wstring program;  // folded, as compared
        std::wstring title;
        bool taken = false;
    };
    std::vector<Entry> m_entries;
};

// The index among a frame's buttons, whose remembered positions are `present`
// (none for a button that was not remembered), at which a window remembered at
// `position` goes: before the first button remembered further on, so that
// buttons not remembered stay at the end, as does a window not remembered.
std::size_t InsertionIndex(const std::vector<std::optional<unsigned>>& present, std::optional<unsigned> position);

}  // namespace vantrel
