#include "KfxProject.h"

#include <algorithm>
#include <cctype>

#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/KivXMLNodeWalk.h"
#include "platform/fw/CArchive.h"
#include "platform/fw/CFile.h"

namespace {

constexpr const wchar_t* kProjectRoot = L"KivFXProject";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

[[noreturn]] void Fail(const std::string& path, const std::string& fault) { throw KfxError(path + ": " + fault); }

}  // namespace

KfxFormat KfxFormatOf(const std::string& path) {
    const std::string p = Lower(path);
    if (EndsWith(p, ".kfa")) return KfxFormat::archive;
    if (EndsWith(p, ".xml")) return KfxFormat::xml;
    return KfxFormat::unknown;
}

void KfxLoad(const std::string& path, CKivObList& list) {
    const CString wpath = CString::FromUtf8(path);
    list.DeleteAll();
    try {
        switch (KfxFormatOf(path)) {
        case KfxFormat::archive: {
            CFile file(wpath, CFile::modeRead | CFile::typeBinary);
            CArchive ar(&file, CArchive::load);
            list.Serialize(ar);
            if (ar.GetBytesLeft() != 0)
                Fail(path, std::to_string(ar.GetBytesLeft()) + " bytes of unknown data after the object list");
            ar.Close();
            break;
        }
        case KfxFormat::xml: {
            CKivXMLDOMDocObj doc;
            if (!doc.LoadFile(wpath)) Fail(path, "not a readable XML document (malformed, refused or missing)");
            IXMLDOMNode* root = doc.GetRootNode();
            if (!root || !KivXmlFirstChild(root, "CKivObList")) Fail(path, "no object list in the XML document");
            list.SerializeXML(&doc, root);
            break;
        }
        case KfxFormat::unknown: Fail(path, "unknown file type (use .kfa or .xml)");
        }
    } catch (const KfxError&) {
        list.DeleteAll();
        throw;
    } catch (const std::exception& e) {
        list.DeleteAll();
        Fail(path, e.what());
    }
}

void KfxSave(const std::string& path, CKivObList& list) {
    const CString wpath = CString::FromUtf8(path);
    try {
        switch (KfxFormatOf(path)) {
        case KfxFormat::archive: {
            CFile file(wpath, CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
            CArchive ar(&file, CArchive::store);
            list.Serialize(ar);
            ar.Close();
            file.Close();
            break;
        }
        case KfxFormat::xml: {
            CKivXMLDOMDocObj doc;
            if (!doc.CreateNew(kProjectRoot)) Fail(path, "cannot create an XML document");
            list.SerializeXML(&doc, doc.GetRootNode());
            if (!doc.SaveFile(wpath)) Fail(path, "cannot write the file");
            break;
        }
        case KfxFormat::unknown: Fail(path, "unknown file type (use .kfa or .xml)");
        }
    } catch (const KfxError&) {
        throw;
    } catch (const std::exception& e) {
        Fail(path, e.what());
    }
}
