#pragma once
// Counting the program's starts, and the donation reminder shown on every 25th.

#include <cstdint>
#include <string>

namespace vantrel {

// The count after one more start; unsigned 32-bit, so the largest count wraps to 0.
inline std::uint32_t NextRunCount(std::uint32_t stored) { return stored + 1u; }

// Runs 25, 50, 75, ... show the reminder; a wrapped 0 does not.
inline bool ShowsDonationReminder(std::uint32_t runs) { return runs != 0 && runs % 25 == 0; }

// "Please consider donating, you have used this software N times. ..."
std::wstring DonationReminderText(std::uint32_t runs);

}  // namespace vantrel
