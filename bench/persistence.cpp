// Storing and loading 100,000 value keyframes in the archive and in XML, and one alpha
// keyframe holding 200,000 list values in XML, against two
// baselines for the same data measured in the same run: a hand-written little-endian
// writer and checked reader of the same records, and pugixml building, serializing,
// parsing and walking the same element tree directly.
//
// Each baseline does the work the format itself demands and nothing the library adds: the
// archive writer produces exactly the library's bytes (list count, class record, object
// tags, 58-byte records) and the reader checks every tag and length; the XML builder
// produces exactly the library's text, and the XML walker reads every value the library
// reads (class names, numbers with their checks, base64 blocks decoded). Before
// any timing, the program refuses to run if the baselines' output differs from the
// library's.
//
// Every measured pass is a function of its own (Pass_<benchmark name>) that only the
// benchmark loop calls, so that bench/callgrind.py can count its instructions exactly.
#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "keyfrm/softfx/CKivSoftFXAlphaKeyFrm.h"
#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "kivbase/CKivObList.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivBytes.h"
#include "platform/fw/CArchive.h"

namespace {

constexpr int kKeyFrames = 100000;
constexpr size_t kRecordBytes = 58;
constexpr size_t kTagBytes = 2;
constexpr const char kClassName[] = "CKivFXValueKeyFrm";
// The list count escapes to 32 bits from 0xFFFF elements on.
constexpr WORD kCountEscape16 = 0xFFFF;
// The first object of the archive names its class (index 1); the others refer to it.
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kFirstClassTag = 0x8001;
// A Bezier handle block: 16 bytes, 24 characters of base64.
constexpr size_t kBlockBytes = 16;
constexpr size_t kBlockText = 24;

// ---- the data ----

struct PlainKey {
    int restore;
    double location;
    int insKind;
    int frame;
    float value;
    float foreValue;
    double forePos;
    float afterValue;
    double afterPos;
};

PlainKey Sample(int i) {
    return {i & 1, i / double(kKeyFrames), i % 3, i, 0.5f * static_cast<float>(i), -0.25f, -0.1, 0.25f, 0.1};
}

const CKivObList& LibraryList() {
    static CKivObList list;
    if (list.IsEmpty()) {
        for (int i = 0; i < kKeyFrames; ++i) {
            auto k = std::make_unique<CKivFXValueKeyFrm>();
            const PlainKey p = Sample(i);
            k->Restore = p.restore;
            k->Location = p.location;
            k->InsKind = p.insKind;
            k->Frame = p.frame;
            k->Value = p.value;
            k->PtFore = {p.foreValue, p.forePos};
            k->PtAfter = {p.afterValue, p.afterPos};
            list.AddTail(k.release());
        }
    }
    return list;
}

const std::vector<PlainKey>& PlainKeys() {
    static std::vector<PlainKey> keys;
    if (keys.empty())
        for (int i = 0; i < kKeyFrames; ++i) keys.push_back(Sample(i));
    return keys;
}

// ---- archive: library ----

size_t StoreArchive(const CKivObList& list, CMemFile& file) {
    file.SetLength(0);
    CArchive ar(&file, CArchive::store);
    const_cast<CKivObList&>(list).Serialize(ar);
    ar.Close();
    return static_cast<size_t>(file.GetLength());
}

std::unique_ptr<CKivObList> LoadArchive(std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    auto list = std::make_unique<CKivObList>();
    list->Serialize(ar);
    return list;
}

std::vector<BYTE> LibraryArchive() {
    CMemFile file(1 << 20);
    StoreArchive(LibraryList(), file);
    return std::vector<BYTE>(file.GetBufferPtr(), file.GetBufferPtr() + file.GetLength());
}

// ---- archive: baseline ----

void PutU16(BYTE* p, unsigned v) {
    p[0] = static_cast<BYTE>(v);
    p[1] = static_cast<BYTE>(v >> 8);
}

unsigned GetU16(const BYTE* p) { return p[0] | (p[1] << 8); }

void PutRecord(BYTE* p, const PlainKey& k) {
    std::memset(p, 0, kRecordBytes);
    PutU16(p + 2, static_cast<unsigned>(k.restore));
    KivPutF64(p + 4, k.location);
    PutU16(p + 14, static_cast<unsigned>(k.insKind));
    KivPutI32(p + 16, k.frame);
    KivPutF32(p + 22, k.value);
    KivPutF32(p + 26, k.foreValue);
    KivPutF64(p + 34, k.forePos);
    KivPutF32(p + 42, k.afterValue);
    KivPutF64(p + 50, k.afterPos);
}

constexpr size_t kNameBytes = sizeof kClassName - 1;
constexpr size_t kHeaderBytes = 2 + 4;                        // escaped count
constexpr size_t kClassRecordBytes = 2 + 2 + 2 + kNameBytes;  // tag, schema, name length, name

size_t StoreArchiveBaseline(const std::vector<PlainKey>& keys, std::vector<BYTE>& buffer) {
    buffer.resize(kHeaderBytes + kClassRecordBytes - kTagBytes + keys.size() * (kTagBytes + kRecordBytes));
    BYTE* p = buffer.data();
    PutU16(p, kCountEscape16);
    KivPutU32(p + 2, static_cast<DWORD>(keys.size()));
    p += kHeaderBytes;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (i == 0) {
            PutU16(p, kNewClassTag);
            PutU16(p + 2, 0);
            PutU16(p + 4, kNameBytes);
            std::memcpy(p + 6, kClassName, kNameBytes);
            p += kClassRecordBytes;
        } else {
            PutU16(p, kFirstClassTag);
            p += kTagBytes;
        }
        PutRecord(p, keys[i]);
        p += kRecordBytes;
    }
    return buffer.size();
}

