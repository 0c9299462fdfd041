// The document wrapper: building and reading trees, text and file forms, and refusing
// documents that are unsafe to load (DOCTYPE, excessive nesting).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "kivbase/KivXMLDOMDoc.h"

namespace {

SKivXMLDataType Version0() {
    SKivXMLDataType r{};
    r.type = KIVXML_VERSION;
    return r;
}

std::wstring Nested(int depth) {
    std::wstring s;
    for (int i = 0; i < depth; ++i) s += L"<a>";
    for (int i = 0; i < depth; ++i) s += L"</a>";
    return s;
}

// A file under the build tree, removed when the test ends.
class ScratchFile {
public:
    explicit ScratchFile(const char* stem)
        : m_path(std::string(KIVFX_BINARY_DIR) + "/" + stem + std::to_string(::getpid()) + ".xml") {}
    ~ScratchFile() { std::remove(m_path.c_str()); }
    const std::string& Path() const { return m_path; }
    CString WidePath() const { return CString::FromUtf8(m_path); }

private:
    std::string m_path;
};

TEST(XmlDocument, StoringBuildsTheClassNesting) {
    CKivXMLDOMDocObj doc;
    EXPECT_EQ(doc.IsStoring(), 0) << "a fresh document is not storing";
    EXPECT_EQ(doc.GetRootNode(), nullptr);
    ASSERT_TRUE(doc.CreateNew(L"Project"));
    EXPECT_NE(doc.IsStoring(), 0);

    IXMLDOMNode* cls = doc.CreateDOMNodeWithAttribute(doc.GetRootNode(), L"CKivFXBaseKeyFrm", L"Version", Version0(), 1);
    ASSERT_NE(cls, nullptr);
    IXMLDOMNode* data = doc.CreateDOMNode(cls, "DataMember", 1);
    IXMLDOMNode* base = doc.CreateDOMNode(cls, L"BaseObject", 1);
    ASSERT_NE(data, nullptr);
    ASSERT_NE(base, nullptr);
    SKivXMLDataType loc{};
    loc.type = KIVXML_DOUBLE;
    loc.value.dVal = 0.25;
    ASSERT_EQ(doc.SetNodeAttribute(data, "Location", loc), KIVXML_OK);

    EXPECT_EQ(doc.GetXML(), CString(L"<?xml version=\"1.0\"?>\n<Project>\n\t<CKivFXBaseKeyFrm Version=\"0\">\n"
                                    L"\t\t<DataMember Location=\"0.25\" />\n\t\t<BaseObject />\n"
                                    L"\t</CKivFXBaseKeyFrm>\n</Project>\n"));
}

TEST(XmlDocument, LoadingFindsTheFirstChildOfAName) {
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadXML(L"<r>text<b n=\"0\"/><a n=\"1\"/><a n=\"2\"><a n=\"3\"/></a></r>"));
    EXPECT_EQ(doc.IsStoring(), 0);
    IXMLDOMNode* a = doc.GetFirstNameMatchChildNode(doc.GetRootNode(), "a");
    ASSERT_NE(a, nullptr);
    SKivXMLDataType n{};
    n.type = KIVXML_INT;
    ASSERT_EQ(doc.GetNodeAttribute(a, L"n", n), KIVXML_OK);
    EXPECT_EQ(n.value.iVal, 1) << "the first of several, not a deeper or later one";
    EXPECT_EQ(doc.GetFirstNameMatchChildNode(doc.GetRootNode(), L"a"), a);
    EXPECT_EQ(doc.GetFirstNameMatchChildNode(doc.GetRootNode(), "c"), nullptr);
    EXPECT_EQ(doc.GetFirstNameMatchChildNode(nullptr, "a"), nullptr);
    EXPECT_EQ(doc.GetFirstNameMatchChildNode(doc.GetRootNode(), static_cast<const char*>(nullptr)), nullptr);
}

