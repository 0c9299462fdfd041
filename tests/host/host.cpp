// Creates a keyframe by class name through the installed library and round-trips it, then
// drags a keyframe in the curve window on the headless screen and counts what it is told.
#include <kivfx/KivFXKeyFrm.h>
#include <kivfx/KivFXKeyFrmEditors.h>

#include <cstdio>
#include <memory>

namespace {

// Counts the curve window's "a keyframe is being dragged" messages, known by name.
class CurveHost : public CWnd {
public:
    int modifies = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == RegisterWindowMessageW(L"WM_MODIFY_FROM_INSKFWND")) ++modifies;
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

bool DragInCurveWindow() {
    CKivFXInsKeyFrmList track;
    track.SetBaseOnFrame(1);
    track.MinValue = -100.0f;
    track.MaxValue = 100.0f;
    track.SendKeyFrmValue(10, 0.0f);
    track.SendKeyFrmValue(50, 20.0f);
    CurveHost host;
    if (!host.CreateEx(0, nullptr, nullptr, WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 108), nullptr, 0)) return false;
    CKivFXInsKeyFrmWnd curve;
    curve.SetKeyFrmList(&track);
    curve.SetPixelPreFrame(2.0);
    if (!curve.Create(WS_CHILD | WS_VISIBLE, &host, CRect(0, 0, 200, 108))) return false;
    KivScreen& screen = KivScreen::Get();
    screen.PaintAll();
    screen.MouseDown(CPoint(20, 54));  // the first keyframe: frame 10, value 0
    screen.MouseMove(CPoint(20, 30));
    screen.MouseUp(CPoint(20, 30));
    return host.modifies == 3 && track.GetFXKeyFrm(0)->Value > 40.0f;
}

}  // namespace

int main() {
    CRuntimeClass* cls = CRuntimeClass::FromName("CKivFXValueKeyFrm");
    if (!cls) {
        std::puts("host: CKivFXValueKeyFrm is not registered");
        return 1;
    }
    std::unique_ptr<CObject> made(cls->CreateObject());
    auto* key = dynamic_cast<CKivFXValueKeyFrm*>(made.get());
    if (!key) return 1;
    key->Location = 0.25;
    key->Value = 7.5f;
    key->Frame = 12;

    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<const CObject*>(key);
        ar.Close();
    }
    file.SeekToBegin();
    CArchive in(&file, CArchive::load);
    std::unique_ptr<CObject> back(in.ReadObject(RUNTIME_CLASS(CKivFXValueKeyFrm)));
    auto* loaded = static_cast<CKivFXValueKeyFrm*>(back.get());
    const bool same = loaded && loaded->Compare(key) == 0 && loaded->Value == 7.5f && loaded->Frame == 12;
    std::printf("host: round trip %s\n", same ? "ok" : "FAILED");
    const bool dragged = DragInCurveWindow();
    std::printf("host: curve window drag %s\n", dragged ? "ok" : "FAILED");
    return same && dragged ? 0 : 1;
}
