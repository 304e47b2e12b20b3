// Any value stored in the profile (type, size and bytes, as another program or
// an older version may have left them) through the decoding and everything that
// reads a setting: never a crash, and only a well-formed DWORD counts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "core/Looks.h"
#include "core/RunCounter.h"
#include "core/Settings.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class OneValueStore : public vantrel::ProfileStore {
public:
    explicit OneValueStore(std::optional<std::uint32_t> value) : m_value(value) {}
    std::optional<std::uint32_t> Read(const wchar_t*, const wchar_t*) override { return m_value; }
    void Write(const wchar_t*, const wchar_t*, std::uint32_t value) override { m_value = value; }
    std::optional<std::uint32_t> m_value;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first four bytes are the registry type, the rest the stored bytes.
    std::uint32_t type = 0;
    if (size >= 4) std::memcpy(&type, data, 4);
    const std::uint8_t* stored = size >= 4 ? data + 4 : nullptr;
    const std::size_t storedSize = size >= 4 ? size - 4 : 0;

    const auto decoded = vantrel::DecodeStoredInteger(type, stored, storedSize);
    Check(decoded.has_value() == (type == vantrel::kRegDword && storedSize == 4));
    if (decoded) {
        std::uint32_t expected = 0;
        std::memcpy(&expected, stored, 4);
        Check(*decoded == expected);
    }

    for (const vantrel::ProfileValue& value :
         {vantrel::profile::kTabMode, vantrel::profile::kBringToFront, vantrel::profile::kStartOnBoot,
          vantrel::profile::kSystrayEnable, vantrel::profile::kSystrayOnClose, vantrel::profile::kSystrayOnMinimize,
          vantrel::profile::kApplicationRuns, vantrel::profile::kApplicationLook}) {
        OneValueStore store(decoded);
        vantrel::Settings settings(store);
        const std::uint32_t before = settings.Get(value);
        Check(before == decoded.value_or(value.defaultValue));
        const std::uint32_t written = settings.Toggle(value);
        Check(written == (before == 0 ? 1u : 0u) && settings.Get(value) == written);
    }

    const std::uint32_t number = decoded.value_or(static_cast<std::uint32_t>(size));
    const vantrel::LookSelection look = vantrel::SelectLook(number);
    if (look.setsStyle) Check(number >= 215 && number <= 218);
    const vantrel::LookPalette& palette = vantrel::PaletteOf(look.family, look.style);
    (void)palette;

    const std::uint32_t runs = vantrel::NextRunCount(number);
    if (vantrel::ShowsDonationReminder(runs)) Check(!vantrel::DonationReminderText(runs).empty());
    return 0;
}