TEST(XmlDocument, MalformedTextIsRefusedAndLeavesNoDocument) {
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"Old"));
    for (LPCWSTR bad : {L"", L"<a>", L"<a></b>", L"<a x=1/>", L"just text", L"<a/><b/>"}) {
        EXPECT_FALSE(doc.LoadXML(bad)) << CString(bad).ToUtf8();
        EXPECT_EQ(doc.GetRootNode(), nullptr);
        EXPECT_EQ(doc.IsStoring(), 0);
    }
    EXPECT_FALSE(doc.LoadXML(nullptr));
    EXPECT_FALSE(doc.CreateNew(L"bad name"));
    EXPECT_FALSE(doc.CreateNew(nullptr));
    EXPECT_EQ(doc.GetXML(), CString());
}

TEST(XmlDocument, EveryTruncationOfAValidDocumentIsRefused) {
    const std::wstring valid = L"<r><a V=\"1\"><b/></a></r>";
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadXML(valid.c_str()));
    for (size_t n = 0; n < valid.size(); ++n)
        EXPECT_FALSE(doc.LoadXML(valid.substr(0, n).c_str())) << "prefix of " << n << " characters";
}

TEST(XmlDocument, DoctypeIsRefusedAndEntitiesNeverExpanded) {
    const wchar_t* bomb =
        L"<?xml version=\"1.0\"?>\n<!DOCTYPE lolz [\n<!ENTITY lol \"lol\">\n"
        L"<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n"
        L"<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">\n]>\n"
        L"<lolz a=\"&lol3;\">&lol3;</lolz>";
    CKivXMLDOMDocObj doc;
    EXPECT_FALSE(doc.LoadXML(bomb));
    EXPECT_EQ(doc.GetRootNode(), nullptr);
    EXPECT_FALSE(doc.LoadXML(L"<!DOCTYPE r><r/>")) << "even a harmless DOCTYPE";
    EXPECT_FALSE(doc.LoadXML(L"<!DOCTYPE r SYSTEM \"file:///etc/passwd\"><r/>"));
    EXPECT_FALSE(doc.LoadXML(L"<r/><!DOCTYPE r>")) << "after the root";
    EXPECT_FALSE(doc.LoadXML(L"<r><a><!DOCTYPE r [<!ENTITY e \"v\">]></a></r>")) << "inside an element";

    ASSERT_TRUE(doc.LoadXML(L"<r a=\"&unknown;\"/>")) << "an undeclared entity stays literal text";
    SKivXMLDataType t{};
    t.type = KIVXML_WSTRING;
    ASSERT_EQ(doc.GetNodeAttribute(doc.GetRootNode(), "a", t), KIVXML_OK);
    KivXMLValueGuard release(t);
    EXPECT_STREQ(t.value.pWStr, L"&unknown;");
}

TEST(XmlDocument, NestingDeeperThanTheLimitIsRefused) {
    CKivXMLDOMDocObj doc;
    EXPECT_TRUE(doc.LoadXML(Nested(CKivXMLDOMDocObj::kMaxDocumentDepth).c_str()));
    EXPECT_FALSE(doc.LoadXML(Nested(CKivXMLDOMDocObj::kMaxDocumentDepth + 1).c_str()));
    EXPECT_FALSE(doc.LoadXML(Nested(100000).c_str())) << "far beyond the limit: refused, no crash";
}

TEST(XmlDocument, InvalidUtf8BecomesReplacementCharacters) {
    ScratchFile file("kivbase_badutf8_");
    {
        std::ofstream out(file.Path(), std::ios::binary);
        out << "<r t=\"a\xC3(b\xFF\"/>";
    }
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.LoadFile(file.WidePath()));
    SKivXMLDataType t{};
    t.type = KIVXML_WSTRING;
    ASSERT_EQ(doc.GetNodeAttribute(doc.GetRootNode(), "t", t), KIVXML_OK);
    KivXMLValueGuard release(t);
    EXPECT_STREQ(t.value.pWStr, L"a\uFFFD(b\uFFFD");

    const wchar_t lone[] = {L'x', static_cast<wchar_t>(0xD800), 0};
    SKivXMLDataType s{};
    s.type = KIVXML_WSTRING;
    s.value.pWStr = const_cast<wchar_t*>(lone);
    ASSERT_TRUE(doc.CreateNew(L"r"));
    ASSERT_EQ(doc.SetNodeAttribute(doc.GetRootNode(), "t", s), KIVXML_OK);
    EXPECT_NE(doc.GetXML().Find(L"t=\"x\uFFFD\""), -1) << "a lone surrogate is written as U+FFFD";
}

