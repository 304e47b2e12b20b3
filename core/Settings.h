#pragma once
// The settings of the program: 32-bit integers in the per-user profile, each read
// with its default at the moment it is needed and written back at once on a change.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

struct ProfileValue {
    const wchar_t* section;
    const wchar_t* entry;
    std::uint32_t defaultValue;
};

namespace profile {
inline constexpr ProfileValue kTabMode{L"Settings", L"TabMode", 0};
inline constexpr ProfileValue kBringToFront{L"Settings", L"BringToFront", 0};
inline constexpr ProfileValue kStartOnBoot{L"Settings", L"StartOnBoot", 0};
inline constexpr ProfileValue kSystrayEnable{L"Systray", L"Enable", 0};
inline constexpr ProfileValue kSystrayOnClose{L"Systray", L"OnClose", 0};
inline constexpr ProfileValue kSystrayOnMinimize{L"Systray", L"OnMinimize", 0};
inline constexpr ProfileValue kApplicationRuns{L"Stats", L"ApplicationRuns", 0};
// The look lives in the window layer's own section of the profile.
inline constexpr ProfileValue kApplicationLook{L"Workspace", L"ApplicationLook", 210};
}  // namespace profile

// Where the values are kept. Read returns nothing for a missing or unusable value.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    virtual std::optional<std::uint32_t> Read(const wchar_t* section, const wchar_t* entry) = 0;
    virtual void Write(const wchar_t* section, const wchar_t* entry, std::uint32_t value) = 0;

    // Values that are not integers (the frames' placements), with their registry type;
    // type 0 and no data when missing, or longer than `maxSize`. A store that keeps
    // integers only has none.
    struct RawValue {
        std::uint32_t type = 0;
        std::vector<std::uint8_t> data;
    };
    virtual RawValue ReadRaw(const wchar_t* section, const std::wstring& entry, std::size_t maxSize) const;
    virtual void WriteBinary(const wchar_t* section, const std::wstring& entry, const std::vector<std::uint8_t>& data);
};

// Registry value types, as the registry reports them.
inline constexpr std::uint32_t kRegDword = 4;

// A stored value counts only when it is a 4-byte DWORD; anything else (a string,
// a QWORD, a truncated or oversized blob) reads as missing, so the default wins.
std::optional<std::uint32_t> DecodeStoredInteger(std::uint32_t type, const std::uint8_t* data,
                                                 std::size_t size);

class Settings {
public:
    explicit Settings(ProfileStore& store) : m_store(store) {}
    Settings(const Settings&) = delete;
    Settings& operator=(const Settings&) = delete;

    std::uint32_t Get(const ProfileValue& value) const;
    bool IsOn(const ProfileValue& value) const { return Get(value) != 0; }
    void Set(const ProfileValue& value, std::uint32_t newValue);
    // Any non-zero value counts as on and toggles to 0; returns the value written.
    std::uint32_t Toggle(const ProfileValue& value);

    // The look every frame shows (a command id): read from the profile as each frame
    // is made, kept here, and stored whenever it changes.
    unsigned LoadLook();
    unsigned Look() const { return m_look; }
    void SetLook(unsigned id);

    ProfileStore& Store() { return m_store; }

private:
    ProfileStore& m_store;
    unsigned m_look = profile::kApplicationLook.defaultValue;
};

}  // namespace vantrel
