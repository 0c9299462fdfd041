// The GUI kit's numeric edit: a value within a range, shown with a label and a fixed number
// of decimals, changed by a person with a vertical mouse drag, the arrow and page keys or by
// typing; it tells its parent through WM_COMMAND notifications (KivAquaEditTypes.h).
#pragma once

#include "kivbase/gui/KivAquaEditTypes.h"
#include "platform/ui/Wnd.h"

class CKivAquaEdit : public CWnd {
    DECLARE_DYNAMIC(CKivAquaEdit)
public:
    /// Whether the value shown sits on a keyframe (drawn on a different background).
    enum CE_VALUE_STATE { CE_VALUE_NORMAL = 0, CE_VALUE_KEYFRAME = 1 };

    CKivAquaEdit();
    ~CKivAquaEdit() override;

    using CWnd::Create;
    /// Creates the edit as a visible child of parent at rect, set up from the description
    /// (label, range, value, steps, decimals, id). FALSE without a live parent or when the
    /// edit already exists.
    BOOL AutoCreate(CWnd* parent, const RECT& rect, const AquaEdit_Describ& describ);
    /// Replaces the parent's static control of that id (a placeholder in a dialog template)
    /// with an edit of the same id and place, labelled with the placeholder's text (without
    /// surrounding spaces): range -1000 to 1000, value 0. FALSE when the
    /// parent has no such control or creation fails (the placeholder is then left alone).
    BOOL CreateNormalEdit(CWnd* parent, UINT id, AquaEdit_Precision_Type precision);
    /// Replaces the parent's control of the description's id with an edit set up from the
    /// description; without such a control (or with id 0) the edit is made at an empty
    /// rectangle. FALSE
    /// when creation fails (a placeholder is then left alone).
    BOOL CreateOverControl(CWnd* parent, const AquaEdit_Describ& describ);

    /// Sets the range (the ends are swapped when given the wrong way round) and pulls the
    /// value into it without notifying. Ignored when an end is not a number.
    void SetRange(double minValue, double maxValue);
    double GetMin() const { return m_min; }
    double GetMax() const { return m_max; }
    /// Sets the value, clamped to the range; with notify nonzero a change is reported as a
    /// person's change would be (CEN_VALUE_CHANGING then CEN_VALUE_CHANGED). Ignored for NaN.
    void SetValue(double value, int notify);
    double GetValue() const { return m_value; }
    void SetValueState(CE_VALUE_STATE state);
    CE_VALUE_STATE GetValueState() const { return m_state; }
    AquaEdit_Precision_Type GetPrecision() const { return m_precision; }
    /// The text drawn left of the value; empty for none.
    const CString& GetLabel() const { return m_label; }
    /// The text the edit shows for its value (or what is being typed).
    CString GetDisplayText() const;
    /// True while typed text waits for Enter.
    bool IsTyping() const { return m_typing; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnCaptureChanged(CWnd* wnd) override;
    void OnKeyDown(UINT ch, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    BOOL CreateFromDescrib(CWnd* parent, const RECT& rect, const AquaEdit_Describ& describ);
    double Conform(double value) const;
    /// Sets a value a person chose; returns whether it changed (CEN_VALUE_CHANGING sent).
    bool ChangeByPerson(double value);
    void EndDragChange();
    void StepBy(double steps);
    void CommitTyping();
    void CancelTyping();
    void Notify(UINT code);
    void Redraw();
    CRect ValueBox() const;

    CString m_label;
    CString m_unit;
    double m_min = -1000.0;
    double m_max = 1000.0;
    double m_value = 0.0;
    double m_step = 1.0;
    double m_dragScale = 1.0;
    AquaEdit_Precision_Type m_precision = AquaEdit_Precision_0;
    CE_VALUE_STATE m_state = CE_VALUE_NORMAL;
    bool m_focused = false;
    bool m_dragging = false;
    int m_dragStartY = 0;
    double m_dragStartValue = 0.0;
    bool m_typing = false;
    CString m_typed;
};
