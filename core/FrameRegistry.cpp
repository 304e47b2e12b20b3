#include "core/FrameRegistry.h"

#include <algorithm>

namespace vantrel {

void FrameRegistry::Forget(const RegisteredFrame& frame) {
    for (auto& entry : m_frames) {
        if (entry == &frame) entry = nullptr;
    }
}

unsigned FrameRegistry::Count() {
    m_frames.erase(std::remove_if(m_frames.begin(), m_frames.end(),
                                  [](const RegisteredFrame* f) { return f == nullptr || !f->IsAlive(); }),
                   m_frames.end());
    return static_cast<unsigned>(m_frames.size());
}

RegisteredFrame* FrameRegistry::At(unsigned position) const {
    return position < m_frames.size() ? m_frames[position] : nullptr;
}

std::optional<unsigned> FrameRegistry::PositionOf(const RegisteredFrame& frame) const {
    const auto found = std::find(m_frames.begin(), m_frames.end(), &frame);
    if (found == m_frames.end()) return std::nullopt;
    return static_cast<unsigned>(found - m_frames.begin());
}

std::wstring FrameRegistry::TitleAt(unsigned position) const {
    const RegisteredFrame* frame = At(position);
    return frame != nullptr ? frame->Title() : std::wstring(kInvalidFramePosition);
}

bool FrameRegistry::IsHostedElsewhere(WindowId window) {
    Count();
    return std::any_of(m_frames.begin(), m_frames.end(),
                       [window](const RegisteredFrame* f) { return f->HostsWindow(window); });
}

}  // namespace vantrel
