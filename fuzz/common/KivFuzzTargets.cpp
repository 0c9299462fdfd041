#include "fuzz/common/KivFuzzTargets.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <set>

#include "KfxProject.h"
#include "keyfrm/interop/KivFXInterop.h"
#include "fuzz/common/KivFuzzSamples.h"
#include "kivbase/persist/KivPersist.h"
#include "platform/fw/CFile.h"

#if __has_include("keyfrm/softfx/CKivSoftFXMovieKeyFrm.h")
#include "keyfrm/softfx/CKivSoftFXMovieKeyFrm.h"
#include "kivbase/KivMemBlock.h"
#include "kivbase/KivSystem.h"
#include <unistd.h>
#define KIVFUZZ_HAVE_MOVIE 1
#else
#define KIVFUZZ_HAVE_MOVIE 0
#endif

namespace {

using Bytes = std::vector<std::uint8_t>;
using Input = std::span<const std::uint8_t>;

[[noreturn]] void Finding(const std::string& what) { throw KivFuzzFinding(what); }

std::string ClassName(const CObject& o) { return o.GetRuntimeClass()->m_lpszClassName; }

// ---- input helpers ----

// Splits "ClassName\n<data>" into the class and the data; null class when there is no
// selector or no registered class of that name.
const CRuntimeClass* SplitSelector(Input data, Input& rest) {
    const auto end = std::find(data.begin(), data.end(), kKivFuzzSelectorEnd);
    if (end == data.end()) return nullptr;
    const std::string name(data.begin(), end);
    rest = data.subspan(static_cast<size_t>(end - data.begin()) + 1);
    return KivFuzzFindClass(name);
}

Bytes WithSelector(const CRuntimeClass* cls, const Bytes& data) {
    Bytes out(cls->m_lpszClassName, cls->m_lpszClassName + std::strlen(cls->m_lpszClassName));
    out.push_back(kKivFuzzSelectorEnd);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

Bytes TextBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Runs load on an archive reading exactly the input's bytes (a copy of its own, so that
// reading one byte too far is a sanitizer report).
template <class F>
void LoadFrom(Input data, F load) {
    Bytes copy(data.begin(), data.end());
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load);
    load(ar);
}

}  // namespace

// ---- oracles ----

void KivFuzzExpectArchiveRoundTrip(const CObject& object) {
    Bytes stored;
    try {
        stored = KivFuzzStoreObject(&object);
    } catch (const CException& e) {
        Finding("a loaded " + ClassName(object) + " cannot be stored: " + e.what());
    }
    std::unique_ptr<CObject> back;
    try {
        LoadFrom(stored, [&](CArchive& ar) { back.reset(ar.ReadObject(nullptr)); });
    } catch (const CException& e) {
        Finding("a stored " + ClassName(object) + " does not load back: " + e.what());
    }
    if (!back || KivFuzzCompare(object, *back) != 0) Finding("a stored " + ClassName(object) + " loads back different");
}

void KivFuzzExpectXmlRoundTrip(CObject& object) {
    const std::string text = KivFuzzStoreXml(object);
    CKivXMLDOMDocObj doc;
    if (!doc.LoadXMLUtf8(text)) Finding("the XML of a loaded " + ClassName(object) + " does not parse:\n" + text);
    std::unique_ptr<CObject> back = KivFuzzCreate(object.GetRuntimeClass());
    try {
        KivFuzzSerializeXML(*back, &doc, doc.GetRootNode());
    } catch (const CException& e) {
        Finding("the XML of a loaded " + ClassName(object) + " does not load back: " + e.what() + "\n" + text);
    }
    if (KivFuzzCompare(object, *back) != 0) Finding("the XML of a loaded " + ClassName(object) + " loads back different:\n" + text);
}

