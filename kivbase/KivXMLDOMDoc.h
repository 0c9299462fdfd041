// The XML document wrapper through which every persistable class reads and writes its
// element, with typed attribute values (SKivXMLDataType) and a nesting guard for loaders.
#pragma once

#include <string>
#include <string_view>

#include <memory>

#include "kivbase/KivXMLDataType.h"
#include "platform/fw/CString.h"
#include "platform/fw/KivTypes.h"

namespace pugi {
struct xml_node_struct;
class xml_document;
struct xml_parse_result;
}  // namespace pugi

/// A node handle: stable while its document lives; null means failure or absence.
using IXMLDOMNode = pugi::xml_node_struct;

/// The DOM node type of an element, the only kind CreateDOMNode makes.
constexpr int KIVXML_NODE_ELEMENT = 1;

/// True for a name the document accepts for elements and attributes: the XML Name
/// production, any byte of a multi-byte UTF-8 character taken as a name character, so that
/// nothing written becomes a document that cannot be read back. False for null.
bool KivXMLIsValidName(const char* name);

/// Why a load refused its document, and where.
struct KivXMLParseError {
    std::string description;  // the parser's description, or why the document was refused; empty after a good load
    long long offset = -1;    // bytes from the start of the document as parsed; -1 when unknown
    int line = 0;             // line of offset, from 1; 0 when unknown (and for documents not in UTF-8)
    int column = 0;           // column of offset in bytes, from 1; 0 when unknown
};

class CKivXMLDOMDocObj {
public:
    /// Deepest element nesting LoadXML and LoadFile accept; well above what stored projects
    /// reach (two levels per class level), low enough that recursive walks stay shallow.
    static constexpr int kMaxDocumentDepth = 1024;
    /// Deepest EnterNesting accepts: recursive loaders stop before the stack is at risk.
    static constexpr int kMaxNesting = 256;

    CKivXMLDOMDocObj();
    ~CKivXMLDOMDocObj();
    CKivXMLDOMDocObj(const CKivXMLDOMDocObj&) = delete;
    CKivXMLDOMDocObj& operator=(const CKivXMLDOMDocObj&) = delete;

    /// Replaces the document by one empty root element and turns to storing; FALSE (an empty
    /// document, not storing) for a null, empty or invalid element name.
    BOOL CreateNew(LPCWSTR rootName);
    /// Replaces the document by the parsed text and turns to loading; FALSE, leaving an
    /// empty document, on malformed text, a DOCTYPE, nesting beyond kMaxDocumentDepth, or an
    /// element with two attributes of one name.
    BOOL LoadXML(LPCWSTR text);
    /// LoadXML from UTF-8 text, without widening it first.
    BOOL LoadXMLUtf8(std::string_view text);
    /// LoadXML from the bytes of a document in any encoding pugixml detects (as LoadFile).
    BOOL LoadXMLBytes(const void* data, size_t size);
    /// LoadXML from a file (path in any encoding pugixml detects); FALSE when unreadable too.
    BOOL LoadFile(LPCWSTR path);
    /// Why the last LoadXML, LoadXMLUtf8, LoadXMLBytes or LoadFile returned FALSE: the
    /// parser's description (or the refusal) with the byte offset, line and column where it
    /// is known. Empty description after a load that succeeded.
    const KivXMLParseError& GetLastParseError() const { return m_error; }
    /// Writes GetXML's text as UTF-8; FALSE when the file cannot be written.
    BOOL SaveFile(LPCWSTR path) const;
    /// The whole document as indented text with an XML declaration; empty for no document.
    CString GetXML() const;
    /// GetXML as UTF-8 text, without widening it.
    std::string GetXMLUtf8() const;
    /// The root element, or null when there is no document.
    IXMLDOMNode* GetRootNode() const;
    /// Nonzero after a successful CreateNew, zero after any load (and on a fresh object).
    int IsStoring() const { return m_storing; }

