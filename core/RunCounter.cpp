#include "core/RunCounter.h"

namespace vantrel {

std::wstring DonationReminderText(std::uint32_t runs) {
    // The count is unsigned: past 2^31 starts it must not read as a negative number.
    return L"Please consider donating, you have used this software " + std::to_wstring(runs) +
           L" times. Support the author and suggest improvements!";
}

}  // namespace vantrel
