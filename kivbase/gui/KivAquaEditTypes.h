// The plain types of the GUI kit's numeric edit: the kind of a curve value, the number of
// decimals shown, the description AutoCreate takes and the notification codes it sends.
#pragma once

#include <cstddef>

#include "platform/fw/KivTypes.h"

/// The kind of a curve value, given by hosts to the curve editors for their labels.
enum AquaEdit_Type {
    AquaEdit_Type_Number = 0,   // a plain number
    AquaEdit_Type_Degree = 1,   // an angle in degrees
    AquaEdit_Type_Percent = 2,  // a percentage
};

/// Decimals an edit shows and rounds the person's changes to.
enum AquaEdit_Precision_Type {
    AquaEdit_Precision_0 = 0,
    AquaEdit_Precision_1 = 1,
    AquaEdit_Precision_2 = 2,
    AquaEdit_Precision_3 = 3,
};

/// What CKivAquaEdit::AutoCreate is given: 96 bytes, laid out as hosts fill it.
struct AquaEdit_Describ {
    LPCWSTR lpszLabel;                   // drawn left of the value; null for none
    LPCWSTR lpszUnit;                    // drawn right of the value; null for none
    double dStep;                        // change per arrow key (ten per page key)
    double dMax;                         // upper end of the range
    double dMin;                         // lower end of the range
    double dValue;                       // value after creation
    AquaEdit_Precision_Type ePrecision;  // decimals shown
    DWORD dwStyle;                       // reserved, 0
    double dReserved;                    // reserved, 0.0
    double dDragScale;                   // change per pixel of a vertical mouse drag
    int nID;                             // control id
    int nPadding;                        // not read
    double dReserved2[2];                // reserved, 0.0
};
static_assert(sizeof(AquaEdit_Describ) == 96, "hosts fill the description as a 96-byte record");
static_assert(offsetof(AquaEdit_Describ, nID) == 72, "the control id follows the drag scale");

/// The description hosts usually pass: a label and an id, range -1000 to 1000, value 0.
AquaEdit_Describ KivAquaEditDescrib(LPCWSTR label, int id);

/// WM_COMMAND notification codes (high word of wParam; low word the edit's id, lParam its
/// window) an edit sends its parent when a person changes its value.
constexpr UINT CEN_VALUE_CHANGING = 0xCE01;  // the value changed; the person may go on changing it
constexpr UINT CEN_VALUE_CHANGED = 0xCE02;   // the person's change is finished
constexpr UINT DEN_VALUE_ENTERED = 0xDE01;   // the value was typed in (sent before CEN_VALUE_CHANGED)