    /// A new last child element of parent; null for a null parent, a type other than
    /// KIVXML_NODE_ELEMENT, an invalid name, or no memory.
    IXMLDOMNode* CreateDOMNode(IXMLDOMNode* parent, LPCWSTR name, int type);
    IXMLDOMNode* CreateDOMNode(IXMLDOMNode* parent, const char* name, int type);
    /// CreateDOMNode plus one attribute; null, with nothing added, if either step fails.
    IXMLDOMNode* CreateDOMNodeWithAttribute(IXMLDOMNode* parent, LPCWSTR name, LPCWSTR attrName,
                                            const SKivXMLDataType& value, int type);
    IXMLDOMNode* CreateDOMNodeWithAttribute(IXMLDOMNode* parent, const char* name, const char* attrName,
                                            const SKivXMLDataType& value, int type);
    /// The first child element of that name, or null (also for a null parent or name).
    IXMLDOMNode* GetFirstNameMatchChildNode(IXMLDOMNode* parent, LPCWSTR name);
    IXMLDOMNode* GetFirstNameMatchChildNode(IXMLDOMNode* parent, const char* name);
    /// Sets (or replaces) the attribute with the value spelled for its code (see
    /// KivXMLFormatValue). KIVXML_OK; KIVXML_E_ARGUMENT for a null node, an invalid name or
    /// a bad record; KIVXML_E_MEMORY.
    LONG SetNodeAttribute(IXMLDOMNode* node, LPCWSTR name, const SKivXMLDataType& value);
    LONG SetNodeAttribute(IXMLDOMNode* node, const char* name, const SKivXMLDataType& value);
    /// Reads the attribute into value for value.type (rules at KivXMLParseValue). KIVXML_OK;
    /// KIVXML_ABSENT for no such attribute or a null node; a negative status when the text
    /// does not fit the code. Only KIVXML_OK touches value.
    LONG GetNodeAttribute(IXMLDOMNode* node, LPCWSTR name, SKivXMLDataType& value);
    LONG GetNodeAttribute(IXMLDOMNode* node, const char* name, SKivXMLDataType& value);

    /// Counts one level of a recursive load or store; false once more than kMaxNesting levels
    /// are open (the caller then gives up, raising its archive error). Every call, accepted
    /// or not, is matched by one LeaveNesting.
    bool EnterNesting();
    void LeaveNesting();
    int GetNestingDepth() const { return m_nesting; }

private:
    /// Checks a parse's result and tree; on refusal records why and where, and empties.
    BOOL LoadParsed(const pugi::xml_parse_result& result, std::string_view text);
    /// Empties the document and records description as the reason; returns FALSE.
    BOOL Refuse(const char* description) noexcept;

    std::unique_ptr<pugi::xml_document> m_doc;
    int m_storing = 0;
    int m_nesting = 0;
    KivXMLParseError m_error;
};

/// GetNodeAttribute for loaders, which take a missing or unreadable value as the zeroed
/// record's (the record is left as it was) but must not take running out of memory for
/// one: KIVXML_E_MEMORY raises CMemoryException. Otherwise returns the status.
LONG KivXmlLoadAttribute(CKivXMLDOMDocObj* doc, IXMLDOMNode* node, const char* name, SKivXMLDataType& value);

/// How many attribute names this thread's loads have checked for a second use through a
/// table of names, the way for large elements of no recognisable shape. Elements of up to
/// 16 attributes and elements whose names are runs of indexed names ("Color0", "Color1"...)
/// with a few others, as lists are written, add nothing, however long they are.
long KivXmlNamesHashed();

/// One level of a recursive load or store for the guard's lifetime; check IsOk() first.
/// A null document counts nothing and is always OK.
class KivXMLNestingGuard {
public:
    explicit KivXMLNestingGuard(CKivXMLDOMDocObj* doc) : m_doc(doc), m_ok(!doc || doc->EnterNesting()) {}
    ~KivXMLNestingGuard() {
        if (m_doc) m_doc->LeaveNesting();
    }
    KivXMLNestingGuard(const KivXMLNestingGuard&) = delete;
    KivXMLNestingGuard& operator=(const KivXMLNestingGuard&) = delete;
    /// False when this level is past CKivXMLDOMDocObj::kMaxNesting.
    bool IsOk() const { return m_ok; }

private:
    CKivXMLDOMDocObj* m_doc;
    bool m_ok;
};
