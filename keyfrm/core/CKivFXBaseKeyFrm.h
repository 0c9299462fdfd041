// The root of every keyframe: a normalised position along the effect, a persisted
// "Restore" flag and a transient selection flag.
#pragma once

#include "keyfrm/core/KivPersistMacros.h"

class CKivFXBaseKeyFrm : public CKivObject {
    KIV_DECLARE_PERSIST_LEVEL(CKivFXBaseKeyFrm)
public:
    CKivFXBaseKeyFrm();
    ~CKivFXBaseKeyFrm() override = default;
    /// Location 0.0, "Restore" 0, selection flag 0.
    virtual void Default();

    void SetLocation(double location) { Location = location; }
    int IsSelect() const { return m_bSelect; }
    void SetSelect(int select) { m_bSelect = select; }

    int Restore;      // persisted flag, stored as 16 bits; not interpreted by the library
    double Location;  // 0.0 = start of the effect, 1.0 = its end

protected:
    int m_bSelect;  // neither stored nor copied
};
