// The two editing switches a scalar or position track stores as plain integers: how it
// interpolates (InsMode) and how an editor couples a keyframe's two Bezier handles
// (CtrlMode). Named here once, with what every reader does with a value outside the names.
#pragma once

/// InsMode: the kind of interpolation between two keyframes.
enum KivFXInsMode : int {
    kInsModeLinear = 0,
    kInsModeBezier = 1,
};

/// CtrlMode: what an editor does to the opposite handle while one handle is dragged.
enum KivFXCtrlMode : int {
    kCtrlModeNone = 0,      // the opposite handle stays
    kCtrlModeLinkage = 1,   // it turns to point away through the keyframe, keeping its length
    kCtrlModeSymmetry = 2,  // it becomes the exact negation of the dragged one
};

/// Evaluation and drawing: any value but linear is Bezier (older projects stored other
/// nonzero values and still draw curves).
constexpr bool KivFXIsBezier(int insMode) { return insMode != kInsModeLinear; }

/// The editors' menus offer the two interpolation items only for the named values, and
/// their coupling items only under exactly Bezier: an unknown kind shows no kind items.
constexpr bool KivFXMenuOffersInsKinds(int insMode) {
    return insMode == kInsModeLinear || insMode == kInsModeBezier;
}
constexpr bool KivFXMenuOffersCtrlModes(int insMode) { return insMode == kInsModeBezier; }

/// The coupling item a menu checks: none and linkage by their values, symmetry for every
/// other value (an unknown mode reads as symmetry in the menu).
constexpr KivFXCtrlMode KivFXMenuCheckedCtrlMode(int ctrlMode) {
    if (ctrlMode == kCtrlModeNone) return kCtrlModeNone;
    if (ctrlMode == kCtrlModeLinkage) return kCtrlModeLinkage;
    return kCtrlModeSymmetry;
}

/// The coupling a handle drag applies: only the named values couple; an unknown mode leaves
/// the opposite handle where it is (the drag has no linkage length to keep for it).
constexpr KivFXCtrlMode KivFXDragCtrlMode(int ctrlMode) {
    if (ctrlMode == kCtrlModeLinkage) return kCtrlModeLinkage;
    if (ctrlMode == kCtrlModeSymmetry) return kCtrlModeSymmetry;
    return kCtrlModeNone;
}
