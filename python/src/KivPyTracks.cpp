// kivfx.ScalarTrack, kivfx.PositionTrack and kivfx.ColourTrack: keyframes, edits, the
// modes as enums, values at a frame or location, and whole ranges sampled into NumPy
// arrays in one call with the interpreter's lock released.
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include "KivPyRef.h"
#include "keyfrm/tracks/CKivFXTrackView.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "keyfrm/tracks/KivFXTrackSampling.h"

namespace {

template <class Track>
Track& TrackOf(const KivPyRef& ref) {
    return *static_cast<Track*>(ref.object);
}

template <class Ref, class Track>
Ref NewTrack() {
    Ref r;
    r.root = KivPyNewRoot(std::make_unique<Track>());
    r.object = r.root->owned.get();
    return r;
}

// Destroys the keyframes a track's sampler makes.
class Samples : public CObList {
public:
    ~Samples() override {
        while (!IsEmpty()) delete RemoveHead();
    }
};

// Exactly one of frame and location.
struct Where {
    std::optional<int> frame;
    std::optional<double> location;
};

Where WhereOf(std::optional<int> frame, std::optional<double> location) {
    if (frame.has_value() == location.has_value()) throw py::type_error("give one of frame= and location=");
    return {frame, location};
}

// The frames of a range, checked to be frame numbers.
struct FrameRange {
    std::int64_t start = 0, step = 1;
    py::ssize_t count = 0;
};

FrameRange FramesOf(const py::object& frames) {
    if (!PyRange_Check(frames.ptr())) throw py::type_error("frames takes a range of frame numbers, e.g. range(0, 101)");
    FrameRange r;
    r.count = py::len(frames);
    r.start = frames.attr("start").cast<std::int64_t>();
    r.step = frames.attr("step").cast<std::int64_t>();
    if (r.count > 0) {
        const std::int64_t last = r.start + r.step * (r.count - 1);
        if (r.start < INT32_MIN || r.start > INT32_MAX || last < INT32_MIN || last > INT32_MAX) {
            PyErr_SetString(PyExc_OverflowError, "frame numbers are 32-bit signed integers");
            throw py::error_already_set();
        }
    }
    return r;
}

ULONG CountOf(py::ssize_t count) {
    if (count < 0) throw py::value_error("count takes a number of samples from 0");
    if (count > kKivFXMaxSamples) throw py::value_error("count is at most " + std::to_string(kKivFXMaxSamples));
    return static_cast<ULONG>(count);
}

// An array of n rows of channels values (one dimension for one channel).
template <class T>
py::array_t<T> ArrayOf(py::ssize_t n, int channels) {
    if (channels == 1) return py::array_t<T>(std::vector<py::ssize_t>{n});
    return py::array_t<T>(std::vector<py::ssize_t>{n, channels});
}

// One row of an array from a track's values.
void Write(float v, float* row) { row[0] = v; }
template <std::size_t N>
void Write(const std::array<float, N>& v, float* row) {
    std::copy(v.begin(), v.end(), row);
}

// value_at's view of the track, cached on the Python object so that repeated calls ask in
// O(log n), O(1) while frames rise, instead of checking every key of the track as its own
// InsValue must. Used only under the interpreter's lock (value_at never releases it), so
// threads sharing a track object never touch the view at once; made again when a keyframe's
// field was written from Python since, as such a write does not move the track's count. As
// every such write is seen so, the view may copy values and handles too (a Snapshot), which
// keeps a call on a long track to a line of keys and a line of copies.
template <class Track>
CKivFXTrackView<Track>& ViewOf(const KivPyTrack& r) {
    if (!r.view || r.keyWrites != KivPyKeyWrites()) {
        r.view = std::make_shared<CKivFXTrackView<Track>>(TrackOf<Track>(r), KivFXViewReads::Snapshot);
        r.keyWrites = KivPyKeyWrites();
    }
    return *static_cast<CKivFXTrackView<Track>*>(r.view.get());
}

// sample() of the tracks that have frames (K their keyframe class): every frame of frames,
// or the track's evenly spaced sampler's count samples.
template <class Track, class K, int Channels>
py::array_t<float> SampleRanged(Track& track, std::optional<py::object> frames, std::optional<py::ssize_t> count) {
    if (frames.has_value() == count.has_value()) throw py::type_error("give one of frames= and count=");
    if (frames) {
        const FrameRange r = FramesOf(*frames);
        py::array_t<float> out = ArrayOf<float>(r.count, Channels);
        float* row = out.mutable_data();
        py::gil_scoped_release unlocked;
        // A view of this call's own: with the lock released, value_at's cached one is not
        // ours to touch. Every frame of a run is bracketed once per stretch between keys;
        // nothing writes the track during the call, so the view may copy its values.
        CKivFXTrackView<Track> view(track, KivFXViewReads::Snapshot);
        if (r.step == 1) {
            view.AtFrames(static_cast<int>(r.start), r.count, [&](std::int64_t i, const auto& v) { Write(v, row + i * Channels); });
            return out;
        }
        for (py::ssize_t i = 0; i < r.count; ++i, row += Channels) Write(view.At(static_cast<int>(r.start + r.step * i)), row);
        return out;
    }
    const ULONG n = CountOf(*count);
    py::array_t<float> out = ArrayOf<float>(n, Channels);
    float* row = out.mutable_data();
    py::gil_scoped_release unlocked;
    Samples samples;
    track.BuildInsValueKF(&samples, n);
    for (POSITION pos = samples.GetHeadPosition(); pos; row += Channels) Write(KivFXChannels<K>::Of(*static_cast<const K*>(samples.GetNext(pos))), row);
    return out;
}

ULONG ColourOf(const py::object& value) {
    if (PyLong_Check(value.ptr())) {
        const auto v = value.cast<std::int64_t>();
        if (v < 0 || v > UINT32_MAX) throw py::value_error("a packed colour is 0 to 0xFFFFFFFF (alpha << 24 | red << 16 | green << 8 | blue)");
        return static_cast<ULONG>(v);
    }
    const auto rgba = value.cast<std::array<int, 4>>();
    ULONG packed = 0;
    for (int i : {3, 0, 1, 2}) {
        if (rgba[static_cast<size_t>(i)] < 0 || rgba[static_cast<size_t>(i)] > 255) throw py::value_error("colour channels are 0 to 255");
        packed = packed << 8 | static_cast<ULONG>(rgba[static_cast<size_t>(i)]);
    }
    return packed;
}

// The keyframe add() set, or ValueError when the track placed none.
py::object Placed(const KivPyRef& track, CObject* keyframe) {
    if (!keyframe) throw py::value_error("no keyframe can be set there (NaN, outside 0.0..1.0 without a value, or another kind of keyframe)");
    return KivPyWrap(track.root, keyframe);
}

// What every track offers: its keyframes, removal and selection.
template <class Ref, class Track, class Class>
void BindTrackBase(Class& c) {
    c.def("__len__", [](const Ref& r) { return TrackOf<Track>(r).GetCount(); }, "The number of keyframes.")
        .def_property_readonly("keyframes", [](const Ref& r) {
            KivPyList l;
            l.root = r.root;
            l.object = r.object;
            return l;
        }, "The keyframes in list order, as a sequence.")
        .def("remove", [](const Ref& r, const KivPyRef& keyframe) {
            if (!KivPyRef::Detach(r, keyframe)) throw py::value_error("the keyframe is not in this track");
        }, py::arg("keyframe"), "Takes that keyframe out of the track; ValueError when it is not there.")
        .def("select", [](const Ref& r, const KivPyRef& keyframe, bool exclusive) {
            if (!keyframe.object->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm))) throw py::type_error("not a keyframe");
            if (!TrackOf<Track>(r).SetSelectKF(static_cast<CKivFXBaseKeyFrm*>(keyframe.object), exclusive)) {
                static_cast<CKivFXBaseKeyFrm*>(keyframe.object)->SetSelect(0);
                throw py::value_error("the keyframe is not in this track");
            }
        }, py::arg("keyframe"), py::arg("exclusive") = true, "Selects the keyframe, after clearing every other selection when exclusive.")
        .def("unselect_all", [](const Ref& r) { TrackOf<Track>(r).UnSelectKF(); }, "Clears every keyframe's selection.")
        .def_property_readonly("selected", [](const Ref& r) {
            py::list out;
            CObList& list = KivPyListOf(r);
            for (POSITION pos = list.GetHeadPosition(); pos;) {
                CObject* o = list.GetNext(pos);
                if (o && o->IsKindOf(RUNTIME_CLASS(CKivFXBaseKeyFrm)) && static_cast<CKivFXBaseKeyFrm*>(o)->IsSelect()) out.append(KivPyWrap(r.root, o));
            }
            return out;
        }, "The selected keyframes in list order.");
}

