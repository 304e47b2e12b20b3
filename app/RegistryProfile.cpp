#include "app/RegistryProfile.h"

#include "core/Log.h"

RegistryProfile::RegistryProfile(const std::wstring& company, const std::wstring& application)
    : m_keyPath(L"Software\\" + company + L"\\" + application) {}

std::optional<std::uint32_t> RegistryProfile::Read(const wchar_t* section, const wchar_t* entry) {
    HKEY key = nullptr;
    const std::wstring path = m_keyPath + L"\\" + section;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    // Room for more than a DWORD, so that an oversized value is seen as such and not cut.
    std::uint8_t data[16] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof data;
    const LONG status = ::RegQueryValueExW(key, entry, nullptr, &type, data, &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;  // missing, or larger than any integer
    return vantrel::DecodeStoredInteger(type, data, size);
}

namespace {
// The names are the program's own, never the user's.
void Failed(const wchar_t* section, const wchar_t* entry) {
    const std::wstring name = std::wstring(section) + L"\\" + entry;
    vantrel::Log("setting %s could not be written", std::string(name.begin(), name.end()).c_str());
}
}  // namespace

void RegistryProfile::Write(const wchar_t* section, const wchar_t* entry, std::uint32_t value) {
    HKEY key = nullptr;
    const std::wstring path = m_keyPath + L"\\" + section;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return Failed(section, entry);  // a profile that cannot be written leaves the setting as it was
    const DWORD dword = value;
    if (::RegSetValueExW(key, entry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dword), sizeof dword) !=
        ERROR_SUCCESS)
        Failed(section, entry);
    ::RegCloseKey(key);
}

RegistryProfile::RawValue RegistryProfile::ReadRaw(const wchar_t* section, const std::wstring& entry,
                                                   std::size_t maxSize) const {
    RawValue value;
    HKEY key = nullptr;
    const std::wstring path = m_keyPath + L"\\" + section;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return value;
    // One byte of room beyond the largest size wanted, so that a longer value shows as such.
    value.data.resize(maxSize + 1);
    DWORD size = static_cast<DWORD>(value.data.size());
    DWORD type = REG_NONE;
    const LONG status = ::RegQueryValueExW(key, entry.c_str(), nullptr, &type, value.data.data(), &size);
    ::RegCloseKey(key);
    if (status != ERROR_SUCCESS || size > maxSize) return RawValue{};
    value.type = type;
    value.data.resize(size);
    return value;
}

void RegistryProfile::WriteBinary(const wchar_t* section, const std::wstring& entry,
                                  const std::vector<std::uint8_t>& data) {
    HKEY key = nullptr;
    const std::wstring path = m_keyPath + L"\\" + section;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                          nullptr) != ERROR_SUCCESS)
        return Failed(section, entry.c_str());  // not kept: the frame opens where the system puts it next time
    if (::RegSetValueExW(key, entry.c_str(), 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())) !=
        ERROR_SUCCESS)
        Failed(section, entry.c_str());
    ::RegCloseKey(key);
}
