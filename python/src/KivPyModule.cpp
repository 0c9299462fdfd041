// The kivfx._kivfx extension module; the kivfx package re-exports it.
#include "KivPyRef.h"

PYBIND11_MODULE(_kivfx, m) {
    m.doc() = "KivFXKeyFrm's projects, stored objects and tracks (use the kivfx package).";
    m.attr("_block_types") = py::dict();
    KivPyBindErrors(m);
    KivPyBindObjects(m);
    KivPyBindTracks(m);
    KivPyBindFiles(m);
    KivPyBindMlt(m);
}