// The edits and modes of the tracks that have frames (scalar, position).
template <class Ref, class Track, class Class>
void BindFrameTrack(Class& c) {
    BindTrackBase<Ref, Track>(c);
    c.def("reverse", [](const Ref& r, int start, int end) { TrackOf<Track>(r).MakeReverse(start, end); }, py::arg("start"), py::arg("end"),
          "Reverses the keyframes in time: order reversed, handles swapped, each Frame mirrored to start + end - Frame.")
        .def("shift", [](const Ref& r, int delta) { TrackOf<Track>(r).OffsetFrame(delta); }, py::arg("delta"),
             "Adds delta to every keyframe's Frame (saturated to 32 bits).")
        .def_property("interpolation",
            [](const Ref& r) -> py::object {
                const int mode = TrackOf<Track>(r).InsMode;
                if (mode == kInsModeLinear || mode == kInsModeBezier) return py::cast(static_cast<KivFXInsMode>(mode));
                return py::int_(mode);  // an older project's other value, evaluated as Bezier
            },
            [](const Ref& r, KivFXInsMode mode) { TrackOf<Track>(r).InsMode = mode; },
            "Interpolation.LINEAR or Interpolation.BEZIER (InsMode); another stored value reads as its int.")
        .def_property("handle_coupling",
            [](const Ref& r) -> py::object {
                const int mode = TrackOf<Track>(r).CtrlMode;
                if (mode >= kCtrlModeNone && mode <= kCtrlModeSymmetry) return py::cast(static_cast<KivFXCtrlMode>(mode));
                return py::int_(mode);
            },
            [](const Ref& r, KivFXCtrlMode mode) { TrackOf<Track>(r).CtrlMode = mode; },
            "How an editor couples a keyframe's two handles (CtrlMode): HandleCoupling.NONE, LINKAGE or SYMMETRY.");
}

