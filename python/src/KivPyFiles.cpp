// Project files from Python: kivfx.load and kivfx.loads, Project.save and Project.dumps,
// each the same code kfx runs, with the interpreter's lock released while it works.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "KfxProject.h"
#include "KivPyErrors.h"
#include "KivPyRef.h"

namespace {

std::string PathOf(const py::object& path) { return py::str(py::module_::import("os").attr("fsdecode")(path)); }

KfxFormat FormatNamed(const std::string& format) {
    if (format == "kfa") return KfxFormat::archive;
    if (format == "xml") return KfxFormat::xml;
    throw py::value_error("format is \"kfa\" or \"xml\", not \"" + format + "\"");
}

[[noreturn]] void FailOs(int err, const std::string& path) { throw KivPyOsError{err, std::strerror(err), path}; }

// File-system faults before the loader sees the file, so that they come out as OSError; what
// the loader refuses after that is the data's fault.
void CheckReadable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) FailOs(errno, path);
    struct stat st {};
    const bool isDir = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
    ::close(fd);
    if (isDir) FailOs(EISDIR, path);
}

std::vector<BYTE> ReadFile(const std::string& path) {
    CheckReadable(path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) FailOs(errno, path);
    std::vector<BYTE> data;
    BYTE chunk[1 << 16];
    size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, file)) > 0) data.insert(data.end(), chunk, chunk + n);
    const int err = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (err != 0) FailOs(err, path);
    return data;
}

// A file whose name says nothing is XML when its first character, after a byte-order mark
// and white space, opens an element or declaration.
KfxFormat FormatOfContent(const std::vector<BYTE>& data) {
    size_t i = data.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF ? 3 : 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n')) ++i;
    return i < data.size() && data[i] == '<' ? KfxFormat::xml : KfxFormat::archive;
}

template <class Load>
py::object Loaded(Load load) {
    auto list = std::make_unique<CKivObList>();
    {
        py::gil_scoped_release unlocked;
        load(*list);
    }
    return KivPyWrap(KivPyNewRoot(std::move(list)), nullptr, true);
}

CKivObList& ListOf(const KivPyProject& project) { return static_cast<CKivObList&>(KivPyListOf(project)); }

}  // namespace

void KivPySave(const KivPyProject& project, const py::object& file) {
    const std::string path = PathOf(file);
    if (KfxFormatOf(path) == KfxFormat::unknown) throw KfxError(path + ": unknown file type (use .kfa or .xml)");
    py::gil_scoped_release unlocked;
    errno = 0;
    try {
        KfxSave(path, ListOf(project));
    } catch (const KfxError& e) {
        // Saving refuses nothing in the data: what fails is the file system, whose last
        // fault errno still holds.
        throw KivPyOsError{errno, e.what(), path};
    }
}

py::bytes KivPyDumps(const KivPyProject& project, const std::string& format) {
    const KfxFormat f = FormatNamed(format);
    std::vector<BYTE> bytes;
    {
        py::gil_scoped_release unlocked;
        bytes = KfxSaveBytes("<bytes>", f, ListOf(project));
    }
    return py::bytes(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void KivPyBindFiles(py::module_& m) {
    m.def("load", [](py::object path) {
        const std::string name = PathOf(path);
        return Loaded([&](CKivObList& list) {
            // A file named for its format goes through kfx's own loader, whose messages name it.
            if (KfxFormatOf(name) != KfxFormat::unknown) {
                CheckReadable(name);
                return KfxLoad(name, list);
            }
            const std::vector<BYTE> data = ReadFile(name);
            KfxLoadBytes(name, FormatOfContent(data), data, list);
        });
    }, py::arg("path"), R"(Reads a project file: an archive (.kfa) or XML (.xml), by its extension, or by its
content when the extension names neither. Raises FormatError with the message kfx prints
when the file is refused, an OSError subclass when it cannot be read.)");
    m.def("loads", [](py::bytes data, const std::string& format) {
        const KfxFormat f = FormatNamed(format);
        std::string_view view = data;
        const std::vector<BYTE> copy(view.begin(), view.end());
        return Loaded([&](CKivObList& list) { KfxLoadBytes("<bytes>", f, copy, list); });
    }, py::arg("data"), py::arg("format"), R"(Reads a project from bytes in the format named ("kfa" or "xml"); raises FormatError
when they are refused.)");
}
