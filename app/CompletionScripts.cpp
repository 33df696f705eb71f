#include "app/CompletionScripts.h"

#include "app/CommandTable.h"

#include <map>
#include <optional>
#include <string_view>
#include <vector>

namespace completion_scripts {

namespace {

using command_table::Form;
using command_table::Offer;
using command_table::Option;
using command_table::Scope;

const char* const kBashTemplate = R"(# bash completion for quorvane
# Made from the program's option table when it is built: change the table, not this file.

# Folders, whose names may hold blanks; offered as file names, so that bash quotes them
# and adds their "/".
_quorvane_folders()
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY+=($(compgen -d -- "$cur"))
}

# The list after -t is completed item by item, after its last comma.
_quorvane_extensions()
{
    local prefix=
    [[ $cur == *,* ]] && prefix=${cur%,*},
    COMPREPLY=($(compgen -P "$prefix" -W '@EXTENSIONS@' -- "${cur##*,}"))
}

_quorvane()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=
    (( COMP_CWORD > 0 )) && prev=${COMP_WORDS[COMP_CWORD-1]}
    # Where "=" breaks words, "--types=jp" comes as "--types" "=" "jp".
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]] && (( COMP_CWORD > 1 )); then
        prev=${COMP_WORDS[COMP_CWORD-2]}
    fi
    COMPREPLY=()

    # The subcommand, when the first word is one, and how many folders its form takes.
    local subcommand= folders=@WINDOW_FOLDERS@ options='@WINDOW_OPTIONS@' first=1
    if (( COMP_CWORD > 1 )); then
        case ${COMP_WORDS[1]} in
@SUBCOMMAND_ARMS@        esac
    fi
    [[ -n $subcommand ]] && options='@SUBCOMMAND_OPTIONS@' first=2

    case $prev in
@VALUE_ARMS@    esac

    if [[ $cur == -* ]]; then
        (( COMP_CWORD == 1 )) && options+=' @ALONE_OPTIONS@'
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi

    # Folders while the form takes more: the words before this one that are neither
    # options nor their values.
    local i operands=0 valued=' @VALUED_OPTIONS@ '
    for (( i = first; i < COMP_CWORD; i++ )); do
        if [[ $valued == *" ${COMP_WORDS[i]} "* ]]; then
            [[ ${COMP_WORDS[i+1]} == = ]] && (( i++ ))
            (( i++ ))
        elif [[ ${COMP_WORDS[i]} != -* && ${COMP_WORDS[i]} != = ]]; then
            (( operands++ ))
        fi
    done
    (( COMP_CWORD == 1 )) && COMPREPLY=($(compgen -W '@SUBCOMMANDS@' -- "$cur"))
    (( operands < folders )) && _quorvane_folders
    return 0
}

complete -F _quorvane quorvane
)";

const char* const kZshTemplate = R"(#compdef quorvane
# Made from the program's option table when it is built: change the table, not this file.

# The list after -t, completed item by item between its commas.
_quorvane_extensions() {
  _values -s , extension @EXTENSIONS@
}

_quorvane_subcommands() {
  local -a subcommands
  subcommands=(
@SUBCOMMAND_DESCRIPTIONS@  )
  _describe -t subcommands subcommand subcommands
}

_quorvane() {
  local curcontext=$curcontext state line ret=1
  typeset -A opt_args
  local -a window_options subcommand_options
  window_options=(
@WINDOW_SPECS@  )
  subcommand_options=(
@SUBCOMMAND_SPECS@  )
  _arguments -C : \
@ALONE_SPECS@    $window_options \
    '1: :->first' \
    '*:: :->rest' && ret=0
  case $state in
  first)
    _alternative 'subcommands:subcommand:_quorvane_subcommands' 'folders:folder:_files -/' && ret=0
    ;;
  rest)
    case $line[1] in
@SUBCOMMAND_ARMS@    *) _arguments : $window_options && ret=0 ;;
    esac
    ;;
  esac
  return ret
}

_quorvane "$@"
)";

std::string joined(const auto& words, std::string_view separator = " ")
{
    std::string text;
    for (const auto& word : words) {
        if (!text.empty())
            text += separator;
        text += word;
    }
    return text;
}

std::string filled(std::string text, const std::map<std::string, std::string>& values)
{
    for (const auto& [name, value] : values) {
        const std::string mark = '@' + name + '@';
        for (std::size_t at; (at = text.find(mark)) != std::string::npos;)
            text.replace(at, mark.size(), value);
    }
    return text;
}

// Every name (short and long) of the options of `scope`, or of those whose value gets
// `offer`, or of all that take a value.
std::vector<std::string_view> optionNames(std::optional<Scope> scope, std::optional<Offer> offer = {},
                                          bool valued = false)
{
    std::vector<std::string_view> names;
    for (const Option& option : command_table::options()) {
        if ((scope && option.scope != *scope) || ((offer || valued) && option.value.empty())
            || (offer && option.offer != *offer))
            continue;
        if (!option.shortName.empty())
            names.push_back(option.shortName);
        names.push_back(option.longName);
    }
    return names;
}

std::vector<const Form*> subcommandForms()
{
    std::vector<const Form*> forms;
    for (const Form& form : command_table::forms())
        if (!form.name.empty())
            forms.push_back(&form);
    return forms;
}

