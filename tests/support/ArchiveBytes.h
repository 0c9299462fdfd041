// Test helpers: an object's Serialize output as bytes, loading bytes back, and XML text
// of one object under a scratch root.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kivbase/CKivObject.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "platform/fw/CArchive.h"
#include "platform/fw/CFile.h"

namespace kfxtest {

/// What object.Serialize writes to a fresh archive.
inline std::vector<BYTE> StoreBytes(CObject& object) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        object.Serialize(ar);
        ar.Close();
    }
    const BYTE* p = file.GetBufferPtr();
    return std::vector<BYTE>(p, p + file.GetLength());
}

/// Runs object.Serialize on an archive reading bytes (exceptions pass on).
inline void LoadBytes(CObject& object, const std::vector<BYTE>& bytes) {
    std::vector<BYTE> copy(bytes);
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load);
    object.Serialize(ar);
}

/// The object written with WriteObject (class record included).
inline std::vector<BYTE> StoreObjectBytes(const CObject* object) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(object);
        ar.Close();
    }
    const BYTE* p = file.GetBufferPtr();
    return std::vector<BYTE>(p, p + file.GetLength());
}

/// The XML of object.SerializeXML under a root named "Root" (an object or a list).
template <class T>
std::string StoreXml(T& object) {
    CKivXMLDOMDocObj doc;
    EXPECT_TRUE(doc.CreateNew(L"Root"));
    object.SerializeXML(&doc, doc.GetRootNode());
    return doc.GetXML().ToUtf8();
}

/// Loads object (an object or a list) from XML text whose root holds its element.
template <class T>
void LoadXml(T& object, const std::string& xml) {
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadXML(CString::FromUtf8(xml))) << xml;
    object.SerializeXML(&doc, doc.GetRootNode());
}

inline std::vector<BYTE> Bytes(std::initializer_list<int> values) {
    std::vector<BYTE> out;
    for (int v : values) out.push_back(static_cast<BYTE>(v));
    return out;
}

}  // namespace kfxtest
