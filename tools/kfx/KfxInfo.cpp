// kfx info [--json] FILE: every object with its class and stored fields, blocks shown by
// their named parts, as text for people or as JSON for scripts.
#include <cstdio>
#include <memory>
#include <string>

#include "KfxCommands.h"
#include "KfxObjectView.h"
#include "KfxProject.h"

namespace {

using Fields = std::vector<std::pair<std::string, KfxValue>>;

// ---- text ----

std::string TextOf(const KfxValue& v) {
    switch (v.kind) {
    case KfxValue::Kind::parts: {
        std::string out = "{";
        for (const auto& [name, part] : v.parts) out += (out.size() > 1 ? ", " : "") + name + " = " + part.text;
        return out + "}";
    }
    case KfxValue::Kind::list: {
        std::string out = "[";
        for (const KfxValue& item : v.items) out += (out.size() > 1 ? ", " : "") + item.text;
        return out + "] (" + std::to_string(v.items.size()) + " value(s))";
    }
    case KfxValue::Kind::unknown: return "(a list of a type kfx cannot show)";
    default: return v.text;
    }
}

void PrintText(const KfxObjectView* view, int depth);

void PrintTextElements(const std::vector<std::unique_ptr<KfxObjectView>>& elements, int depth) {
    int index = 0;
    for (const auto& element : elements) {
        std::printf("%*s[%d] ", depth * 2, "", index++);
        PrintText(element.get(), depth);
    }
}

void PrintText(const KfxObjectView* view, int depth) {
    if (!view) {
        std::printf("(null)\n");
        return;
    }
    std::printf("%s\n", view->className.c_str());
    for (const auto& [name, value] : view->fields) std::printf("%*s%s = %s\n", depth * 2 + 4, "", name.c_str(), TextOf(value).c_str());
    if (view->isList) {
        std::printf("%*s%d element(s):\n", depth * 2 + 4, "", static_cast<int>(view->elements.size()));
        PrintTextElements(view->elements, depth + 2);
    }
}

// ---- JSON ----

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", u);
            out += esc;
        } else {
            out += c;  // UTF-8 passes as it is
        }
    }
    return out + "\"";
}

// JSON has no NaN or infinities: those stay strings, spelled as in the XML format.
std::string JsonNumber(const std::string& spelled) {
    const bool special = spelled.find_first_of("ni") != std::string::npos;
    return special ? JsonString(spelled) : spelled;
}

std::string JsonOf(const KfxValue& v) {
    switch (v.kind) {
    case KfxValue::Kind::integer:
    case KfxValue::Kind::real: return JsonNumber(v.text);
    case KfxValue::Kind::text:
    case KfxValue::Kind::bytes: return JsonString(v.text);
    case KfxValue::Kind::parts: {
        std::string out = "{";
        for (const auto& [name, part] : v.parts) out += (out.size() > 1 ? ", " : "") + JsonString(name) + ": " + JsonOf(part);
        return out + "}";
    }
    case KfxValue::Kind::list: {
        std::string out = "[";
        for (const KfxValue& item : v.items) out += (out.size() > 1 ? ", " : "") + JsonOf(item);
        return out + "]";
    }
    case KfxValue::Kind::unknown: return "null";
    }
    return "null";
}

void PrintJsonElements(const std::vector<std::unique_ptr<KfxObjectView>>& elements, int depth);

void PrintJson(const KfxObjectView* view, int depth) {
    if (!view) {
        std::printf("null");
        return;
    }
    const int in = depth * 2 + 2;
    std::printf("{\n%*s\"class\": %s,\n%*s\"fields\": {", in, "", JsonString(view->className).c_str(), in, "");
    const char* separator = "\n";
    for (const auto& [name, value] : view->fields) {
        std::printf("%s%*s%s: %s", separator, in + 2, "", JsonString(name).c_str(), JsonOf(value).c_str());
        separator = ",\n";
    }
    std::printf(view->fields.empty() ? "}" : "\n%*s}", in, "");
    if (view->isList) {
        std::printf(",\n%*s\"elements\": ", in, "");
        PrintJsonElements(view->elements, depth + 1);
    }
    std::printf("\n%*s}", depth * 2, "");
}

void PrintJsonElements(const std::vector<std::unique_ptr<KfxObjectView>>& elements, int depth) {
    std::printf("[");
    const char* separator = "\n";
    for (const auto& element : elements) {
        std::printf("%s%*s", separator, depth * 2 + 2, "");
        PrintJson(element.get(), depth + 1);
        separator = ",\n";
    }
    std::printf(elements.empty() ? "]" : "\n%*s]", depth * 2, "");
}

struct Options {
    bool json = false;
    std::string file;
};

int Run(const Options& o) {
    CKivObList list;
    KfxLoad(o.file, list);
    const std::unique_ptr<KfxObjectView> project = KfxViewOf(list);
    if (o.json) {
        std::printf("{\n  \"file\": %s,\n  \"objects\": ", JsonString(o.file).c_str());
        PrintJsonElements(project->elements, 1);
        std::printf("\n}\n");
        return kKfxOk;
    }
    std::printf("%s: %d object(s)\n", o.file.c_str(), static_cast<int>(project->elements.size()));
    PrintTextElements(project->elements, 0);
    return kKfxOk;
}

KfxRun Declare(CLI::App& command) {
    auto o = std::make_shared<Options>();
    command.footer(
        "Prints every object of FILE (.kfa or .xml) with its class and its stored fields,\n"
        "level by level from the root class down; blocks show their named parts (a\n"
        "handle's ValueOffset and PosOffset, a point's x, y, z), lists stored by their\n"
        "class their values, and lists of objects their elements. --json prints the same\n"
        "as one JSON document (see docs/FORMATS.md).");
    command.add_flag("--json", o->json, "print one JSON document instead of text");
    command.add_option("FILE", o->file, "the project file to show")->required();
    return [o] { return Run(*o); };
}

const KfxRegistration kInfo({"info", "show every object of a project file with its class and fields", Declare});

}  // namespace