[[noreturn]] void Refuse(const char* what) { throw std::runtime_error(what); }

void LoadArchiveBaseline(const std::vector<BYTE>& bytes, std::vector<PlainKey>& out) {
    out.clear();
    const BYTE* p = bytes.data();
    const BYTE* end = p + bytes.size();
    if (end - p < 2) Refuse("short count");
    size_t count = GetU16(p);
    p += 2;
    if (count == kCountEscape16) {
        if (end - p < 4) Refuse("short count");
        count = KivGetU32(p);
        p += 4;
    }
    for (size_t i = 0; i < count; ++i) {
        if (end - p < static_cast<std::ptrdiff_t>(kTagBytes)) Refuse("short tag");
        const unsigned tag = GetU16(p);
        p += kTagBytes;
        if (i == 0) {
            if (tag != kNewClassTag || end - p < static_cast<std::ptrdiff_t>(kClassRecordBytes - kTagBytes)) Refuse("class");
            if (GetU16(p) != 0 || GetU16(p + 2) != kNameBytes || std::memcmp(p + 4, kClassName, kNameBytes) != 0) Refuse("class");
            p += kClassRecordBytes - kTagBytes;
        } else if (tag != kFirstClassTag) {
            Refuse("tag");
        }
        if (end - p < static_cast<std::ptrdiff_t>(kRecordBytes)) Refuse("short record");
        PlainKey k;
        k.restore = static_cast<short>(GetU16(p + 2));
        k.location = KivGetF64(p + 4);
        k.insKind = static_cast<int>(GetU16(p + 14));
        k.frame = KivGetI32(p + 16);
        k.value = KivGetF32(p + 22);
        k.foreValue = KivGetF32(p + 26);
        k.forePos = KivGetF64(p + 34);
        k.afterValue = KivGetF32(p + 42);
        k.afterPos = KivGetF64(p + 50);
        out.push_back(k);
        p += kRecordBytes;
    }
}

// ---- XML: library ----

std::string StoreXml(const CKivObList& list) {
    CKivXMLDOMDocObj doc;
    doc.CreateNew(L"KivFXProject");
    const_cast<CKivObList&>(list).SerializeXML(&doc, doc.GetRootNode());
    return doc.GetXMLUtf8();
}

