// Small serializable classes for the archive tests, each counting its live instances so
// that tests can prove nothing leaked.
#pragma once

#include <memory>

#include "platform/fw/CArchive.h"
#include "platform/fw/CObList.h"

/// Registers every test class (harmless to repeat).
void RegisterTestClasses();

/// Two ints; schema 1 so that the schema word is visible in the bytes.
class CTestPoint : public CObject {
    DECLARE_SERIAL(CTestPoint)
public:
    CTestPoint() { ++s_live; }
    CTestPoint(int x0, int y0) : x(x0), y(y0) { ++s_live; }
    ~CTestPoint() override { --s_live; }
    void Serialize(CArchive& ar) override;
    int x = 0;
    int y = 0;
    static inline int s_live = 0;
};

/// Derives from CTestPoint, for the requested-class checks.
class CTestPoint3 : public CTestPoint {
    DECLARE_SERIAL(CTestPoint3)
public:
    void Serialize(CArchive& ar) override;
    int z = 0;
};

/// No data at all: each further object costs only its class tag.
class CTestTiny : public CObject {
    DECLARE_SERIAL(CTestTiny)
};

/// Owns a chain of its own kind (the self-nesting test class).
class CTestNest : public CObject {
    DECLARE_SERIAL(CTestNest)
public:
    CTestNest() { ++s_live; }
    ~CTestNest() override;
    void Serialize(CArchive& ar) override;
    CTestNest* child = nullptr;  // owned
    static inline int s_live = 0;
};

/// Owns a point read inside it, then reads a flag; a flag of kFail makes its Serialize
/// raise an archive exception, kForeign a non-framework exception.
class CTestFaulty : public CObject {
    DECLARE_SERIAL(CTestFaulty)
public:
    static constexpr int kOk = 0;
    static constexpr int kFail = 1;
    static constexpr int kForeign = 2;
    CTestFaulty() { ++s_live; }
    ~CTestFaulty() override { --s_live; }
    void Serialize(CArchive& ar) override;
    std::unique_ptr<CObject> point;
    int flag = kOk;
    static inline int s_live = 0;
};

/// The exception CTestFaulty raises for kForeign.
struct TestForeignError {
    int code;
};

/// Creatable but not serializable (no schema).
class CTestDynamic : public CObject {
    DECLARE_DYNCREATE(CTestDynamic)
};

/// A list that owns its elements, as the keyframe lists do.
class CTestOwningList : public CObList {
    DECLARE_SERIAL(CTestOwningList)
public:
    ~CTestOwningList() override;
};
