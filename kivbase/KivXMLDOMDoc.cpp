#include "kivbase/KivXMLDOMDoc.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "kivbase/KivPugiHandles.h"
#include "kivbase/KivXMLNameSequence.h"
#include "kivbase/KivXMLValueText.h"
#include "platform/fw/CException.h"

namespace {

// Entities are never expanded; a DOCTYPE is parsed only so that it can be seen and refused.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_doctype;
constexpr const char* kIndent = "\t";

pugi::xml_node Node(IXMLDOMNode* p) { return pugi::xml_node(p); }

// Attributes compared pairwise up to this many; more are taken as runs of indexed names
// (below), and failing that go through a table of their names, so that an element with a
// great many attributes (a long list) costs time in proportion.
constexpr size_t kPairwiseAttributes = 16;

// Most runs and most other names an element may have for its names to be told apart by
// comparing runs: a list level writes one run and its count, so a handful is ample, and the
// comparisons of that many among themselves stay below the table's cost.
constexpr size_t kMaxRuns = 16;

// Names this thread has put through the table (KivXmlNamesHashed); per thread, so that
// counting needs neither a lock nor an atomic.
[[gnu::tls_model("initial-exec")]] thread_local long t_namesHashed = 0;

// The name that two attributes of the element share, or null.
const char* DuplicateAttributeHashed(const pugi::xml_node& element) {
    size_t count = 0;
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) ++count;
    // Open addressing, at most half full, so that a probe meets a free slot soon; names are
    // compared only when their hashes are equal.
    struct Slot {
        size_t hash;
        const char* name;
    };
    const size_t mask = std::bit_ceil(2 * count) - 1;
    std::vector<Slot> slots(mask + 1, Slot{0, nullptr});
    for (pugi::xml_attribute a = element.first_attribute(); a; a = a.next_attribute()) {
        const char* name = a.name();
        ++t_namesHashed;
        const size_t hash = std::hash<std::string_view>{}(name);
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            if (!slots[i].name) {
                slots[i] = {hash, name};
                break;
            }
            if (slots[i].hash == hash && std::strcmp(slots[i].name, name) == 0) return name;
        }
    }
    return nullptr;
}

// Indexed names (KivXmlSplitIndexedName) of one stem whose indices rise by one from first
// to last: distinct among themselves, wherever other attributes stand between them.
struct NameRun {
    const char* stem;
    size_t stemLength;
    unsigned long long first;
    unsigned long long last;
};

bool Overlap(const NameRun& a, const NameRun& b) {
    return a.stemLength == b.stemLength && std::memcmp(a.stem, b.stem, a.stemLength) == 0 && a.first <= b.last &&
           b.first <= a.last;
}

// True when the element's attribute names are proven distinct as runs of indexed names plus
// a few names of any other kind, which is how a list's values are written: each name is
// compared with the next one its run expects, and then only the runs' ranges and the other
// names are compared among themselves. Two names split the same way only when they are
// equal, so a name that does not split never equals one in a run. False when a name may be
// used twice, or when the element holds too many runs or other names to tell by this.
bool DistinctByRuns(const pugi::xml_node& element) {
    NameRun runs[kMaxRuns];
    size_t runCount = 0;
    const char* others[kMaxRuns];
    size_t otherCount = 0;
    KivXmlNameSequence next;  // the name that continues the latest run
    for (pugi::xml_attribute a = element.first_attribute(); KivPugiPresent(a); a = a.next_attribute()) {
        const char* name = a.name();
        if (next.Match(name) >= 0) {
            ++runs[runCount - 1].last;
            continue;
        }
        size_t stemLength = 0;
        unsigned long long index = 0;
        if (!KivXmlSplitIndexedName(name, stemLength, index)) {
            if (otherCount == kMaxRuns) return false;
            others[otherCount++] = name;
        } else {
            if (runCount == kMaxRuns) return false;
            runs[runCount++] = {name, stemLength, index, index};
            next.Start(name, stemLength, index + 1);
        }
    }
    for (size_t i = 1; i < otherCount; ++i)
        for (size_t j = 0; j < i; ++j)
            if (std::strcmp(others[i], others[j]) == 0) return false;
    for (size_t i = 1; i < runCount; ++i)
        for (size_t j = 0; j < i; ++j)
            if (Overlap(runs[i], runs[j])) return false;
    return true;
}

