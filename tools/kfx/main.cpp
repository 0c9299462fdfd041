// kfx: the command-line face of KivFXKeyFrm.
#include <algorithm>
#include <cstdio>
#include <exception>

#include "KfxCommands.h"

namespace {

// Filled by the commands' registrations before main runs (a function's static, so that it
// exists whichever file registers first).
std::vector<KfxCommand>& Registry() {
    static std::vector<KfxCommand> commands;
    return commands;
}

constexpr const char* kAbout =
    "Keyframes of video effects: project files, tracks and editors.\n"
    "`kfx COMMAND --help` tells more about a command.";

// CLI11's message for a fault in the arguments, in the words kfx has always used for the
// common ones (scripts and people match them): "unknown option --x", "edit needs a FILE".
std::string Explain(const CLI::ParseError& e, const CLI::App* command) {
    const std::string what = e.what();
    const std::string prefix = command ? command->get_name() + " " : "";
    if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
        const size_t colon = what.find(": ");
        const std::string first = colon == std::string::npos ? what : what.substr(colon + 2, what.find(' ', colon + 2) - colon - 2);
        return first.rfind('-', 0) == 0 ? "unknown option " + first : prefix + "does not take '" + first + "'";
    }
    const std::string required = " is required";
    if (command && dynamic_cast<const CLI::RequiredError*>(&e) && what.size() > required.size() &&
        what.compare(what.size() - required.size(), required.size(), required) == 0) {
        const std::string name = what.substr(0, what.size() - required.size());
        const bool positional = name[0] != '-';
        return prefix + "needs " + (positional ? (std::string("AEIOU").find(name[0]) != std::string::npos ? "an " : "a ") : "") + name;
    }
    return what;
}

}  // namespace

KfxRegistration::KfxRegistration(const KfxCommand& command) { Registry().push_back(command); }

const std::vector<KfxCommand>& KfxCommands() {
    std::vector<KfxCommand>& commands = Registry();
    std::sort(commands.begin(), commands.end(), [](const KfxCommand& a, const KfxCommand& b) { return std::string(a.name) < b.name; });
    return commands;
}

CLI::Option* KfxAddOption(CLI::App& command, const std::string& name, const std::string& valueName, const std::string& help,
                          const std::string& fault, std::function<bool(const std::string&)> parse) {
    auto read = [parse = std::move(parse), fault](const std::string& value) {
        if (!parse(value)) throw CLI::ValidationError(fault + ", not '" + value + "'");
    };
    return command.add_option_function<std::string>(name, std::move(read), help)->type_name(valueName);
}

int KfxFail(const std::string& message) {
    std::fprintf(stderr, "kfx: %s\n", message.c_str());
    return kKfxBadInput;
}

int main(int argc, char** argv) {
    CLI::App kfx(kAbout, "kfx");
    kfx.set_version_flag("--version", std::string("kfx ") + KIVFX_VERSION_TEXT + " (KivFXKeyFrm " + KIVFX_VERSION_TEXT + ")",
                         "print the version of kfx and its library and exit");
    kfx.require_subcommand(1);
    std::vector<std::pair<CLI::App*, KfxRun>> commands;
    for (const KfxCommand& c : KfxCommands()) {
        CLI::App* sub = kfx.add_subcommand(c.name, c.summary);
        // An option given twice takes its last value, as kfx has always read them.
        sub->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
        commands.emplace_back(sub, c.declare(*sub));
    }
    // Run bare, or asked with the old word, kfx says how to use it: on stderr (and failing)
    // when nothing was asked, since writing files unbidden is no way to answer that.
    if (argc < 2) {
        std::fputs(kfx.help().c_str(), stderr);
        return kKfxBadInput;
    }
    if (std::string(argv[1]) == "help") {
        std::fputs(kfx.help().c_str(), stdout);
        return kKfxOk;
    }
    const std::string first = argv[1];
    const auto named = [&first](const KfxCommand& c) { return first == c.name; };
    if (first[0] != '-' && std::none_of(KfxCommands().begin(), KfxCommands().end(), named))
        return KfxFail("unknown command '" + first + "' (see kfx --help)");
    if (first[0] == '-' && first != "-h" && first != "--help" && first != "--version")
        return KfxFail("unknown option " + first + " (see kfx --help)");
    try {
        kfx.parse(argc, argv);
        for (auto& [sub, run] : commands)
            if (sub->parsed()) return run();
        return KfxFail("no command given (see kfx --help)");
    } catch (const CLI::CallForHelp&) {
        std::fputs(kfx.help().c_str(), stdout);
        return kKfxOk;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return kKfxOk;
    } catch (const CLI::ParseError& e) {
        const CLI::App* sub = kfx.get_subcommands().empty() ? nullptr : kfx.get_subcommands().front();
        return KfxFail(Explain(e, sub) + " (see kfx " + (sub ? sub->get_name() + " " : "") + "--help)");
    } catch (const std::exception& e) {
        return KfxFail(e.what());
    }
}
