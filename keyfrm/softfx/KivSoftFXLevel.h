// The common shape of a soft (2-D) effect keyframe class: the persistence operations over
// its table, Default() over its table, and a constructor that defaults its own fields.
#pragma once

#include "keyfrm/core/KivPersistMacros.h"
#include "kivbase/persist/KivGeometryCodec.h"
#include "platform/fw/CArray.h"

/// In the class body; the members that follow are public.
#define KIV_DECLARE_SOFTFX_LEVEL(Class) \
    KIV_DECLARE_PERSIST_LEVEL(Class)    \
public:                                 \
    Class();                            \
    ~Class() override = default;        \
    void Default() override;

/// In the source, next to the class's KIV_LEVEL table.
#define KIV_IMPLEMENT_SOFTFX_LEVEL(Class, Base) \
    KIV_IMPLEMENT_PERSIST_LEVEL(Class, Base)   \
    KIV_IMPLEMENT_DEFAULT(Class, Base)         \
    Class::Class() { KivDefaultLevel(this, Level()); }
