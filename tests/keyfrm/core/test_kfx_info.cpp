// `kfx info` on a project holding a sample of every registered class: the JSON it prints
// carries every stored value (a project rebuilt from it alone equals the file's), the text
// shows blocks by their named parts, and a refused XML file is reported with where and why.
#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <typeinfo>

#include <pugixml.hpp>

#include "KfxProject.h"
#include "fuzz/common/KivFuzzSamples.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "kivbase/CKivColor32Array.h"
#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivBytes.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"
#include "support/KfxProgram.h"
#include "support/MiniJson.h"

using kfxtest::Json;

namespace {

template <class T>
T NumberOf(const Json& j) {
    T v{};
    const std::string& t = j.text;  // NaN and infinities come as strings, spelled as std::to_chars writes them
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v);
    EXPECT_TRUE(r.ec == std::errc() && r.ptr == t.data() + t.size()) << "not a number: " << t;
    return v;
}

template <class T>
std::string Spelled(T v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// A block member from its named parts, through the codec's own reading of its stored image.
void SetBlock(const KivFieldDef& f, void* m, const Json& parts) {
    BYTE image[kKivMaxBlockSize] = {};
    const auto named = KivBlockPartsOf(f);
    ASSERT_FALSE(named.empty()) << f.name << " is shown as bytes";
    ASSERT_EQ(parts.members.size(), named.size()) << f.name;
    for (const KivBlockPart& p : named) {
        const Json* v = parts.Find(p.name);
        ASSERT_TRUE(v) << f.name << "." << p.name;
        BYTE* at = image + p.offset;
        switch (p.type) {
        case KivPartType::i32: KivPutI32(at, NumberOf<LONG>(*v)); break;
        case KivPartType::u32: KivPutU32(at, NumberOf<DWORD>(*v)); break;
        case KivPartType::f32: KivPutF32(at, NumberOf<float>(*v)); break;
        case KivPartType::f64: KivPutF64(at, NumberOf<double>(*v)); break;
        }
    }
    f.unpackBlock(image, m);
}

void SetOwnList(const KivFieldDef& f, void* m, const Json& values) {
    const auto colour = [](const Json& v) { return tagCOLOR32::FromDWORD(NumberOf<DWORD>(v)); };
    const std::type_info& type = *f.custom->type;
    f.custom->reset(m);
    for (size_t i = 0; i < values.items.size(); ++i) {
        const Json& v = values.items[i];
        if (type == typeid(CArray<double>)) {
            static_cast<CArray<double>*>(m)->SetAtGrow(static_cast<INT_PTR>(i), NumberOf<double>(v));
        } else if (type == typeid(CArray<tagCOLOR32>)) {
            static_cast<CArray<tagCOLOR32>*>(m)->SetAtGrow(static_cast<INT_PTR>(i), colour(v));
        } else {
            ASSERT_TRUE(type == typeid(CKivColor32Array)) << f.name << ": a list of a type this test does not know";
            const tagCOLOR32 c = colour(v);
            static_cast<CKivColor32Array*>(m)->Add(&c, 1);
        }
    }
}

void SetField(const KivFieldDef& f, CObject& object, const Json& v) {
    void* m = f.At(&object);
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: KivSetInt(f, m, NumberOf<std::int64_t>(v)); break;
    case KivMember::f32: *static_cast<float*>(m) = NumberOf<float>(v); break;
    case KivMember::f64: *static_cast<double*>(m) = NumberOf<double>(v); break;
    case KivMember::wstr: *static_cast<CString*>(m) = CString::FromUtf8(v.text); break;
    case KivMember::block: SetBlock(f, m, v); break;
    case KivMember::custom: SetOwnList(f, m, v); break;
    }
}

// An object made from nothing but its JSON: the class, every stored field, the elements.
std::unique_ptr<CObject> Rebuild(const Json& j) {
    if (j.type == Json::Type::null) return nullptr;
    const Json* cls = j.Find("class");
    const Json* fields = j.Find("fields");
    EXPECT_TRUE(cls && fields);
    if (!cls || !fields) return nullptr;
    const CRuntimeClass* rc = KivFuzzFindClass(cls->text);
    EXPECT_TRUE(rc) << cls->text;
    if (!rc) return nullptr;
    std::unique_ptr<CObject> object = KivFuzzCreate(rc);
    size_t stored = 0;
    for (const KivClassLevel* level : KivLevelChain(rc))
        for (const KivFieldDef& f : level->fields) {
            if (!f.IsStored()) continue;
            ++stored;
            const Json* v = fields->Find(f.name);
            EXPECT_TRUE(v) << cls->text << " has no " << f.name;
            if (v) SetField(f, *object, *v);
        }
    EXPECT_EQ(fields->members.size(), stored) << cls->text << ": one member per stored field, no name twice";
    if (const Json* elements = j.Find("elements")) {
        auto& list = static_cast<CObList&>(*object);
        for (const Json& e : elements->items) list.AddTail(Rebuild(e).release());
    }
    return object;
}

