// The format bar's face combos: owner-drawn drop-down lists of face names, each item
// drawn in its own face (the Western combo draws the names it does not select in
// "Times new Roman", so that the list stays readable whatever a face looks like). Each
// item carries an owned copy of its name as its data; FreeFontComboItems frees them.
#pragma once
#include <vector>

#include "platform/base/strings.h"
#include "platform/ui/combo_box.h"

class CFontNameCombo : public plat::ComboBox {
public:
    static constexpr int kItemHeight = 16;
    enum class Kind { kChinese, kWestern };

    explicit CFontNameCombo(Kind kind = Kind::kChinese);
    ~CFontNameCombo() override;

    Kind GetKind() const { return m_western ? Kind::kWestern : Kind::kChinese; }
    bool IsWestern() const { return m_western != 0; }

    // Appends each name with a copy of it as the item's data.
    void AddFaces(const std::vector<plat::String>& faces);
    // The index of the item whose name equals the given one exactly; -1 when none does.
    int FindFont(plat::StringView name) const;
    // The name an item's data holds (empty after the items were freed).
    const plat::String* GetItemName(int index) const;

protected:
    plat::LResult WindowProc(unsigned message, plat::WParam wParam, plat::LParam lParam) override;
    // The combo draws its own names, in the field and in the dropped list.
    plat::Window* GetDrawOwner() override { return this; }

private:
    friend void FreeFontComboItems(CFontNameCombo& combo);
    // Draws one item of the field or of the dropped list.
    void DrawItem(plat::Dc& dc, const plat::Rect& rect, int index, bool selected, bool disabled) const;

    int m_western = 0;
};

// Deletes every item's name; the frame calls it before the combos go.
void FreeFontComboItems(CFontNameCombo& combo);
