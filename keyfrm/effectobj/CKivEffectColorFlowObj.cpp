#include "keyfrm/effectobj/CKivEffectColorFlowObj.h"

KIV_IMPLEMENT_PERSIST_CLASS(CKivEffectColorFlowObj, CKivEffectBaseObj)
KIV_IMPLEMENT_PERSIST_ASSIGN(CKivEffectColorFlowObj, CKivEffectBaseObj)

KIV_LEVEL(CKivEffectColorFlowObj, "CKivEffectColorFlowObj", 0, 0,
          KivField<&Self::FlowSpeed>("FlowSpeed", KivEnc::i16, KivXml::i32, 10),
          KivField<&Self::Restore>("Restore", KivEnc::i16, KivXml::flag, 1),
          KivField<&Self::RestoreScale>("RestoreScale", KivEnc::f64, KivXml::f64, 0.1),
          KivMemoryField<&Self::Flow>("Flow", 0, kKivFieldOwnFormat))

namespace {

constexpr const char* kFlowElement = "Flow";

}  // namespace

CKivEffectColorFlowObj::CKivEffectColorFlowObj() { CKivEffectColorFlowObj::Default(); }

CKivEffectColorFlowObj::~CKivEffectColorFlowObj() { CKivEffectColorFlowObj::Close(); }

void CKivEffectColorFlowObj::Default() {
    CKivEffectBaseObj::Default();
    KivDefaultLevel(this, Level());  // empties Flow
    CKivColor32 color;
    color.SetColor(255, 255, 255, 255);
    Flow.Add(color, 1);
    color.SetColor(0, 0, 0, 255);
    Flow.Add(color, 1);
    color.SetColor(255, 255, 255, 255);
    Flow.Add(color, 1);
}

/// Archive: the base's record, the version word and the three fields, then Flow's record.
void CKivEffectColorFlowObj::Serialize(CArchive& ar) {
    CKivEffectBaseObj::Serialize(ar);
    KivSerializeLevel(ar, this, Level());
    Flow.Serialize(ar);
}

/// XML: "DataMember", then "Flow" holding the colours, then "BaseObject". Without "Flow"
/// storing stops and loading leaves the colours and the base alone.
void CKivEffectColorFlowObj::SerializeXML(CKivXMLDOMDocObj* doc, IXMLDOMNode* node) {
    IXMLDOMNode* element = KivXmlLevelElement(doc, node, this, Level());
    IXMLDOMNode* flow = KivXmlChild(doc, element, kFlowElement);
    if (!flow) return;
    Flow.SerializeXML(doc, flow);
    if (IXMLDOMNode* base = KivXmlChild(doc, element, kKivXmlBaseObject)) CKivEffectBaseObj::SerializeXML(doc, base);
}

int CKivEffectColorFlowObj::Open() {
    Close();
    if (!FlowBlock.InitBlock(CSize(kFlowBlockWidth, kFlowBlockHeight), nullptr, 0)) return 0;
    return Flow.Process(FlowBlock.GetAddress(), FlowBlock.GetSize()) ? 1 : 0;
}

void CKivEffectColorFlowObj::Close() { FlowBlock.Close(); }