void BindScalar(py::module_& m) {
    using T = CKivFXInsKeyFrmList;
    py::class_<KivPyScalarTrack, KivPyTrack> c(m, "ScalarTrack", R"(The animation curve of one effect parameter (CKivFXInsKeyFrmList).

Keyframes are CKivFXValueKeyFrm objects. Values between keyframes follow a line or a
Bezier segment (interpolation), clamped to MinValue..MaxValue; DefValue without keyframes.)");
    c.def(py::init(&NewTrack<KivPyScalarTrack, T>), "An empty track.");
    BindFrameTrack<KivPyScalarTrack, T>(c);
    c.def("add", [](const KivPyScalarTrack& r, std::optional<int> frame, std::optional<double> location, std::optional<float> value) {
        const Where w = WhereOf(frame, location);
        T& t = TrackOf<T>(r);
        CKivFXValueKeyFrm* k = nullptr;
        if (w.frame) k = value ? t.SendKeyFrmValue(*w.frame, *value) : t.AddKeyFrm(*w.frame);
        else k = value ? t.SendKeyFrmValue(*w.location, *value) : t.AddKeyFrm(*w.location);
        return Placed(r, k);
    }, py::kw_only(), py::arg("frame") = py::none(), py::arg("location") = py::none(), py::arg("value") = py::none(),
       "Sets the value of the keyframe at that frame or location, or adds one there (with the curve's current value when value is None); returns the keyframe.")
        .def("value_at", [](const KivPyScalarTrack& r, std::optional<int> frame, std::optional<double> location) {
            const Where w = WhereOf(frame, location);
            auto& view = ViewOf<T>(r);
            return w.frame ? view.InsValue(*w.frame) : view.InsValue(*w.location);
        }, py::kw_only(), py::arg("frame") = py::none(), py::arg("location") = py::none(), "The curve's value at a frame or a location.")
        .def("sample", [](const KivPyScalarTrack& r, std::optional<py::object> frames, std::optional<py::ssize_t> count) {
            return SampleRanged<T, CKivFXValueKeyFrm, 1>(TrackOf<T>(r), frames, count);
        }, py::kw_only(), py::arg("frames") = py::none(), py::arg("count") = py::none(),
           R"(The values at every frame of a range (frames=range(a, b)), or count evenly spaced samples
over 0.0..1.0 by the track's own sampler (count=n, sample i at location i / (n - 1)), as a
float32 NumPy array of shape (n,).)")
        .def("scale", [](const KivPyScalarTrack& r, float factor) { TrackOf<T>(r).ZoomRangeValue(factor); }, py::arg("factor"),
             "Multiplies the range, the default and every keyframe's value and handle heights.");
}

