// Attribute values through the document wrapper: exact spelling per code, round trips
// through the document's text, and the status rule for absent and malformed text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "kivbase/KivXMLDOMDoc.h"
#include "platform/fw/KivGlobalMemory.h"

namespace {

SKivXMLDataType Record(int code) {
    SKivXMLDataType r{};
    r.type = code;
    return r;
}

class XmlValues : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.CreateNew(L"Root"));
        node = doc.CreateDOMNode(doc.GetRootNode(), "DataMember", KIVXML_NODE_ELEMENT);
        ASSERT_NE(node, nullptr);
    }

    // The attribute's text, read back as code 0.
    std::wstring Text(const char* name) {
        SKivXMLDataType r = Record(KIVXML_WSTRING);
        KivXMLValueGuard release(r);
        EXPECT_EQ(doc.GetNodeAttribute(node, name, r), KIVXML_OK) << name;
        return r.value.pWStr ? std::wstring(r.value.pWStr) : std::wstring(L"<null>");
    }

    void SetText(const char* name, LPCWSTR text) {
        SKivXMLDataType r = Record(KIVXML_WSTRING);
        r.value.pWStr = const_cast<wchar_t*>(text);
        ASSERT_EQ(doc.SetNodeAttribute(node, name, r), KIVXML_OK);
    }

    // Stores the record, saves the document as text, loads it again and reads the value
    // back into a fresh record of the same code.
    SKivXMLDataType RoundTrip(const SKivXMLDataType& stored) {
        EXPECT_EQ(doc.SetNodeAttribute(node, "V", stored), KIVXML_OK);
        CKivXMLDOMDocObj reloaded;
        EXPECT_TRUE(reloaded.LoadXML(doc.GetXML()));
        IXMLDOMNode* n = reloaded.GetFirstNameMatchChildNode(reloaded.GetRootNode(), "DataMember");
        SKivXMLDataType r = Record(stored.type);
        EXPECT_EQ(reloaded.GetNodeAttribute(n, "V", r), KIVXML_OK);
        return r;
    }

    CKivXMLDOMDocObj doc;
    IXMLDOMNode* node = nullptr;
};

TEST_F(XmlValues, IntegersKeepTheirCodesRangeAndSpelling) {
    SKivXMLDataType r = Record(KIVXML_INT);
    r.value.iVal = std::numeric_limits<int>::min();
    EXPECT_EQ(RoundTrip(r).value.iVal, std::numeric_limits<int>::min());
    EXPECT_EQ(Text("V"), L"-2147483648");

    r = Record(KIVXML_INT32);
    r.value.iVal = 70000;
    EXPECT_EQ(RoundTrip(r).value.iVal, 70000);

    r = Record(KIVXML_SHORT);
    r.value.sVal = static_cast<short>(65531);  // low 16 bits of a 32-bit member
    EXPECT_EQ(RoundTrip(r).value.sVal, -5);
    EXPECT_EQ(Text("V"), L"-5") << "code 4 is written as a signed 16-bit number";

    r = Record(KIVXML_VERSION);
    r.value.wVal = 0xFFFF;
    EXPECT_EQ(RoundTrip(r).value.wVal, 0xFFFF);
    EXPECT_EQ(Text("V"), L"65535");

    r = Record(KIVXML_COLOR);
    r.value.dwVal = 0xFFFFFFFFu;
    EXPECT_EQ(RoundTrip(r).value.dwVal, 0xFFFFFFFFu);
    EXPECT_EQ(Text("V"), L"4294967295") << "packed colours are unsigned decimal";
}