std::unique_ptr<CKivObList> LoadXml(const std::string& text) {
    CKivXMLDOMDocObj doc;
    if (!doc.LoadXMLUtf8(text)) Refuse("parse");
    auto list = std::make_unique<CKivObList>();
    list->SerializeXML(&doc, doc.GetRootNode());
    return list;
}

// ---- XML: baseline ----

// The document wrapper's choices, so that the baseline writes the same text.
constexpr const char* kIndent = "\t";
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_doctype;
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

template <class T>
void SetNumber(pugi::xml_node node, const char* name, T value) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf - 1, value);
    *r.ptr = '\0';
    node.append_attribute(name).set_value(buf);
}

void SetBlock(pugi::xml_node node, const char* name, float v, double pos) {
    BYTE raw[kBlockBytes + 2] = {};
    KivPutF32(raw, v);
    KivPutF64(raw + 8, pos);
    char text[kBlockText + 1];
    int o = 0;
    for (size_t i = 0; i < kBlockBytes; i += 3) {
        const DWORD n = (raw[i] << 16) | (raw[i + 1] << 8) | raw[i + 2];
        text[o++] = kBase64[(n >> 18) & 63];
        text[o++] = kBase64[(n >> 12) & 63];
        text[o++] = kBase64[(n >> 6) & 63];
        text[o++] = kBase64[n & 63];
    }
    text[kBlockText - 2] = '=';  // 16 bytes leave one byte in the last group
    text[kBlockText - 1] = '=';
    text[kBlockText] = '\0';
    node.append_attribute(name).set_value(text);
}

pugi::xml_node Element(pugi::xml_node parent, const char* name) {
    pugi::xml_node e = parent.append_child(name);
    e.append_attribute("Version").set_value("0");
    return e;
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

std::string StoreXmlBaseline(const std::vector<PlainKey>& keys) {
    pugi::xml_document doc;
    pugi::xml_node list = doc.append_child("KivFXProject").append_child("CKivObList");
    SetNumber(list, "Count", static_cast<int>(keys.size()));
    for (const PlainKey& k : keys) {
        pugi::xml_node item = list.append_child("Item");
        item.append_attribute("Class").set_value(kClassName);
        pugi::xml_node value = Element(item, "CKivFXEmitTriangleKeyFrm");
        pugi::xml_node data = value.append_child("DataMember");
        SetNumber(data, "Value", k.value);
        SetBlock(data, "PtFore", k.foreValue, k.forePos);
        SetBlock(data, "PtAfter", k.afterValue, k.afterPos);
        pugi::xml_node ins = Element(value.append_child("BaseObject"), "CKivFXInsValueKeyFrm");
        pugi::xml_node insData = ins.append_child("DataMember");
        SetNumber(insData, "InsKind", static_cast<short>(k.insKind));
        SetNumber(insData, "Frame", k.frame);
        pugi::xml_node root = Element(ins.append_child("BaseObject"), "CKivFXBaseKeyFrm");
        pugi::xml_node rootData = root.append_child("DataMember");
        SetNumber(rootData, "Restore", k.restore);
        SetNumber(rootData, "Location", k.location);
        root.append_child("BaseObject");
    }
    StringWriter w;
    doc.save(w, kIndent, pugi::format_default, pugi::encoding_utf8);
    return std::move(w.text);
}

template <class T>
T GetNumber(pugi::xml_node node, const char* name) {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) Refuse("missing number");
    const char* text = a.value();
    const char* end = text + std::strlen(text);
    T v{};
    const auto r = std::from_chars(text, end, v);
    if (r.ec != std::errc() || r.ptr != end) Refuse("number");
    return v;
}

// Character -> 6-bit value, 64 for characters outside the alphabet.
constexpr std::array<BYTE, 256> kBase64Values = [] {
    std::array<BYTE, 256> t{};
    t.fill(64);
    for (BYTE i = 0; i < 64; ++i) t[static_cast<unsigned char>(kBase64[i])] = i;
    return t;
}();

DWORD Base64Value(char c) {
    const BYTE v = kBase64Values[static_cast<unsigned char>(c)];
    if (v == 64) Refuse("base64");
    return v;
}