TEST(XmlDocument, FilesRoundTripAndMissingFilesFail) {
    ScratchFile file("kivbase_doc_");
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"R\u00e9"));
    SKivXMLDataType v{};
    v.type = KIVXML_COLOR;
    v.value.dwVal = 0x80FF0000u;
    ASSERT_NE(doc.CreateDOMNodeWithAttribute(doc.GetRootNode(), "C", "Color", v, 1), nullptr);
    ASSERT_TRUE(doc.SaveFile(file.WidePath()));

    CKivXMLDOMDocObj back;
    ASSERT_TRUE(back.LoadFile(file.WidePath()));
    EXPECT_EQ(back.GetXML(), doc.GetXML());
    EXPECT_FALSE(back.LoadFile(CString::FromUtf8(file.Path() + ".missing")));
    EXPECT_FALSE(back.LoadFile(nullptr));
    EXPECT_FALSE(doc.SaveFile(L"/nonexistent-folder/x.xml"));
}

TEST(XmlDocument, FailedNodeCreationAddsNothing) {
    CKivXMLDOMDocObj doc;
    ASSERT_TRUE(doc.CreateNew(L"r"));
    IXMLDOMNode* root = doc.GetRootNode();
    SKivXMLDataType bad{};
    bad.type = 99;
    EXPECT_EQ(doc.CreateDOMNodeWithAttribute(root, "E", "A", bad, 1), nullptr);
    EXPECT_EQ(doc.CreateDOMNodeWithAttribute(root, L"E", L"", Version0(), 1), nullptr);
    EXPECT_EQ(doc.GetFirstNameMatchChildNode(root, "E"), nullptr) << "the element is removed again";
    EXPECT_EQ(doc.CreateDOMNode(root, "E", 3), nullptr) << "only elements are made";
    EXPECT_EQ(doc.CreateDOMNode(root, L"", 1), nullptr);
    EXPECT_EQ(doc.CreateDOMNode(nullptr, "E", 1), nullptr);
    EXPECT_EQ(doc.GetXML(), CString(L"<?xml version=\"1.0\"?>\n<r />\n"));
}

TEST(XmlNesting, GuardRefusesPastTheLimitAndUnwinds) {
    CKivXMLDOMDocObj doc;
    // Recursion the way a loader nests: each level holds a guard while it loads its base.
    int deepest = 0;
    auto load = [&](auto& self, int level) -> bool {
        KivXMLNestingGuard guard(&doc);
        if (!guard.IsOk()) return false;
        deepest = level;
        return self(self, level + 1);
    };
    EXPECT_FALSE(load(load, 1));
    EXPECT_EQ(deepest, CKivXMLDOMDocObj::kMaxNesting);
    EXPECT_EQ(doc.GetNestingDepth(), 0) << "every level left again";

    KivXMLNestingGuard none(nullptr);
    EXPECT_TRUE(none.IsOk());
    doc.LeaveNesting();
    EXPECT_EQ(doc.GetNestingDepth(), 0) << "an unmatched leave does not go negative";
}

}  // namespace

