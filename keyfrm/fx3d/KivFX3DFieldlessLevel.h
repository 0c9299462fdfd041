// Keyframe classes whose own level has no fields: the record part is the version word
// alone and the element has no "DataMember". Several 3-D effects need nothing more.
#pragma once

#include "keyfrm/core/KivPersistMacros.h"

/// In a header, at namespace scope: the whole class, with its own Default() slot.
#define KIV_DECLARE_FIELDLESS_KEYFRM(Class, Base)                                  \
    class Class : public Base {                                                    \
        KIV_DECLARE_PERSIST_LEVEL(Class)                                           \
    public:                                                                        \
        Class() = default;                                                         \
        ~Class() override = default;                                               \
        /** The base's defaults; this level has none of its own. Cannot fail. */   \
        void Default() override;                                                   \
    };

/// In a source file: the level's facts (element name, loader constant) and its operations.
#define KIV_IMPLEMENT_FIELDLESS_KEYFRM(Class, Base, element, loaderConstant) \
    KIV_IMPLEMENT_PERSIST_LEVEL(Class, Base)                                 \
    KIV_LEVEL_EMPTY(Class, element, loaderConstant, 0)                       \
    KIV_IMPLEMENT_DEFAULT(Class, Base)
