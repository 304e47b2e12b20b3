// Any bytes as the version file's text: the parser and the decision never crash,
// and only a well-formed version is ever shown back to the user.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/UpdateDecision.h"
#include "core/Version.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each byte a character, as a single-byte code page gives them, and each pair
    // of bytes a UTF-16 unit, which reaches the characters beyond Latin-1.
    std::wstring bytes(data, data + size);
    std::wstring units;
    for (std::size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    for (const std::wstring& body : {bytes, units}) {
        const std::wstring_view published = vantrel::PublishedVersionText(body);
        const auto parsed = vantrel::ParseVersion(published);
        if (parsed && published.find_first_not_of(L"0123456789.") != std::wstring_view::npos) std::abort();
        const vantrel::UpdateMessage message = vantrel::DecideUpdate(body, L"0.8.9.2", L"http://127.0.0.1/");
        if ((message.outcome == vantrel::UpdateOutcome::Error) == parsed.has_value()) std::abort();
        vantrel::IsLoopbackAddress(body);
    }
    return 0;
}