// XML allows one attribute of a name per element; the parser does not check it, and a
// second value would otherwise be silently ignored. Most elements have one attribute or
// none, which costs no name comparison at all. Returns the name used twice, or null.
const char* DuplicateAttribute(const pugi::xml_node& element) {
    const pugi::xml_attribute first = element.first_attribute();
    if (!KivPugiPresent(first)) return nullptr;
    pugi::xml_attribute a = first.next_attribute();
    if (!KivPugiPresent(a)) return nullptr;
    const char* seen[kPairwiseAttributes];
    seen[0] = first.name();
    size_t count = 1;
    for (; KivPugiPresent(a); a = a.next_attribute()) {
        // Only a clear answer is taken from the runs; the name used twice, if any, comes from
        // the table, as it would without them.
        if (count == kPairwiseAttributes) return DistinctByRuns(element) ? nullptr : DuplicateAttributeHashed(element);
        const char* name = a.name();
        for (size_t i = 0; i < count; ++i)
            if (seen[i][0] == name[0] && std::strcmp(seen[i], name) == 0) return name;
        seen[count++] = name;
    }
    return nullptr;
}

// Why a parsed tree is refused, and the node that shows it; no reason when it is accepted.
struct Refusal {
    std::string reason;
    pugi::xml_node at;
};

// Checks the parsed tree: exactly one top-level node, an element (the parser tolerates
// several, or text or a DOCTYPE beside it; it refuses a DOCTYPE anywhere else), no element
// nested deeper than the limit and none with two attributes of one name. The walk is
// iterative (a hostile depth costs no stack), stops at the first refusal, and runs on every
// load: it asks the tree only what it must (text nodes have no attributes or children, and
// only a node beyond the depth limit needs its type).
Refusal CheckTree(pugi::xml_document& doc, int maxDepth) {
    const pugi::xml_node top = doc.first_child();
    if (top.type() != pugi::node_element || top.next_sibling()) {
        for (pugi::xml_node n = doc.first_child(); n; n = n.next_sibling())
            if (n.type() == pugi::node_doctype) return {"a DOCTYPE is not accepted (entities are never expanded)", n};
        const pugi::xml_node second = top.type() == pugi::node_element ? top.next_sibling() : top;
        return {"the document must hold exactly one top-level element", second};
    }
    pugi::xml_node n = top;
    int depth = 1;  // of n: the top element is at 1
    for (;;) {
        if (depth > maxDepth && n.type() == pugi::node_element)
            return {"elements nested deeper than " + std::to_string(maxDepth) + " levels", n};
        if (const char* twice = DuplicateAttribute(n))
            return {"element '" + std::string(n.name()) + "' has two attributes named '" + twice + "'", n};
        if (const pugi::xml_node child = n.first_child(); KivPugiPresent(child)) {
            n = child;
            ++depth;
            continue;
        }
        for (;;) {  // on to the next node in document order, climbing as needed
            if (depth == 1) return {};  // back at the top element
            if (const pugi::xml_node next = n.next_sibling(); KivPugiPresent(next)) {
                n = next;
                break;
            }
            n = n.parent();
            --depth;
        }
    }
}

// Line and column (from 1, the column in bytes) of a byte offset into text.
void LocateOffset(std::string_view text, KivXMLParseError& error) {
    if (error.offset < 0 || static_cast<size_t>(error.offset) > text.size()) return;
    error.line = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i < static_cast<size_t>(error.offset); ++i)
        if (text[i] == '\n') {
            ++error.line;
            lineStart = i + 1;
        }
    error.column = static_cast<int>(static_cast<size_t>(error.offset) - lineStart) + 1;
}

// The description of a load that ran out of memory.
constexpr const char* kOutOfMemory = "out of memory";

// The whole of a file; false (errno set) when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::string& out) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    constexpr size_t kChunk = 1 << 16;  // read in pieces: the size of a pipe is not known beforehand
    bool ok = true;
    for (;;) {
        const size_t had = out.size();
        out.resize(had + kChunk);
        const size_t got = std::fread(out.data() + had, 1, kChunk, f);
        out.resize(had + got);
        if (got < kChunk) {
            ok = !std::ferror(f);
            break;
        }
    }
    const int fault = errno;
    std::fclose(f);
    errno = fault;
    return ok;
}

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

// A name given as wide text, as UTF-8 for pugixml; empty for null.
std::string Utf8Name(LPCWSTR name) { return name ? CString(name).ToUtf8() : std::string(); }

}  // namespace

bool KivXMLIsValidName(const char* name) {
    const auto start = [](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
    };
    if (!name || !start(static_cast<unsigned char>(*name))) return false;
    for (const char* p = name + 1; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (!start(c) && !(c >= '0' && c <= '9') && c != '-' && c != '.') return false;
    }
    return true;
}

CKivXMLDOMDocObj::CKivXMLDOMDocObj() : m_doc(std::make_unique<pugi::xml_document>()) {}

CKivXMLDOMDocObj::~CKivXMLDOMDocObj() = default;

