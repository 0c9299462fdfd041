// The table of editors `kfx edit` knows: one row per track kind. An editor joins by its
// slot class and one row here.
#include "KfxColourDialogSlot.h"
#include "KfxCurveDialogSlot.h"
#include "KfxEditorSlot.h"
#include "KfxPositionDialogSlot.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/tracks/KivFXTracks.h"

#include <cstdlib>

namespace {

struct SlotRow {
    const CRuntimeClass* trackClass;
    const wchar_t* editor;
    std::unique_ptr<KfxEditorSlot> (*make)();
};

template <class Slot>
std::unique_ptr<KfxEditorSlot> Make() {
    return std::make_unique<Slot>();
}

const SlotRow kSlotRows[] = {
    {RUNTIME_CLASS(CKivFXInsKeyFrmList), L"curve dialog and curve window", Make<KfxCurveDialogSlot>},
    {RUNTIME_CLASS(CKivFXPosiKeyFrmList), L"position dialog", Make<KfxPositionDialogSlot>},
    {RUNTIME_CLASS(CKivFXColor32KeyFrmList), L"colour dialog", Make<KfxColourDialogSlot>},
};

const SlotRow* RowFor(const CKivObList& track) {
    for (const SlotRow& row : kSlotRows)
        if (track.IsKindOf(row.trackClass)) return &row;
    return nullptr;
}

}  // namespace

std::unique_ptr<KfxEditorSlot> KfxMakeEditorSlot(const CKivObList& track) {
    const SlotRow* row = RowFor(track);
    return row ? row->make() : nullptr;
}

bool KfxEditorSlot::WouldDrag(const CWnd*, CPoint p) const {
    // A press this close (in pixels, each way) to a grip point drags it.
    constexpr int kReach = 5;
    for (const CPoint& grip : GripPoints())
        if (std::abs(grip.x - p.x) <= kReach && std::abs(grip.y - p.y) <= kReach) return true;
    return false;
}

bool KfxIsWithin(const CWnd* w, const CWnd& top) {
    for (; w; w = w->GetParent())
        if (w == &top) return true;
    return false;
}

void KfxZoomDialog(CWnd& dialog, int steps) {
    for (int i = 0; i < std::abs(steps); ++i) dialog.SendMessage(WM_COMMAND, steps > 0 ? ID_MENU_SHOW_ZOOM_IN : ID_MENU_SHOW_ZOOM_OUT, 0);
}

std::wstring KfxEditorNameFor(const CKivObList& track) {
    const SlotRow* row = RowFor(track);
    return row ? row->editor : L"";
}
