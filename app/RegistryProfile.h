#pragma once
// The profile in the per-user registry: HKCU\Software\<company>\<application>\<section>.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/Settings.h"

class RegistryProfile final : public vantrel::ProfileStore {
public:
    RegistryProfile(const std::wstring& company, const std::wstring& application);

    std::optional<std::uint32_t> Read(const wchar_t* section, const wchar_t* entry) override;
    void Write(const wchar_t* section, const wchar_t* entry, std::uint32_t value) override;

    RawValue ReadRaw(const wchar_t* section, const std::wstring& entry, std::size_t maxSize) const override;
    void WriteBinary(const wchar_t* section, const std::wstring& entry,
                     const std::vector<std::uint8_t>& data) override;

    const std::wstring& KeyPath() const { return m_keyPath; }

private:
    std::wstring m_keyPath;
};
