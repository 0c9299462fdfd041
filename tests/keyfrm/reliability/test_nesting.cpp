// Lists nested in lists (a project holding tracks holding lists...) up to the documented
// limit load; one level more is refused with genericException in the archive and in XML,
// and a hostile depth far beyond it is refused the same way, without exhausting the stack.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ReliabilityChecks.h"
#include "platform/fw/ArchiveTestUtil.h"

using kfxrel::RefusedWith;
using kfxrel::RunLoad;

namespace {

// A list record holding one list, holding one list... depth lists below the outer one.
Bytes NestedArchive(int depth) {
    const std::string name = "CKivObList";
    Bytes out = Words({1, 0xFFFF, 0, static_cast<WORD>(name.size())}) + Text(name);
    const Bytes next = Words({1, 0x8001});  // count 1, then the list class again
    for (int i = 1; i < depth; ++i) out.insert(out.end(), next.begin(), next.end());
    return out + Words({0});
}

// The XML of a list holding one list... depth lists below the outer one, under "Root".
std::string NestedXml(int depth) {
    std::string open, close;
    for (int i = 0; i < depth; ++i) {
        open += "<CKivObList Count=\"1\"><Item Class=\"CKivObList\">";
        close += "</Item></CKivObList>";
    }
    return "<Root>" + open + "<CKivObList Count=\"0\" />" + close + "</Root>";
}

// Far deeper than any limit: refused before the stack could suffer.
constexpr int kHostileDepth = 100000;

class Nesting : public testing::Test {
protected:
    void SetUp() override {
        if (!KivFuzzListsHoldLists()) GTEST_SKIP() << "lists hold no lists in this build, so nothing nests";
    }
};

}  // namespace

TEST_F(Nesting, ArchiveListsNestUpToTheLimitAndNoDeeper) {
    for (const int depth : {CArchive::kMaxObjectDepth, CArchive::kMaxObjectDepth + 1, kHostileDepth}) {
        const Bytes bytes = NestedArchive(depth);
        const auto outcome = RunLoad([&] {
            CKivObList list;
            KivFuzzLoadRecord(list, bytes);
        });
        if (depth <= CArchive::kMaxObjectDepth)
            EXPECT_TRUE(kfxrel::Accepted(outcome)) << depth;
        else
            EXPECT_TRUE(RefusedWith(outcome, CArchiveException::genericException)) << depth;
    }
}

TEST_F(Nesting, XmlListsNestUpToTheLimitAndNoDeeper) {
    // The outer list is the first level the document counts.
    for (const int depth : {CKivXMLDOMDocObj::kMaxNesting - 1, CKivXMLDOMDocObj::kMaxNesting}) {
        const std::string xml = NestedXml(depth);
        const auto outcome = RunLoad([&] {
            CKivXMLDOMDocObj doc;
            if (!doc.LoadXMLUtf8(xml)) throw std::runtime_error("document refused");
            CKivObList list;
            list.SerializeXML(&doc, doc.GetRootNode());
        });
        if (depth < CKivXMLDOMDocObj::kMaxNesting)
            EXPECT_TRUE(kfxrel::Accepted(outcome)) << depth;
        else
            EXPECT_TRUE(RefusedWith(outcome, CArchiveException::genericException)) << depth;
    }
    CKivXMLDOMDocObj doc;
    EXPECT_FALSE(doc.LoadXMLUtf8(NestedXml(kHostileDepth))) << "deeper than the document limit";
}
