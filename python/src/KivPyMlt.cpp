// kivfx.mlt: tracks to and from MLT animation strings ("0=0;25~=10;50|=3"), as kfx export
// --to mlt and kfx import --from mlt make them, with the interpreter's lock released while
// the curve is fitted.
#include <cmath>
#include <optional>
#include <string>

#include <pybind11/stl.h>

#include "KfxProject.h"
#include "KivPyRef.h"
#include "keyfrm/interop/KivFXInterop.h"
#include "keyfrm/tracks/KivFXTracks.h"

namespace {

KivFXMltExportOptions ExportOptionsOf(std::optional<double> tolerance, std::optional<int> frames) {
    KivFXMltExportOptions o;
    if (tolerance) {
        if (!(*tolerance >= 0.0) || !std::isfinite(*tolerance)) throw py::value_error("tolerance takes a finite difference of 0 or more");
        o.tolerance = *tolerance;
    }
    if (frames) {
        if (*frames < 1 || *frames > kKivFXMltMaxFrames) throw py::value_error("frames takes a number of frames from 1 to " + std::to_string(kKivFXMltMaxFrames));
        o.frames = *frames;
    }
    return o;
}

template <class Track>
KivFXMltExported Exported(const KivPyTrack& track, const KivFXMltExportOptions& options) {
    py::gil_scoped_release unlocked;
    return KivFXMltExport(*static_cast<const Track*>(track.object), options);
}

py::object Dumps(const KivPyTrack& track, std::optional<double> tolerance, std::optional<int> frames) {
    const KivFXMltExportOptions options = ExportOptionsOf(tolerance, frames);
    KivFXMltExported e;
    if (track.object->IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList)))
        e = Exported<CKivFXInsKeyFrmList>(track, options);
    else if (track.object->IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList)))
        e = Exported<CKivFXPosiKeyFrmList>(track, options);
    else
        e = Exported<CKivFXColor32KeyFrmList>(track, options);
    if (!e.Ok()) throw py::value_error(e.error);
    if (e.strings.size() == 3) return py::make_tuple(e.strings[0], e.strings[1], e.strings[2]);
    return py::str(e.strings.front());
}

// A refused string raises FormatError when the fault is the string's ("position P: ..."),
// ValueError when it is the arguments' (frames); a track made is returned as its class.
template <class Imported>
py::object Returned(Imported& in) {
    if (!in.Ok()) {
        if (in.error.rfind("position ", 0) == 0) throw KfxError(in.error);
        throw py::value_error(in.error);
    }
    std::shared_ptr<KivPyRoot> root = KivPyNewRoot(std::unique_ptr<CObject>(in.track.release()));
    return KivPyWrap(root, nullptr, true);
}

py::object Loads(const std::string& text, int frames, const std::string& kind, std::optional<float> minValue, std::optional<float> maxValue,
                 std::optional<double> tolerance) {
    KivFXMltForm form = KivFXMltForm::scalar;
    if (kind == "auto")
        form = KivFXMltDetectForm(text);
    else if (kind == "colour")
        form = KivFXMltForm::colour;
    else if (kind == "rect")
        form = KivFXMltForm::rect;
    else if (kind != "scalar")
        throw py::value_error("kind takes 'scalar', 'colour', 'rect' or 'auto', not '" + kind + "'");
    if (form == KivFXMltForm::colour && minValue) throw py::type_error("min and max are for numbers and rectangles, not colours");
    if (minValue.has_value() != maxValue.has_value()) throw py::type_error("give min= and max= together");
    KivFXMltImportOptions options;
    if (minValue) {
        if (!std::isfinite(*minValue) || !std::isfinite(*maxValue) || *minValue > *maxValue)
            throw py::value_error("min and max take finite numbers, min not above max");
        options.hasRange = true;
        options.minValue = *minValue;
        options.maxValue = *maxValue;
    }
    if (tolerance) {
        if (!(*tolerance >= 0.0) || !std::isfinite(*tolerance)) throw py::value_error("tolerance takes a finite difference of 0 or more");
        options.tolerance = *tolerance;
    }
    if (form != KivFXMltForm::scalar) {
        KivFXMltImportedTrack in;
        {
            py::gil_scoped_release unlocked;
            in = form == KivFXMltForm::colour ? KivFXMltImportColour(text, frames) : KivFXMltImportRect(text, frames, options);
        }
        return Returned(in);
    }
    KivFXMltImported in;
    {
        py::gil_scoped_release unlocked;
        in = KivFXMltImport(text, frames, options);
    }
    return Returned(in);
}

}  // namespace

void KivPyBindMlt(py::module_& m) {
    py::module_ mlt = m.def_submodule("mlt", R"(Tracks to and from MLT animation strings ("0=0;25~=10;50|=3", as MLT 7.12 reads them).

dumps(track) writes a track, loads(string, frames) reads a scalar track; see docs/INTEROP.md
for the mapping, the tolerance rule and the known limits.)");
    mlt.def("dumps", &Dumps, py::arg("track"), py::kw_only(), py::arg("tolerance") = py::none(), py::arg("frames") = py::none(),
            R"(The track as MLT animation strings: a str for a ScalarTrack, a tuple of three str (x, y, z)
for a PositionTrack, a str of linear "#aarrggbb" keyframes for a ColourTrack.

Keyframes keep their frames and values; keyframes are added wherever MLT would otherwise
differ from the track by more than tolerance at some frame of the story (default 0.1 % of
the track's value range, per axis for positions; one channel step for colours). frames is
the story's length (default: frame 0 to the last keyframe of a frame-based track, 101 frames
for a location-based one, frame f standing for location f / (frames - 1)). ValueError for a
story that cannot be exported.)");
    mlt.def("loads", &Loads, py::arg("string"), py::arg("frames"), py::kw_only(), py::arg("kind") = "scalar", py::arg("min") = py::none(),
            py::arg("max") = py::none(), py::arg("tolerance") = py::none(),
            R"(A new frame-based ScalarTrack (by default) read from an MLT animation string over a story of frames frames.

Linear and discrete keyframes come over exactly (a discrete value held by a second keyframe
on the frame before the next); smooth ones as Bezier handles within tolerance of MLT at
every frame (default 0.1 % of the range), with keyframes added where one Bezier cannot
follow. min and max set the track's range (default: the values the string reaches).
kind="colour" reads "#aarrggbb" / "#rrggbb" values into a linear ColourTrack (within one
channel step), kind="rect" rectangles ("x y w h", "x/y:wxh:o") into a PositionTrack
of their x and y, kind="auto" takes the kind from the first value.
Raises FormatError naming the offset of the fault for a string MLT would misread or reject
(and for the kind letters of later MLT releases), ValueError for frames out of 1..10000000.)");
}
