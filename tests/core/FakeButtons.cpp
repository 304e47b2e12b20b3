#include "tests/core/FakeButtons.h"

#include <gtest/gtest.h>

namespace vantrel::test {

FakeButton& FakeButtons::Button(ButtonId button) { return m_buttons.at(button - 1); }

FakeButton& FakeButtons::Live(ButtonId button) {
    if (button == kNoButton || button > m_buttons.size()) {
        ADD_FAILURE() << "call on unknown button " << button;
        static FakeButton sink;
        return sink;
    }
    FakeButton& found = m_buttons[button - 1];
    if (found.destroyed) ADD_FAILURE() << "call on destroyed button " << button;
    return found;
}

const FakeButton* FakeButtons::WithControlId(int controlId) const {
    for (const FakeButton& button : m_buttons) {
        if (!button.destroyed && button.controlId == controlId) return &button;
    }
    return nullptr;
}

std::size_t FakeButtons::LiveCount() const {
    std::size_t count = 0;
    for (const FakeButton& button : m_buttons) count += button.destroyed ? 0 : 1;
    return count;
}

ButtonId FakeButtons::Create(int controlId) {
    if (m_failNextCreate) {
        m_failNextCreate = false;
        return kNoButton;
    }
    FakeButton button;
    button.controlId = controlId;
    m_buttons.push_back(button);
    return m_buttons.size();
}

void FakeButtons::Destroy(ButtonId button) {
    Live(button).destroyed = true;
    m_destroyOrder.push_back(button);
    if (m_captured == button) m_captured = kNoButton;
}

std::wstring FakeButtons::Caption(ButtonId button) { return Live(button).caption; }

void FakeButtons::SetCaption(ButtonId button, const std::wstring& text) {
    FakeButton& target = Live(button);
    target.caption = text;
    ++target.captionChanges;
}

bool FakeButtons::IsChecked(ButtonId button) { return Live(button).checked; }

void FakeButtons::SetChecked(ButtonId button, bool checked) { Live(button).checked = checked; }

void FakeButtons::SetControlId(ButtonId button, int controlId) { Live(button).controlId = controlId; }

Size FakeButtons::OuterSize(ButtonId button) {
    return Size{WidthFor(Live(button).caption.size()), kHeight};
}

void FakeButtons::Place(ButtonId button, Point topLeft) {
    Live(button).position = topLeft;
    ++m_placeCalls;
}

void FakeButtons::SetFaceColor(ButtonId button, std::uint32_t rgb) { Live(button).faceColor = rgb; }

void FakeButtons::CaptureMouse(ButtonId button) {
    Live(button);
    m_captured = button;
}

}  // namespace vantrel::test
