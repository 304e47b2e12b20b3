#pragma once
// In-memory window buttons. A call on a destroyed or unknown button fails the test,
// since the real one would act on a window that is gone.

#include <vector>

#include "core/WindowButtons.h"

namespace vantrel::test {

struct FakeButton {
    int controlId = 0;
    std::wstring caption;
    bool checked = false;
    Point position;
    std::uint32_t faceColor = 0;
    bool destroyed = false;
    int captionChanges = 0;
};

class FakeButtons : public WindowButtons {
public:
    static constexpr int kHeight = 22;
    static int WidthFor(std::size_t captionLength) { return 20 + 7 * static_cast<int>(captionLength); }

    FakeButton& Button(ButtonId button);
    // The live button with this control id, or null.
    const FakeButton* WithControlId(int controlId) const;
    std::size_t LiveCount() const;
    std::vector<ButtonId> DestroyOrder() const { return m_destroyOrder; }
    ButtonId Captured() const { return m_captured; }
    int PlaceCalls() const { return m_placeCalls; }

    void SetRowWidth(int width) { m_rowWidth = width; }
    void FailNextCreate() { m_failNextCreate = true; }

    ButtonId Create(int controlId) override;
    void Destroy(ButtonId button) override;
    std::wstring Caption(ButtonId button) override;
    void SetCaption(ButtonId button, const std::wstring& text) override;
    bool IsChecked(ButtonId button) override;
    void SetChecked(ButtonId button, bool checked) override;
    void SetControlId(ButtonId button, int controlId) override;
    Size OuterSize(ButtonId button) override;
    void Place(ButtonId button, Point topLeft) override;
    int RowWidth() override { return m_rowWidth; }
    void SetFaceColor(ButtonId button, std::uint32_t rgb) override;
    void CaptureMouse(ButtonId button) override;
    void ReleaseMouse() override { m_captured = kNoButton; }

private:
    FakeButton& Live(ButtonId button);

    std::vector<FakeButton> m_buttons;  // ButtonId is position + 1
    std::vector<ButtonId> m_destroyOrder;
    ButtonId m_captured = kNoButton;
    int m_rowWidth = 1000;
    int m_placeCalls = 0;
    bool m_failNextCreate = false;
};

}  // namespace vantrel::test
