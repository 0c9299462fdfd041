// The GUI kit's auto-maker: a dialog member that, when the dialog initialises, builds the
// kit's controls described to it beforehand (numeric edits over the template's placeholders).
#pragma once

#include <memory>
#include <vector>

#include "kivbase/gui/CKivAquaEdit.h"

class CKivAquaAutoMaker {
public:
    CKivAquaAutoMaker();
    virtual ~CKivAquaAutoMaker();
    CKivAquaAutoMaker(const CKivAquaAutoMaker&) = delete;
    CKivAquaAutoMaker& operator=(const CKivAquaAutoMaker&) = delete;

    /// Builds, on dialog, an edit for every description added: over the dialog's control of
    /// the description's id when there is one, else at an empty rectangle (the dialog lays it
    /// out). Returns TRUE when every edit was made; FALSE for a dialog without a window.
    /// Nothing described: nothing made, TRUE.
    virtual BOOL AutoMake(CWnd* dialog);
    /// Describes an edit for AutoMake to build (the label text must outlive AutoMake).
    void AddEdit(const AquaEdit_Describ& describ);
    /// An edit AutoMake built, by control id; null when there is none.
    CKivAquaEdit* GetEdit(int id) const;

private:
    std::vector<AquaEdit_Describ> m_describs;
    std::vector<std::unique_ptr<CKivAquaEdit>> m_edits;
};