namespace {

// ---- targets ----

// ReadObject as hosts read one keyframe or effect object (`ar >> pObject`).
KivFuzzResult ArchiveObject(Input data) {
    std::unique_ptr<CObject> object;
    try {
        LoadFrom(data, [&](CArchive& ar) { object.reset(ar.ReadObject(RUNTIME_CLASS(CKivObject))); });
    } catch (const CArchiveException&) {
        return KivFuzzResult::refused;
    }
    if (object) KivFuzzExpectArchiveRoundTrip(*object);
    return KivFuzzResult::accepted;
}

// A list's own Serialize; after a refusal the list keeps what it read and must stay usable.
KivFuzzResult LoadList(CObject& list, Input data) {
    KivFuzzResult result = KivFuzzResult::accepted;
    try {
        LoadFrom(data, [&](CArchive& ar) { list.Serialize(ar); });
    } catch (const CArchiveException&) {
        result = KivFuzzResult::refused;
    }
    KivFuzzExpectArchiveRoundTrip(list);
    return result;
}

KivFuzzResult ObjectList(Input data) {
    CKivObList list;
    return LoadList(list, data);
}

KivFuzzResult ListClass(Input data) {
    Input rest;
    const CRuntimeClass* cls = SplitSelector(data, rest);
    if (!cls || !cls->IsDerivedFrom(RUNTIME_CLASS(CKivObList))) return KivFuzzResult::skipped;
    std::unique_ptr<CObject> list = KivFuzzCreate(cls);
    return LoadList(*list, rest);
}

KivFuzzResult XmlClass(Input data) {
    Input rest;
    const CRuntimeClass* cls = SplitSelector(data, rest);
    if (!cls) return KivFuzzResult::skipped;
    std::unique_ptr<CObject> object = KivFuzzCreate(cls);
    CKivXMLDOMDocObj doc;
    if (!doc.LoadXMLBytes(rest.data(), rest.size())) return KivFuzzResult::refused;
    KivFuzzResult result = KivFuzzResult::accepted;
    try {
        KivFuzzSerializeXML(*object, &doc, doc.GetRootNode());
    } catch (const CArchiveException&) {
        result = KivFuzzResult::refused;  // lists refuse unknown classes and deep nesting
    }
    KivFuzzExpectXmlRoundTrip(*object);
    return result;
}

// kfx convert in memory: what loads must save in the other format, that file must load,
// and saving what it gave must give the same file again.
KivFuzzResult KfxConvert(Input data) {
    if (data.empty()) return KivFuzzResult::skipped;
    const bool fromXml = data[0] == kKivFuzzXmlSelector;
    const KfxFormat in = fromXml ? KfxFormat::xml : KfxFormat::archive;
    const KfxFormat out = fromXml ? KfxFormat::archive : KfxFormat::xml;
    CKivObList list;
    try {
        KfxLoadBytes("input", in, data.subspan(1), list);
    } catch (const KfxError&) {
        return KivFuzzResult::refused;
    }
    try {
        const Bytes first = KfxSaveBytes("output", out, list);
        CKivObList back;
        KfxLoadBytes("output", out, first, back);
        if (KfxSaveBytes("again", out, back) != first) Finding("converting the converted file again gives another file");
    } catch (const KfxError& e) {
        Finding(std::string("a loaded project does not convert: ") + e.what());
    }
    return KivFuzzResult::accepted;
}

std::vector<KivFuzzSeed> ArchiveObjectSeeds() {
    std::vector<KivFuzzSeed> out;
    for (const CRuntimeClass* cls : KivFuzzObjectClasses()) {
        const std::unique_ptr<CObject> sample = KivFuzzSample(cls);
        out.push_back({cls->m_lpszClassName, KivFuzzStoreObject(sample.get())});
    }
    return out;
}

std::vector<KivFuzzSeed> ObjectListSeeds() {
    std::vector<KivFuzzSeed> out;
    for (const CRuntimeClass* cls : KivFuzzObjectClasses()) {
        CKivObList list;
        for (int i = 0; i < kKivFuzzSampleKeyframes; ++i) {
            std::unique_ptr<CObject> sample = KivFuzzSample(cls, i);
            list.AddTail(sample.get());
            sample.release();
        }
        out.push_back({cls->m_lpszClassName, KivFuzzStoreRecord(list)});
    }
    out.push_back({"project", KivFuzzStoreRecord(*KivFuzzSampleProject())});
    return out;
}

std::vector<KivFuzzSeed> ListClassSeeds() {
    std::vector<KivFuzzSeed> out;
    for (const CRuntimeClass* cls : KivFuzzListClasses()) {
        const std::unique_ptr<CObject> sample = KivFuzzSample(cls);
        out.push_back({cls->m_lpszClassName, WithSelector(cls, KivFuzzStoreRecord(*sample))});
    }
    return out;
}

std::vector<KivFuzzSeed> XmlClassSeeds() {
    std::vector<KivFuzzSeed> out;
    for (const CRuntimeClass* cls : KivFuzzAllClasses()) {
        const std::unique_ptr<CObject> sample = KivFuzzSample(cls);
        out.push_back({cls->m_lpszClassName, WithSelector(cls, TextBytes(KivFuzzStoreXml(*sample)))});
    }
    return out;
}

std::vector<KivFuzzSeed> KfxConvertSeeds() {
    std::vector<KivFuzzSeed> out;
    const std::unique_ptr<CKivObList> project = KivFuzzSampleProject();
    for (const KfxFormat format : {KfxFormat::archive, KfxFormat::xml}) {
        Bytes file{format == KfxFormat::xml ? kKivFuzzXmlSelector : std::uint8_t{'a'}};
        const Bytes saved = KfxSaveBytes("seed", format, *project);
        file.insert(file.end(), saved.begin(), saved.end());
        out.push_back({format == KfxFormat::xml ? "project.xml" : "project.kfa", std::move(file)});
    }
    return out;
}

// A colour or rectangle string imported as `kfx import --from mlt` finds its kind: a
// refusal names its fault's position, a track stays within the tolerance it reports.
KivFuzzResult MltImportTrack(const std::string& text, int frames, KivFXMltForm form) {
    const KivFXMltImportedTrack in = form == KivFXMltForm::colour ? KivFXMltImportColour(text, frames) : KivFXMltImportRect(text, frames);
    if (!in.Ok()) {
        if (in.error.empty() || in.position > text.size()) Finding("a refused string without a fault's position: " + in.error);
        return KivFuzzResult::refused;
    }
    if (!(in.largestDifference <= in.tolerance * (1.0 + 1e-9))) Finding("an import misses MLT by more than its tolerance: " + text);
    return KivFuzzResult::accepted;
}

// An MLT animation string imported as `kfx import --from mlt` does: two bytes give the
// story's length (1 to 65536 frames), the rest is the string. What is read must come back
// the same from its own spelling (a float as the same float), and the track must stay within
// the tolerance it reports.
KivFuzzResult MltImport(Input data) {
    if (data.size() < 2) return KivFuzzResult::skipped;
    const int frames = 1 + (data[0] | (data[1] << 8));
    const std::string text(data.begin() + 2, data.end());
    if (const KivFXMltForm form = KivFXMltDetectForm(text); form != KivFXMltForm::scalar) return MltImportTrack(text, frames, form);
    const KivFXMltImported in = KivFXMltImport(text, frames);
    if (!in.Ok()) {
        if (in.error.empty() || in.position > text.size()) Finding("a refused string without a fault's position: " + in.error);
        return KivFuzzResult::refused;
    }
    if (!(in.largestDifference <= in.tolerance * (1.0 + 1e-9))) Finding("an import misses MLT by more than its tolerance: " + text);
    const KivFXMltParsed keys = KivFXMltParse(text, frames);
    bool ahead = true;  // negative frames would be read from the story's end again
    for (const KivFXMltKey& k : keys.keys) ahead = ahead && k.frame >= 0;
    if (ahead) {
        // A value that is a float is written as that float's shortest text, which reads back
        // to the float (the precision tracks keep), not always to the same double.
        const auto readsBack = [](double was, double now) {
            const bool isFloat = std::fabs(was) <= FLT_MAX && static_cast<double>(static_cast<float>(was)) == was;
            return now == was || (isFloat && static_cast<float>(now) == static_cast<float>(was));
        };
        const KivFXMltParsed again = KivFXMltParse(KivFXMltFormat(keys.keys), frames);
        bool same = again.Ok() && again.keys.size() == keys.keys.size();
        for (std::size_t i = 0; same && i < keys.keys.size(); ++i)
            same = again.keys[i].frame == keys.keys[i].frame && again.keys[i].kind == keys.keys[i].kind &&
                   readsBack(keys.keys[i].value, again.keys[i].value);
        if (!same) Finding("the spelling of a read string reads back different: " + text);
    }
    return KivFuzzResult::accepted;
}

std::vector<KivFuzzSeed> MltImportSeeds() {
    std::vector<KivFuzzSeed> out;
    int n = 0;
    for (const char* text : {"0=0;25~=10;50|=3", "0~=-5.5;10~=20;30~=1e2;99=0", "-1=5;0=0;7|=2", "  42", "0=50%;3=\"7\";", "0=1;5!=2",
                             "0~=#ff000000;20~=#80ff8000;50|=\"#123456\";99=#00000000", "0=10 20 30 40;30~=-5/7.5:10x10:50%;60|=1e2 3;99=0 0"}) {
        Bytes bytes{100, 0};
        bytes.insert(bytes.end(), text, text + std::strlen(text));
        out.push_back({"mlt" + std::to_string(n++), std::move(bytes)});
    }
    return out;
}

#if KIVFUZZ_HAVE_MOVIE

// A frame cache file as the movie keyframe writes it: width, height, then the pixels.
Bytes CacheFile(int width, int height) {
    Bytes out;
    for (const int v : {width, height})
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(static_cast<unsigned>(v) >> (8 * i)));
    for (int i = 0; i < width * height * 4; ++i) out.push_back(static_cast<std::uint8_t>(i * 37));
    return out;
}

