#include "core/RememberedDocuments.h"

#include <algorithm>
#include <map>
#include <set>

#include "core/Text.h"

namespace vantrel {
namespace {

constexpr std::size_t kHeaderBytes = 5 * 4;
constexpr std::size_t kDocumentFixedBytes = 3 * 4 + 8;

std::wstring_view Trimmed(std::wstring_view text) {
    const std::wstring_view blanks = L" \t\r\n\v\f\xA0";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// What is stored of a text, and what is compared with it: a cut may leave half a
// character at the end, which is harmless since arriving titles are cut alike.
std::wstring Kept(std::wstring_view text, std::size_t limit) {
    return std::wstring(Trimmed(text).substr(0, limit));
}

std::wstring Folded(std::wstring text) {
    for (wchar_t& c : text) c = FoldCase(c);
    return text;
}

std::size_t TextBytes(const std::wstring& text) { return 4 + 2 * text.size(); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Put64(std::vector<std::uint8_t>& out, std::uint64_t value) {
    Put32(out, static_cast<std::uint32_t>(value));
    Put32(out, static_cast<std::uint32_t>(value >> 32));
}

void PutText(std::vector<std::uint8_t>& out, const std::wstring& text) {
    Put32(out, static_cast<std::uint32_t>(text.size()));
    // Windows' wchar_t is one UTF-16 unit; the native build's wider one is cut to it.
    for (wchar_t c : text) {
        const auto unit = static_cast<std::uint16_t>(c);
        out.push_back(static_cast<std::uint8_t>(unit));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
}

// Reads from the stored bytes; once anything does not fit, every later read fails too.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool Ok() const { return m_ok; }
    bool AtEnd() const { return m_ok && m_at == m_size; }

    std::uint32_t U32() {
        if (!Has(4)) return 0;
        std::uint32_t value = 0;
        for (int b = 3; b >= 0; --b) value = (value << 8) | m_data[m_at + static_cast<std::size_t>(b)];
        m_at += 4;
        return value;
    }

    std::uint64_t U64() {
        const std::uint64_t low = U32();
        return low | (static_cast<std::uint64_t>(U32()) << 32);
    }

    std::wstring Text(std::size_t limit) {
        const std::size_t length = U32();
        if (length > limit) m_ok = false;
        if (!Has(length * 2)) return {};
        std::wstring text(length, L'\0');
        for (std::size_t i = 0; i < length; ++i)
            text[i] = static_cast<wchar_t>(m_data[m_at + 2 * i] | (m_data[m_at + 2 * i + 1] << 8));
        m_at += length * 2;
        return text;
    }

    void Fail() { m_ok = false; }

private:
    bool Has(std::size_t bytes) {
        if (m_ok && bytes > m_size - m_at) m_ok = false;
        return m_ok;
    }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
    bool m_ok = true;
};

// The indices of `documents` in the order they are kept by: seen last first, and
// of those seen at the same time, the one listed first.
std::vector<std::size_t> NewestFirst(const std::vector<RememberedDocument>& documents) {
    std::vector<std::size_t> order(documents.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return documents[a].lastSeen > documents[b].lastSeen;
    });
    return order;
}

void KeepOnly(std::vector<RememberedDocument>& documents, const std::vector<bool>& keep) {
    std::size_t next = 0;
    for (std::size_t i = 0; i < documents.size(); ++i) {
        if (!keep[i]) continue;
        if (next != i) documents[next] = std::move(documents[i]);
        ++next;
    }
    documents.resize(next);
}

bool IsOpen(unsigned frame, const std::vector<unsigned>& openFrames) {
    return frame == 0 || std::find(openFrames.begin(), openFrames.end(), frame) != openFrames.end();
}

}  // namespace

std::vector<std::uint8_t> EncodeRemembered(const Remembered& remembered) {
    std::vector<RememberedFrame> frames;
    for (const RememberedFrame& frame : remembered.frames) {
        if (frame.number < 1 || frame.number > kMaxRememberedFrame) continue;
        const bool seen = std::any_of(frames.begin(), frames.end(),
                                      [&](const RememberedFrame& f) { return f.number == frame.number; });
        if (!seen) frames.push_back({frame.number, Kept(frame.name, kMaxRememberedTitle)});
    }
    std::size_t bytes = kHeaderBytes;
    for (const RememberedFrame& frame : frames) bytes += 4 + TextBytes(frame.name);

    std::vector<RememberedDocument> documents;
    for (const RememberedDocument& d : remembered.documents)
        documents.push_back({Kept(d.program, kMaxRememberedPath), Kept(d.title, kMaxRememberedTitle), d.frame,
                             d.position, d.lastSeen});

    // Newest first until the count or the size is reached; the rest go, oldest first.
    std::vector<bool> keep(documents.size(), false);
    std::set<std::wstring> programs;
    std::size_t kept = 0;
    for (std::size_t i : NewestFirst(documents)) {
        const RememberedDocument& d = documents[i];
        const bool newProgram = programs.count(d.program) == 0;
        const std::size_t cost = kDocumentFixedBytes + TextBytes(d.title) + (newProgram ? TextBytes(d.program) : 0);
        if (kept == kMaxRememberedDocuments || bytes + cost > kMaxRememberedBytes) break;
        bytes += cost;
        keep[i] = true;
        ++kept;
        if (newProgram) programs.insert(d.program);
    }
    KeepOnly(documents, keep);

    std::map<std::wstring, std::uint32_t> programIndex;
    std::vector<const std::wstring*> programOrder;
    for (const RememberedDocument& d : documents) {
        if (programIndex.emplace(d.program, static_cast<std::uint32_t>(programOrder.size())).second)
            programOrder.push_back(&d.program);
    }

    std::vector<std::uint8_t> out;
    out.reserve(bytes);
    for (std::uint32_t v : {kRememberedMagic, kRememberedFormat, static_cast<std::uint32_t>(frames.size()),
                            static_cast<std::uint32_t>(programOrder.size()),
                            static_cast<std::uint32_t>(documents.size())})
        Put32(out, v);
    for (const RememberedFrame& frame : frames) {
        Put32(out, frame.number);
        PutText(out, frame.name);
    }
    for (const std::wstring* program : programOrder) PutText(out, *program);
    for (const RememberedDocument& d : documents) {
        Put32(out, programIndex.at(d.program));
        Put32(out, d.frame);
        Put32(out, d.position);
        Put64(out, d.lastSeen);
        PutText(out, d.title);
    }
    return out;
}

Remembered DecodeRemembered(std::uint32_t type, const std::uint8_t* data, std::size_t size, std::uint64_t now) {
    if (type != kRegBinary || data == nullptr || size > kMaxRememberedBytes) return {};
    Reader in(data, size);
    const std::uint32_t magic = in.U32();
    const std::uint32_t format = in.U32();
    const std::uint32_t frameCount = in.U32();
    const std::uint32_t programCount = in.U32();
    const std::uint32_t documentCount = in.U32();
    if (!in.Ok() || magic != kRememberedMagic || format != kRememberedFormat || frameCount > kMaxRememberedFrame ||
        programCount > kMaxRememberedDocuments || documentCount > kMaxRememberedDocuments)
        return {};

    Remembered remembered;
    std::vector<bool> frameSeen(kMaxRememberedFrame + 1, false);
    for (std::uint32_t i = 0; i < frameCount && in.Ok(); ++i) {
        RememberedFrame frame;
        frame.number = in.U32();
        frame.name = in.Text(kMaxRememberedTitle);
        if (frame.number < 1 || frame.number > kMaxRememberedFrame || frameSeen[frame.number]) {
            in.Fail();
            break;
        }
        frameSeen[frame.number] = true;
        remembered.frames.push_back(std::move(frame));
    }
    std::vector<std::wstring> programs;
    for (std::uint32_t i = 0; i < programCount && in.Ok(); ++i) programs.push_back(in.Text(kMaxRememberedPath));
    for (std::uint32_t i = 0; i < documentCount && in.Ok(); ++i) {
        RememberedDocument d;
        const std::uint32_t program = in.U32();
        d.frame = in.U32();
        d.position = in.U32();
        d.lastSeen = in.U64();
        d.title = in.Text(kMaxRememberedTitle);
        if (!in.Ok() || program >= programs.size()) return {};
        d.program = programs[program];
        // A frame beyond ours, or one that was closed, leaves its documents to the main frame.
        if (d.frame > kMaxRememberedFrame || !frameSeen[d.frame]) d.frame = 0;
        remembered.documents.push_back(std::move(d));
    }
    if (!in.AtEnd()) return {};
    Prune(remembered, now);
    return remembered;
}

void Prune(Remembered& remembered, std::uint64_t now) {
    auto& documents = remembered.documents;
    documents.erase(std::remove_if(documents.begin(), documents.end(),
                                   [&](const RememberedDocument& d) {
                                       // One seen "later" was seen before the clock went back: kept.
                                       return d.lastSeen <= now && now - d.lastSeen >= kForgetAfterSeconds;
                                   }),
                    documents.end());
    if (documents.size() <= kMaxRememberedDocuments) return;
    const std::vector<std::size_t> order = NewestFirst(documents);
    std::vector<bool> keep(documents.size(), false);
    for (std::size_t i = 0; i < kMaxRememberedDocuments; ++i) keep[order[i]] = true;
    KeepOnly(documents, keep);
}

void ForgetFrame(Remembered& remembered, unsigned number) {
    if (number == 0) return;
    auto& frames = remembered.frames;
    frames.erase(std::remove_if(frames.begin(), frames.end(),
                                [&](const RememberedFrame& f) { return f.number == number; }),
                 frames.end());
    // They went to the end of the main frame's buttons, in their order.
    unsigned after = 0;
    for (const RememberedDocument& d : remembered.documents) {
        if (d.frame == 0) after = std::max(after, d.position + 1);
    }
    for (RememberedDocument& d : remembered.documents) {
        if (d.frame != number) continue;
        d.frame = 0;
        d.position += after;
    }
}

DocumentMatcher::DocumentMatcher(std::vector<RememberedDocument> documents) {
    m_entries.reserve(documents.size());
    for (RememberedDocument& d : documents) {
        Entry entry;
        entry.program = Folded(Kept(d.program, kMaxRememberedPath));
        entry.title = Folded(Kept(d.title, kMaxRememberedTitle));
        entry.document = std::move(d);
        m_entries.push_back(std::move(entry));
    }
}

Placed DocumentMatcher::Match(std::wstring_view program, std::wstring_view title,
                              const std::vector<unsigned>& openFrames) {
    const std::wstring wantedProgram = Folded(Kept(program, kMaxRememberedPath));
    const std::wstring wantedTitle = Folded(Kept(title, kMaxRememberedTitle));
    for (Entry& entry : m_entries) {
        if (entry.taken || entry.title != wantedTitle || entry.program != wantedProgram) continue;
        entry.taken = true;
        if (!IsOpen(entry.document.frame, openFrames)) return {};
        return {entry.document.frame, entry.document.position};
    }
    return {};
}

std::vector<RememberedDocument> DocumentMatcher::NotTaken() const {
    std::vector<RememberedDocument> documents;
    for (const Entry& entry : m_entries) {
        if (!entry.taken) documents.push_back(entry.document);
    }
    return documents;
}

void DocumentMatcher::Reset() {
    for (Entry& entry : m_entries) entry.taken = false;
}

std::size_t InsertionIndex(const std::vector<std::optional<unsigned>>& present, std::optional<unsigned> position) {
    if (!position) return present.size();
    for (std::size_t i = 0; i < present.size(); ++i) {
        if (!present[i] || *present[i] > *position) return i;
    }
    return present.size();
}

}  // namespace vantrel
