// The owning object list: ownership, copies, reversal, and both persistence forms with
// their refusals.
#include <gtest/gtest.h>

#include <memory>

#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "keyfrm/tracks/CKivFXInsValueKeyFrm.h"
#include "kivbase/CKivObList.h"
#include "support/ArchiveBytes.h"

namespace {

CKivFXValueKeyFrm* Key(double location, float value) {
    auto* k = new CKivFXValueKeyFrm;  // the caller hands it to a list at once
    k->Location = location;
    k->Value = value;
    return k;
}

void Fill(CKivObList& list, int n) {
    for (int i = 0; i < n; ++i) list.AddTail(Key(i / 10.0, static_cast<float>(i)));
}

float ValueAt(CKivObList& list, int index) { return static_cast<CKivFXValueKeyFrm*>(list.GetAt(list.FindIndex(index)))->Value; }

}  // namespace

TEST(ObjectList, DeleteCallsRemoveAndDestroy) {
    CKivObList list;
    Fill(list, 4);
    list.DeleteHead();
    list.DeleteTail();
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_EQ(ValueAt(list, 0), 1.0f);
    list.DeleteAt(list.GetHeadPosition());
    EXPECT_EQ(ValueAt(list, 0), 2.0f);
    list.DeleteAll();
    EXPECT_TRUE(list.IsEmpty());
    list.DeleteHead();  // harmless on an empty list
    list.DeleteTail();
}

TEST(ObjectList, ReverseListReportsWhetherTheOrderChanged) {
    CKivObList list;
    EXPECT_EQ(list.ReverseList(), 0);
    Fill(list, 1);
    EXPECT_EQ(list.ReverseList(), 0);
    Fill(list, 2);
    EXPECT_EQ(list.ReverseList(), 1);
    EXPECT_EQ(ValueAt(list, 0), 1.0f);
    EXPECT_EQ(ValueAt(list, 2), 0.0f);
}

TEST(ObjectList, AssignmentReplacesElementsWithCopiesInOrder) {
    CKivObList src, dst;
    Fill(src, 3);
    Fill(dst, 5);
    dst = src;
    ASSERT_EQ(dst.GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NE(dst.GetAt(dst.FindIndex(i)), src.GetAt(src.FindIndex(i))) << "copies, not shared objects";
        EXPECT_EQ(ValueAt(dst, i), static_cast<float>(i));
    }
    EXPECT_EQ(dst.Compare(&src), 0);
    static_cast<CKivFXValueKeyFrm*>(dst.GetHead())->Value = 9.0f;
    EXPECT_NE(dst.Compare(&src), 0);
}

TEST(ObjectListArchive, CountThenObjectsWithClassRecords) {
    CKivObList list;
    Fill(list, 2);
    const auto bytes = kfxtest::StoreBytes(list);
    const std::string name = "CKivFXValueKeyFrm";
    // count 2; first object: new class tag, schema 0, name; second: class reference 0x8001.
    ASSERT_GE(bytes.size(), 2u + 2 + 2 + 2 + name.size() + 58 + 2 + 58);
    EXPECT_EQ(bytes[0], 2);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[6], name.size());
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 8 + static_cast<long>(name.size())), name);
    const size_t second = 8 + name.size() + 58;
    EXPECT_EQ(bytes[second], 0x01);
    EXPECT_EQ(bytes[second + 1], 0x80);
    EXPECT_EQ(bytes.size(), second + 2 + 58);

    CKivObList back;
    kfxtest::LoadBytes(back, bytes);
    EXPECT_EQ(back.Compare(&list), 0);
}

TEST(ObjectListArchive, RefusesElementsThatAreNotPersistableObjects) {
    // One element whose class is the framework's plain list: not a CKivObject.
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteCount(1);
        CObList plain;
        ar.WriteObject(&plain);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CKivObList list;
    try {
        list.Serialize(ar);
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
    EXPECT_TRUE(list.IsEmpty());
}

TEST(ObjectListArchive, RefusesAReferenceToAnObjectAlreadyOwned) {
    // Two elements, the second a back-reference to the first: one object, two owners.
    CKivObList src;
    Fill(src, 1);
    auto bytes = kfxtest::StoreBytes(src);
    bytes[0] = 2;
    bytes.push_back(0x02);  // object index 2: the first element
    bytes.push_back(0x00);
    CKivObList list;
    try {
        kfxtest::LoadBytes(list, bytes);
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex);
    }
    EXPECT_EQ(list.GetCount(), 1) << "the element read before the fault stays, owned once";
}