TEST_F(XmlValues, FloatsAndDoublesUseTheShortestExactText) {
    SKivXMLDataType r = Record(KIVXML_FLOAT);
    r.value.fVal = 0.1f;
    EXPECT_EQ(RoundTrip(r).value.fVal, 0.1f);
    EXPECT_EQ(Text("V"), L"0.1");

    for (const double d : {0.1, 1.0 / 3.0, -0.0, 5e-324, std::numeric_limits<double>::max(), 1e21}) {
        r = Record(KIVXML_DOUBLE);
        r.value.dVal = d;
        const double back = RoundTrip(r).value.dVal;
        EXPECT_EQ(std::memcmp(&back, &d, sizeof d), 0) << "bits of " << d;
    }
    for (const float f : {std::numeric_limits<float>::denorm_min(), std::numeric_limits<float>::max(), -2.5f}) {
        r = Record(KIVXML_FLOAT);
        r.value.fVal = f;
        const float back = RoundTrip(r).value.fVal;
        EXPECT_EQ(std::memcmp(&back, &f, sizeof f), 0) << "bits of " << f;
    }
}

TEST_F(XmlValues, NanAndInfinityRoundTrip) {
    SKivXMLDataType r = Record(KIVXML_DOUBLE);
    r.value.dVal = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(std::isnan(RoundTrip(r).value.dVal));
    r.value.dVal = -std::numeric_limits<double>::infinity();
    EXPECT_EQ(RoundTrip(r).value.dVal, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(Text("V"), L"-inf");
    r = Record(KIVXML_FLOAT);
    r.value.fVal = std::numeric_limits<float>::infinity();
    EXPECT_EQ(RoundTrip(r).value.fVal, std::numeric_limits<float>::infinity());
}

TEST_F(XmlValues, WideTextRoundTripsAsUtf8) {
    const wchar_t* text = L"C:\\Temp\\caf\u00e9 \U0001F600 <&\"'>\n\ttab";
    SKivXMLDataType r = Record(KIVXML_WSTRING);
    r.value.pWStr = const_cast<wchar_t*>(text);
    SKivXMLDataType back = RoundTrip(r);
    KivXMLValueGuard release(back);
    ASSERT_NE(back.value.pWStr, nullptr);
    EXPECT_STREQ(back.value.pWStr, text) << "markup characters, newlines and tabs survive the text form";
    EXPECT_EQ(back.size, 0u);

    r.value.pWStr = nullptr;
    SKivXMLDataType empty = RoundTrip(r);
    KivXMLValueGuard releaseEmpty(empty);
    ASSERT_NE(empty.value.pWStr, nullptr) << "a present, empty attribute still yields a string";
    EXPECT_STREQ(empty.value.pWStr, L"");
}

TEST_F(XmlValues, ByteBlocksAreBase64InGlobalMemory) {
    BYTE bytes[16];
    for (int i = 0; i < 16; ++i) bytes[i] = static_cast<BYTE>(i * 17);
    SKivXMLDataType r = Record(KIVXML_BLOCK);
    r.value.pBytes = bytes;
    r.size = sizeof bytes;
    SKivXMLDataType back = RoundTrip(r);
    EXPECT_EQ(Text("V"), L"ABEiM0RVZneImaq7zN3u/w==");
    ASSERT_NE(back.value.pBytes, nullptr);
    ASSERT_EQ(back.size, 16u);
    EXPECT_EQ(std::memcmp(back.value.pBytes, bytes, 16), 0);
    EXPECT_EQ(GlobalFree(back.value.pBytes), nullptr);

    for (UINT n : {1u, 2u, 3u}) {
        r.size = n;
        SKivXMLDataType part = RoundTrip(r);
        KivXMLValueGuard release(part);
        ASSERT_EQ(part.size, n);
        EXPECT_EQ(std::memcmp(part.value.pBytes, bytes, n), 0) << n << " bytes need padding";
    }
    EXPECT_EQ(Text("V"), L"ABEi");

    r.value.pBytes = nullptr;
    r.size = 4;
    EXPECT_EQ(doc.SetNodeAttribute(node, "Null", r), KIVXML_E_ARGUMENT) << "a null block cannot have bytes";
}

TEST_F(XmlValues, SettingAgainReplacesTheAttribute) {
    SKivXMLDataType r = Record(KIVXML_INT);
    r.value.iVal = 1;
    ASSERT_EQ(doc.SetNodeAttribute(node, L"Flag", r), KIVXML_OK);
    r.value.iVal = 2;
    ASSERT_EQ(doc.SetNodeAttribute(node, "Flag", r), KIVXML_OK);
    EXPECT_EQ(Text("Flag"), L"2");
    EXPECT_EQ(doc.GetXML().Find(L"Flag=\"1\""), -1) << "no second attribute of the same name";
}

// Every failure must leave the caller's record exactly as it was.
struct BadText {
    int code;
    const wchar_t* text;
    LONG status;
};

TEST_F(XmlValues, MalformedTextFailsAndLeavesTheRecordUntouched) {
    const BadText cases[] = {
        {KIVXML_DOUBLE, L"1e400", KIVXML_E_RANGE},
        {KIVXML_FLOAT, L"1e39", KIVXML_E_RANGE},
        {KIVXML_INT, L"nan", KIVXML_E_MALFORMED},
        {KIVXML_INT32, L"abc", KIVXML_E_MALFORMED},
        {KIVXML_INT, L"", KIVXML_E_MALFORMED},
        {KIVXML_DOUBLE, L"", KIVXML_E_MALFORMED},
        {KIVXML_INT, L"12abc", KIVXML_E_MALFORMED},
        {KIVXML_DOUBLE, L"0.5x", KIVXML_E_MALFORMED},
        {KIVXML_INT, L" 12", KIVXML_E_MALFORMED},
        {KIVXML_INT, L"+12", KIVXML_E_MALFORMED},
        {KIVXML_INT, L"2147483648", KIVXML_E_RANGE},
        {KIVXML_INT32, L"-2147483649", KIVXML_E_RANGE},
        {KIVXML_SHORT, L"4294967296", KIVXML_E_RANGE},
        {KIVXML_SHORT, L"1.5", KIVXML_E_MALFORMED},
        {KIVXML_VERSION, L"65536", KIVXML_E_RANGE},
        {KIVXML_VERSION, L"-1", KIVXML_E_RANGE},
        {KIVXML_COLOR, L"4294967296", KIVXML_E_RANGE},
        {KIVXML_COLOR, L"-1", KIVXML_E_RANGE},
        {KIVXML_COLOR, L"99999999999999999999999", KIVXML_E_RANGE},
        {KIVXML_BLOCK, L"abc", KIVXML_E_MALFORMED},
        {KIVXML_BLOCK, L"ab!d", KIVXML_E_MALFORMED},
        {KIVXML_BLOCK, L"ab=d", KIVXML_E_MALFORMED},
        {KIVXML_BLOCK, L"AB==", KIVXML_E_MALFORMED},  // leftover bits set
        {KIVXML_BLOCK, L"AA A", KIVXML_E_MALFORMED},
        {KIVXML_BLOCK, L"====", KIVXML_E_MALFORMED},
        {99, L"1", KIVXML_E_ARGUMENT},
    };
    for (const BadText& c : cases) {
        SetText("Bad", c.text);
        SKivXMLDataType r = Record(c.code);
        r.value.dVal = 42.0;  // a sentinel in all eight bytes
        r.size = 0;
        EXPECT_EQ(doc.GetNodeAttribute(node, "Bad", r), c.status) << "code " << c.code << " text '" << CString(c.text).ToUtf8() << "'";
        EXPECT_EQ(r.value.dVal, 42.0) << "value untouched for code " << c.code << " '" << CString(c.text).ToUtf8() << "'";
        EXPECT_EQ(r.size, 0u);
    }
}

TEST_F(XmlValues, AcceptedEdgeSpellings) {
    SetText("V", L"-65531");
    SKivXMLDataType r = Record(KIVXML_SHORT);
    ASSERT_EQ(doc.GetNodeAttribute(node, "V", r), KIVXML_OK);
    EXPECT_EQ(r.value.sVal, 5) << "code 4 keeps the low 16 bits of any int32, sign-extended";

    SetText("V", L"1E3");
    r = Record(KIVXML_DOUBLE);
    ASSERT_EQ(doc.GetNodeAttribute(node, "V", r), KIVXML_OK);
    EXPECT_EQ(r.value.dVal, 1000.0);

    SetText("V", L"-nan");
    r = Record(KIVXML_FLOAT);
    ASSERT_EQ(doc.GetNodeAttribute(node, "V", r), KIVXML_OK);
    EXPECT_TRUE(std::isnan(r.value.fVal));

    SetText("V", L"");
    r = Record(KIVXML_BLOCK);
    ASSERT_EQ(doc.GetNodeAttribute(node, "V", r), KIVXML_OK) << "an empty block is a valid block of 0 bytes";
    EXPECT_NE(r.value.pBytes, nullptr);
    EXPECT_EQ(r.size, 0u);
    KivXMLReleaseValue(r);
    EXPECT_EQ(r.value.pBytes, nullptr);
}

TEST_F(XmlValues, AbsentAttributeIsStatusOneAndLeavesTheRecord) {
    SKivXMLDataType r = Record(KIVXML_WSTRING);
    EXPECT_EQ(doc.GetNodeAttribute(node, "Missing", r), KIVXML_ABSENT);
    EXPECT_EQ(r.value.pWStr, nullptr);
    r = Record(KIVXML_DOUBLE);
    r.value.dVal = 7.0;
    EXPECT_EQ(doc.GetNodeAttribute(node, L"Missing", r), KIVXML_ABSENT);
    EXPECT_EQ(doc.GetNodeAttribute(nullptr, "Missing", r), KIVXML_ABSENT);
    EXPECT_EQ(r.value.dVal, 7.0);
}

TEST_F(XmlValues, BlockOfTheWrongLengthIsRefusedWhenTheSizeIsGiven) {
    BYTE bytes[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    SKivXMLDataType s = Record(KIVXML_BLOCK);
    s.value.pBytes = bytes;
    s.size = 8;
    ASSERT_EQ(doc.SetNodeAttribute(node, "Handle", s), KIVXML_OK);

    SKivXMLDataType r = Record(KIVXML_BLOCK);
    r.size = 12;  // the caller expects a 12-byte handle
    EXPECT_EQ(doc.GetNodeAttribute(node, "Handle", r), KIVXML_E_SIZE);
    EXPECT_EQ(r.value.pBytes, nullptr);
    EXPECT_EQ(r.size, 12u);

    r.size = 8;
    ASSERT_EQ(doc.GetNodeAttribute(node, "Handle", r), KIVXML_OK);
    KivXMLValueGuard release(r);
    EXPECT_EQ(std::memcmp(r.value.pBytes, bytes, 8), 0);
}

TEST_F(XmlValues, BadNamesAreRefused) {
    SKivXMLDataType r = Record(KIVXML_INT);
    EXPECT_EQ(doc.SetNodeAttribute(node, "", r), KIVXML_E_ARGUMENT);
    EXPECT_EQ(doc.SetNodeAttribute(node, "two words", r), KIVXML_E_ARGUMENT);
    EXPECT_EQ(doc.SetNodeAttribute(node, "1st", r), KIVXML_E_ARGUMENT);
    EXPECT_EQ(doc.SetNodeAttribute(node, static_cast<const char*>(nullptr), r), KIVXML_E_ARGUMENT);
    EXPECT_EQ(doc.SetNodeAttribute(nullptr, "A", r), KIVXML_E_ARGUMENT);
    EXPECT_EQ(doc.GetXML().Find(L"two"), -1);
}

}  // namespace
