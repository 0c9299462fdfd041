// Stored forms of the tracks and the new keyframes: the tracks' own parts after the list's
// part, the optional "BaseOnFrame", element names borrowed from other classes, no re-sort
// on load, tracks kept inside project lists, and the dynamic keyframe's hand-written form.
#include <gtest/gtest.h>

#include <string>

#include "TrackBuilders.h"
#include "support/ArchiveBytes.h"

using kfxtest::Bytes;
using kfxtest::LoadBytes;
using kfxtest::LoadXml;
using kfxtest::StoreBytes;
using kfxtest::StoreXml;

namespace {

std::vector<BYTE> Tail(const std::vector<BYTE>& bytes, size_t n) { return {bytes.end() - static_cast<long>(n), bytes.end()}; }

// The text between the first '<' of name and its end, without whitespace between elements.
std::string Compact(const std::string& xml) {
    std::string out;
    bool inTag = false;
    for (char c : xml) {
        if (c == '<') inTag = true;
        if (inTag || (c != '\n' && c != '\t')) out += c;
        if (c == '>') inTag = false;
    }
    return out;
}

}  // namespace

TEST(TrackArchive, ScalarTrackPartIsTwentyBytesAfterTheKeyframes) {
    CKivFXInsKeyFrmList t;
    t.InsMode = 1;
    t.CtrlMode = 2;
    t.BaseOnFrame = 1;
    t.DefValue = 0.5f;
    const auto bytes = StoreBytes(t);
    EXPECT_EQ(bytes, Bytes({0x00, 0x00,                                          // no keyframes
                            0x00, 0x00,                                          // version
                            0x00, 0x00, 0x7A, 0xC4, 0x00, 0x00, 0x7A, 0x44,      // -1000, 1000
                            0x00, 0x00, 0x00, 0x3F,                              // 0.5
                            0x01, 0x00, 0x02, 0x00, 0x01, 0x00}));
    kfxtest::Append(t, {0.25, 3, 1.0f});
    const auto withKey = StoreBytes(t);
    EXPECT_EQ(Tail(withKey, 20), Tail(bytes, 20)) << "the keyframes come first, the track's fields after them";
    CKivFXInsKeyFrmList back;
    LoadBytes(back, withKey);
    EXPECT_EQ(back.Compare(&t), 0);
    EXPECT_EQ(back.GetFXKeyFrm(0)->Frame, 3);
}

TEST(TrackArchive, OlderDataWithoutBaseOnFrameKeepsTheCurrentValue) {
    CKivFXInsKeyFrmList t;
    auto bytes = StoreBytes(t);
    bytes[2] = 0x00;
    bytes[3] = 0x80;  // a version word that converts to a negative version
    bytes.resize(bytes.size() - 2);
    CKivFXInsKeyFrmList back;
    back.BaseOnFrame = 1;
    back.CtrlMode = 7;
    LoadBytes(back, bytes);
    EXPECT_EQ(back.BaseOnFrame, 1);
    EXPECT_EQ(back.CtrlMode, 1);
    // 16-bit fields come back sign-extended.
    t.InsMode = 0xFFFF;
    LoadBytes(back, StoreBytes(t));
    EXPECT_EQ(back.InsMode, -1);
}

TEST(TrackArchive, PositionTrackPartIsFortyFourBytesAndColourTrackFour) {
    CKivFXPosiKeyFrmList p;
    const auto pb = StoreBytes(p);
    ASSERT_EQ(pb.size(), 2u + 44u);
    EXPECT_EQ(Tail(pb, 6), Bytes({0x00, 0x00, 0x01, 0x00, 0x00, 0x00})) << "InsMode, CtrlMode, BaseOnFrame";
    CKivFXColor32KeyFrmList c;
    EXPECT_EQ(StoreBytes(c), Bytes({0x00, 0x00, 0x00, 0x00, 0x01, 0x00}));
}