BOOL CKivXMLDOMDocObj::CreateNew(LPCWSTR rootName) {
    m_doc->reset();
    m_storing = 0;
    try {
        const std::string name = Utf8Name(rootName);
        if (!KivXMLIsValidName(name.c_str()) || !m_doc->append_child(name.c_str())) return FALSE;
        m_storing = 1;
        return TRUE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL CKivXMLDOMDocObj::Refuse(const char* description) noexcept {
    m_storing = 0;
    m_doc->reset();
    m_error = KivXMLParseError();
    try {
        m_error.description = description;
    } catch (const std::bad_alloc&) {
        m_error.description = kOutOfMemory;  // short enough to need no memory of its own
    }
    return FALSE;
}

BOOL CKivXMLDOMDocObj::LoadParsed(const pugi::xml_parse_result& result, std::string_view text) {
    m_storing = 0;
    m_error = KivXMLParseError();
    std::ptrdiff_t offset = result.offset;
    std::string why;
    if (!result) {
        why = result.description();
    } else {
        Refusal refusal = CheckTree(*m_doc, kMaxDocumentDepth);
        if (refusal.reason.empty()) return TRUE;
        why = std::move(refusal.reason);
        offset = refusal.at.offset_debug();
    }
    Refuse(why.c_str());
    m_error.offset = offset;
    // Offsets count bytes of the text as parsed, which is the text as given only for UTF-8.
    if (result.encoding == pugi::encoding_utf8) LocateOffset(text, m_error);
    return FALSE;
}

BOOL CKivXMLDOMDocObj::LoadXML(LPCWSTR text) {
    if (!text) return Refuse("no text");
    try {
        return LoadXMLUtf8(CString(text).ToUtf8());
    } catch (const std::bad_alloc&) {
        return Refuse(kOutOfMemory);
    }
}

BOOL CKivXMLDOMDocObj::LoadXMLUtf8(std::string_view utf8) {
    m_doc->reset();
    try {
        const pugi::xml_parse_result r = m_doc->load_buffer(utf8.data(), utf8.size(), kParseOptions, pugi::encoding_utf8);
        return LoadParsed(r, utf8);
    } catch (const std::bad_alloc&) {
        return Refuse(kOutOfMemory);
    }
}

BOOL CKivXMLDOMDocObj::LoadXMLBytes(const void* data, size_t size) {
    m_doc->reset();
    if (!data && size) return Refuse("no data");
    try {
        const pugi::xml_parse_result r = m_doc->load_buffer(data, size, kParseOptions);
        return LoadParsed(r, std::string_view(static_cast<const char*>(data), size));
    } catch (const std::bad_alloc&) {
        return Refuse(kOutOfMemory);
    }
}

BOOL CKivXMLDOMDocObj::LoadFile(LPCWSTR path) {
    m_doc->reset();
    if (!path || !*path) return Refuse("no file name");
    try {
        // Read here rather than by the parser, so that a fault can be placed by line and column.
        const std::string utf8 = CString(path).ToUtf8();
        std::string bytes;
        if (!ReadWholeFile(utf8.c_str(), bytes)) return Refuse(("cannot read the file (" + std::string(std::strerror(errno)) + ")").c_str());
        return LoadXMLBytes(bytes.data(), bytes.size());
    } catch (const std::bad_alloc&) {
        return Refuse(kOutOfMemory);
    }
}

BOOL CKivXMLDOMDocObj::SaveFile(LPCWSTR path) const {
    if (!path || !*path) return FALSE;
    try {
        const std::string utf8 = CString(path).ToUtf8();
        return m_doc->save_file(utf8.c_str(), kIndent, pugi::format_default, pugi::encoding_utf8) ? TRUE : FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

CString CKivXMLDOMDocObj::GetXML() const { return CString::FromUtf8(GetXMLUtf8()); }

std::string CKivXMLDOMDocObj::GetXMLUtf8() const {
    if (!m_doc->first_child()) return std::string();
    StringWriter w;
    m_doc->save(w, kIndent, pugi::format_default, pugi::encoding_utf8);
    return std::move(w.text);
}

IXMLDOMNode* CKivXMLDOMDocObj::GetRootNode() const { return m_doc->document_element().internal_object(); }

IXMLDOMNode* CKivXMLDOMDocObj::CreateDOMNode(IXMLDOMNode* parent, const char* name, int type) {
    if (!parent || type != KIVXML_NODE_ELEMENT || !KivXMLIsValidName(name)) return nullptr;
    return Node(parent).append_child(name).internal_object();
}

IXMLDOMNode* CKivXMLDOMDocObj::CreateDOMNode(IXMLDOMNode* parent, LPCWSTR name, int type) {
    if (!name) return nullptr;
    try {
        return CreateDOMNode(parent, Utf8Name(name).c_str(), type);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

IXMLDOMNode* CKivXMLDOMDocObj::CreateDOMNodeWithAttribute(IXMLDOMNode* parent, const char* name, const char* attrName,
                                                          const SKivXMLDataType& value, int type) {
    IXMLDOMNode* node = CreateDOMNode(parent, name, type);
    if (!node) return nullptr;
    if (SetNodeAttribute(node, attrName, value) != KIVXML_OK) {
        Node(parent).remove_child(Node(node));
        return nullptr;
    }
    return node;
}

IXMLDOMNode* CKivXMLDOMDocObj::CreateDOMNodeWithAttribute(IXMLDOMNode* parent, LPCWSTR name, LPCWSTR attrName,
                                                          const SKivXMLDataType& value, int type) {
    if (!name || !attrName) return nullptr;
    try {
        return CreateDOMNodeWithAttribute(parent, Utf8Name(name).c_str(), Utf8Name(attrName).c_str(), value, type);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

IXMLDOMNode* CKivXMLDOMDocObj::GetFirstNameMatchChildNode(IXMLDOMNode* parent, const char* name) {
    if (!parent || !name) return nullptr;
    // pugixml's own search compares names in place. Only elements have names here: the
    // document is parsed without processing instructions or declarations, and nothing this
    // class adds has a name but elements and attributes.
    static_assert((kParseOptions & (pugi::parse_pi | pugi::parse_declaration)) == 0);
    return KivPugiStruct(KivPugiNode(parent).child(name));
}

IXMLDOMNode* CKivXMLDOMDocObj::GetFirstNameMatchChildNode(IXMLDOMNode* parent, LPCWSTR name) {
    if (!name) return nullptr;
    try {
        return GetFirstNameMatchChildNode(parent, Utf8Name(name).c_str());
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

LONG CKivXMLDOMDocObj::SetNodeAttribute(IXMLDOMNode* node, const char* name, const SKivXMLDataType& value) {
    if (!node || !KivXMLIsValidName(name)) return KIVXML_E_ARGUMENT;
    pugi::xml_node n = Node(node);
    if (n.type() != pugi::node_element) return KIVXML_E_ARGUMENT;
    KivXMLValueText text;
    const LONG status = KivXMLFormatValue(value, text);
    if (status != KIVXML_OK) return status;
    // Replacing keeps one attribute per name: a second one would make the element unreadable.
    pugi::xml_attribute a = KivPugiAttribute(n, name);
    const bool added = !a;
    if (added) a = n.append_attribute(name);
    const std::string_view v = text.View();
    if (a && a.set_value(v.data(), v.size())) return KIVXML_OK;
    if (added && a) n.remove_attribute(a);
    return KIVXML_E_MEMORY;
}

LONG CKivXMLDOMDocObj::SetNodeAttribute(IXMLDOMNode* node, LPCWSTR name, const SKivXMLDataType& value) {
    if (!name) return KIVXML_E_ARGUMENT;
    try {
        return SetNodeAttribute(node, Utf8Name(name).c_str(), value);
    } catch (const std::bad_alloc&) {
        return KIVXML_E_MEMORY;
    }
}

LONG CKivXMLDOMDocObj::GetNodeAttribute(IXMLDOMNode* node, const char* name, SKivXMLDataType& value) {
    if (!name) return KIVXML_E_ARGUMENT;
    if (!node) return KIVXML_ABSENT;
    const pugi::xml_attribute a = KivPugiAttribute(Node(node), name);
    if (!a) return KIVXML_ABSENT;
    return KivXMLParseValue(a.value(), value);
}

LONG CKivXMLDOMDocObj::GetNodeAttribute(IXMLDOMNode* node, LPCWSTR name, SKivXMLDataType& value) {
    if (!name) return KIVXML_E_ARGUMENT;
    try {
        return GetNodeAttribute(node, Utf8Name(name).c_str(), value);
    } catch (const std::bad_alloc&) {
        return KIVXML_E_MEMORY;
    }
}

long KivXmlNamesHashed() { return t_namesHashed; }

LONG KivXmlLoadAttribute(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const char* name, SKivXMLDataType& value) {
    const LONG status = doc->GetNodeAttribute(node, name, value);
    if (status == KIVXML_E_MEMORY) AfxThrowMemoryException();
    return status;
}

bool CKivXMLDOMDocObj::EnterNesting() {
    ++m_nesting;
    return m_nesting <= kMaxNesting;
}

void CKivXMLDOMDocObj::LeaveNesting() {
    if (m_nesting > 0) --m_nesting;
}
