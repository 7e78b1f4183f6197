// The author dialog (template 30724): the document's author records, one row each with the
// name and the local time the record was made.
#pragma once
#include <cstdint>

#include "platform/ui/dialog.h"

class CAuthorList;

// A record's time as "%d-%d-%d %d:%d": year, month, day, hour, minute of the local time.
plat::String FormatAuthorTime(std::int32_t seconds);

class CAuthorListDlg : public plat::Dialog {
public:
    static constexpr int kNameColumnWidth = 100;
    static constexpr int kTimeColumnWidth = 150;

    explicit CAuthorListDlg(const CAuthorList& authors, plat::Window* parent = nullptr);

protected:
    bool OnInitDialog() override;

private:
    const CAuthorList& m_authors;
};

// Shows the author dialog modally over the parent, then gives the control (when given) the
// focus. Returns what the dialog ended with.
int ShowAuthorListDialog(const CAuthorList& authors, plat::Window* parent = nullptr, plat::Window* control = nullptr);