TEST(TrackArchive, LoadingKeepsTheStoredOrder) {
    auto t = kfxtest::Scalar({{0.9, 0, 1.0f}, {0.1, 0, 2.0f}, {0.5, 0, 3.0f}});
    CKivFXInsKeyFrmList back;
    LoadBytes(back, StoreBytes(*t));
    ASSERT_EQ(back.GetKeyFrmCount(), 3);
    EXPECT_EQ(back.GetFXKeyFrm(0)->Location, 0.9);
    EXPECT_EQ(back.GetFXKeyFrm(2)->Location, 0.5);
}

TEST(KeyframeArchive, PositionColourAndTransformRecords) {
    CKivFXPosiKeyFrm p;
    p.PosiX = 1.0f;
    p.Fore = {2.0f, 0.0f, -2.0f};
    const auto pb = StoreBytes(p);
    ASSERT_EQ(pb.size(), 58u);
    EXPECT_EQ(Tail(pb, 38), Bytes({0x00, 0x00, 0x00, 0x00, 0x80, 0x3F, 0, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00, 0x40, 0, 0, 0, 0,
                                   0x00, 0x00, 0x00, 0xC0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    CKivFXColor32KeyFrm c;
    const auto cb = StoreBytes(c);
    ASSERT_EQ(cb.size(), 26u);
    EXPECT_EQ(Tail(cb, 6), Bytes({0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF}));
    CKivFXTransformKeyFrm tr;
    const auto tb = StoreBytes(tr);
    ASSERT_EQ(tb.size(), 62u);
    EXPECT_EQ(Tail(tb, 4), Bytes({0x00, 0x00, 0x80, 0x3F})) << "ScaleZ 1.0 last";
}

TEST(TrackXml, ColourTrackAndKeyframeBothUseTheRootKeyframesName) {
    CKivFXColor32KeyFrmList t;
    t.SendKeyFrmValue(0.5, 0xFF102030UL);
    EXPECT_EQ(Compact(StoreXml(t)),
              "<?xml version=\"1.0\"?><Root><CKivFXBaseKeyFrm Version=\"0\"><DataMember Transition=\"1\" /><BaseObject>"
              "<CKivObList Count=\"1\"><Item Class=\"CKivFXColor32KeyFrm\"><CKivFXBaseKeyFrm Version=\"0\">"
              "<DataMember Color=\"4279246896\" /><BaseObject><CKivFXInsValueKeyFrm Version=\"0\">"
              "<DataMember InsKind=\"0\" Frame=\"0\" /><BaseObject><CKivFXBaseKeyFrm Version=\"0\">"
              "<DataMember Restore=\"0\" Location=\"0.5\" /><BaseObject /></CKivFXBaseKeyFrm></BaseObject>"
              "</CKivFXInsValueKeyFrm></BaseObject></CKivFXBaseKeyFrm></Item></CKivObList></BaseObject>"
              "</CKivFXBaseKeyFrm></Root>");
    CKivFXColor32KeyFrmList back;
    LoadXml(back, StoreXml(t));
    EXPECT_EQ(back.Compare(&t), 0);
}

TEST(TrackXml, PositionTrackUsesTheScalarTracksNameAndItsKeyframesTheTriangles) {
    CKivFXPosiKeyFrmList t;
    t.MaxZ = 12.5f;
    t.SendKeyFrmValue(0.5, 1.0f, 2.0f, 3.0f);
    const std::string xml = StoreXml(t);
    EXPECT_NE(xml.find("<CKivFXInsKeyFrmList Version=\"0\">"), std::string::npos) << xml;
    EXPECT_NE(xml.find("MinX=\"-1000\" MaxX=\"1000\" DefX=\"0\" MinY=\"-1000\" MaxY=\"1000\" DefY=\"0\" MinZ=\"-1000\" MaxZ=\"12.5\""),
              std::string::npos);
    EXPECT_NE(xml.find("<CKivFXEmitTriangleKeyFrm Version=\"0\">"), std::string::npos);
    EXPECT_EQ(xml.find("CKivFXPosiKeyFrmList\""), std::string::npos) << "only the item names the class";
    CKivFXPosiKeyFrmList back;
    LoadXml(back, xml);
    EXPECT_EQ(back.Compare(&t), 0);
    CKivFXPosiKeyFrmList untouched;
    untouched.MaxZ = 3.0f;
    LoadXml(untouched, "<Root><CKivFXPosiKeyFrmList Version=\"0\"/></Root>");
    EXPECT_EQ(untouched.MaxZ, 3.0f) << "found only under the scalar track's name";
}

TEST(TrackXml, ScalarTrackRoundTripsFieldsAndKeyframes) {
    auto t = kfxtest::Scalar({{0.7, 7, 3.0f, -1.0f, 1.0f}, {0.2, 2, 1.0f}}, 1);
    t->BaseOnFrame = 1;
    t->MinValue = -2.5f;
    const std::string xml = StoreXml(*t);
    EXPECT_NE(xml.find("<DataMember MinValue=\"-2.5\" MaxValue=\"1000\" DefValue=\"0\" InsMode=\"1\" CtrlMode=\"1\" BaseOnFrame=\"1\" />"),
              std::string::npos)
        << xml;
    CKivFXInsKeyFrmList back;
    LoadXml(back, xml);
    EXPECT_EQ(back.Compare(t.get()), 0);
    EXPECT_EQ(back.GetFXKeyFrm(0)->Location, 0.7) << "no re-sort on load";
}

TEST(TransformXml, OuterAndInnerElementsShareTheRootsName) {
    CKivFXTransformKeyFrm t;
    t.Location = 0.25;
    t.Restore = 3;
    t.TranslateX = 1.0f, t.AnchorY = 2.0f, t.RotateZ = 3.0f, t.ScaleX = 4.0f;
    const std::string xml = Compact(StoreXml(t));
    EXPECT_NE(xml.find("<CKivFXBaseKeyFrm Version=\"0\"><DataMember TranslateX=\"1\" TranslateY=\"0\" TranslateZ=\"0\" AnchorX=\"0\" "
                       "AnchorY=\"2\" AnchorZ=\"0\" RotateX=\"0\" RotateY=\"0\" RotateZ=\"3\" ScaleX=\"4\" ScaleY=\"1\" ScaleZ=\"1\" />"
                       "<BaseObject><CKivFXBaseKeyFrm Version=\"0\"><DataMember Restore=\"3\" Location=\"0.25\" />"),
              std::string::npos)
        << xml;
    CKivFXTransformKeyFrm back;
    LoadXml(back, xml);
    EXPECT_EQ(back.Compare(&t), 0);
    EXPECT_EQ(back.Restore, 3);
    EXPECT_EQ(back.Location, 0.25);
}

TEST(TransformKeyFrame, DefaultsAreUnitScaleAndZeroElsewhere) {
    CKivFXTransformKeyFrm t;
    EXPECT_EQ(t.ScaleX, 1.0f);
    EXPECT_EQ(t.ScaleY, 1.0f);
    EXPECT_EQ(t.ScaleZ, 1.0f);
    t.ScaleY = 0.0f;
    t.TranslateZ = 5.0f;
    t.Location = 0.5;
    t.Default();
    EXPECT_EQ(t.ScaleY, 1.0f);
    EXPECT_EQ(t.TranslateZ, 0.0f);
    EXPECT_EQ(t.Location, 0.0);
}

TEST(ProjectList, TracksAreElementsOfAProjectInBothFormats) {
    CKivObList project;
    auto scalar = kfxtest::Scalar({{0.0, 0, 1.0f}, {1.0, 10, 2.0f}}, 1);
    scalar->MaxValue = 9.0f;
    // As an element: AddTail(CObList*) would add the track's keyframes instead.
    project.AddTail(static_cast<CObject*>(scalar.release()));
    auto* colour = new CKivFXColor32KeyFrmList;  // owned by the project from the next line on
    project.AddTail(static_cast<CObject*>(colour));
    colour->SendKeyFrmValue(0.5, 0x80FF0000UL);
    auto* key = new CKivFXValueKeyFrm;
    project.AddTail(key);

    CKivObList fromArchive;
    LoadBytes(fromArchive, StoreBytes(project));
    EXPECT_EQ(fromArchive.Compare(&project), 0);
    ASSERT_TRUE(fromArchive.GetHead()->IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList)));
    EXPECT_EQ(static_cast<CKivFXInsKeyFrmList*>(fromArchive.GetHead())->MaxValue, 9.0f);

    CKivObList fromXml;
    LoadXml(fromXml, StoreXml(project));
    EXPECT_EQ(fromXml.Compare(&project), 0);

    CKivObList copy;
    copy = project;
    EXPECT_EQ(copy.Compare(&project), 0) << "a track inside a list is copied with its fields";
    colour->Transition = 0;
    EXPECT_NE(copy.Compare(&project), 0) << "and compared with them";
}

TEST(DynamicKeyFrame, CountsGrowthAndBounds) {
    CKivFXDynamicKeyFrm d;
    EXPECT_EQ(d.GetDataCount(), 0);
    d.SetDataCount(3);
    EXPECT_EQ(d.GetDataValue(2), 0.0f);
    EXPECT_THROW(d.GetDataValue(3), CInvalidArgException);
    EXPECT_THROW(d.GetDataValue(-1), CInvalidArgException);
    EXPECT_THROW(d.SetDataValue(3, 1.0f), CInvalidArgException);
    EXPECT_THROW(d.SetDataCount(-1), CInvalidArgException);
    EXPECT_EQ(d.GetDataCount(), 3);
    for (int i = 0; i < 3; ++i) d.SetDataValue(i, 1.5f * static_cast<float>(i + 1));
    d.SetDataCount(5);
    EXPECT_EQ(d.GetDataValue(0), 1.5f);
    EXPECT_EQ(d.GetDataValue(2), 4.5f);
    EXPECT_EQ(d.GetDataValue(4), 0.0f);
    d.SetDataCount(0);
    EXPECT_EQ(d.GetDataCount(), 0);
}

TEST(DynamicKeyFrame, CopiesAndStoresItsValues) {
    CKivFXDynamicKeyFrm d;
    d.Location = 0.5;
    d.SetDataCount(2);
    d.SetDataValue(0, 1.5f);
    d.SetDataValue(1, 2.5f);
    std::unique_ptr<CKivObject> copy(d.MakeCopy());
    ASSERT_TRUE(copy && copy->IsKindOf(RUNTIME_CLASS(CKivFXDynamicKeyFrm)));
    EXPECT_EQ(copy->Compare(&d), 0);

    const auto bytes = StoreBytes(d);
    ASSERT_EQ(bytes.size(), 12u + 2u + 4u + 8u);
    EXPECT_EQ(Tail(bytes, 14), Bytes({0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F, 0x00, 0x00, 0x20, 0x40}));
    CKivFXDynamicKeyFrm back;
    LoadBytes(back, bytes);
    EXPECT_EQ(back.Compare(&d), 0);

    const std::string xml = StoreXml(d);
    EXPECT_NE(xml.find("<DataMember Count=\"2\" Data=\"AADAPwAAIEA=\" />"), std::string::npos) << xml;
    CKivFXDynamicKeyFrm fromXml;
    LoadXml(fromXml, xml);
    EXPECT_EQ(fromXml.Compare(&d), 0);

    d.Default();
    EXPECT_EQ(d.GetDataCount(), 0);
    EXPECT_EQ(d.Location, 0.0);
}

TEST(DynamicKeyFrame, BadCountsAreRefused) {
    CKivFXDynamicKeyFrm d;
    auto bytes = StoreBytes(d);
    bytes[14] = 0xFF, bytes[15] = 0xFF, bytes[16] = 0xFF, bytes[17] = 0xFF;
    try {
        LoadBytes(d, bytes);
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badIndex) << "a negative count";
    }
    bytes[17] = 0x7F;
    try {
        LoadBytes(d, bytes);
        ADD_FAILURE();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile) << "more values than the data holds, refused before allocating";
    }
}
