#include "KivPyErrors.h"

#include "KfxProject.h"
#include "KivPyRef.h"
#include "platform/fw/CException.h"

namespace {

// OSError(errno, text, path) makes the subclass its errno names, as the interpreter's own
// file functions do.
void RaiseOsError(const KivPyOsError& e) {
    py::object error = e.err != 0 ? py::reinterpret_borrow<py::object>(PyExc_OSError)(e.err, e.message, e.path)
                                  : py::reinterpret_borrow<py::object>(PyExc_OSError)(e.message);
    PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(error.ptr())), error.ptr());
}

}  // namespace

void KivPyBindErrors(py::module_& m) {
    // The module keeps the class alive; a static owner would release it after the
    // interpreter has gone.
    static PyObject* formatError = nullptr;
    {
        py::exception<KfxError> type(m, "FormatError", PyExc_ValueError);
        type.doc() = "A project file or bytes the loader refused; the message names the file, where and why.";
        formatError = type.ptr();
    }
    py::register_exception_translator([](std::exception_ptr p) {
        if (!p) return;
        try {
            std::rethrow_exception(p);
        } catch (const KfxError& e) {
            PyErr_SetString(formatError, e.what());
        } catch (const KivPyOsError& e) {
            RaiseOsError(e);
        } catch (const CMemoryException&) {
            PyErr_NoMemory();
        } catch (const CInvalidArgException& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const CException& e) {
            // Any other fault the framework reports is the data's, as the loader's are.
            PyErr_SetString(formatError, e.what());
        }
    });
}
