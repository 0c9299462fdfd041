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

// Strips the quotes around a value, if it has them.
void Unquote(std::string_view text, std::size_t& at, std::size_t& end) {
    if (at < end && text[at] == '"') {
        if (end - at < 2 || text[end - 1] != '"') Fault(at, "unterminated quoted value");
        ++at;
        --end;
    }
}

// Reads a decimal number, maybe a percentage, from text[i..end) after white space; i ends
// just after it.
double ReadNumber(std::string_view text, std::size_t& i, std::size_t end) {
    while (i < end && IsSpace(text[i])) ++i;
    if (i >= end) Fault(i, "missing value");
    const std::size_t start = i;
    if (text[i] == '+' || text[i] == '-') ++i;
    const std::size_t mantissa = i;
    while (i < end && IsDigit(text[i])) ++i;
    if (i < end && text[i] == '.') ++i;
    while (i < end && IsDigit(text[i])) ++i;
    if (i == mantissa || (i == mantissa + 1 && text[mantissa] == '.')) Fault(start, "expected a decimal number");
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
    return value;
}

// Reads text[at..end) as a plain decimal value, maybe quoted, maybe a percentage.
double ReadValue(std::string_view text, std::size_t at, std::size_t end) {
    Unquote(text, at, end);
    std::size_t i = at;
    const double value = ReadNumber(text, i, end);
    while (i < end && IsSpace(text[i])) ++i;
    if (i < end) Fault(i, "unexpected " + Quoted(text[i]) + " after the value");
    return value;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "#aarrggbb" or "#rrggbb" (opaque) into alpha, red, green, blue.
void ReadColour(std::string_view text, std::size_t at, std::size_t end, KivFXMltKey& key) {
    Unquote(text, at, end);
    if (at >= end || text[at] != '#') Fault(at, "expected a colour \"#aarrggbb\" or \"#rrggbb\"");
    const std::size_t digits = end - at - 1;
    for (std::size_t i = at + 1; i < end; ++i)
        if (HexDigit(text[i]) < 0) Fault(i, "unexpected " + Quoted(text[i]) + " in a colour");
    if (digits != 8 && digits != 6) Fault(at, "a colour has 8 or 6 hex digits, not " + std::to_string(digits));
    std::size_t i = at + 1;
    key.channels[0] = 255.0;
    for (std::size_t c = digits == 8 ? 0 : 1; c < 4; ++c, i += 2) key.channels[c] = HexDigit(text[i]) * 16 + HexDigit(text[i + 1]);
    key.value = key.channels[0];
}

bool IsRectSeparator(char c) { return c == ' ' || c == '/' || c == ':' || c == 'x' || c == ','; }

// "x y w h [o]" or "x/y:wxh[:o]", at least x and y.
void ReadRect(std::string_view text, std::size_t at, std::size_t end, KivFXMltKey& key) {
    constexpr std::size_t kMostNumbers = 5;
    Unquote(text, at, end);
    std::size_t i = at, count = 0;
    for (;;) {
        if (count == kMostNumbers) Fault(i, "a rectangle has at most 5 numbers (x, y, w, h, opacity)");
        key.channels[count++] = ReadNumber(text, i, end);
        std::size_t after = i;
        while (after < end && IsSpace(text[after])) ++after;
        if (after >= end) break;
        if (!IsRectSeparator(text[i])) Fault(i, "unexpected " + Quoted(text[i]) + " in a rectangle");
        ++i;
    }
    if (count < 2) Fault(at, "a rectangle needs at least x and y");
    key.value = key.channels[0];
}

void ReadKeyValue(std::string_view text, std::size_t at, std::size_t end, KivFXMltForm form, KivFXMltKey& key) {
    if (form == KivFXMltForm::colour) return ReadColour(text, at, end, key);
    if (form == KivFXMltForm::rect) return ReadRect(text, at, end, key);
    key.value = key.channels[0] = ReadValue(text, at, end);
}

KivFXMltParsed ParseItems(std::string_view text, int frames, KivFXMltForm form) {
    KivFXMltParsed out;
    if (text.find('=') == std::string_view::npos) {
        // A plain value: MLT's constant property.
        out.keys.emplace_back();
        ReadKeyValue(text, 0, text.size(), form, out.keys.back());
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
            ReadKeyValue(text, eq + 1, end, form, key);
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

KivFXMltParsed KivFXMltParse(std::string_view text, int frames, KivFXMltForm form) {
    try {
        return ParseItems(text, frames, form);
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

KivFXMltForm KivFXMltDetectForm(std::string_view text) {
    std::size_t at = text.find('=');
    at = at == std::string_view::npos ? 0 : at + 1;
    const std::size_t end = std::min(text.find(';', at), text.size());
    while (at < end && (IsSpace(text[at]) || text[at] == '"')) ++at;
    if (at < end && text[at] == '#') return KivFXMltForm::colour;
    // A second number after a separator makes a rectangle.
    while (at < end && !IsRectSeparator(text[at]) && !IsSpace(text[at])) ++at;
    while (at < end && (IsRectSeparator(text[at]) || IsSpace(text[at]))) ++at;
    return at < end && (IsDigit(text[at]) || text[at] == '-' || text[at] == '+' || text[at] == '.') ? KivFXMltForm::rect : KivFXMltForm::scalar;
}

std::vector<KivFXMltKey> KivFXMltChannel(std::span<const KivFXMltKey> keys, std::size_t c) {
    std::vector<KivFXMltKey> out(keys.begin(), keys.end());
    for (KivFXMltKey& k : out) k.value = k.channels[c];
    return out;
}