// Where the picture is drawn: partly outside the target, so that clipping is exercised.
constexpr int kTargetSide = 32;
const CRect kPlace(-4, -4, 24, 24);

KivFuzzResult MovieCache(Input data) {
    // Named as a frame cache file (tick, then two numbers), so the keyframe removes it.
    const CString path = CKivSoftFXMovieKeyFrm::MakeFrameFileName(KivGetTempFilePath(), static_cast<DWORD>(getpid()), 0, 0);
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.Write(data.data(), static_cast<UINT>(data.size()));
    }
    CKivMemBlock target;
    if (!target.InitBlock(CSize(kTargetSide, kTargetSide), nullptr, 0)) AfxThrowMemoryException();
    CKivSoftFXMovieKeyFrm keyframe;  // its destructor removes the file
    keyframe.MovieKFMFile = path;
    return keyframe.GetOneFrameFromFile(&target, kPlace) ? KivFuzzResult::accepted : KivFuzzResult::refused;
}

std::vector<KivFuzzSeed> MovieCacheSeeds() {
    return {{"3x2", CacheFile(3, 2)}, {"40x40", CacheFile(40, 40)}, {"1x1", CacheFile(1, 1)}};
}

#else

KivFuzzResult MovieCache(Input) { return KivFuzzResult::skipped; }
std::vector<KivFuzzSeed> MovieCacheSeeds() { return {}; }

