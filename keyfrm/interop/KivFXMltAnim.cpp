#include "keyfrm/interop/KivFXMltAnim.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace {

// A value ending in this is a percentage: MLT divides it by 100.
constexpr double kPercent = 100.0;

// Thrown inside the parser only, caught in KivFXMltParse.
struct ParseFault {
    std::string message;
    std::size_t position;
};

[[noreturn]] void Fault(std::size_t position, std::string message) { throw ParseFault{std::move(message), position}; }

// The white space strtol and strtod skip.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The kinds later releases write before "=" (7.22 on); 7.12 would read each as linear.
const char* LaterKindName(char c) {
    static const char* const kEasings[] = {"sinusoidal in",  "sinusoidal out",  "sinusoidal in-out",  "quadratic in", "quadratic out",
                                           "quadratic in-out", "cubic in",      "cubic out",          "cubic in-out", "quartic in",
                                           "quartic out",    "quartic in-out",  "quintic in",         "quintic out",  "quintic in-out",
                                           "exponential in", "exponential out", "exponential in-out", "circular in",  "circular out",
                                           "circular in-out", "back in",        "back out",           "back in-out",  "elastic in",
                                           "elastic out",    "elastic in-out",  "bounce in",          "bounce out",   "bounce in-out"};
    if (c == '$') return "smooth natural";
    if (c == '-') return "smooth tight";
    if (c >= 'a' && c <= 'z') return kEasings[c - 'a'];
    if (c >= 'A' && c <= 'D') return kEasings[26 + (c - 'A')];
    return nullptr;
}

std::string Quoted(char c) { return std::string("'") + c + "'"; }

// Scans text[at..end) for a decimal frame: [space][sign]digits[space]; the kind character,
// when there is one, is the last before end. Returns the frame as written.
std::int64_t ReadFrame(std::string_view text, std::size_t at, std::size_t end, KivFXMltKind& kind) {
    std::size_t i = at;
    while (i < end && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= end || !IsDigit(text[i])) Fault(i, "expected a frame number before '='");
    std::int64_t frame = 0;
    for (; i < end && IsDigit(text[i]); ++i) {
        frame = frame * 10 + (text[i] - '0');
        if (frame > kKivFXMltFrameLimit) Fault(at, "frame number beyond +-" + std::to_string(kKivFXMltFrameLimit));
    }
    while (i < end && IsSpace(text[i])) ++i;
    kind = KivFXMltKind::linear;
    if (i + 1 == end) {
        const char c = text[i];
        if (c == '|' || c == '!') {
            kind = KivFXMltKind::discrete;
        } else if (c == '~') {
            kind = KivFXMltKind::smooth;
        } else if (const char* later = LaterKindName(c)) {
            Fault(i, "keyframe kind " + Quoted(c) + "= (" + later +
                         ") is not supported by this version, which reads MLT 7.12's '=', '|=' and '~='");
        } else {
            Fault(i, "unexpected " + Quoted(c) + " before '='");
        }
    } else if (i < end) {
        Fault(i, "unexpected " + Quoted(text[i]) + " in the frame number");
    }
    return negative ? -frame : frame;
}

// Reads text[at..end) as a plain decimal value, maybe quoted, maybe a percentage.
double ReadValue(std::string_view text, std::size_t at, std::size_t end) {
    if (at < end && text[at] == '"') {
        if (end - at < 2 || text[end - 1] != '"') Fault(at, "unterminated quoted value");
        ++at;
        --end;
    }
    std::size_t i = at;
    while (i < end && IsSpace(text[i])) ++i;
    if (i >= end) Fault(i, "missing value");
    const std::size_t start = i;
    if (text[i] == '+' || text[i] == '-') ++i;
    const std::size_t mantissa = i;
    while (i < end && IsDigit(text[i])) ++i;
    if (i < end && text[i] == '.') ++i;
    while (i < end && IsDigit(text[i])) ++i;
    if (i == mantissa || (i == mantissa + 1 && text[mantissa] == '.')) Fault(start, "expected a decimal number after '='");
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t e = i + 1;
        if (e < end && (text[e] == '+' || text[e] == '-')) ++e;
        if (e >= end || !IsDigit(text[e])) Fault(i, "incomplete exponent");
        for (i = e; i < end && IsDigit(text[i]);) ++i;
    }
    // from_chars takes no leading '+'; it reads the same digits strtod does, in any locale.
    const std::size_t digits = text[start] == '+' ? start + 1 : start;
    double value = 0.0;
    const auto [p, ec] = std::from_chars(text.data() + digits, text.data() + i, value);
    if (ec != std::errc() || p != text.data() + i || !std::isfinite(value)) Fault(start, "value out of range");
    if (i < end && text[i] == '%') {
        value /= kPercent;
        ++i;
    }
    while (i < end && IsSpace(text[i])) ++i;
    if (i < end) Fault(i, "unexpected " + Quoted(text[i]) + " after the value");
    return value;
}