// The words of `text` between blanks.
std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> found;
    while (!text.empty()) {
        const std::size_t end = text.find(' ');
        if (end != 0)
            found.push_back(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return found;
}

// A text inside single quotes, in either shell.
std::string quotable(std::string_view text)
{
    std::string quoted;
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c == '\n' ? ' ' : c;
    }
    return quoted;
}

// An option's help as an _arguments description, between brackets.
std::string zshDescription(std::string_view help)
{
    std::string text;
    for (const char c : quotable(help)) {
        if (c == '[' || c == ']' || c == '\\')
            text += '\\';
        text += c;
    }
    return text;
}

std::string zshValueAction(const Option& option)
{
    if (option.value.empty())
        return {};
    const std::string message = ':' + std::string(option.value) + ':';
    switch (option.offer) {
    case Offer::Folders:
        return message + "_files -/";
    case Offer::Extensions:
        return message + "_quorvane_extensions";
    case Offer::Nothing:
        break;
    }
    return message + ' ';
}

// One quoted _arguments entry a line for every name of the options of `scope`: a name
// excludes its other name, and --help and --version everything else.
std::string zshSpecs(Scope scope, std::string_view lineEnd)
{
    std::string specs;
    for (const Option& option : command_table::options()) {
        if (option.scope != scope)
            continue;
        std::vector<std::string_view> names;
        if (!option.shortName.empty())
            names.push_back(option.shortName);
        names.push_back(option.longName);
        const std::string excluded = scope == Scope::Alone ? "(- *)" : '(' + joined(names) + ')';
        const std::string tail = '[' + zshDescription(option.help) + ']' + zshValueAction(option);
        for (const std::string_view name : names) {
            const char* valueMark = option.value.empty() ? "" : name == option.longName ? "=" : "+";
            specs += "    '" + excluded + std::string(name) + valueMark + tail + '\'' + std::string(lineEnd) + '\n';
        }
    }
    return specs;
}

} // namespace

std::string bash()
{
    std::map<int, std::vector<std::string_view>> byFolders;
    std::vector<std::string_view> subcommands;
    int windowFolders = 0;
    for (const Form& form : command_table::forms()) {
        if (form.name.empty()) {
            windowFolders = form.folders;
            continue;
        }
        byFolders[form.folders].push_back(form.name);
        subcommands.push_back(form.name);
    }
    std::string subcommandArms;
    for (const auto& [folders, names] : byFolders)
        subcommandArms += "        " + joined(names, "|") + ") subcommand=${COMP_WORDS[1]} folders="
            + std::to_string(folders) + " ;;\n";
    std::string valueArms;
    for (const auto& [offer, function] : {std::pair{Offer::Folders, "_quorvane_folders"},
                                          std::pair{Offer::Extensions, "_quorvane_extensions"}}) {
        const std::vector<std::string_view> names = optionNames(std::nullopt, offer);
        if (!names.empty())
            valueArms += "    " + joined(names, "|") + ")\n        " + function + "\n        return ;;\n";
    }
    return filled(kBashTemplate,
                  {{"EXTENSIONS", joined(command_table::commonExtensions())},
                   {"WINDOW_FOLDERS", std::to_string(windowFolders)},
                   {"WINDOW_OPTIONS", joined(optionNames(Scope::Window))},
                   {"SUBCOMMAND_OPTIONS", joined(optionNames(Scope::Subcommand))},
                   {"ALONE_OPTIONS", joined(optionNames(Scope::Alone))},
                   {"VALUED_OPTIONS", joined(optionNames(std::nullopt, std::nullopt, true))},
                   {"SUBCOMMANDS", joined(subcommands)},
                   {"SUBCOMMAND_ARMS", subcommandArms},
                   {"VALUE_ARMS", valueArms}});
}

std::string zsh()
{
    std::string descriptions;
    std::map<std::string, std::vector<std::string_view>> byOperands; // the operands' entries
    for (const Form* form : subcommandForms()) {
        descriptions += "    '" + std::string(form->name) + ':' + quotable(form->help) + "'\n";
        std::string operands;
        int position = 0;
        for (const std::string_view operand : words(form->operands))
            if (position < form->folders)
                operands += " '" + std::to_string(++position) + ':' + std::string(operand) + ":_files -/'";
        byOperands[operands].push_back(form->name);
    }
    std::string subcommandArms;
    for (const auto& [operands, names] : byOperands)
        subcommandArms += "    " + joined(names, "|") + ") _arguments -s : $subcommand_options" + operands
            + " && ret=0 ;;\n";
    return filled(kZshTemplate, {{"EXTENSIONS", joined(command_table::commonExtensions())},
                                 {"SUBCOMMAND_DESCRIPTIONS", descriptions},
                                 {"WINDOW_SPECS", zshSpecs(Scope::Window, "")},
                                 {"SUBCOMMAND_SPECS", zshSpecs(Scope::Subcommand, "")},
                                 {"ALONE_SPECS", zshSpecs(Scope::Alone, " \\")},
                                 {"SUBCOMMAND_ARMS", subcommandArms}});
}

} // namespace completion_scripts