// Where a refused document went wrong: the line holding the fault (from 1), the byte offset
// on it, and the parser's description or the wrapper's reason.
TEST(XmlParseError, SaysWhereAndWhy) {
    std::string deep;
    for (int i = 0; i <= CKivXMLDOMDocObj::kMaxDocumentDepth; ++i) deep += "<a>\n";
    for (int i = 0; i <= CKivXMLDOMDocObj::kMaxDocumentDepth; ++i) deep += "</a>";
    struct Case {
        const char* what;
        std::string text;
        int line;
        const char* says;  // part of the description; empty for any of the parser's
    };
    const Case cases[] = {
        {"a mismatched end tag", "<r>\n  <a>\n  </b>\n</r>", 3, ""},
        {"an unquoted attribute", "<r>\n<a x=1/>\n</r>", 2, ""},
        {"nothing at all", "", 1, ""},
        {"two top-level elements", "<r/>\n<s/>", 2, "exactly one top-level element"},
        {"an attribute twice", "<r>\n <a k=\"1\"\n    k=\"2\"/>\n</r>", 2, "two attributes named 'k'"},
        {"a DOCTYPE", "\n<!DOCTYPE r>\n<r/>", 2, "DOCTYPE"},
        {"nesting past the limit", deep, CKivXMLDOMDocObj::kMaxDocumentDepth + 1, "nested deeper"},
    };
    CKivXMLDOMDocObj doc;
    for (const Case& c : cases) {
        EXPECT_FALSE(doc.LoadXMLUtf8(c.text)) << c.what;
        const KivXMLParseError& e = doc.GetLastParseError();
        EXPECT_NE(e.description.find(c.says), std::string::npos) << c.what << ": " << e.description;
        EXPECT_FALSE(e.description.empty()) << c.what;
        EXPECT_EQ(e.line, c.line) << c.what << ": " << e.description;
        ASSERT_GE(e.offset, 0) << c.what;
        ASSERT_LE(static_cast<size_t>(e.offset), c.text.size()) << c.what;
        const size_t at = static_cast<size_t>(e.offset);
        const size_t newline = at == 0 ? std::string::npos : c.text.rfind('\n', at - 1);
        const size_t lineStart = newline == std::string::npos ? 0 : newline + 1;
        EXPECT_EQ(static_cast<size_t>(e.column), at - lineStart + 1) << c.what << ": the column is the offset's place on its line";
    }
    ASSERT_TRUE(doc.LoadXMLUtf8("<r/>"));
    EXPECT_TRUE(doc.GetLastParseError().description.empty()) << "a good load leaves no error";
    EXPECT_EQ(doc.GetLastParseError().offset, -1);
}

TEST(XmlParseError, ThePlaceIsKnownOnlyWhereItMeansSomething) {
    CKivXMLDOMDocObj doc;
    EXPECT_FALSE(doc.LoadFile(L"/nonexistent-folder/x.xml"));
    EXPECT_NE(doc.GetLastParseError().description.find("cannot read the file"), std::string::npos);
    EXPECT_EQ(doc.GetLastParseError().offset, -1) << "no document, no place";
    EXPECT_FALSE(doc.LoadXML(nullptr));
    EXPECT_FALSE(doc.GetLastParseError().description.empty());

    const char16_t utf16[] = u"\uFEFF<r>\n</s>";  // bytes of a UTF-16 document with its mark
    EXPECT_FALSE(doc.LoadXMLBytes(utf16, sizeof utf16 - sizeof(char16_t)));
    EXPECT_GE(doc.GetLastParseError().offset, 0) << "the offset counts the text as parsed";
    EXPECT_EQ(doc.GetLastParseError().line, 0) << "which is not the bytes given, so no line";

    const std::string bom = "\xEF\xBB\xBF<r>\n</s>";
    EXPECT_FALSE(doc.LoadXMLBytes(bom.data(), bom.size()));
    EXPECT_EQ(doc.GetLastParseError().line, 2) << "a UTF-8 document with a byte order mark is placed in its own bytes";
    EXPECT_EQ(bom.compare(static_cast<size_t>(doc.GetLastParseError().offset), 1, "s"), 0) << "at the mismatched name";
}