void BindPosition(py::module_& m) {
    using T = CKivFXPosiKeyFrmList;
    py::class_<KivPyPositionTrack, KivPyTrack> c(m, "PositionTrack", R"(A point moving along a path in 3-D space (CKivFXPosiKeyFrmList).

Keyframes are CKivFXPosiKeyFrm objects; values are (x, y, z).)");
    c.def(py::init(&NewTrack<KivPyPositionTrack, T>), "An empty track.");
    BindFrameTrack<KivPyPositionTrack, T>(c);
    c.def("add", [](const KivPyPositionTrack& r, std::optional<int> frame, std::optional<double> location, std::optional<std::array<float, 3>> value) {
        const Where w = WhereOf(frame, location);
        T& t = TrackOf<T>(r);
        CKivFXPosiKeyFrm* k = nullptr;
        if (value) {
            const auto& v = *value;
            k = w.frame ? t.SendKeyFrmValue(*w.frame, v[0], v[1], v[2]) : t.SendKeyFrmValue(*w.location, v[0], v[1], v[2]);
        } else {
            k = w.frame ? t.AddKeyFrm(*w.frame) : t.AddKeyFrm(*w.location);
        }
        return Placed(r, k);
    }, py::kw_only(), py::arg("frame") = py::none(), py::arg("location") = py::none(), py::arg("value") = py::none(),
       "Sets the position (x, y, z) of the keyframe at that frame or location, or adds one; returns the keyframe.")
        .def("value_at", [](const KivPyPositionTrack& r, std::optional<int> frame, std::optional<double> location) {
            const Where w = WhereOf(frame, location);
            float x = 0, y = 0, z = 0;
            auto& view = ViewOf<T>(r);
            if (w.frame) view.InsValue(*w.frame, x, y, z);
            else view.InsValue(*w.location, x, y, z);
            return py::make_tuple(x, y, z);
        }, py::kw_only(), py::arg("frame") = py::none(), py::arg("location") = py::none(), "The path's position (x, y, z) at a frame or a location.")
        .def("sample", [](const KivPyPositionTrack& r, std::optional<py::object> frames, std::optional<py::ssize_t> count) {
            return SampleRanged<T, CKivFXPosiKeyFrm, 3>(TrackOf<T>(r), frames, count);
        }, py::kw_only(), py::arg("frames") = py::none(), py::arg("count") = py::none(),
           "As ScalarTrack.sample, as a float32 array of shape (n, 3).")
        .def("offset", [](const KivPyPositionTrack& r, float dx, float dy, float dz) { TrackOf<T>(r).OffsetPosi(dx, dy, dz); },
             py::arg("dx"), py::arg("dy"), py::arg("dz"), "Moves every keyframe's position by the three amounts.");
}

