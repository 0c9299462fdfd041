// The stored InsMode and CtrlMode integers as every editor reads them, including values
// outside the named ones that older projects or hosts may hold.
#include <gtest/gtest.h>

#include "keyfrm/tracks/KivFXHandleModes.h"

namespace {

struct InsCase {
    int insMode;
    bool bezier, kindItems, ctrlItems;
};

TEST(HandleModes, InterpolationKindAsEvaluationAndMenusReadIt) {
    const InsCase cases[] = {
        {0, false, true, false},
        {1, true, true, true},
        {2, true, false, false},   // Bezier when evaluated, but the menu offers nothing
        {-1, true, false, false},
        {65535, true, false, false},
    };
    for (const InsCase& c : cases) {
        EXPECT_EQ(KivFXIsBezier(c.insMode), c.bezier) << c.insMode;
        EXPECT_EQ(KivFXMenuOffersInsKinds(c.insMode), c.kindItems) << c.insMode;
        EXPECT_EQ(KivFXMenuOffersCtrlModes(c.insMode), c.ctrlItems) << c.insMode;
    }
}

struct CtrlCase {
    int ctrlMode;
    KivFXCtrlMode checked, drag;
};

TEST(HandleModes, UnknownCouplingIsCheckedAsSymmetryButDragsUncoupled) {
    const CtrlCase cases[] = {
        {0, kCtrlModeNone, kCtrlModeNone},
        {1, kCtrlModeLinkage, kCtrlModeLinkage},
        {2, kCtrlModeSymmetry, kCtrlModeSymmetry},
        {3, kCtrlModeSymmetry, kCtrlModeNone},
        {-2, kCtrlModeSymmetry, kCtrlModeNone},
    };
    for (const CtrlCase& c : cases) {
        EXPECT_EQ(KivFXMenuCheckedCtrlMode(c.ctrlMode), c.checked) << c.ctrlMode;
        EXPECT_EQ(KivFXDragCtrlMode(c.ctrlMode), c.drag) << c.ctrlMode;
    }
}

}  // namespace
