// Storing and loading 100,000 value keyframes in the archive and in XML, against two
// baselines for the same data measured in the same run: a hand-written little-endian
// writer and checked reader of the same 58-byte records, and pugixml building,
// serializing, parsing and walking the same element tree directly.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <memory>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "keyfrm/tracks/CKivFXValueKeyFrm.h"
#include "kivbase/CKivObList.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivBytes.h"
#include "platform/fw/CArchive.h"

namespace {

constexpr int kKeyFrames = 100000;
constexpr size_t kRecordBytes = 58;

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

CKivObList& LibraryList() {
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

// ---- archive ----

std::vector<BYTE> StoreArchive() {
    CMemFile file(1 << 20);
    {
        CArchive ar(&file, CArchive::store);
        LibraryList().Serialize(ar);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBufferPtr(), file.GetBufferPtr() + file.GetLength());
}

void BM_ArchiveStore_Library(benchmark::State& state) {
    CKivObList& list = LibraryList();
    CMemFile file(1 << 20);  // reused, like the baseline's buffer
    for (auto _ : state) {
        file.SetLength(0);
        CArchive ar(&file, CArchive::store);
        list.Serialize(ar);
        ar.Close();
        benchmark::DoNotOptimize(file.GetLength());
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
}

void PutRecord(BYTE* p, const PlainKey& k) {
    std::memset(p, 0, kRecordBytes);
    p[2] = static_cast<BYTE>(k.restore);
    p[3] = static_cast<BYTE>(k.restore >> 8);
    KivPutF64(p + 4, k.location);
    p[14] = static_cast<BYTE>(k.insKind);
    p[15] = static_cast<BYTE>(k.insKind >> 8);
    KivPutI32(p + 16, k.frame);
    KivPutF32(p + 22, k.value);
    KivPutF32(p + 26, k.foreValue);
    KivPutF64(p + 34, k.forePos);
    KivPutF32(p + 42, k.afterValue);
    KivPutF64(p + 50, k.afterPos);
}

void BM_ArchiveStore_Baseline(benchmark::State& state) {
    const auto& keys = PlainKeys();
    std::vector<BYTE> buffer;
    for (auto _ : state) {
        buffer.resize(keys.size() * kRecordBytes);
        BYTE* p = buffer.data();
        for (const PlainKey& k : keys) {
            PutRecord(p, k);
            p += kRecordBytes;
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
}

void BM_ArchiveLoad_Library(benchmark::State& state) {
    std::vector<BYTE> bytes = StoreArchive();
    for (auto _ : state) {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        CArchive ar(&file, CArchive::load);
        auto list = std::make_unique<CKivObList>();
        list->Serialize(ar);
        benchmark::DoNotOptimize(list->GetCount());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
}

void BM_ArchiveLoad_Baseline(benchmark::State& state) {
    std::vector<BYTE> bytes(PlainKeys().size() * kRecordBytes);
    for (size_t i = 0; i < PlainKeys().size(); ++i) PutRecord(bytes.data() + i * kRecordBytes, PlainKeys()[i]);
    std::vector<PlainKey> out;
    for (auto _ : state) {
        out.clear();
        size_t at = 0;
        while (at < bytes.size()) {
            if (bytes.size() - at < kRecordBytes) throw std::runtime_error("short record");
            const BYTE* p = bytes.data() + at;
            PlainKey k;
            k.restore = static_cast<short>(p[2] | (p[3] << 8));
            k.location = KivGetF64(p + 4);
            k.insKind = p[14] | (p[15] << 8);
            k.frame = KivGetI32(p + 16);
            k.value = KivGetF32(p + 22);
            k.foreValue = KivGetF32(p + 26);
            k.forePos = KivGetF64(p + 34);
            k.afterValue = KivGetF32(p + 42);
            k.afterPos = KivGetF64(p + 50);
            out.push_back(k);
            at += kRecordBytes;
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
}

// ---- XML ----

std::string StoreXmlText() {
    CKivXMLDOMDocObj doc;
    doc.CreateNew(L"KivFXProject");
    LibraryList().SerializeXML(&doc, doc.GetRootNode());
    return doc.GetXMLUtf8();
}

void BM_XmlStore_Library(benchmark::State& state) {
    CKivObList& list = LibraryList();
    for (auto _ : state) {
        CKivXMLDOMDocObj doc;
        doc.CreateNew(L"KivFXProject");
        list.SerializeXML(&doc, doc.GetRootNode());
        std::string text = doc.GetXMLUtf8();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
}

template <class T>
void SetNumber(pugi::xml_node node, const char* name, T value) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf - 1, value);
    *r.ptr = '\0';
    node.append_attribute(name).set_value(buf);
}

void SetBlock(pugi::xml_node node, const char* name, float v, double pos) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    BYTE raw[16] = {};
    KivPutF32(raw, v);
    KivPutF64(raw + 8, pos);
    char text[25];
    int o = 0;
    for (int i = 0; i < 15; i += 3) {
        const DWORD n = (raw[i] << 16) | (raw[i + 1] << 8) | raw[i + 2];
        text[o++] = kAlphabet[(n >> 18) & 63];
        text[o++] = kAlphabet[(n >> 12) & 63];
        text[o++] = kAlphabet[(n >> 6) & 63];
        text[o++] = kAlphabet[n & 63];
    }
    const DWORD n = raw[15] << 16;
    text[o++] = kAlphabet[(n >> 18) & 63];
    text[o++] = kAlphabet[(n >> 12) & 63];
    text[o++] = '=';
    text[o++] = '=';
    text[o] = '\0';
    node.append_attribute(name).set_value(text);
}

void BuildPugiTree(pugi::xml_document& doc) {
    pugi::xml_node list = doc.append_child("KivFXProject").append_child("CKivObList");
    SetNumber(list, "Count", kKeyFrames);
    for (const PlainKey& k : PlainKeys()) {
        pugi::xml_node item = list.append_child("Item");
        item.append_attribute("Class").set_value("CKivFXValueKeyFrm");
        pugi::xml_node value = item.append_child("CKivFXEmitTriangleKeyFrm");
        value.append_attribute("Version").set_value("0");
        pugi::xml_node data = value.append_child("DataMember");
        SetNumber(data, "Value", k.value);
        SetBlock(data, "PtFore", k.foreValue, k.forePos);
        SetBlock(data, "PtAfter", k.afterValue, k.afterPos);
        pugi::xml_node ins = value.append_child("BaseObject").append_child("CKivFXInsValueKeyFrm");
        ins.append_attribute("Version").set_value("0");
        pugi::xml_node insData = ins.append_child("DataMember");
        SetNumber(insData, "InsKind", static_cast<short>(k.insKind));
        SetNumber(insData, "Frame", k.frame);
        pugi::xml_node root = ins.append_child("BaseObject").append_child("CKivFXBaseKeyFrm");
        root.append_attribute("Version").set_value("0");
        pugi::xml_node rootData = root.append_child("DataMember");
        SetNumber(rootData, "Restore", k.restore);
        SetNumber(rootData, "Location", k.location);
        root.append_child("BaseObject");
    }
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

void BM_XmlStore_Pugixml(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document doc;
        BuildPugiTree(doc);
        StringWriter w;
        doc.save(w, "  ");
        benchmark::DoNotOptimize(w.text.data());
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
}

void BM_XmlLoad_Library(benchmark::State& state) {
    const std::string text = StoreXmlText();
    for (auto _ : state) {
        CKivXMLDOMDocObj doc;
        if (!doc.LoadXMLUtf8(text)) throw std::runtime_error("parse");
        auto list = std::make_unique<CKivObList>();
        list->SerializeXML(&doc, doc.GetRootNode());
        benchmark::DoNotOptimize(list->GetCount());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
}

template <class T>
T GetNumber(pugi::xml_node node, const char* name) {
    const char* text = node.attribute(name).value();
    T v{};
    std::from_chars(text, text + std::strlen(text), v);
    return v;
}

void BM_XmlLoad_Pugixml(benchmark::State& state) {
    const std::string text = StoreXmlText();
    std::vector<PlainKey> out;
    for (auto _ : state) {
        pugi::xml_document doc;
        if (!doc.load_buffer(text.data(), text.size())) throw std::runtime_error("parse");
        out.clear();
        for (pugi::xml_node item : doc.child("KivFXProject").child("CKivObList").children("Item")) {
            pugi::xml_node value = item.child("CKivFXEmitTriangleKeyFrm");
            pugi::xml_node ins = value.child("BaseObject").child("CKivFXInsValueKeyFrm");
            pugi::xml_node root = ins.child("BaseObject").child("CKivFXBaseKeyFrm");
            PlainKey k{};
            k.value = GetNumber<float>(value.child("DataMember"), "Value");
            benchmark::DoNotOptimize(value.child("DataMember").attribute("PtFore").value());
            benchmark::DoNotOptimize(value.child("DataMember").attribute("PtAfter").value());
            k.insKind = GetNumber<int>(ins.child("DataMember"), "InsKind");
            k.frame = GetNumber<int>(ins.child("DataMember"), "Frame");
            k.restore = GetNumber<int>(root.child("DataMember"), "Restore");
            k.location = GetNumber<double>(root.child("DataMember"), "Location");
            out.push_back(k);
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * kKeyFrames);
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
BENCHMARK_MAIN();
