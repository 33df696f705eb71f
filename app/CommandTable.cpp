#include "app/CommandTable.h"

#include <algorithm>
#include <array>

namespace command_table {

namespace {

constexpr std::array kOptions{
    Option{OptionId::Source, Scope::Window, "", "--source", "FOLDER", Offer::Folders,
           "the source folder, instead of FOLDER"},
    Option{OptionId::Dest, Scope::Window, "", "--dest", "FOLDER", Offer::Folders, "the destination folder"},
    Option{OptionId::Types, Scope::Subcommand, "-t", "--types", "LIST", Offer::Extensions,
           "comma-separated extensions, as in the window\n(default: jpg)"},
    Option{OptionId::DryRun, Scope::Subcommand, "", "--dry-run", "", Offer::Nothing,
           "check, search and plan, print the plan, write nothing"},
    Option{OptionId::SkipIdentical, Scope::Subcommand, "", "--skip-identical", "", Offer::Nothing,
           "leave files whose bytes the destination already holds"},
    Option{OptionId::Json, Scope::Subcommand, "", "--json", "", Offer::Nothing,
           "print the plan or the report as JSON lines"},
    Option{OptionId::Null, Scope::Subcommand, "-0", "--null", "", Offer::Nothing,
           "print NUL-separated names instead of lines"},
    Option{OptionId::Quiet, Scope::Subcommand, "-q", "--quiet", "", Offer::Nothing, "print no report"},
    Option{OptionId::Yes, Scope::Subcommand, "-y", "--yes", "", Offer::Nothing,
           "answer yes to every question but whether to go on when the\n"
           "destination lacks the space (asked on a terminal, else no)"},
    Option{OptionId::Help, Scope::Alone, "-h", "--help", "", Offer::Nothing, "print this help"},
    Option{OptionId::Version, Scope::Alone, "", "--version", "", Offer::Nothing, "print the version"},
};

constexpr std::array kForms{
    Form{"", "[FOLDER] [--dest FOLDER]", 1, "start the window, FOLDER as its source"},
    Form{"copy", "SOURCE DEST", 2, "copy the files into DEST"},
    Form{"move", "SOURCE DEST", 2, "move the files into DEST"},
    Form{"delete", "SOURCE", 1, "delete the files for good"},
    Form{"trash", "SOURCE", 1, "move the files to the trash"},
    Form{"undo", "", 0, "take back the last run"},
};

// What cameras, phones and office programs write, the names most often gathered.
constexpr std::array<std::string_view, 43> kExtensions{
    "jpg", "jpeg", "png", "gif", "heic", "heif", "webp", "tif", "tiff", "bmp", "raw",
    "dng", "cr2", "cr3", "nef", "arw", "orf", "rw2", "raf", "mp4", "mov", "m4v", "avi",
    "mkv", "mts", "3gp", "webm", "mp3", "m4a", "wav", "flac", "ogg", "pdf", "txt",
    "csv", "doc", "docx", "xls", "xlsx", "ppt", "pptx", "odt", "ods",
};

const char* const kAbout =
    "A subcommand gathers the files under SOURCE whose path ends in one of the\n"
    "extensions into the one folder DEST, numbering taken names, or deletes them or\n"
    "moves them to the trash, without a window. SOURCE and DEST may be relative to\n"
    "the working folder; undo takes back the last run. Without a subcommand the\n"
    "window starts, with the folders given here filled in for this start only (the\n"
    "settings stay as they are).\n";

const char* const kExitStatus =
    "Exit status: 0 all files done, 1 some failed, were skipped or not done or a\n"
    "question was answered no, 2 bad usage or a failed check, 130 stopped by SIGINT\n"
    "or SIGTERM.\n";

std::string names(const Option& option)
{
    std::string text = option.shortName.empty() ? "    " : std::string(option.shortName) + ", ";
    text += option.longName;
    if (!option.value.empty())
        text += ' ' + std::string(option.value);
    return text;
}

// Help texts start at one column, their broken lines too.
void addRow(std::string& text, const std::string& left, std::string_view help, std::size_t column)
{
    std::string line = left;
    for (std::string_view rest = help;;) {
        line.resize(std::max(column, line.size() + 1), ' ');
        const std::size_t end = rest.find('\n');
        line += rest.substr(0, end);
        text += line + '\n';
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
        line.clear();
    }
}

} // namespace

std::span<const Option> options()
{
    return kOptions;
}

std::span<const Form> forms()
{
    return kForms;
}

std::span<const std::string_view> commonExtensions()
{
    return kExtensions;
}

const Option* findOption(std::string_view word, Scope scope)
{
    for (const Option& option : kOptions) {
        if (option.scope != scope)
            continue;
        if (word == option.longName || (!option.shortName.empty() && word == option.shortName))
            return &option;
        if (!option.value.empty() && word.size() > option.longName.size() && word.starts_with(option.longName)
            && word[option.longName.size()] == '=')
            return &option;
    }
    return nullptr;
}

bool isSubcommand(std::string_view word)
{
    return !word.empty()
        && std::any_of(kForms.begin(), kForms.end(), [word](const Form& form) { return form.name == word; });
}

std::string usage()
{
    std::string text;
    std::size_t formColumn = 0;
    const auto formText = [](const Form& form) {
        std::string line = "quorvane";
        for (const std::string_view part : {form.name, form.operands})
            if (!part.empty())
                line += ' ' + std::string(part);
        return form.name.empty() ? line : line + " [OPTIONS]";
    };
    for (const Form& form : kForms)
        formColumn = std::max(formColumn, formText(form).size() + 2);
    bool first = true;
    for (const Form& form : kForms) {
        addRow(text, (first ? "Usage: " : "       ") + formText(form), form.help, formColumn + 7);
        first = false;
    }
    text += kAbout;

    std::size_t optionColumn = 0;
    for (const Option& option : kOptions)
        optionColumn = std::max(optionColumn, names(option).size() + 4);
    for (const auto& [scope, heading] : {std::pair{Scope::Window, "\nWindow options:\n"},
                                         std::pair{Scope::Subcommand, "\nSubcommand options:\n"},
                                         std::pair{Scope::Alone, "\nOn their own:\n"}}) {
        text += heading;
        for (const Option& option : kOptions)
            if (option.scope == scope)
                addRow(text, "  " + names(option), option.help, optionColumn);
    }
    text += '\n';
    text += kExitStatus;
    return text;
}

} // namespace command_table