#endif

const KivFuzzTarget kTargets[] = {
    {"archive_object", ArchiveObject, ArchiveObjectSeeds, true},
    {"object_list", ObjectList, ObjectListSeeds, true},
    {"list_class", ListClass, ListClassSeeds, true},
    {"xml_class", XmlClass, XmlClassSeeds, true},
    {"kfx_convert", KfxConvert, KfxConvertSeeds, true},
    {"mlt_import", MltImport, MltImportSeeds, true},
    {"movie_cache", MovieCache, MovieCacheSeeds, KIVFUZZ_HAVE_MOVIE != 0},
};

// ---- dictionaries ----

std::string Quoted(const std::string& bytes) {
    std::string out = "\"";
    for (const unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}

std::string Word(WORD w) { return {static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)}; }

// The object format's tags and escapes, and each class's record.
void AddArchiveWords(std::set<std::string>& words) {
    for (const WORD tag : {0xFFFF, 0x8000, 0x8001, 0x8002, 0x7FFF, 0x0001, 0x0002, 0xFFFE})
        words.insert(Word(static_cast<WORD>(tag)));
    using namespace std::string_literals;
    for (const std::string& escape : {"\xFF\xFF\xFF\xFF"s, "\xFF\xFF\xFF\x7F"s, "\x00\x00\x00\x80"s, "\x01\x00\x00\x80"s,
                                      "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"s, "\xFF\xFE\xFF"s})
        words.insert(escape);
    for (const CRuntimeClass* cls : KivFuzzAllClasses()) {
        const std::string name = cls->m_lpszClassName;
        words.insert(Word(0xFFFF) + Word(cls->m_wSchema) + Word(static_cast<WORD>(name.size())) + name);
    }
}

void AddXmlWords(std::set<std::string>& words) {
    for (const char* w : {"DataMember", "BaseObject", "Version", "CKivObList", "Item", "Class", "Count", "<!DOCTYPE",
                          "<!ENTITY", "&#", "&amp;", "=\"", "\"/>", "</", "nan", "-nan", "inf", "1e400", "-1",
                          "4294967295", "0x", "\xEF\xBB\xBF"})
        words.insert(w);
    for (const CRuntimeClass* cls : KivFuzzAllClasses())
        for (const KivClassLevel* level : KivLevelChain(cls)) {
            words.insert(level->element);
            for (const KivFieldDef& f : level->fields) words.insert(f.name);
        }
}

}  // namespace

std::span<const KivFuzzTarget> KivFuzzTargets() { return kTargets; }

const KivFuzzTarget* KivFuzzFindTarget(std::string_view name) {
    for (const KivFuzzTarget& t : kTargets)
        if (name == t.name) return &t;
    return nullptr;
}

std::vector<std::string> KivFuzzDictionary(const KivFuzzTarget& target) {
    const std::string name = target.name;
    std::set<std::string> words;
    if (name == "archive_object" || name == "object_list" || name == "list_class" || name == "kfx_convert")
        AddArchiveWords(words);
    if (name == "xml_class" || name == "kfx_convert") AddXmlWords(words);
    if (name == "movie_cache")
        for (const DWORD v : {0u, 1u, 2u, 0x7FFFu, 0x8000u, 0x10000u, 0x10001u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu})
            words.insert(Word(static_cast<WORD>(v & 0xFFFF)) + Word(static_cast<WORD>(v >> 16)));
    if (name == "mlt_import")
        for (const char* w : {"=", "|=", "~=", "!=", "$=", "-=", ";", "%", "\"", "e-", "-1=", "1073741822", "0.5", "1e38"}) words.insert(w);
    if (name == "list_class" || name == "xml_class")
        for (const CRuntimeClass* cls : KivFuzzAllClasses()) words.insert(std::string(cls->m_lpszClassName) + "\n");
    std::vector<std::string> lines;
    int i = 0;
    for (const std::string& w : words) lines.push_back("kw" + std::to_string(i++) + "=" + Quoted(w));
    return lines;
}
