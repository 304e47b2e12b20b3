// Any title, as another program's window or the rename box may give it, through
// every builder of button captions and menu texts: never a crash, and what comes
// out is one line of bounded length, without a broken character, that a menu
// shows literally.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/FrameTexts.h"
#include "core/Text.h"
#include "core/TrayMenu.h"
#include "core/UpdateDecision.h"
#include "fuzz_input.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// No control character, no half of a character alone.
void CheckShowable(const std::wstring& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        Check(c >= 0x20 && !(c >= 0x7F && c <= 0x9F));
        if (IsHigh(c)) {
            Check(i + 1 < text.size() && IsLow(text[i + 1]));
            ++i;
        } else {
            Check(!IsLow(c));
        }
    }
}

// Every "&" of the title part is doubled: the count of a run of them is even.
void CheckLiteral(const std::wstring& text) {
    std::size_t run = 0;
    for (wchar_t c : text) {
        if (c == L'&') {
            ++run;
        } else {
            Check(run % 2 == 0);
            run = 0;
        }
    }
    Check(run % 2 == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring input = fuzz::Units(data, size);
    const auto fields = fuzz::Fields(input, 3);
    const std::wstring& title = fields[0];
    const std::size_t limit = size > 0 ? data[0] : 0;

    const std::wstring shown = vantrel::ShownTitle(title, limit);
    Check(shown.size() <= limit && shown.size() <= title.size());
    CheckShowable(shown);
    Check(vantrel::ShownTitle(shown, limit) == shown);  // showing twice changes nothing
    // Ordinary text comes through untouched.
    bool ordinary = title.size() <= limit;
    for (wchar_t c : title) ordinary = ordinary && c >= 0x20 && c < 0x7F;
    if (ordinary) Check(shown == title);

    const std::wstring menuTitle = vantrel::MenuTitle(title);
    Check(menuTitle.size() <= 2 * vantrel::kMenuTitleLength + 1);
    CheckShowable(menuTitle);
    CheckLiteral(menuTitle);

    const int number = static_cast<int>(size % 40);
    const bool visible = size % 2 == 0;
    for (const std::wstring& entry :
         {vantrel::MoveToEntryText(number, title), vantrel::TrayMainEntryText(visible, title),
          vantrel::TrayFrameEntryText(number, visible, title)}) {
        CheckShowable(entry);
        Check(entry.find(menuTitle) != std::wstring::npos);
        Check(entry.size() <= menuTitle.size() + 40);
    }

    std::vector<vantrel::TrayFrameState> frames(size % 50, vantrel::TrayFrameState{fields[1], !visible});
    const auto entries = vantrel::TrayFrameEntries({title, visible}, frames);
    Check(!entries.empty() && entries.size() <= 1 + vantrel::kTrayFrameLast - vantrel::kTrayFrameFirst);
    for (const auto& entry : entries) {
        Check(entry.id >= vantrel::kTrayFrameFirst && entry.id <= vantrel::kTrayFrameLast);
        const auto target = vantrel::TrayEntryTarget(entry.id, static_cast<unsigned>(frames.size()));
        Check(target.has_value() && *target == static_cast<int>(entry.id - vantrel::kTrayFrameFirst) - 1);
    }

    const std::wstring renamed = vantrel::RenamedFrameTitle(title, fields[1], visible);
    Check(renamed.compare(0, title.size(), title) == 0);

    // A message format from our resources filled with text from outside: the
    // arguments are taken literally, whatever "%" they hold.
    const std::wstring formatted = vantrel::FormatArguments(fields[2], {title, fields[1]});
    Check(formatted.size() <= fields[2].size() + title.size() + fields[1].size());
    if (fields[2].find(L'%') == std::wstring::npos) Check(formatted == fields[2]);
    return 0;
}