void GetBlock(pugi::xml_node node, const char* name, float& v, double& pos) {
    const char* text = node.attribute(name).value();
    if (std::strlen(text) != kBlockText || text[kBlockText - 2] != '=' || text[kBlockText - 1] != '=') Refuse("block");
    BYTE raw[kBlockBytes + 2];
    size_t o = 0;
    for (size_t i = 0; i < kBlockText; i += 4) {
        const bool last = i + 4 == kBlockText;
        const DWORD n = (Base64Value(text[i]) << 18) | (Base64Value(text[i + 1]) << 12) |
                        (last ? 0 : (Base64Value(text[i + 2]) << 6) | Base64Value(text[i + 3]));
        if (last && (n & 0xFFFF)) Refuse("base64 padding bits");
        raw[o++] = static_cast<BYTE>(n >> 16);
        raw[o++] = static_cast<BYTE>(n >> 8);
        raw[o++] = static_cast<BYTE>(n);
    }
    v = KivGetF32(raw);
    pos = KivGetF64(raw + 8);
}

// A class level's element, found by name (its version changes nothing, as in the library).
pugi::xml_node Level(pugi::xml_node parent, const char* name) {
    pugi::xml_node e = parent.child(name);
    if (!e) Refuse("element");
    return e;
}

void LoadXmlBaseline(const std::string& text, std::vector<PlainKey>& out) {
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8)) Refuse("parse");
    out.clear();
    for (pugi::xml_node item : doc.child("KivFXProject").child("CKivObList").children("Item")) {
        if (std::strcmp(item.attribute("Class").value(), kClassName) != 0) Refuse("class");
        PlainKey k{};
        const pugi::xml_node value = Level(item, "CKivFXEmitTriangleKeyFrm");
        const pugi::xml_node valueData = value.child("DataMember");
        k.value = GetNumber<float>(valueData, "Value");
        GetBlock(valueData, "PtFore", k.foreValue, k.forePos);
        GetBlock(valueData, "PtAfter", k.afterValue, k.afterPos);
        const pugi::xml_node ins = Level(value.child("BaseObject"), "CKivFXInsValueKeyFrm");
        const pugi::xml_node insData = ins.child("DataMember");
        k.insKind = static_cast<unsigned short>(GetNumber<short>(insData, "InsKind"));
        k.frame = GetNumber<int>(insData, "Frame");
        const pugi::xml_node root = Level(ins.child("BaseObject"), "CKivFXBaseKeyFrm");
        const pugi::xml_node rootData = root.child("DataMember");
        k.restore = GetNumber<int>(rootData, "Restore");
        k.location = GetNumber<double>(rootData, "Location");
        out.push_back(k);
    }
}

// ---- XML: one keyframe holding a long list ----

// An alpha keyframe's shade list: one "DataMember" attribute per value.
constexpr int kListValues = 200000;
constexpr const char kListPrefix[] = "ShadeColor";

double ListValue(int i) { return i / double(kListValues); }

const CKivSoftFXAlphaKeyFrm& LibraryListKey() {
    static CKivSoftFXAlphaKeyFrm key;
    if (key.ShadeColor.IsEmpty()) {
        key.ShadeColor.SetSize(kListValues);
        for (int i = 0; i < kListValues; ++i) key.ShadeColor[i] = ListValue(i);
    }
    return key;
}

const std::vector<double>& PlainList() {
    static std::vector<double> values;
    if (values.empty())
        for (int i = 0; i < kListValues; ++i) values.push_back(ListValue(i));
    return values;
}

std::string StoreListXml(const CKivSoftFXAlphaKeyFrm& key) {
    CKivXMLDOMDocObj doc;
    doc.CreateNew(L"KivFXProject");
    const_cast<CKivSoftFXAlphaKeyFrm&>(key).SerializeXML(&doc, doc.GetRootNode());
    return doc.GetXMLUtf8();
}

