// The fuzz targets: each takes arbitrary bytes and loads them the way a host or kfx does,
// then checks what the loaders promise. The libFuzzer programs in fuzz/ call them, and the
// tests replay fuzz/regressions and the seeds through them, so both run the same code.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/fw/CObject.h"

/// An input that broke a promise of the loaders: a loaded object that does not store and
/// load back equal, a refused load that left the caller's list unusable, a saved file that
/// does not load. (Crashes, leaks and sanitizer reports need no exception.)
class KivFuzzFinding : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

/// What was loaded (or left behind by a refused load) stores with WriteObject, and the
/// stored bytes load back into an equal object of the same class; else KivFuzzFinding.
void KivFuzzExpectArchiveRoundTrip(const CObject& object);
/// The same through XML: the object's XML parses and loads back into an equal object.
void KivFuzzExpectXmlRoundTrip(CObject& object);

/// One input file of a seed corpus.
struct KivFuzzSeed {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

/// What the body of a target tells about one input.
enum class KivFuzzResult {
    accepted,  // loaded without an error
    refused,   // refused with the error the loaders promise for bad data
    skipped,   // not an input for this target (no class of that name, no data)
};

struct KivFuzzTarget {
    /// Also the folder under fuzz/regressions and the program fuzz_<name>.
    const char* name;
    /// Throws KivFuzzFinding (or lets any unexpected exception out) on a fault.
    KivFuzzResult (*run)(std::span<const std::uint8_t> data);
    /// Valid inputs made from samples of every registered class.
    std::vector<KivFuzzSeed> (*seeds)();
    /// False while the code it needs is not in the library yet; it is then never run.
    bool available;
};

/// Every target, available or not.
std::span<const KivFuzzTarget> KivFuzzTargets();
/// The target of that name, or null.
const KivFuzzTarget* KivFuzzFindTarget(std::string_view name);
/// libFuzzer dictionary lines (name="value") for the target: tags, class records, class
/// and XML names from the registered classes.
std::vector<std::string> KivFuzzDictionary(const KivFuzzTarget& target);

/// Inputs of targets that load one class by name start with the name and a line feed.
constexpr std::uint8_t kKivFuzzSelectorEnd = '\n';
/// The kfx_convert target reads its input as XML when it starts with this byte, else as
/// an archive (what the file extension decides for kfx).
constexpr std::uint8_t kKivFuzzXmlSelector = 'x';