KivFXMltParsed ParseItems(std::string_view text, int frames) {
    KivFXMltParsed out;
    if (text.find('=') == std::string_view::npos) {
        // A plain value: MLT's constant property.
        out.keys.push_back({0, ReadValue(text, 0, text.size()), KivFXMltKind::linear});
        return out;
    }
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t end = text.find(';', at);
        if (end == std::string_view::npos) end = text.size();
        if (end > at) {
            const std::size_t eq = text.find('=', at);
            if (eq >= end) Fault(at, "item without '=' (MLT would read it as the value at frame 0)");
            KivFXMltKey key;
            key.position = at;
            std::int64_t frame = ReadFrame(text, at, eq, key.kind);
            if (frame < 0) frame += frames;
            if (frame < -kKivFXMltFrameLimit || frame > kKivFXMltFrameLimit) Fault(at, "frame beyond the story's reach");
            key.frame = static_cast<int>(frame);
            key.value = ReadValue(text, eq + 1, end);
            out.keys.push_back(key);
        }
        at = end + 1;
    }
    if (out.keys.empty()) Fault(0, "no keyframe in the string");
    std::vector<std::size_t> order(out.keys.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return out.keys[a].frame < out.keys[b].frame; });
    std::vector<KivFXMltKey> sorted;
    sorted.reserve(order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && out.keys[order[k]].frame == out.keys[order[k - 1]].frame)
            Fault(out.keys[std::max(order[k], order[k - 1])].position,
                  "frame " + std::to_string(out.keys[order[k]].frame) + " is given twice (MLT would keep only the later one)");
        sorted.push_back(out.keys[order[k]]);
    }
    out.keys = std::move(sorted);
    return out;
}

std::string Spelled(double v) {
    char buf[40];
    const bool isFloat = std::fabs(v) <= FLT_MAX && static_cast<double>(static_cast<float>(v)) == v;
    const float f = isFloat ? static_cast<float>(v) : 0.0f;
    const auto r = isFloat ? std::to_chars(buf, buf + sizeof buf, f) : std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

}  // namespace

KivFXMltParsed KivFXMltParse(std::string_view text, int frames) {
    try {
        return ParseItems(text, frames);
    } catch (ParseFault& f) {
        KivFXMltParsed out;
        out.error = "position " + std::to_string(f.position) + ": " + f.message;
        out.position = f.position;
        return out;
    }
}

std::string KivFXMltFormat(std::span<const KivFXMltKey> keys) {
    std::string out;
    for (const KivFXMltKey& k : keys) {
        if (!out.empty()) out += ';';
        out += std::to_string(k.frame);
        if (k.kind == KivFXMltKind::discrete) out += '|';
        if (k.kind == KivFXMltKind::smooth) out += '~';
        out += '=';
        out += Spelled(k.value);
    }
    return out;
}

double KivFXMltAsWritten(double v) {
    const std::string text = Spelled(v);
    double back = v;
    std::from_chars(text.data(), text.data() + text.size(), back);
    return back;
}

double KivFXMltCatmullRom(double y0, double y1, double y2, double y3, double u) {
    const double a0 = -0.5 * y0 + 1.5 * y1 - 1.5 * y2 + 0.5 * y3;
    const double a1 = y0 - 2.5 * y1 + 2.0 * y2 - 0.5 * y3;
    const double a2 = -0.5 * y0 + 0.5 * y2;
    return ((a0 * u + a1) * u + a2) * u + y1;
}

double KivFXMltValueAt(std::span<const KivFXMltKey> keys, int frame) {
    if (keys.empty()) return 0.0;
    if (frame <= keys.front().frame) return keys.front().value;
    if (frame >= keys.back().frame) return keys.back().value;
    const auto next = std::upper_bound(keys.begin(), keys.end(), frame, [](int f, const KivFXMltKey& k) { return f < k.frame; });
    const std::size_t i = static_cast<std::size_t>(next - keys.begin()) - 1;
    const KivFXMltKey& a = keys[i];
    const KivFXMltKey& b = keys[i + 1];
    if (frame == a.frame || a.kind == KivFXMltKind::discrete) return a.value;
    const double u = static_cast<double>(frame - a.frame) / static_cast<double>(b.frame - a.frame);
    if (a.kind == KivFXMltKind::linear) return a.value + (b.value - a.value) * u;
    const double y0 = i > 0 ? keys[i - 1].value : a.value;
    const double y3 = i + 2 < keys.size() ? keys[i + 2].value : b.value;
    return KivFXMltCatmullRom(y0, a.value, b.value, y3, u);
}