std::unique_ptr<CKivSoftFXAlphaKeyFrm> LoadListXml(const std::string& text) {
    CKivXMLDOMDocObj doc;
    if (!doc.LoadXMLUtf8(text)) Refuse("parse");
    auto key = std::make_unique<CKivSoftFXAlphaKeyFrm>();
    key->SerializeXML(&doc, doc.GetRootNode());
    return key;
}

// The alpha keyframe's levels below its own, which store nothing but the root's two fields.
constexpr const char* kListBases[] = {"CKivSoftFXArrayKeyFrm", "CKivSoftFXBaseKeyFrm"};

std::string StoreListXmlBaseline(const std::vector<double>& values) {
    pugi::xml_document doc;
    pugi::xml_node alpha = Element(doc.append_child("KivFXProject"), "CKivSoftFXAlphaKeyFrm");
    pugi::xml_node data = alpha.append_child("DataMember");
    SetNumber(data, "Count", static_cast<int>(values.size()));
    char name[sizeof kListPrefix + 10] = {};
    std::memcpy(name, kListPrefix, sizeof kListPrefix - 1);
    for (size_t i = 0; i < values.size(); ++i) {
        *std::to_chars(name + sizeof kListPrefix - 1, name + sizeof name - 1, i).ptr = '\0';
        SetNumber(data, name, values[i]);
    }
    pugi::xml_node base = alpha.append_child("BaseObject");
    for (const char* level : kListBases) base = Element(base, level).append_child("BaseObject");
    pugi::xml_node root = Element(base, "CKivFXBaseKeyFrm");
    pugi::xml_node rootData = root.append_child("DataMember");
    SetNumber(rootData, "Restore", 0);
    SetNumber(rootData, "Location", 0.0);
    root.append_child("BaseObject");
    StringWriter w;
    doc.save(w, kIndent, pugi::format_default, pugi::encoding_utf8);
    return std::move(w.text);
}

// Reads the count, then every attribute in one pass, each value's index from its name.
void LoadListXmlBaseline(const std::string& text, std::vector<double>& out) {
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8)) Refuse("parse");
    const pugi::xml_node alpha = Level(doc.child("KivFXProject"), "CKivSoftFXAlphaKeyFrm");
    const pugi::xml_node data = alpha.child("DataMember");
    const int count = GetNumber<int>(data, "Count");
    if (count < 0) Refuse("count");
    out.assign(static_cast<size_t>(count), 0.0);
    for (const pugi::xml_attribute a : data.attributes()) {
        const char* name = a.name();
        if (std::strncmp(name, kListPrefix, sizeof kListPrefix - 1) != 0) continue;
        const char* digits = name + sizeof kListPrefix - 1;
        const char* end = digits + std::strlen(digits);
        size_t index = 0;
        const auto r = std::from_chars(digits, end, index);
        if (r.ec != std::errc() || r.ptr != end || index >= out.size()) Refuse("list index");
        const char* value = a.value();
        const char* valueEnd = value + std::strlen(value);
        const auto v = std::from_chars(value, valueEnd, out[index]);
        if (v.ec != std::errc() || v.ptr != valueEnd) Refuse("list value");
    }
    pugi::xml_node base = alpha.child("BaseObject");
    for (const char* level : kListBases) base = Level(base, level).child("BaseObject");
    const pugi::xml_node rootData = Level(base, "CKivFXBaseKeyFrm").child("DataMember");
    if (GetNumber<int>(rootData, "Restore") != 0 || GetNumber<double>(rootData, "Location") != 0.0) Refuse("root");
}

std::vector<double> ListOf(const CKivSoftFXAlphaKeyFrm& key) {
    return std::vector<double>(key.ShadeColor.GetData(), key.ShadeColor.GetData() + key.ShadeColor.GetSize());
}

// ---- the same work on both sides ----

bool operator==(const PlainKey& a, const PlainKey& b) {
    return a.restore == b.restore && a.location == b.location && a.insKind == b.insKind && a.frame == b.frame &&
           a.value == b.value && a.foreValue == b.foreValue && a.forePos == b.forePos && a.afterValue == b.afterValue &&
           a.afterPos == b.afterPos;
}

