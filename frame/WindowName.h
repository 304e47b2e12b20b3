#pragma once
// The rename dialog: asks for a name that the frame puts in front of its title.
// The edit control starts empty every time.

#include <string>

#include "ui/Dialog.h"

class CWindowName final : public ui::Dialog {
public:
    CWindowName();

    // What the edit control held when OK was pressed; empty until then.
    std::wstring m_strWindowName;

protected:
    void OnOK() override;
};
