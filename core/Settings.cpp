#include "core/Settings.h"

#include <cstring>

namespace vantrel {

std::optional<std::uint32_t> DecodeStoredInteger(std::uint32_t type, const std::uint8_t* data,
                                                 std::size_t size) {
    if (type != kRegDword || data == nullptr || size != sizeof(std::uint32_t))
        return std::nullopt;
    std::uint32_t value = 0;
    std::memcpy(&value, data, sizeof value);  // the registry keeps DWORDs little-endian, as we do
    return value;
}

std::uint32_t Settings::Get(const ProfileValue& value) const {
    return m_store.Read(value.section, value.entry).value_or(value.defaultValue);
}

void Settings::Set(const ProfileValue& value, std::uint32_t newValue) {
    m_store.Write(value.section, value.entry, newValue);
}

ProfileStore::RawValue ProfileStore::ReadRaw(const wchar_t*, const std::wstring&, std::size_t) const { return {}; }

void ProfileStore::WriteBinary(const wchar_t*, const std::wstring&, const std::vector<std::uint8_t>&) {}

unsigned Settings::LoadLook() {
    m_look = Get(profile::kApplicationLook);
    return m_look;
}

void Settings::SetLook(unsigned id) {
    m_look = id;
    Set(profile::kApplicationLook, id);
}

std::uint32_t Settings::Toggle(const ProfileValue& value) {
    const std::uint32_t newValue = Get(value) == 0 ? 1 : 0;
    Set(value, newValue);
    return newValue;
}

}  // namespace vantrel
