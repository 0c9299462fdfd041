// The right-button commands the curve and position dialogs share: the menu's frame and
// keyframe blocks, routing a command id to its handler, moving the current frame, adding and
// deleting keyframes, interpolation kind and handle coupling. What a dialog repaints after an
// edit, and its zoom, stay its own.
#pragma once

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/editors/KivFXEditorMenu.h"
#include "keyfrm/editors/KivFXEditorResources.h"
#include "keyfrm/editors/KivFXTimeStrip.h"

/// Dlg is a dialog with the fifteen OnMenu handlers, a track m_pKFList, the current frame
/// m_nCurFrame in the story range m_range and a dragged keyframe DraggedKF(); it makes this a
/// friend. A Repaint is a member of Dlg that redraws what an edit changed.
template <class Dlg>
struct KivFXKeyFrmDlgCommands {
    using Repaint = void (Dlg::*)();

    /// The frame block and, with a track, the keyframe and interpolation blocks and a
    /// separator (without a track only the frame and zoom commands have anything to act on).
    static void AppendFrameAndTrackItems(Dlg& d, CKivFXEditorMenu& menu) {
        menu.AppendFrameItems(d.m_nCurFrame, d.m_range.in, d.m_range.out);
        if (!d.m_pKFList) return;
        menu.AppendKeyFrameItems(KivFXIsKeyFrmAtFrame(*d.m_pKFList, d.m_range, d.m_nCurFrame),
                                 d.m_pKFList->IsHasSelectKF() != 0, d.m_pKFList->GetKeyFrmCount());
        menu.AppendInsModeItems(d.m_pKFList->InsMode, d.m_pKFList->CtrlMode);
        menu.Separator();
    }

    /// Runs the handler of a menu command; false for an id that is none of the fifteen.
    static bool Route(Dlg& d, UINT id) {
        switch (id) {
            case ID_MENU_TO_START: d.OnMenuToStart(); return true;
            case ID_MENU_TO_TAIL: d.OnMenuToTail(); return true;
            case ID_MENU_FORWARD_ONE_FRAME: d.OnMenuForwardOneFrame(); return true;
            case ID_MENU_BACK_ONE_FRAME: d.OnMenuBackOneFrame(); return true;
            case ID_MENU_ADD_KF: d.OnMenuAddKF(); return true;
            case ID_MENU_DEL_SEL_KF: d.OnMenuDelSelKF(); return true;
            case ID_MENU_DEL_ALL_KF: d.OnMenuDelAllKF(); return true;
            case ID_MENU_INS_LINE_MODE: d.OnMenuInsLineMode(); return true;
            case ID_MENU_INS_BEZIER_MODE: d.OnMenuInsBezierMode(); return true;
            case ID_MENU_INS_NONE_CTRL: d.OnMenuInsNoneCtrl(); return true;
            case ID_MENU_INS_LINKAGE_CTRL: d.OnMenuInsLinkageCtrl(); return true;
            case ID_MENU_INS_SYMMETRY_CTRL: d.OnMenuInsSymmetryCtrl(); return true;
            case ID_MENU_SHOW_ZOOM_IN: d.OnMenuShowZoonIn(); return true;
            case ID_MENU_SHOW_ZOOM_OUT: d.OnMenuShowZoonOut(); return true;
            case ID_MENU_SHOW_RECOVER: d.OnMenuShowRecover(); return true;
            default: return false;
        }
    }

    static void ToStart(Dlg& d) {
        if (d.m_nCurFrame != d.m_range.in) MoveTo(d, d.m_range.in);
    }
    static void ToTail(Dlg& d) {
        if (d.m_nCurFrame != d.m_range.out) MoveTo(d, d.m_range.out);
    }
    /// "Forward" goes one frame toward story in.
    static void ForwardOneFrame(Dlg& d) {
        if (d.m_nCurFrame > d.m_range.in) MoveTo(d, d.m_nCurFrame - 1);
    }
    static void BackOneFrame(Dlg& d) {
        if (d.m_nCurFrame < d.m_range.out) MoveTo(d, d.m_nCurFrame + 1);
    }

    static void AddKF(Dlg& d, Repaint repaint) {
        if (!d.m_pKFList) return;
        auto* k = KivFXEditAtFrame(*d.m_pKFList, d.m_range, d.m_nCurFrame, [&](auto at) { return d.m_pKFList->AddKeyFrm(at); });
        if (!k) return;
        d.m_pKFList->SetSelectKF(k, 1);
        TrackEdited(d, repaint);
    }

    static void DelSelKF(Dlg& d, Repaint repaint) {
        if (!d.m_pKFList) return;
        // A keyframe dragged while the host sends the command must not outlive the drag.
        if (d.DraggedKF() && d.DraggedKF()->IsSelect()) d.CancelDrag();
        d.m_pKFList->DeleteSelectKeyFrm();
        TrackEdited(d, repaint);
    }

    static void DelAllKF(Dlg& d, Repaint repaint) {
        if (!d.m_pKFList) return;
        if (d.DraggedKF()) d.CancelDrag();
        d.m_pKFList->DeleteAll();
        TrackEdited(d, repaint);
    }

    static void SetInsMode(Dlg& d, int mode, Repaint repaint) {
        if (!d.m_pKFList || d.m_pKFList->InsMode == mode) return;
        d.m_pKFList->InsMode = mode;
        TrackEdited(d, repaint);
    }

    /// Coupling shows nowhere and is not reported: no repaint, no message.
    static void SetCtrlMode(Dlg& d, int mode) {
        if (d.m_pKFList) d.m_pKFList->CtrlMode = mode;
    }

private:
    static void MoveTo(Dlg& d, int frame) {
        d.UpTimeLine(frame);
        d.SendToModifyMsg(0, 1);
    }
    static void TrackEdited(Dlg& d, Repaint repaint) {
        (d.*repaint)();
        d.SendToModifyMsg(1, 0);
    }
};