bool SameKeys(const std::vector<PlainKey>& got) { return got == PlainKeys(); }

// Refuses to measure when a baseline's output is not the library's.
void CheckBaselines() {
    std::vector<BYTE> baseline;
    StoreArchiveBaseline(PlainKeys(), baseline);
    std::vector<BYTE> library = LibraryArchive();
    if (baseline != library) Refuse("the archive baseline does not write the library's bytes");
    std::vector<PlainKey> keys;
    LoadArchiveBaseline(library, keys);
    if (!SameKeys(keys)) Refuse("the archive baseline does not read the data back");
    if (LoadArchive(library)->Compare(&LibraryList()) != 0) Refuse("the library does not read its archive back");

    const std::string text = StoreXml(LibraryList());
    if (StoreXmlBaseline(PlainKeys()) != text) Refuse("the XML baseline does not write the library's text");
    LoadXmlBaseline(text, keys);
    if (!SameKeys(keys)) Refuse("the XML baseline does not read the data back");
    if (LoadXml(text)->Compare(&LibraryList()) != 0) Refuse("the library does not read its XML back");

    const std::string listText = StoreListXml(LibraryListKey());
    if (StoreListXmlBaseline(PlainList()) != listText) Refuse("the XML baseline does not write the library's list");
    std::vector<double> values;
    LoadListXmlBaseline(listText, values);
    if (values != PlainList()) Refuse("the XML baseline does not read the list back");
    if (ListOf(*LoadListXml(listText)) != PlainList()) Refuse("the library does not read its list back");
}

// ---- what loading costs before a single byte is read ----

// Creating every keyframe by its class and appending it to a list, as both loads must: the
// floor under the library's loads, measured for the report, not a goal.
std::unique_ptr<CKivObList> CreateObjects() {
    auto list = std::make_unique<CKivObList>();
    for (int i = 0; i < kKeyFrames; ++i) list->AddTail(RUNTIME_CLASS(CKivFXValueKeyFrm)->CreateObject());
    return list;
}

// ---- the measured passes: only the benchmark loops call these ----

[[gnu::noinline]] size_t Pass_ArchiveStore_Library(const CKivObList& l, CMemFile& f) { return StoreArchive(l, f); }
[[gnu::noinline]] size_t Pass_ArchiveStore_Baseline(const std::vector<PlainKey>& k, std::vector<BYTE>& b) {
    return StoreArchiveBaseline(k, b);
}
[[gnu::noinline]] std::unique_ptr<CKivObList> Pass_ArchiveLoad_Library(std::vector<BYTE>& b) { return LoadArchive(b); }
[[gnu::noinline]] void Pass_ArchiveLoad_Baseline(const std::vector<BYTE>& b, std::vector<PlainKey>& out) {
    LoadArchiveBaseline(b, out);
}
[[gnu::noinline]] std::string Pass_XmlStore_Library(const CKivObList& l) { return StoreXml(l); }
[[gnu::noinline]] std::string Pass_XmlStore_Pugixml(const std::vector<PlainKey>& k) { return StoreXmlBaseline(k); }
[[gnu::noinline]] std::unique_ptr<CKivObList> Pass_XmlLoad_Library(const std::string& t) { return LoadXml(t); }
[[gnu::noinline]] void Pass_XmlLoad_Pugixml(const std::string& t, std::vector<PlainKey>& out) { LoadXmlBaseline(t, out); }
[[gnu::noinline]] std::unique_ptr<CKivObList> Pass_CreateObjects_Floor() { return CreateObjects(); }
[[gnu::noinline]] std::string Pass_XmlListStore_Library(const CKivSoftFXAlphaKeyFrm& k) { return StoreListXml(k); }
[[gnu::noinline]] std::string Pass_XmlListStore_Pugixml(const std::vector<double>& v) { return StoreListXmlBaseline(v); }
[[gnu::noinline]] std::unique_ptr<CKivSoftFXAlphaKeyFrm> Pass_XmlListLoad_Library(const std::string& t) { return LoadListXml(t); }
[[gnu::noinline]] void Pass_XmlListLoad_Pugixml(const std::string& t, std::vector<double>& out) { LoadListXmlBaseline(t, out); }

