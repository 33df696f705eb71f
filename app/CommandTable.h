#pragma once

#include <span>
#include <string>
#include <string_view>

/// The command line as one table: --help is printed from it, the arguments are read by
/// it, and the shell completions are made from it when the program is built, so none of
/// them can name an option the others do not know. Plain C++, for the build's generator.
namespace command_table {

/// What a shell offers for an option's value or for an operand.
enum class Offer { Nothing, Folders, Extensions };

/// The options, for the code that acts on them.
enum class OptionId { Source, Dest, Types, DryRun, SkipIdentical, Json, Null, Quiet, Yes, Help, Version };

/// Where an option is taken: after no subcommand (the window's), after a subcommand, or
/// as the only argument.
enum class Scope { Window, Subcommand, Alone };

struct Option {
    OptionId id;
    Scope scope;
    std::string_view shortName; // "-t"; empty for none
    std::string_view longName;  // "--types"
    std::string_view value;     // the value's name in the help, "LIST"; empty for a flag
    Offer offer;                // what completes the value
    std::string_view help;      // a "\n" breaks the help's line there
};

/// One way to start the program: the window (no name) or a subcommand.
struct Form {
    std::string_view name;     // "copy"; empty for the window
    std::string_view operands; // "SOURCE DEST"
    int folders;               // how many of the operands are folders
    std::string_view help;
};

std::span<const Option> options();
std::span<const Form> forms();
/// The extensions offered after -t: common photo, video, music and document types.
std::span<const std::string_view> commonExtensions();

/// The option of `scope` that `word` is: its short or long name, or the long name and
/// "=VALUE" for an option with a value. Null for any other word.
const Option* findOption(std::string_view word, Scope scope);
/// Whether `word` names a subcommand.
bool isSubcommand(std::string_view word);

/// The text of --help.
std::string usage();

} // namespace command_table