void BindColour(py::module_& m) {
    using T = CKivFXColor32KeyFrmList;
    py::class_<KivPyColourTrack, KivPyTrack> c(m, "ColourTrack", R"(A colour with alpha over the effect's length (CKivFXColor32KeyFrmList).

Keyframes are CKivFXColor32KeyFrm objects, placed by location only; values are
(red, green, blue, alpha), each 0..255, interpolated linearly per channel.)");
    c.def(py::init(&NewTrack<KivPyColourTrack, T>), "An empty track.");
    BindTrackBase<KivPyColourTrack, T>(c);
    c.def("add", [](const KivPyColourTrack& r, std::optional<int> frame, std::optional<double> location, std::optional<py::object> value) {
        if (frame) throw py::type_error("a colour track is placed by location only");
        if (!location) throw py::type_error("give location=");
        T& t = TrackOf<T>(r);
        return Placed(r, value ? t.SendKeyFrmValue(*location, ColourOf(*value)) : t.AddKeyFrm(*location));
    }, py::kw_only(), py::arg("frame") = py::none(), py::arg("location") = py::none(), py::arg("value") = py::none(),
       "Sets the colour ((r, g, b, a) or a packed int) of the keyframe at that location, or adds one; returns the keyframe.")
        .def("value_at", [](const KivPyColourTrack& r, std::optional<int> frame, std::optional<double> location) {
            if (frame || !location) throw py::type_error("a colour track is placed by location only: give location=");
            BYTE red = 0, green = 0, blue = 0, alpha = 0;
            ViewOf<T>(r).InsValue(*location, red, green, blue, alpha);
            return py::make_tuple(red, green, blue, alpha);
        }, py::kw_only(), py::arg("frame") = py::none(), py::arg("location") = py::none(), "The colour (red, green, blue, alpha) at a location.")
        .def("sample", [](const KivPyColourTrack& r, std::optional<py::object> frames, std::optional<py::ssize_t> count) {
            if (frames) throw py::type_error("a colour track is placed by location only: use count=");
            if (!count) throw py::type_error("give count=");
            const ULONG n = CountOf(*count);
            py::array_t<std::uint8_t> out = ArrayOf<std::uint8_t>(n, 4);
            std::uint8_t* row = out.mutable_data();
            py::gil_scoped_release unlocked;
            Samples samples;
            TrackOf<T>(r).BuildInsValueKF(&samples, n);
            for (POSITION pos = samples.GetHeadPosition(); pos; row += 4) {
                const tagCOLOR32 c = static_cast<const CKivFXColor32KeyFrm*>(samples.GetNext(pos))->GetColor32();
                row[0] = c.red;
                row[1] = c.green;
                row[2] = c.blue;
                row[3] = c.alpha;
            }
            return out;
        }, py::kw_only(), py::arg("frames") = py::none(), py::arg("count") = py::none(),
           "count evenly spaced samples by the track's own sampler, as a uint8 array of shape (n, 4): red, green, blue, alpha.");
}

}  // namespace

void KivPyBindTracks(py::module_& m) {
    py::enum_<KivFXInsMode>(m, "Interpolation", "How a track interpolates between keyframes (InsMode).")
        .value("LINEAR", kInsModeLinear)
        .value("BEZIER", kInsModeBezier);
    py::enum_<KivFXCtrlMode>(m, "HandleCoupling", "What an editor does to a keyframe's opposite handle while one is dragged (CtrlMode).")
        .value("NONE", kCtrlModeNone)
        .value("LINKAGE", kCtrlModeLinkage)
        .value("SYMMETRY", kCtrlModeSymmetry);
    py::class_<KivPyTrack, KivPyRef>(m, "Track", "What every track shares: keyframes, removal, selection.");
    BindScalar(m);
    BindPosition(m);
    BindColour(m);
}