class KfxInfoOnSamples : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new std::filesystem::path(std::filesystem::temp_directory_path() / ("kfx-info-test-" + std::to_string(getpid())));
        std::filesystem::create_directories(*s_dir);
        s_project = KivFuzzSampleProject().release();
        KfxSave(Path("samples.kfa"), *s_project);
    }
    static void TearDownTestSuite() {
        std::filesystem::remove_all(*s_dir);
        delete s_dir;
        delete s_project;
    }
    static std::string Path(const char* name) { return (*s_dir / name).string(); }

    static std::filesystem::path* s_dir;
    static CKivObList* s_project;
};

std::filesystem::path* KfxInfoOnSamples::s_dir = nullptr;
CKivObList* KfxInfoOnSamples::s_project = nullptr;

}  // namespace

TEST_F(KfxInfoOnSamples, TheJsonRebuildsTheProjectExactly) {
    const kfxtest::KfxRun run = kfxtest::Kfx("info --json " + Path("samples.kfa"));
    ASSERT_EQ(run.status, 0);
    const std::optional<Json> doc = kfxtest::ParseJson(run.out);
    ASSERT_TRUE(doc) << "not a JSON document:\n" << run.out.substr(0, 2000);
    const Json* file = doc->Find("file");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->text, Path("samples.kfa"));
    const Json* objects = doc->Find("objects");
    ASSERT_TRUE(objects);
    CKivObList rebuilt;
    for (const Json& o : objects->items) rebuilt.AddTail(Rebuild(o).release());
    EXPECT_EQ(rebuilt.Compare(s_project), 0) << "every stored value of every class, blocks and lists included";
}

TEST_F(KfxInfoOnSamples, TheTextShowsHandlesAndPointsByTheirParts) {
    const kfxtest::KfxRun run = kfxtest::Kfx("info " + Path("samples.kfa"));
    ASSERT_EQ(run.status, 0);
    int handles = 0;
    const auto expect = [&](const std::string& line) {
        ++handles;
        EXPECT_NE(run.out.find(line), std::string::npos) << line;
    };
    for (POSITION pos = s_project->GetHeadPosition(); pos;) {
        const CObject& o = *s_project->GetNext(pos);
        if (o.IsKindOf(RUNTIME_CLASS(CKivFXValueKeyFrm))) {
            const auto& k = static_cast<const CKivFXValueKeyFrm&>(o);
            for (const auto& [name, h] : {std::pair{"PtFore", k.PtFore}, std::pair{"PtAfter", k.PtAfter}})
                expect(std::string(name) + " = {ValueOffset = " + Spelled(h.ValueOffset) + ", PosOffset = " + Spelled(h.PosOffset) + "}");
        } else if (o.IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrm))) {
            const auto& k = static_cast<const CKivFXPosiKeyFrm&>(o);
            for (const auto& [name, h] : {std::pair{"Fore", k.Fore}, std::pair{"After", k.After}})
                expect(std::string(name) + " = {X = " + Spelled(h.X) + ", Y = " + Spelled(h.Y) + ", Z = " + Spelled(h.Z) + "}");
        }
    }
    EXPECT_GT(handles, 0) << "the samples hold value and position keyframes";
    const std::regex bytes(R"(= [0-9A-F]{2}( [0-9A-F]{2})+\n)");
    EXPECT_FALSE(std::regex_search(run.out, bytes)) << "every block of the library has a codec that names its parts";
}

TEST(KfxInfo, ARefusedXmlFileSaysWhereAndWhy) {
    struct Case {
        const char* what;
        const char* text;
        int line;
        const char* says;  // besides the parser's description, when it has one
    };
    const Case cases[] = {
        {"a mistyped end tag", "<KivFXProject>\n  <CKivObList Count=\"0\">\n  </CKivObLst>\n</KivFXProject>\n", 3, ""},
        {"an unclosed start tag", "<KivFXProject>\n  <CKivObList Count=\"0\"\n</KivFXProject>\n", 3, ""},
        {"an attribute twice", "<KivFXProject>\n\n  <CKivObList Count=\"0\" Count=\"1\"/>\n</KivFXProject>\n", 3,
         "two attributes named 'Count'"},
    };
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("kfx-info-xml-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    for (const Case& c : cases) {
        const std::string path = (dir / "bad.xml").string();
        std::ofstream(path, std::ios::binary) << c.text;
        const kfxtest::KfxRun run = kfxtest::KfxErrors("info " + path);
        EXPECT_EQ(run.status, 2) << c.what;
        EXPECT_NE(run.out.find("line " + std::to_string(c.line) + ", column "), std::string::npos) << c.what << ": " << run.out;
        pugi::xml_document parser;
        const pugi::xml_parse_result r = parser.load_string(c.text);
        const std::string says = r ? c.says : r.description();
        EXPECT_NE(run.out.find(says), std::string::npos) << c.what << ": " << run.out;
    }
    std::filesystem::remove_all(dir);
}