// ---- the benchmarks ----

// A library load: what it makes is destroyed outside the timing.
template <class Pass>
void MeasureLoad(benchmark::State& state, Pass pass, int items = kKeyFrames) {
    for (auto _ : state) {
        auto made = pass();
        benchmark::DoNotOptimize(made.get());
        state.PauseTiming();
        made.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * items);
}

// Any other pass: its result is kept from being optimised away.
template <class Pass>
void Measure(benchmark::State& state, Pass pass, int items = kKeyFrames) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(pass());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * items);
}

void BM_ArchiveStore_Library(benchmark::State& state) {
    CMemFile file(1 << 20);  // grown once here, reused like the baseline's buffer
    file.SetLength(LibraryArchive().size());
    Measure(state, [&] { return Pass_ArchiveStore_Library(LibraryList(), file); });
}

void BM_ArchiveStore_Baseline(benchmark::State& state) {
    std::vector<BYTE> buffer(LibraryArchive().size());  // sized once, like the library's file
    Measure(state, [&] { return Pass_ArchiveStore_Baseline(PlainKeys(), buffer); });
}

void BM_ArchiveLoad_Library(benchmark::State& state) {
    std::vector<BYTE> bytes = LibraryArchive();
    MeasureLoad(state, [&] { return Pass_ArchiveLoad_Library(bytes); });
}

void BM_ArchiveLoad_Baseline(benchmark::State& state) {
    const std::vector<BYTE> bytes = LibraryArchive();
    std::vector<PlainKey> out;
    out.reserve(kKeyFrames);
    Measure(state, [&] { return Pass_ArchiveLoad_Baseline(bytes, out), out.data(); });
}

void BM_XmlStore_Library(benchmark::State& state) {
    Measure(state, [&] { return Pass_XmlStore_Library(LibraryList()); });
}

void BM_XmlStore_Pugixml(benchmark::State& state) {
    Measure(state, [&] { return Pass_XmlStore_Pugixml(PlainKeys()); });
}

void BM_XmlLoad_Library(benchmark::State& state) {
    const std::string text = StoreXml(LibraryList());
    MeasureLoad(state, [&] { return Pass_XmlLoad_Library(text); });
}

void BM_XmlLoad_Pugixml(benchmark::State& state) {
    const std::string text = StoreXml(LibraryList());
    std::vector<PlainKey> out;
    out.reserve(kKeyFrames);
    Measure(state, [&] { return Pass_XmlLoad_Pugixml(text, out), out.data(); });
}

void BM_CreateObjects_Floor(benchmark::State& state) { MeasureLoad(state, [] { return Pass_CreateObjects_Floor(); }); }

void BM_XmlListStore_Library(benchmark::State& state) {
    Measure(state, [&] { return Pass_XmlListStore_Library(LibraryListKey()); }, kListValues);
}

void BM_XmlListStore_Pugixml(benchmark::State& state) {
    Measure(state, [&] { return Pass_XmlListStore_Pugixml(PlainList()); }, kListValues);
}

void BM_XmlListLoad_Library(benchmark::State& state) {
    const std::string text = StoreListXml(LibraryListKey());
    MeasureLoad(state, [&] { return Pass_XmlListLoad_Library(text); }, kListValues);
}

void BM_XmlListLoad_Pugixml(benchmark::State& state) {
    const std::string text = StoreListXml(LibraryListKey());
    std::vector<double> out;
    out.reserve(kListValues);
    Measure(state, [&] { return Pass_XmlListLoad_Pugixml(text, out), out.data(); }, kListValues);
}

}  // namespace

BENCHMARK(BM_ArchiveStore_Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveStore_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveLoad_Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ArchiveLoad_Baseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlStore_Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlStore_Pugixml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlLoad_Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlLoad_Pugixml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CreateObjects_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlListStore_Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlListStore_Pugixml)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlListLoad_Library)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlListLoad_Pugixml)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    try {
        CheckBaselines();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_persistence: %s\n", e.what());
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