TEST(ObjectListArchive, HugeCountOnShortDataFailsBeforeAllocating) {
    const auto bytes = kfxtest::Bytes({0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0x7F});
    CKivObList list;
    try {
        kfxtest::LoadBytes(list, bytes);
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST(ObjectListArchive, FailureMidListKeepsGoodElementsOwnedByTheList) {
    CKivObList src;
    Fill(src, 3);
    auto bytes = kfxtest::StoreBytes(src);
    bytes.resize(bytes.size() - 10);  // the third keyframe is cut short
    CKivObList list;
    EXPECT_THROW(kfxtest::LoadBytes(list, bytes), CArchiveException);
    EXPECT_EQ(list.GetCount(), 2);
    list.AddTail(Key(0.9, 9.0f));  // still usable
    EXPECT_EQ(list.GetCount(), 3);
}

TEST(ObjectListXml, RoundTripsElementsByClassName) {
    CKivObList list;
    Fill(list, 3);
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"Root"));
    list.SerializeXML(&doc, doc.GetRootNode());
    const std::string xml = doc.GetXML().ToUtf8();
    EXPECT_NE(xml.find("<CKivObList Count=\"3\">"), std::string::npos) << xml;
    EXPECT_NE(xml.find("<Item Class=\"CKivFXValueKeyFrm\">"), std::string::npos) << xml;

    CKivXMLDOMDocObj in;
    ASSERT_TRUE(in.LoadXML(CString::FromUtf8(xml)));
    CKivObList back;
    back.SerializeXML(&in, in.GetRootNode());
    EXPECT_EQ(back.Compare(&list), 0);
}

TEST(ObjectListXml, UnknownClassIsRefusedAndEarlierItemsStay) {
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadXML(L"<Root><CKivObList Count=\"2\"><Item Class=\"CKivFXValueKeyFrm\"/>"
                            L"<Item Class=\"NoSuchClass\"/></CKivObList></Root>"));
    CKivObList list;
    try {
        list.SerializeXML(&doc, doc.GetRootNode());
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }
    EXPECT_EQ(list.GetCount(), 1);
}

TEST(ObjectListXml, ItemsOfSeveralClassesEachLoadTheirOwn) {
    CKivObList list;
    for (int i = 0; i < 4; ++i) {
        if (i % 2)
            list.AddTail(Key(i / 10.0, static_cast<float>(i)));
        else
            list.AddTail(new CKivFXInsValueKeyFrm);  // handed to the list at once
    }
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"Root"));
    list.SerializeXML(&doc, doc.GetRootNode());
    CKivXMLDOMDocObj in;
    ASSERT_TRUE(in.LoadXMLUtf8(doc.GetXMLUtf8()));
    CKivObList back;
    back.SerializeXML(&in, in.GetRootNode());
    ASSERT_EQ(back.GetCount(), 4);
    for (POSITION a = back.GetHeadPosition(), b = list.GetHeadPosition(); a && b;)
        EXPECT_EQ(back.GetNext(a)->GetRuntimeClass(), list.GetNext(b)->GetRuntimeClass());
    EXPECT_EQ(back.Compare(&list), 0);
}

TEST(ObjectListXml, UnknownClassNamesAreQuotedAsTheyStand) {
    for (const char* name : {"CKivFXValueKeyFrmX", "CKivFXValueKeyFr\xc3\xa9", ""}) {
        CKivXMLDOMDocObj doc;
        ASSERT_TRUE(doc.LoadXMLUtf8(std::string("<Root><CKivObList><Item Class=\"CKivFXValueKeyFrm\"/><Item Class=\"") + name +
                                    "\"/></CKivObList></Root>"));
        CKivObList list;
        try {
            list.SerializeXML(&doc, doc.GetRootNode());
            ADD_FAILURE() << name;
        } catch (const CArchiveException& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("class '") + name + "'"), std::string::npos) << e.what();
        }
        EXPECT_EQ(list.GetCount(), 1);
    }
    // An item without a class is not an unknown class: it is how a null element is written.
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadXMLUtf8("<Root><CKivObList><Item/></CKivObList></Root>"));
    CKivObList list;
    EXPECT_NO_THROW(list.SerializeXML(&doc, doc.GetRootNode()));
    ASSERT_EQ(list.GetCount(), 1);
    EXPECT_EQ(list.GetHead(), nullptr);
}
